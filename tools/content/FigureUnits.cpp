// The enemies, each facing left: a hedgehog and a snail that stand on y = 0,
// and a bee, a jay, a bat and a rain cloud centred on the origin.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/content/Figures.h"
#include "tools/content/Palette.h"

namespace {

constexpr float kTau = 2 * std::numbers::pi_v<float>;

void Eye(const Pen& pen, Vec at, float r, Vec look, bool angry) {
  pen.Paint(pen.Ellipse(at, r, r * 1.15f), palette::white);
  pen.PaintBare(pen.Circle(at + look * (r * 0.35f), r * 0.58f), Flat(palette::ink));
  pen.PaintBare(pen.Circle(at + look * (r * 0.35f) + Vec{-r * 0.2f, -r * 0.25f}, r * 0.2f), Flat(palette::white));
  if (angry) {
    // A brow slanting down toward the middle of the face (the left).
    pen.Paint(pen.Capsule(at + Vec{-r * 1.1f, -r * 0.9f}, at + Vec{r * 1.0f, -r * 1.6f}, r * 0.28f, r * 0.2f),
              palette::ink);
  }
}

// Alternating points around an ellipse: spikes from angle a0 to a1.
std::vector<Vec> SpikeRing(Vec c, float rx, float ry, float a0, float a1, int spikes, float length, float lean) {
  std::vector<Vec> points;
  for (int i = 0; i <= spikes * 2; ++i) {
    const float a = a0 + (a1 - a0) * i / (spikes * 2);
    const float k = i % 2 ? 1 + length : 1;
    points.push_back(c + Vec{std::cos(a) * rx * k + (i % 2 ? lean : 0), std::sin(a) * ry * k});
  }
  return points;
}

}  // namespace

void DrawHedgehog(const Pen& pen, float phase, float attack) {
  const Pen body = pen.Shifted({-9 * attack, -1.5f * std::fabs(std::sin(phase * kTau))});
  const float a = phase * kTau;
  // Far legs, then near legs, each swinging in turn.
  auto leg = [&](const Pen& p, float x, float offset, Rgba colour) {
    const float swing = std::sin(a + offset);
    const Vec hip{x, -12};
    const Vec foot{x + swing * 5, -3 - std::max(0.0f, std::cos(a + offset)) * 3};
    p.Paint(p.Capsule(hip, foot, 4.5f, 4), colour);
    p.Paint(p.Ellipse(foot + Vec{-2.5f, 0.5f}, 5, 3), Scale(colour, 0.9f));
  };
  const Rgba legColour = Scale(palette::skin, 0.8f);
  leg(pen, -14, kTau / 2, legColour);
  leg(pen, 18, 0, legColour);

  const Vec c{6, -24};
  // Back spikes: a dark outer row and a lighter inner row.
  const float spikeLength = 0.32f + 0.22f * attack;
  body.Paint(body.Polygon([&] {
               std::vector<Vec> ring = SpikeRing(c, 34, 24, 0.25f, -kTau / 2 + 0.55f, 13, spikeLength, 5);
               ring.push_back(c + Vec{-14, 14});
               ring.push_back(c + Vec{20, 16});
               return ring;
             }()),
             palette::spine);
  body.PaintBare(body.Polygon([&] {
                   std::vector<Vec> ring = SpikeRing(c + Vec{2, 3}, 27, 18, 0.2f, -kTau / 2 + 0.7f, 11, spikeLength * 0.9f, 4);
                   ring.push_back(c + Vec{-10, 12});
                   ring.push_back(c + Vec{18, 12});
                   return ring;
                 }()),
                 Soft(Mix(palette::spine, palette::skin, 0.35f), body.Len(4)));
  // Belly and face.
  body.Paint(body.Ellipse(c + Vec{-2, 10}, 28, 10), palette::skin);
  const Vec head{-20, -17};
  body.Paint(body.Capsule(head, head + Vec{-22, 5}, 13, 5), palette::skin);
  body.Paint(body.Circle(head + Vec{-24, 5}, 4.2f), palette::ink);
  body.Paint(body.Circle(head + Vec{4, -11}, 4.5f), Scale(palette::skin, 0.85f));
  Eye(body, head + Vec{-7, -5}, 3.6f, {-1, 0.2f}, attack > 0.2f);
  if (attack > 0.05f) {
    // Open, snapping mouth with two small teeth.
    const float open = 5 * attack;
    body.Paint(body.Polygon({head + Vec{-24, 8}, head + Vec{-6, 6}, head + Vec{-22, 9 + open}}), Hex(0x6a2430));
    body.PaintBare(body.Polygon({head + Vec{-19, 7.4f}, head + Vec{-17, 7.2f}, head + Vec{-18, 9.5f}}), Flat(palette::white));
  } else {
    body.PaintBare(body.Stroke({head + Vec{-18, 8}, head + Vec{-10, 7}}, 0.8f, 0.8f), Flat(palette::ink));
  }
  leg(body, -6, 0, palette::skin);
  leg(body, 26, kTau / 2, palette::skin);
}

