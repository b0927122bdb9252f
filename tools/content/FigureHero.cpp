// Virko: an orange squirrel in a leather flying cap with brass goggles and a
// red scarf. Facing right; the feet stand on y = 0.
#include <algorithm>
#include <cmath>

#include "tools/content/Figures.h"
#include "tools/content/Palette.h"

namespace {

constexpr float kThigh = 12;
constexpr float kShin = 11;
constexpr float kUpperArm = 11.5f;
constexpr float kForearm = 10.5f;
constexpr float kFootDepth = 3.2f;

Vec Direction(float angle) { return {std::sin(angle), std::cos(angle)}; }

struct LegPoints {
  Vec hip, knee, ankle;
  float footAngle;
};

LegPoints Leg(Vec hip, Limb limb) {
  LegPoints leg;
  leg.hip = hip;
  leg.knee = hip + Direction(limb.swing) * kThigh;
  leg.ankle = leg.knee + Direction(limb.swing + limb.bend) * kShin;
  leg.footAngle = std::clamp((limb.swing + limb.bend) * 0.6f, -0.9f, 0.9f);
  return leg;
}

void DrawLeg(const Pen& pen, const LegPoints& leg, Rgba colour) {
  const Vec footCentre = leg.ankle + Rotate(Vec{4.5f, 0.6f}, -leg.footAngle);
  pen.Paint(pen.Ellipse(footCentre, 7.2f, kFootDepth, -leg.footAngle), Mix(colour, palette::earthDark, 0.25f));
  pen.Paint(pen.Capsule(leg.knee, leg.ankle, 4.2f, 3.2f), colour);
  const Vec haunch = Lerp(leg.hip, leg.knee, 0.45f);
  const float angle = std::atan2(leg.knee.y - leg.hip.y, leg.knee.x - leg.hip.x);
  pen.Paint(pen.Ellipse(haunch, 10, 7.5f, angle), colour);
}

void DrawArm(const Pen& pen, Vec shoulder, Limb limb, Rgba colour, bool nut) {
  const Vec elbow = shoulder + Direction(limb.swing) * kUpperArm;
  const Vec paw = elbow + Direction(limb.swing + limb.bend) * kForearm;
  pen.Paint(pen.Capsule(shoulder, elbow, 4.2f, 3.6f), colour);
  pen.Paint(pen.Capsule(elbow, paw, 3.6f, 3.0f), colour);
  if (nut) DrawNut(pen, paw + Direction(limb.swing + limb.bend) * 4.5f, 9, limb.swing);
  pen.Paint(pen.Circle(paw, 3.9f), Mix(colour, palette::cream, 0.35f));
}

void DrawTail(const Pen& pen, Vec root, float turn, float wave) {
  std::vector<Vec> path = BezierPath(root, root + Vec{-20, 4}, root + Vec{-40, -26}, root + Vec{-22, -52}, 16);
  for (size_t i = 1; i < path.size(); ++i) {
    const float t = float(i) / (path.size() - 1);
    path[i] = root + Rotate(path[i] - root, turn * t);
    path[i].x += std::sin(wave + t * 3.0f) * 3.0f * t;
  }
  // Thin at the root, full in the middle, a round plume at the tip; the
  // edge is a row of soft bumps of fur.
  auto radius = [](float t) { return 4.5f + 10.0f * std::sin(std::min(1.0f, t * 1.35f) * 1.45f); };
  std::vector<Shape> parts{pen.Stroke(path, 4.5f, 12)};
  for (size_t i = 2; i < path.size(); ++i) {
    const float t = float(i) / (path.size() - 1);
    const Vec along = Normalize(path[i] - path[i - 1]);
    const Vec side{-along.y, along.x};
    const float r = radius(t);
    const float bump = (i % 2 ? 1.0f : -1.0f) * r * 0.35f;
    parts.push_back(pen.Circle(path[i] + side * bump, r * 0.8f));
  }
  const Shape tail = Union(parts);
  pen.Paint(tail, palette::fur);
  // A lighter streak of long fur along the middle.
  std::vector<Vec> streak(path.begin() + 4, path.end() - 1);
  pen.PaintBare(Intersect(pen.Stroke(streak, 2.0f, 5.5f), Grow(tail, -pen.Len(3))),
                Soft(WithAlpha(palette::furLight, 0.85f), pen.Len(3)));
  // Strands of darker fur.
  for (size_t i = 4; i + 1 < path.size(); i += 2) {
    const Vec along = Normalize(path[i + 1] - path[i - 1]);
    const Vec side{-along.y, along.x};
    const float r = radius(float(i) / (path.size() - 1)) * 0.55f;
    const float s = i % 4 ? 1.0f : -1.0f;
    pen.PaintBare(pen.Capsule(path[i] + side * (s * r), path[i] + side * (s * r * 1.3f) + along * 4, 0.9f, 0.3f),
                  Flat(WithAlpha(Scale(palette::fur, 0.65f), 0.8f)));
  }
}

void DrawScarfTail(const Pen& pen, Vec neck, float phase, float lift) {
  std::vector<Vec> path;
  for (int k = 0; k <= 5; ++k) {
    const float t = k / 5.0f;
    path.push_back(neck + Vec{-3 - 20 * t, 2 + std::sin(phase + t * 4.5f) * 3.5f * t - lift * 22 * t});
  }
  pen.Paint(pen.Stroke(path, 4.0f, 3.0f), palette::scarf);
  const Vec end = path.back();
  pen.Paint(pen.Capsule(end, end + Vec{-4, 2.5f - lift * 3}, 2.2f, 1.4f), Scale(palette::scarf, 0.85f));
}

void DrawHead(const Pen& pen, Vec centre, const HeroPose& pose) {
  // Ear poking through the cap, behind it.
  pen.Paint(pen.Ellipse(centre + Vec{-2, -16}, 4.6f, 9, -0.25f), palette::fur);
  pen.PaintBare(pen.Ellipse(centre + Vec{-1.6f, -15}, 2.2f, 5.5f, -0.25f), Flat(Hex(0xe9a08a)));
  pen.PaintBare(pen.Ellipse(centre + Vec{-4.6f, -25}, 2.0f, 3.0f, -0.5f), Flat(Scale(palette::fur, 0.7f)));

  const Shape head = pen.Ellipse(centre, 15.5f, 14.5f);
  pen.Paint(head, palette::fur);
  // Cap: the top of the head, cut off above a slanting brim.
  const Shape brim = pen.Box(centre + Vec{0, -19.5f}, 30, 13, 0, -0.12f);
  const Shape cap = Intersect(Grow(head, pen.Len(1.2f)), brim);
  pen.Paint(cap, palette::leather);
  // The cap's strap, down the cheek.
  pen.PaintBare(pen.Stroke({centre + Vec{-4, -6}, centre + Vec{-3, 2}, centre + Vec{1, 9}}, 1.3f, 1.1f),
                Flat(Scale(palette::leather, 0.8f)));
  pen.PaintBare(pen.Circle(centre + Vec{-4, -5}, 1.4f), Flat(palette::brass));

  // Snout, nose and cheek.
  pen.Paint(pen.Ellipse(centre + Vec{14, 4}, 9.5f, 7.5f, 0.1f), palette::cream);
  pen.Paint(pen.Ellipse(centre + Vec{23, 1.2f}, 3.2f, 2.6f), Hex(0x5a3030));
  pen.PaintBare(pen.Circle(centre + Vec{9, 7}, 3.3f), Flat(WithAlpha(Hex(0xf08a7a), 0.45f)));
  if (pose.cheer) {
    pen.Paint(pen.Ellipse(centre + Vec{17, 9}, 4, 3, 0.2f), Hex(0x7a2a34));
  } else {
    pen.PaintBare(pen.Stroke({centre + Vec{21, 6}, centre + Vec{18.5f, 8.5f}, centre + Vec{15.5f, 8}}, 0.8f, 0.8f),
                  Flat(palette::ink));
  }

  // Eye.
  const Vec eye = centre + Vec{7.5f, -2.5f};
  if (pose.blink) {
    pen.PaintBare(pen.Stroke({eye + Vec{-3.5f, 0.5f}, eye + Vec{0, 2}, eye + Vec{3.5f, 0.5f}}, 1, 1), Flat(palette::ink));
  } else {
    pen.Paint(pen.Ellipse(eye, 4.2f, 5.2f), palette::white);
    const Vec pupil = eye + Vec{1.3f, 0.6f - 2.0f * pose.lookUp};
    pen.PaintBare(pen.Circle(pupil, 2.7f), Flat(palette::ink));
    pen.PaintBare(pen.Circle(pupil + Vec{0.9f, -1.1f}, 1.0f), Flat(palette::white));
  }

  // Goggles on the forehead: strap, then the brass-rimmed lens.
  pen.Paint(pen.Capsule(centre + Vec{-13, -10}, centre + Vec{4, -14.5f}, 1.8f, 1.8f), Hex(0x4a3226));
  pen.Paint(pen.Circle(centre + Vec{7, -14}, 5.6f), palette::brass);
  pen.Paint(pen.Circle(centre + Vec{7, -14}, 3.7f), palette::glass);
  pen.PaintBare(pen.Circle(centre + Vec{5.7f, -15.5f}, 1.2f), Flat(palette::white));
}

}  // namespace

