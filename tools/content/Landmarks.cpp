#include "tools/content/Landmarks.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "tools/content/Palette.h"
#include "tools/content/Scenery.h"

namespace {

constexpr float kTau = 2 * std::numbers::pi_v<float>;
const Rgba kBark = Hex(0x6a4a3a);

// A round crown of blossom on a short trunk.
void PaintBlossomTree(Image& image, Vec f, const Theme& theme) {
  Paint(image, Capsule(f + Vec{0, 3}, f + Vec{0, -80}, 9, 6), kBark);
  Paint(image, Stroke({f + Vec{0, -60}, f + Vec{-24, -88}, f + Vec{-44, -102}}, 5, 2.5f), kBark);
  Paint(image, Stroke({f + Vec{0, -66}, f + Vec{22, -92}, f + Vec{42, -104}}, 5, 2.5f), kBark);
  const Shape crown = Union({Circle(f + Vec{-44, -106}, 30), Circle(f + Vec{0, -126}, 38),
                             Circle(f + Vec{44, -106}, 30), Circle(f + Vec{-24, -142}, 27),
                             Circle(f + Vec{24, -142}, 27), Circle(f + Vec{0, -96}, 28)});
  Paint(image, crown, Soft(theme.petals[1], 12));
  // Single blossoms over the crown, lighter than it.
  for (int k = 0; k < 40; ++k) {
    const Vec p = f + Vec{-70 + 140 * HashUnit(k, 41), -170 + 95 * HashUnit(k, 42)};
    PaintClipped(image, Circle(p, 2.4f), Grow(crown, -2), Flat(Mix(theme.petals[0], palette::white, 0.4f)));
  }
}

// A whitewashed mill with four sails.
void PaintWindmill(Image& image, Vec f) {
  const Vec hub = f + Vec{0, -122};
  for (int k = 0; k < 4; ++k) {
    const float angle = 0.4f + k * kTau / 4;
    const Vec along = Rotate(Vec{0, -1}, angle);
    const Vec side = Rotate(Vec{1, 0}, angle);
    Paint(image, Capsule(hub, hub + along * 80, 2.5f, 2), palette::woodDark, 1.5f);
    Paint(image, RoundBox(hub + along * 50 + side * 9, 8, 28, 2, angle),
          Soft(Mix(palette::cream, palette::woodLight, 0.35f), 5), 1.5f);
  }
  Paint(image, Polygon({f + Vec{-32, 3}, f + Vec{32, 3}, f + Vec{20, -112}, f + Vec{-20, -112}}),
        VerticalSoft(palette::cream, Mix(palette::cream, palette::rock, 0.5f), f.y - 112, f.y, 8));
  Paint(image, RoundBox(f + Vec{0, -14}, 8, 15, 7), palette::woodDark, 1.5f);
  Paint(image, Circle(f + Vec{0, -72}, 6), palette::glass, 1.5f);
  Paint(image, Polygon({f + Vec{-27, -108}, f + Vec{27, -108}, f + Vec{0, -146}}), Hex(0x9a3a2e));
  Paint(image, Circle(hub, 5), palette::woodDark, 1.5f);
}

// Stones piled up by travellers, a ribbon on a stick at the top.
void PaintCairn(Image& image, Vec f, const Theme& theme) {
  float y = f.y + 2;
  float x = f.x;
  const float halves[] = {40, 33, 27, 21, 15, 11};
  for (int k = 0; k < 6; ++k) {
    const float half = halves[k];
    const float high = 8 + half * 0.15f;
    const float shift = (k % 2 ? 1.0f : -1.0f) * half * 0.12f;
    y -= high;
    const Rgba stone = Mix(theme.rock, theme.rockDark, 0.15f * float(k % 3));
    Paint(image, Ellipse({x + shift, y}, half, high, 0.05f * float(k % 2 ? 1 : -1)), Soft(stone, 6));
    y -= high - 3;
    x += shift * 0.3f;
  }
  const Vec top{x, y + 4};
  Paint(image, Capsule(top, top + Vec{0, -44}, 2.2f, 1.6f), palette::woodDark, 1.5f);
  Paint(image, Polygon({top + Vec{1, -44}, top + Vec{30, -36}, top + Vec{1, -30}}), palette::red, 1.5f);
}

// Three giant toadstools, the tallest at the back.
void PaintToadstools(Image& image, Vec f) {
  struct Cap {
    float dx, height, radius;
  };
  for (const Cap& c : {Cap{-32, 96, 38}, Cap{26, 70, 30}, Cap{58, 44, 18}}) {
    const Vec top = f + Vec{c.dx, -c.height};
    Paint(image, Capsule(f + Vec{c.dx, 3}, top, c.radius * 0.3f, c.radius * 0.22f), palette::cream);
    const Shape cap = Intersect(Ellipse(top, c.radius, c.radius * 0.78f),
                                RoundBox(top + Vec{0, -c.radius}, c.radius + 2, c.radius + 1, 0));
    Paint(image, cap, Soft(palette::red, 8));
    for (int k = 0; k < 5; ++k) {
      const Vec dot = top + Vec{(k - 2) * c.radius * 0.38f, -c.radius * (0.25f + 0.3f * float((k + 1) % 2))};
      PaintClipped(image, Circle(dot, c.radius * 0.12f), Grow(cap, -1.5f), Flat(palette::white));
    }
  }
}

// A bare tree, forked branch by branch, with a few last leaves.
void AddBranch(std::vector<Shape>& wood, std::vector<Vec>& tips, Vec base, float angle, float length, float radius,
               int depth) {
  const Vec end = base + Rotate(Vec{0, -length}, angle);
  wood.push_back(Capsule(base, end, radius, radius * 0.68f));
  if (depth == 0) {
    tips.push_back(end);
    return;
  }
  const float spread = 0.42f + 0.08f * float(depth % 2);
  AddBranch(wood, tips, end, angle - spread, length * 0.72f, radius * 0.68f, depth - 1);
  AddBranch(wood, tips, end, angle + spread * 0.8f, length * 0.66f, radius * 0.68f, depth - 1);
}

void PaintDeadTree(Image& image, Vec f, const Theme& theme) {
  std::vector<Shape> wood;
  std::vector<Vec> tips;
  AddBranch(wood, tips, f + Vec{0, 3}, -0.05f, 62, 10, 4);
  Paint(image, Union(wood), Soft(theme.rockDark, 5));
  for (size_t k = 0; k < tips.size(); k += 2)
    Paint(image, Ellipse(tips[k] + Vec{0, 4}, 3.5f, 5.5f, 0.4f), theme.petals[k % 4 ? 0 : 1], 1.2f);
}

// Three birches: white trunks with dark marks under light, hanging crowns.
void PaintBirches(Image& image, Vec f, const Theme& theme) {
  struct Birch {
    float dx, height, lean;
  };
  for (const Birch& b : {Birch{-36, 150, -6}, Birch{38, 138, 5}, Birch{2, 124, 1}}) {
    const Vec foot = f + Vec{b.dx, 3};
    const Vec top = f + Vec{b.dx + b.lean, -b.height};
    std::vector<Shape> leaves;
    for (int k = 0; k < 6; ++k) {
      const float t = 0.42f + 0.1f * float(k);
      const Vec at = Lerp(foot, top, t) + Vec{(k % 2 ? 1.0f : -1.0f) * 12, 0};
      leaves.push_back(Ellipse(at, 15, 21, (k % 2 ? 0.3f : -0.3f)));
    }
    const Shape trunk = Capsule(foot, top, 5, 2.5f);
    Paint(image, trunk, Hex(0xf4f0e6));
    for (int k = 0; k < 6; ++k) {
      const Vec mark = Lerp(foot, top, 0.08f + 0.1f * float(k));
      PaintClipped(image, RoundBox(mark + Vec{k % 2 ? 2.0f : -2.0f, 0}, 3.5f, 1.2f, 1), trunk, Flat(palette::ink));
    }
    Paint(image, Union(leaves), Soft(theme.tree, 7));
  }
}

// Standing stones, two with a lintel, cut with glowing runes.
void PaintRuneStones(Image& image, Vec f, const Theme& theme) {
  const Shader stone = Soft(theme.rock, 7);
  Paint(image, RoundBox(f + Vec{60, -28}, 10, 31, 5, 0.12f), stone);
  Paint(image, RoundBox(f + Vec{-28, -50}, 13, 53, 5), stone);
  Paint(image, RoundBox(f + Vec{28, -50}, 13, 53, 5), stone);
  Paint(image, RoundBox(f + Vec{0, -108}, 50, 10, 4), stone);
  for (float dx : {-28.0f, 28.0f}) {
    const Vec c = f + Vec{dx, -62};
    PaintGlow(image, c, 22, palette::rune, 0.35f);
    const Shader glow = Flat(palette::rune);
    Paint(image, Stroke({c + Vec{0, 16}, c + Vec{0, -16}}, 1.4f, 1.4f), glow, 0);
    Paint(image, Stroke({c + Vec{-7, -14}, c + Vec{0, -5}, c + Vec{7, -14}}, 1.4f, 1.4f), glow, 0);
    Paint(image, Stroke({c + Vec{-6, 4}, c + Vec{0, 10}, c + Vec{6, 4}}, 1.4f, 1.4f), glow, 0);
  }
}

// A tall fir with snow along the top of each tier.
void PaintSnowFir(Image& image, Vec f, const Theme& theme) {
  const float height = 176;
  const float w = height * 0.4f;
  Paint(image, Capsule(f + Vec{0, 3}, f + Vec{0, -height * 0.2f}, 7, 5), palette::woodDark);
  std::vector<Shape> tiers;
  for (int k = 0; k < 5; ++k) {
    const float bottom = f.y - height * (0.1f + 0.165f * k);
    const float top = bottom - height * 0.3f;
    const float half = w * (1 - 0.17f * k);
    tiers.push_back(Polygon({{f.x - half, bottom}, {f.x - half * 0.3f, bottom - height * 0.04f}, {f.x, top},
                             {f.x + half * 0.3f, bottom - height * 0.04f}, {f.x + half, bottom},
                             {f.x, bottom + height * 0.035f}}));
  }
  Paint(image, Union(tiers), Soft(theme.tree, 12));
  const Rgba snow = Mix(palette::white, palette::skyLow, 0.3f);
  for (const Shape& tier : tiers) Paint(image, Subtract(tier, Move(tier, {0, 7})), Soft(snow, 3), 0);
}

// The gate at the level's end: two posts, a checkered banner, two flags.
void PaintFinishGate(Image& image, Vec f, const Theme& theme) {
  for (float dx : {-56.0f, 56.0f}) {
    const Vec post = f + Vec{dx, 0};
    Paint(image, Capsule(post + Vec{0, -150}, post + Vec{0, -184}, 2, 1.6f), palette::woodDark, 1.5f);
    const Vec flag = post + Vec{0, -184};
    const float way = dx < 0 ? -1.0f : 1.0f;
    Paint(image, Polygon({flag, flag + Vec{26 * way, 7}, flag + Vec{0, 14}}), dx < 0 ? palette::red : theme.petals[0],
          1.5f);
    Paint(image, Capsule(post + Vec{0, 3}, post + Vec{0, -152}, 6.5f, 5), palette::wood);
  }
  Paint(image, Stroke({f + Vec{-70, -144}, f + Vec{0, -158}, f + Vec{70, -144}}, 6, 6), palette::woodDark);
  const Vec corner = f + Vec{-48, -140};
  Paint(image, RoundBox(f + Vec{0, -126}, 48, 14, 2), [corner](Vec p, float, Vec) {
    const int cell = int(std::floor((p.x - corner.x) / 8)) + int(std::floor((p.y - corner.y) / 8));
    return cell % 2 ? palette::ink : palette::white;
  });
}

// Painted once into a scratch picture, to measure.
LandmarkSize Measure(LandmarkKind kind) {
  constexpr int kSide = 480;
  Image scratch(kSide, kSide);
  const Vec foot{kSide / 2.0f, kSide - 40.0f};
  PaintLandmark(scratch, kind, foot, SectionTheme(0));
  float halfWidth = 0;
  float height = 0;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x)
      if (scratch.Get(x, y).a > 0) {
        halfWidth = std::max(halfWidth, std::fabs(x + 0.5f - foot.x) + 0.5f);
        height = std::max(height, foot.y - float(y));
      }
  return {halfWidth, height};
}

}  // namespace