void DrawSnail(const Pen& pen, float phase) {
  const float a = phase * kTau;
  const float stretch = std::sin(a);
  // Slime left behind.
  pen.PaintBare(pen.Capsule({30, -1.5f}, {54, -1.5f}, 1.8f, 0.8f), Flat(WithAlpha(palette::glass, 0.55f)));
  // Foot, from tail to head, stretching as it crawls.
  const Vec headBase{-30 - 3 * stretch, -8};
  pen.Paint(pen.Stroke({{40, -5}, {10, -6}, headBase}, 4.5f, 8), palette::slug);
  pen.Paint(pen.Capsule(headBase, headBase + Vec{-8, -16}, 9, 8.5f), palette::slug);
  const Vec top = headBase + Vec{-8, -22};
  // Eye stalks swaying out of step.
  for (int k = 0; k < 2; ++k) {
    const float sway = std::sin(a + k * 1.7f) * 0.18f;
    const Vec base = top + Vec{k ? 6.0f : -3.0f, 2};
    const Vec tip = base + Rotate(Vec{k ? 4.0f : -5.0f, -20}, sway);
    pen.Paint(pen.Capsule(base, tip, 2.6f, 2), Scale(palette::slug, k ? 0.95f : 0.85f));
    Eye(pen, tip, 4.2f, {-1, 0.3f}, false);
  }
  pen.PaintBare(pen.Stroke({headBase + Vec{-13, -8}, headBase + Vec{-9, -5}, headBase + Vec{-5, -6}}, 0.9f, 0.9f),
                Flat(palette::ink));
  pen.PaintBare(pen.Circle(headBase + Vec{-6, -12}, 2.6f), Flat(WithAlpha(Hex(0xf08a7a), 0.5f)));
  // Shell with a spiral stripe, riding up and down a little.
  const Vec shell{8, -30 - 1.5f * std::max(0.0f, stretch)};
  pen.Paint(pen.Circle(shell, 25), palette::shell);
  std::vector<Vec> spiral;
  for (int i = 0; i <= 40; ++i) {
    const float t = i / 40.0f;
    const float angle = -kTau * 2.1f * t + 0.8f;
    const float r = 21 * (1 - t) + 2;
    spiral.push_back(shell + Vec{std::cos(angle) * r, std::sin(angle) * r});
  }
  pen.PaintBare(Intersect(pen.Stroke(spiral, 3.2f, 1.5f), pen.Circle(shell, 23)), Soft(Hex(0xfbd89a), pen.Len(2)));
  pen.PaintBare(pen.Stroke(spiral, 0.7f, 0.5f), Flat(WithAlpha(Scale(palette::shell, 0.6f), 0.7f)));
}

void DrawBee(const Pen& pen, float phase) {
  const float a = phase * kTau;
  const Pen bee = pen.Shifted({0, 2.5f * std::sin(a)});
  // Far wing, legs, body, stripes, head, near wing.
  const float flap = std::sin(a * 2);
  auto wing = [&](Vec root, float angle, float alpha) {
    const Shape w = bee.Ellipse(root + Rotate(Vec{8, -15}, angle), 10, 17, angle + 0.35f);
    bee.Paint(w, Soft(WithAlpha(Mix(palette::wing, palette::white, 0.5f), alpha), bee.Len(3)));
    bee.PaintBare(bee.Stroke({root + Rotate(Vec{2, -6}, angle), root + Rotate(Vec{9, -24}, angle)}, 0.6f, 0.4f),
                  Flat(WithAlpha(palette::glass, 0.8f)));
  };
  wing({2, -10}, -0.5f + 0.7f * flap, 0.7f);
  for (int k = 0; k < 3; ++k) {
    const Vec hip{-6.0f + k * 8, 10};
    bee.Paint(bee.Stroke({hip, hip + Vec{-2, 7}, hip + Vec{-5 + std::sin(a + k) * 2, 12}}, 1.4f, 1.2f), palette::ink);
  }
  const Shape body = bee.Ellipse({8, 2}, 22, 15, 0.15f);
  bee.Paint(body, palette::bee);
  for (int k = 0; k < 3; ++k)
    bee.PaintBare(Intersect(bee.Box({3.0f + k * 10, 2}, 3.2f, 20, 1, 0.25f), Grow(body, -bee.Len(0.5f))),
                  Soft(palette::ink, bee.Len(3)));
  bee.Paint(bee.Polygon({{28, -2}, {40, 6}, {27, 9}}), palette::ink);
  const Vec head{-16, -3};
  for (int k = 0; k < 2; ++k) {
    const Vec base = head + Vec{-2.0f + k * 6, -9};
    const Vec tip = base + Vec{-8.0f + k * 3, -13 + std::sin(a + k) * 1.5f};
    bee.Paint(bee.Stroke({base, base + Vec{-2, -7}, tip}, 1.2f, 1.0f), palette::ink);
    bee.Paint(bee.Circle(tip, 2.4f), palette::ink);
  }
  bee.Paint(bee.Circle(head, 12), Mix(palette::bee, palette::orange, 0.35f));
  Eye(bee, head + Vec{-4, -2}, 4.8f, {-1, 0.1f}, true);
  bee.PaintBare(bee.Stroke({head + Vec{-10, 6}, head + Vec{-6, 7.5f}, head + Vec{-2, 6.5f}}, 0.8f, 0.8f), Flat(palette::ink));
  wing({6, -10}, -0.3f + 0.8f * flap, 0.8f);
}