void DrawHero(const Pen& pen, const HeroPose& pose) {
  float hipY = pose.hipY;
  if (pose.grounded) {
    // Put the lower foot on the ground.
    const float front = Leg({0, 0}, pose.legFront).ankle.y;
    const float back = Leg({0, 0}, pose.legBack).ankle.y;
    hipY = -(std::max(front, back) + kFootDepth);
  }
  const Vec hip{-1, hipY};
  const Pen torso = pen.Turned(hip, pose.lean);
  const Vec neck = hip + Vec{3, -27};
  const Vec shoulder = hip + Vec{5, -21};

  DrawTail(torso, hip + Vec{-9, -2}, pose.tail, pose.tailWave);
  DrawArm(torso, shoulder + Vec{-3, 0}, pose.armBack, Scale(palette::fur, 0.8f), false);
  DrawLeg(pen, Leg(hip + Vec{-2, 0}, pose.legBack), Scale(palette::fur, 0.8f));

  // Body and belly.
  const Shape body = torso.Ellipse(hip + Vec{2, -13 - pose.breathe}, 14 + pose.breathe * 0.6f, 19.5f, 0.08f);
  torso.Paint(body, palette::fur);
  torso.PaintBare(Intersect(torso.Ellipse(hip + Vec{7, -12}, 8, 13.5f, 0.12f), body),
                  Soft(palette::cream, torso.Len(4)));

  DrawLeg(pen, Leg(hip + Vec{2, 0}, pose.legFront), palette::fur);

  DrawScarfTail(torso, neck, pose.scarfPhase, pose.scarfLift);
  const Pen head = torso.Turned(neck, pose.headTurn);
  DrawHead(head, neck + Vec{5, -13}, pose);
  torso.Paint(torso.Ellipse(neck + Vec{1, 0.5f}, 10.5f, 4.6f, -0.1f), palette::scarf);

  if (pose.swoosh) {
    // The arc the paw has just swept through.
    std::vector<Vec> arc;
    for (int k = 0; k <= 8; ++k) arc.push_back(shoulder + Direction(-3.4f - 1.35f * k / 8) * 23.0f);
    torso.PaintBare(torso.Stroke(arc, 0.6f, 3.2f), Flat(WithAlpha(palette::white, 0.75f)));
  }
  DrawArm(torso, shoulder, pose.armFront, palette::fur, pose.nutInPaw);
}

