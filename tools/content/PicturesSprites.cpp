// Sprite sheets: the player's and those of unit types 1 to 6, frames of
// 128 x 128 stacked from the top, frame 1 first; and the hit sparkle.
#include <cmath>
#include <numbers>

#include "tools/content/Catalogue.h"
#include "tools/content/Figures.h"
#include "tools/content/ImageFiles.h"
#include "tools/content/Palette.h"
#include "tools/content/PictureGroups.h"
#include "tools/content/Scenery.h"

namespace {

constexpr float kTau = 2 * std::numbers::pi_v<float>;

// Where the feet stand in a frame of a figure drawn at `drawn` pixels with a
// collision box `boxHeight` high: the box's bottom edge.
Vec FeetInFrame(const UnitKind& kind) { return {kFramePixels / 2.0f, FeetRow(kind)}; }

// Position of frame `frame` of a range as a phase 0..1 of its cycle.
float PhaseOf(int frame, FrameRange range) {
  return float(frame - range.start) / float(range.stop - range.start);
}

HeroPose Standing(float t, bool lookingUp) {
  HeroPose pose;
  const float s = std::sin(t * kTau);
  pose.breathe = 0.5f + 0.5f * s;
  pose.legFront = {0.12f, -0.22f};
  pose.legBack = {-0.1f, -0.12f};
  pose.armFront = {0.25f + 0.05f * s, 0.5f};
  pose.armBack = {-0.05f, 0.45f};
  pose.tail = 0.06f * s;
  pose.tailWave = t * kTau;
  pose.scarfPhase = t * kTau;
  pose.lean = 0.03f * s;
  if (lookingUp) {
    pose.headTurn = -0.38f;
    pose.lookUp = 1;
    pose.armFront = {0.6f, 1.6f};  // shading the eyes
  }
  pose.blink = !lookingUp && t >= 0.66f && t < 0.83f;
  return pose;
}

HeroPose Running(float t, bool lookingUp) {
  HeroPose pose;
  const float a = t * kTau;
  pose.lean = 0.18f;
  pose.legFront = {0.75f * std::sin(a), -0.25f - 0.85f * std::max(0.0f, std::cos(a))};
  pose.legBack = {0.75f * std::sin(a + kTau / 2), -0.25f - 0.85f * std::max(0.0f, std::cos(a + kTau / 2))};
  pose.armFront = {0.9f * std::sin(a + kTau / 2), 0.9f};
  pose.armBack = {0.9f * std::sin(a), 0.9f};
  pose.tail = -0.38f + 0.1f * std::sin(a * 2);
  pose.tailWave = a * 2;
  pose.scarfPhase = a * 2;
  pose.scarfLift = 0.15f;
  if (lookingUp) {
    pose.headTurn = -0.5f;
    pose.lookUp = 1;
  }
  return pose;
}

HeroPose Jumping(int step) {
  HeroPose pose;
  pose.grounded = false;
  pose.scarfLift = 0.0f;
  const float k = float(step);
  pose.hipY = -30 - 2 * k;
  pose.lean = 0.1f;
  pose.legFront = {0.9f + 0.3f * k, -1.6f - 0.2f * k};
  pose.legBack = {0.2f - 0.2f * k, -0.6f - 0.5f * k};
  pose.armFront = {2.4f + 0.2f * k, 0.2f};
  pose.armBack = {2.0f + 0.3f * k, 0.3f};
  pose.tail = 0.15f - 0.12f * k;
  pose.tailWave = k;
  pose.scarfPhase = k * 1.5f;
  pose.headTurn = -0.15f;
  pose.lookUp = 0.6f;
  return pose;
}

HeroPose Falling(int step) {
  HeroPose pose;
  pose.grounded = false;
  pose.hipY = -26;
  const float s = std::sin(step * kTau / 3);
  pose.legFront = {0.5f + 0.15f * s, -0.5f};
  pose.legBack = {-0.3f - 0.15f * s, -0.3f};
  pose.armFront = {2.5f + 0.35f * s, -0.5f};
  pose.armBack = {2.1f - 0.35f * s, -0.4f};
  pose.tail = 0.35f + 0.1f * s;
  pose.tailWave = step * 2.0f;
  pose.scarfPhase = step * 2.0f;
  pose.scarfLift = 1;
  pose.headTurn = 0.12f;
  pose.cheer = true;
  return pose;
}

// The throw, frames 35 to 42: the nut is held back over the shoulder, then
// flung forward and let go at frame 40.
HeroPose Throwing(int step) {
  static const float kArm[8] = {0.4f, -1.0f, -1.7f, -2.0f, 2.5f, 1.7f, 1.4f, 0.9f};
  static const float kElbow[8] = {0.7f, 0.4f, 0.2f, -0.6f, -0.2f, 0.0f, 0.0f, 0.5f};
  static const float kLean[8] = {0.0f, -0.08f, -0.16f, -0.2f, 0.05f, 0.25f, 0.3f, 0.15f};
  HeroPose pose;
  pose.armFront = {kArm[step], kElbow[step]};
  pose.armBack = {0.6f - kLean[step] * 3, 0.8f};
  pose.lean = kLean[step];
  pose.legFront = {0.45f, -0.4f};
  pose.legBack = {-0.35f, -0.1f};
  pose.tail = 0.05f - kLean[step];
  pose.tailWave = step * 0.8f;
  pose.scarfPhase = step * 0.9f;
  pose.nutInPaw = step <= 4;
  pose.swoosh = step == 5;
  pose.cheer = step >= 5 && step <= 6;
  return pose;
}

HeroPose PlayerFrame(int frame) {
  auto in = [frame](FrameRange r) { return frame >= r.start && frame < r.stop; };
  if (in(kPlayerStandA)) return Standing(PhaseOf(frame, kPlayerStandA), false);
  if (in(kPlayerStandB)) return Standing(PhaseOf(frame, kPlayerStandB), true);
  if (in(kPlayerRunA)) return Running(PhaseOf(frame, kPlayerRunA), false);
  if (in(kPlayerRunB)) return Running(PhaseOf(frame, kPlayerRunB), true);
  if (in(kPlayerJump)) return Jumping(frame - kPlayerJump.start);
  if (in(kPlayerFall)) return Falling(frame - kPlayerFall.start);
  return Throwing(frame - kPlayerThrow.start);
}

// A soft shadow under the feet of a figure that stands on the ground.
void GroundShadow(Image& frame, Vec feet, float halfWidth) {
  Paint(frame, Ellipse(feet + Vec{0, 1}, halfWidth, 3.5f), Flat(Rgba{0.1f, 0.05f, 0.15f, 0.28f}), 0);
}

Image Sheet(int frames, const auto& drawFrame) {
  Image sheet(kFramePixels, kFramePixels * frames);
  for (int f = 1; f <= frames; ++f) {
    Image frame(kFramePixels, kFramePixels);
    drawFrame(frame, f);
    sheet.Draw(frame, 0, (f - 1) * kFramePixels);
  }
  return sheet;
}

Image PlayerSheet() {
  const Vec feet = FeetInFrame(kUnitKinds[0]);
  return Sheet(kPlayerFrames, [&](Image& frame, int f) {
    const HeroPose pose = PlayerFrame(f);
    if (pose.grounded) GroundShadow(frame, feet, 17);
    DrawHero(Pen(frame, feet, 1), pose);
  });
}

Image UnitSheet(int type) {
  const UnitKind& kind = kUnitKinds[size_t(type)];
  const Vec feet = FeetInFrame(kind);
  const Vec middle{kFramePixels / 2.0f, kFramePixels / 2.0f};
  return Sheet(kind.frames, [&](Image& frame, int f) {
    const bool attacking = f >= kind.attack.start && f < kind.attack.stop && kind.attack.start != kind.move.start;
    const float t = attacking ? PhaseOf(f, kind.attack) : PhaseOf(f, kind.move);
    switch (type) {
      case 1:
        GroundShadow(frame, feet, 26);
        DrawHedgehog(Pen(frame, feet, 1), attacking ? 0 : t, attacking ? std::sin(t * kTau / 2) : 0);
        break;
      case 2:
        GroundShadow(frame, feet, 30);
        DrawSnail(Pen(frame, feet, 1), t);
        break;
      case 3: DrawBee(Pen(frame, middle, 1), t); break;
      case 4: DrawBird(Pen(frame, middle, 1), t); break;
      case 5: DrawBat(Pen(frame, middle, 1), t); break;
      default: DrawRainCloud(Pen(frame, middle, 1), t); break;
    }
  });
}

// The hit sparkle: a burst of light and star-shaped sparks that flies apart
// and fades over 16 frames.
Image SparkleSheet() {
  constexpr int kFrames = 16;
  return Sheet(kFrames, [](Image& frame, int f) {
    const float t = float(f - 1) / (kFrames - 1);
    const Vec c{64, 64};
    const float fade = 1 - Smoothstep(0.45f, 1.0f, t);
    // A flash at the centre that shrinks away.
    const float flash = std::max(0.0f, 1 - t * 2.5f);
    if (flash > 0) {
      PaintGlow(frame, c, 20 + 44 * t, palette::sun, 0.9f * flash);
      Paint(frame, Circle(c, 14 * flash), Soft(palette::white, 4), 0);
    }
    // A thin ring that widens and fades.
    const float ring = 12 + 48 * std::sqrt(t);
    Paint(frame, Subtract(Circle(c, ring), Circle(c, ring - 2.2f)),
          Flat(WithAlpha(palette::gold, 0.85f * (1 - t) * (1 - t))), 0);
    // Sparks: four-pointed stars flying out.
    for (int k = 0; k < 12; ++k) {
      const float angle = k * kTau / 12 + HashUnit(uint32_t(k), 7) * 0.4f;
      const float reach = (16 + 34 * HashUnit(uint32_t(k), 9)) * (0.25f + 0.9f * std::sqrt(t));
      const Vec p = c + Vec{std::cos(angle), std::sin(angle)} * reach;
      const float size = (6 + 8 * HashUnit(uint32_t(k), 11)) * (1 - 0.6f * t);
      const Rgba colour = Mix(palette::white, k % 2 ? palette::gold : palette::rune, 0.3f + 0.6f * t);
      const float spin = t * 2 + k;
      std::vector<Vec> star;
      for (int i = 0; i < 8; ++i) {
        const float r = i % 2 ? size * 0.3f : size;
        star.push_back(p + Rotate(Vec{r, 0}, spin + i * kTau / 8));
      }
      PaintGlow(frame, p, size * 1.6f, colour, 0.5f * fade);
      Paint(frame, Polygon(star), Flat(WithAlpha(colour, fade)), 0);
    }
  });
}

}  // namespace

bool BuildSpriteSheets(const std::string& contentDir) {
  if (!WriteTga(OnDisk(contentDir, kPlayerSheet), PlayerSheet())) return false;
  for (int type = 1; type < int(kUnitKinds.size()); ++type)
    if (!WriteTga(OnDisk(contentDir, kUnitKinds[size_t(type)].sheet), UnitSheet(type))) return false;
  return WriteTga(OnDisk(contentDir, "DATA\\FX\\sparkle128.tga"), SparkleSheet());
}