void DrawBird(const Pen& pen, float phase) {
  const float a = phase * kTau;
  const float flap = std::sin(a);  // -1 wings up, 1 wings down
  const Pen bird = pen.Shifted({0, -3 * flap});
  auto wing = [&](Vec shoulder, float lift, Rgba colour) {
    const float angle = -0.2f + 1.15f * lift;
    std::vector<Shape> feathers;
    for (int k = 0; k < 4; ++k) {
      const Vec start = shoulder + Rotate(Vec{10.0f + k * 3, -4}, angle);
      const Vec end = shoulder + Rotate(Vec{24.0f + k * 2, -30.0f + k * 6}, angle - 0.35f * k + 0.3f);
      feathers.push_back(bird.Capsule(start, end, 5.5f, 3.0f));
    }
    feathers.push_back(bird.Ellipse(shoulder + Rotate(Vec{8, -10}, angle), 11, 13, angle));
    bird.Paint(Union(feathers), colour);
    bird.PaintBare(bird.Ellipse(shoulder + Rotate(Vec{7, -7}, angle), 6, 5, angle), Soft(palette::jayLight, bird.Len(3)));
  };
  wing({6, -4}, flap * 0.9f - 0.3f, Scale(palette::jay, 0.78f));
  // Tail fan.
  for (int k = 0; k < 3; ++k)
    bird.Paint(bird.Capsule({20, 2}, {44, -6.0f + k * 7 + flap * 2}, 4, 5.5f), Mix(palette::jay, palette::ink, 0.25f * k));
  const Shape body = bird.Ellipse({4, 2}, 23, 15, -0.1f);
  bird.Paint(body, palette::jay);
  bird.PaintBare(Intersect(bird.Ellipse({-2, 10}, 18, 9, -0.1f), body), Soft(palette::jayLight, bird.Len(4)));
  const Vec head{-18, -9};
  // Crest.
  for (int k = 0; k < 3; ++k)
    bird.Paint(bird.Capsule(head + Vec{2.0f + k * 3, -8}, head + Vec{8.0f + k * 4, -20.0f + k * 3}, 3, 1.5f), palette::jay);
  bird.Paint(bird.Circle(head, 13), palette::jay);
  bird.PaintBare(Intersect(bird.Circle(head + Vec{-3, 5}, 8), bird.Circle(head, 12)), Soft(palette::jayLight, bird.Len(3)));
  bird.Paint(bird.Polygon({head + Vec{-10, -4}, head + Vec{-25, 0}, head + Vec{-10, 4}}), palette::orange);
  bird.PaintBare(bird.Capsule(head + Vec{-11, -3}, head + Vec{2, -6}, 1.8f, 1.2f), Flat(palette::ink));
  Eye(bird, head + Vec{-4, -4}, 4, {-1, 0.2f}, true);
  wing({0, -4}, flap, palette::jay);
}