void DrawNut(const Pen& pen, Vec centre, float size, float angle) {
  const float r = size * 0.5f;
  pen.Paint(pen.Ellipse(centre + Rotate(Vec{0, r * 0.15f}, angle), r * 0.92f, r * 0.85f, angle), palette::nut);
  // The rough cap of the nut.
  pen.Paint(pen.Ellipse(centre + Rotate(Vec{0, -r * 0.55f}, angle), r * 0.8f, r * 0.42f, angle),
            Hex(0x8a5a34));
  pen.PaintBare(pen.Capsule(centre + Rotate(Vec{0, -r * 0.9f}, angle), centre + Rotate(Vec{r * 0.15f, -r * 1.25f}, angle),
                            r * 0.12f, r * 0.08f),
                Flat(palette::woodDark));
}

void DrawPineCone(const Pen& pen, Vec centre, float size, float angle) {
  const Pen cone = pen.Turned(centre, angle);
  const float h = size * 0.5f;
  const float w = size * 0.33f;
  const Shape body = cone.Ellipse(centre, w, h);
  cone.Paint(body, palette::cone);
  // Rows of scales, lighter at their tips.
  for (int row = 0; row < 6; ++row) {
    const float y = centre.y - h * 0.75f + row * h * 0.3f;
    const float half = w * std::sin(0.25f + row * 0.5f) * 0.95f;
    const int count = 3 + (row % 2);
    for (int k = 0; k < count; ++k) {
      const float x = centre.x - half + (2 * half) * (k + 0.5f) / count;
      const Shape scale = cone.Ellipse(Vec{x, y}, w * 0.3f, h * 0.17f);
      cone.PaintBare(Intersect(Grow(scale, cone.Len(size * 0.03f)), body), Flat(palette::coneDark));
      cone.PaintBare(Intersect(scale, body), Soft(Mix(palette::cone, palette::furLight, 0.35f), cone.Len(2)));
    }
  }
  cone.Paint(cone.Capsule(centre + Vec{0, -h}, centre + Vec{size * 0.05f, -h - size * 0.16f}, size * 0.05f, size * 0.035f),
             palette::woodDark);
}