LandmarkSize SizeOfLandmark(LandmarkKind kind) {
  static std::vector<LandmarkSize> measured;
  if (measured.empty())
    for (int k = 0; k <= int(LandmarkKind::finishGate); ++k) measured.push_back(Measure(LandmarkKind(k)));
  return measured[size_t(kind)];
}

void PaintLandmark(Image& image, LandmarkKind kind, Vec foot, const Theme& theme) {
  switch (kind) {
    case LandmarkKind::blossomTree: PaintBlossomTree(image, foot, theme); break;
    case LandmarkKind::windmill: PaintWindmill(image, foot); break;
    case LandmarkKind::greatPine: PaintPine(image, foot + Vec{0, 3}, 170, theme.tree, true); break;
    case LandmarkKind::cairn: PaintCairn(image, foot, theme); break;
    case LandmarkKind::toadstools: PaintToadstools(image, foot); break;
    case LandmarkKind::deadTree: PaintDeadTree(image, foot, theme); break;
    case LandmarkKind::birches: PaintBirches(image, foot, theme); break;
    case LandmarkKind::runeStones: PaintRuneStones(image, foot, theme); break;
    case LandmarkKind::snowFir: PaintSnowFir(image, foot, theme); break;
    case LandmarkKind::finishGate: PaintFinishGate(image, foot, theme); break;
  }
}