void DrawBat(const Pen& pen, float phase) {
  const float a = phase * kTau;
  const float flap = std::sin(a);  // -1 up, 1 down
  const Pen bat = pen.Shifted({0, 4 * flap});
  auto wing = [&](float side, Rgba colour) {
    const Vec shoulder{side * 9, -6};
    const float lift = -16 * flap;
    const Vec wrist = shoulder + Vec{side * 20, -12 + lift};
    const std::vector<Vec> tips{wrist + Vec{side * 24, 4 + lift * 0.3f}, wrist + Vec{side * 20, 20 + lift * 0.1f},
                                wrist + Vec{side * 8, 26}, shoulder + Vec{side * 6, 20}};
    std::vector<Vec> outline{shoulder, wrist};
    outline.insert(outline.end(), tips.begin(), tips.end());
    outline.push_back(shoulder + Vec{0, 12});
    Shape membrane = bat.Polygon(outline);
    // Scalloped trailing edge between the finger tips.
    for (size_t k = 0; k + 1 < tips.size(); ++k)
      membrane = Subtract(membrane, bat.Circle(Lerp(tips[k], tips[k + 1], 0.5f) + Vec{-side * 4, 5}, 7));
    bat.Paint(membrane, colour);
    for (Vec tip : tips)
      bat.PaintBare(bat.Capsule(wrist, tip, 1.1f, 0.6f), Flat(Scale(colour, 0.6f)));
    bat.Paint(bat.Capsule(shoulder, wrist, 2.6f, 2), Scale(colour, 0.85f));
  };
  wing(1, palette::batWing);
  wing(-1, Mix(palette::batWing, palette::bat, 0.3f));
  bat.Paint(bat.Ellipse({0, 4}, 13, 16), palette::bat);
  bat.PaintBare(bat.Ellipse({-1, 8}, 7, 9), Soft(Mix(palette::bat, palette::cream, 0.35f), bat.Len(3)));
  // Feet tucked under.
  for (float side : {-1.0f, 1.0f})
    bat.Paint(bat.Capsule({side * 4, 18}, {side * 5, 24}, 1.6f, 1.2f), palette::ink);
  const Vec head{-2, -13};
  for (float side : {-1.0f, 1.0f})
    bat.Paint(bat.Polygon({head + Vec{side * 4, -6}, head + Vec{side * 13, -22 - flap}, head + Vec{side * 12, -3}}),
              palette::bat);
  bat.Paint(bat.Circle(head, 11), palette::bat);
  Eye(bat, head + Vec{-5, -1}, 3.4f, {-1, 0.3f}, true);
  Eye(bat, head + Vec{4, -1}, 3.4f, {-1, 0.3f}, true);
  bat.Paint(bat.Ellipse(head + Vec{-1, 5}, 4, 2.4f), Hex(0x5a2a44));
  for (float x : {-3.0f, 1.5f}) bat.PaintBare(bat.Polygon({head + Vec{x, 6}, head + Vec{x + 2, 6}, head + Vec{x + 1, 9.5f}}), Flat(palette::white));
}

void DrawRainCloud(const Pen& pen, float phase) {
  const float a = phase * kTau;
  // Rain under the cloud, each drop falling through its own part of the cycle.
  for (int k = 0; k < 6; ++k) {
    const float t = std::fmod(phase + HashUnit(uint32_t(k), 3), 1.0f);
    const Vec drop{-26.0f + k * 10.5f, 16 + t * 34};
    const float fade = 1 - Smoothstep(0.6f, 1.0f, t);
    const Shape shape = Union(pen.Circle(drop, 2.6f), pen.Polygon({drop + Vec{-2.4f, -1}, drop + Vec{0, -8}, drop + Vec{2.4f, -1}}));
    pen.PaintBare(Grow(shape, pen.Len(1.2f)), Flat(WithAlpha(Scale(palette::rain, 0.5f), fade)));
    pen.PaintBare(shape, Soft(WithAlpha(palette::rain, fade), pen.Len(2)));
  }
  const float squash = 1 + 0.04f * std::sin(a);
  const Pen cloud = pen.Shifted({0, -1.5f * std::sin(a)});
  const Shape puff = Union({cloud.Circle({-24, 2}, 16 * squash), cloud.Circle({-6, -12}, 22 * squash),
                            cloud.Circle({18, -8}, 19 * squash), cloud.Circle({32, 6}, 13 * squash),
                            cloud.Box({2, 10}, 36, 10, 9)});
  cloud.Paint(puff, VerticalSoft(Mix(palette::storm, palette::white, 0.35f), Scale(palette::storm, 0.75f),
                                 cloud.At({0, -34}).y, cloud.At({0, 20}).y, cloud.Len(8)));
  // Face: cross brows, eyes looking left, a frown.
  Eye(cloud, {-12, -2}, 5, {-1, 0.2f}, true);
  Eye(cloud, {4, -2}, 5, {-1, 0.2f}, true);
  cloud.PaintBare(cloud.Stroke({{-12, 12}, {-6, 8.5f}, {0, 12}}, 1.3f, 1.3f), Flat(palette::ink));
  // A small flash of lightning now and then.
  if (phase >= 0.5f && phase < 0.625f)
    cloud.Paint(cloud.Polygon({{22, 12}, {30, 12}, {25, 22}, {31, 22}, {18, 40}, {22, 26}, {16, 26}}), palette::gold);
}
