#include "tools/content/LevelThemes.h"

#include <algorithm>
#include <cmath>

#include "tools/content/Palette.h"

namespace {

// earth, earthDark, grass, grassLight, grassDark, rock, rockDark, petals,
// tree, chances of trees, flowers and mushrooms, tree size, landmark.
const Theme kThemes[kSectionCount] = {
    // The meadow: spring, flowers everywhere, a tree in blossom.
    {palette::earth, palette::earthDark, palette::grass, palette::grassLight, palette::grassDark, palette::rock,
     palette::rockDark, {palette::cream, Hex(0xf2a7c3)}, palette::pine, 0.04f, 0.25f, 0.02f, 1.0f,
     LandmarkKind::blossomTree},
    // The field: yellow grass, poppies and cornflowers, a windmill.
    {Hex(0xa87a3e), Hex(0x6e4e2a), Hex(0x9fb53a), Hex(0xd8d66a), Hex(0x6a7d2a), Hex(0xb8a48a), Hex(0x7a6650),
     {palette::red, palette::jay}, Hex(0x3f7a4a), 0.03f, 0.2f, 0.01f, 0.9f, LandmarkKind::windmill},
    // The isles: a pine wood, dark grass, mushrooms underneath.
    {Hex(0x5e4030), Hex(0x3a2824), Hex(0x4f9a44), Hex(0x8cc65a), Hex(0x2a6638), Hex(0x8a949e), Hex(0x4f5663),
     {palette::cream, palette::gold}, palette::pineDark, 0.2f, 0.05f, 0.1f, 1.35f, LandmarkKind::greatPine},
    // The bridge: a stony shore, blue-green grass, a cairn.
    {Hex(0x7a6a5e), Hex(0x4a4048), Hex(0x5fae8a), Hex(0x9fd8b0), Hex(0x2f7060), Hex(0xa8b4be), Hex(0x667080),
     {palette::glass, palette::white}, Hex(0x3a6e6a), 0.05f, 0.1f, 0.02f, 1.0f, LandmarkKind::cairn},
    // The hollow: damp and mossy, violet earth, toadstools.
    {Hex(0x5a4a62), Hex(0x312842), Hex(0x3f8f6a), Hex(0x7cc08a), Hex(0x1f5a48), Hex(0x7f7a8e), Hex(0x4a4560),
     {Hex(0xb48ae0), palette::rune}, Hex(0x2a5a50), 0.06f, 0.1f, 0.3f, 1.1f, LandmarkKind::toadstools},
    // The tower: autumn, golden grass, larches gone orange, a dead tree.
    {Hex(0xa0503a), Hex(0x683028), Hex(0xb59a3c), Hex(0xdcc466), Hex(0x7f6a2c), Hex(0xa89a90), Hex(0x6a5a58),
     {palette::orange, palette::red}, Hex(0xb8732e), 0.1f, 0.08f, 0.14f, 1.1f, LandmarkKind::deadTree},
    // The long bridge: a birch grove, fresh green, daisies.
    {Hex(0xb0885a), Hex(0x7a5a3c), Hex(0x7dbb4a), Hex(0xc2e07a), Hex(0x4a8a3a), Hex(0x9ea6a0), Hex(0x5e6660),
     {palette::white, palette::gold}, Hex(0x5f9a3a), 0.12f, 0.15f, 0.03f, 0.9f, LandmarkKind::birches},
    // The ledges: a heath under rain, olive grass, heather, standing stones.
    {Hex(0x6a5048), Hex(0x42303a), Hex(0x8a8e4a), Hex(0xb8b870), Hex(0x5a6030), Hex(0x8a8aa0), Hex(0x4e4e66),
     {palette::berry, Hex(0xb070c0)}, Hex(0x3e5a48), 0.05f, 0.22f, 0.04f, 0.85f, LandmarkKind::runeStones},
    // The high isles: alpine, pale grass, blue bells, a fir under snow.
    {Hex(0x8a8a92), Hex(0x55566a), Hex(0x7fae6a), Hex(0xb8d9a0), Hex(0x4d7a52), Hex(0xb0b8c8), Hex(0x6a7288),
     {palette::glass, palette::jay}, Hex(0x4a6e6e), 0.05f, 0.12f, 0.01f, 0.8f, LandmarkKind::snowFir},
    // The finish: a golden evening meadow, the gate at the end.
    {Hex(0xc07838), Hex(0x7a4626), Hex(0x8fbf3a), Hex(0xe0e070), Hex(0x5a8a2a), Hex(0xc0a080), Hex(0x806050),
     {palette::gold, palette::orange}, palette::pine, 0.03f, 0.28f, 0.02f, 1.0f, LandmarkKind::finishGate},
};

constexpr float kBlendHalf = 150;

// How far x has passed into the next section, 0 to 1, over the blend
// around the boundary nearest x.
float BlendAt(float worldX, int* before) {
  const int boundary = int(std::lround(worldX / kSectionLength));
  *before = boundary - 1;
  if (boundary <= 0 || boundary >= kSectionCount) return 0;
  const float edge = boundary * kSectionLength;
  return Smoothstep(edge - kBlendHalf, edge + kBlendHalf, worldX);
}

}  // namespace

int SectionAt(float worldX) {
  return std::clamp(int(std::floor(worldX / kSectionLength)), 0, kSectionCount - 1);
}

const Theme& SectionTheme(int section) { return kThemes[std::clamp(section, 0, kSectionCount - 1)]; }

const Theme& ThemeAt(float worldX) { return kThemes[SectionAt(worldX)]; }

Rgba ThemeColour(float worldX, Rgba Theme::*colour) {
  int before = 0;
  const float t = BlendAt(worldX, &before);
  if (t <= 0 || t >= 1) return ThemeAt(worldX).*colour;
  return Mix(SectionTheme(before).*colour, SectionTheme(before + 1).*colour, t);
}

const Theme& ThemeForPiece(float worldX, uint32_t seed) {
  int before = 0;
  const float t = BlendAt(worldX, &before);
  if (t <= 0 || t >= 1) return ThemeAt(worldX);
  return SectionTheme(HashUnit(seed, 77) < t ? before + 1 : before);
}
