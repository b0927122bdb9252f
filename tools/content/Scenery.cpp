#include "tools/content/Scenery.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/content/Palette.h"
#include "tools/content/Text.h"

namespace {
constexpr float kTau = 2 * std::numbers::pi_v<float>;
}

void PaintSky(Image& image, Rgba top, Rgba middle, Rgba bottom, float middleAt) {
  for (int y = 0; y < image.Height(); ++y) {
    const float t = float(y) / (image.Height() - 1);
    const Rgba c = t < middleAt ? Mix(top, middle, Smoothstep(0, middleAt, t))
                                : Mix(middle, bottom, Smoothstep(middleAt, 1, t));
    for (int x = 0; x < image.Width(); ++x) image.Set(x, y, WithAlpha(c, 1));
  }
}

void PaintGlow(Image& image, Vec centre, float radius, Rgba colour, float strength) {
  const int x0 = std::max(0, int(centre.x - radius));
  const int x1 = std::min(image.Width() - 1, int(centre.x + radius));
  const int y0 = std::max(0, int(centre.y - radius));
  const int y1 = std::min(image.Height() - 1, int(centre.y + radius));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const float d = Length(Vec{x + 0.5f, y + 0.5f} - centre) / radius;
      if (d < 1) image.Blend(x, y, colour, strength * (1 - d) * (1 - d));
    }
}

void PaintStars(Image& image, uint32_t seed, int count, float maxY) {
  for (int k = 0; k < count; ++k) {
    const Vec p{image.Width() * HashUnit(seed, uint32_t(k), 1), maxY * HashUnit(seed, uint32_t(k), 2)};
    const float size = 0.6f + 1.4f * HashUnit(seed, uint32_t(k), 3) * HashUnit(seed, uint32_t(k), 4);
    Paint(image, Circle(p, size), Flat(WithAlpha(palette::sun, 0.5f + 0.5f * HashUnit(seed, uint32_t(k), 5))), 0);
    if (size > 1.6f) PaintGlow(image, p, size * 5, palette::sun, 0.25f);
  }
}

void PaintCloud(Image& image, Vec centre, float width, uint32_t seed, Rgba light, Rgba shade, float alpha) {
  std::vector<Shape> puffs;
  const int count = 5 + int(Hash(seed) % 3);
  for (int k = 0; k < count; ++k) {
    const float t = (k + 0.5f) / count;
    const float bulge = std::sin(t * kTau / 2);
    const float r = width * (0.12f + 0.12f * bulge) * (0.8f + 0.4f * HashUnit(seed, uint32_t(k)));
    const Vec c = centre + Vec{(t - 0.5f) * width * 0.8f, -r * 0.55f - bulge * width * 0.05f};
    puffs.push_back(Circle(c, r));
  }
  const float flat = centre.y + width * 0.06f;
  const Shape cloud = Intersect(Union(puffs), RoundBox({centre.x, flat - width}, width, width, 0));
  Paint(image, cloud, CloudShader(light, shade, centre.y - width * 0.35f, flat, alpha), 0);
}

Shader CloudShader(Rgba light, Rgba shade, float top, float bottom, float alpha) {
  return [=](Vec p, float d, Vec n) {
    const float t = Clamp01((p.y - top) / (bottom - top));
    Rgba c = Mix(light, shade, t * t * 0.9f);
    // A bright rim where the cloud faces the sun.
    const float rim = Smoothstep(-6, 0, d) * Clamp01(Dot(n, Normalize(Vec{-0.5f, -0.86f})));
    c = Mix(c, palette::white, rim * 0.6f);
    return WithAlpha(c, alpha * Smoothstep(0.5f, -2.5f, d));
  };
}

void PaintRidge(Image& image, float baseY, float height, uint32_t seed, Rgba top, Rgba bottom, bool snow) {
  auto skyline = [&](float x, int octaves = 5) {
    float n = 0;
    float amplitude = 1;
    float frequency = 1 / 240.0f;
    for (int octave = 0; octave < octaves; ++octave) {
      // Ridged noise: sharp peaks, rounded valleys.
      n += amplitude * (1 - std::fabs(ValueNoise(x * frequency, 0.5f, seed + octave) * 2 - 1));
      amplitude *= 0.45f;
      frequency *= 2.1f;
    }
    return baseY - height * std::pow(Clamp01(n / 1.9f), 1.8f) * 1.4f;
  };
  for (int x = 0; x < image.Width(); ++x) {
    const float h = skyline(x + 0.5f);
    // Slopes that rise to the right face the light; measured over a few
    // pixels so that single columns do not streak.
    // Which way the broad shape of the mountain slopes here: one side of
    // each peak is lit, the other in shade.
    const float slope = (skyline(x + 4.5f, 2) - skyline(x - 3.5f, 2)) / 8;
    const float light = std::clamp(-slope * 2.5f, -0.35f, 0.35f);
    const float peak = Clamp01(((baseY - h) / height - 0.62f) * 3);
    for (int y = std::max(0, int(h) - 1); y < image.Height(); ++y) {
      const float coverage = Clamp01(y + 1 - h);
      Rgba c = Mix(top, bottom, Clamp01((y - h) / std::max(1.0f, image.Height() - h)));
      // Rock faces: broad patches of light and shade that fade with depth.
      const float face = Fractal(x / 45.0f + y / 90.0f, y / 30.0f, seed + 5, 3) - 0.5f;
      const float nearTop = 1 - Smoothstep(0, 140, y - h);
      const float shade = light * nearTop + face * 0.35f;
      c = shade > 0 ? Mix(c, palette::haze, shade * 0.6f) : Mix(c, Scale(c, 0.78f), -shade);
      if (snow && peak > 0) {
        const float cap = 26 * peak + 8 * ValueNoise(x / 7.0f, 1, seed + 9) - 4;
        if (y - h < cap) c = Mix(c, Mix(palette::white, palette::skyLow, 0.35f - light), 0.9f);
      }
      image.Blend(x, y, c, coverage);
    }
  }
}

void PaintHills(Image& image, float baseY, float height, uint32_t seed, Rgba top, Rgba bottom) {
  for (int x = 0; x < image.Width(); ++x) {
    const float h = baseY - height * (0.5f + 0.35f * std::sin(x / 150.0f + seed) + 0.3f * (ValueNoise(x / 220.0f, 3, seed) - 0.5f));
    for (int y = std::max(0, int(h) - 1); y < image.Height(); ++y) {
      const Rgba c = Mix(top, bottom, Clamp01((y - h) / (height * 1.5f)));
      image.Blend(x, y, c, Clamp01(y + 1 - h));
    }
  }
}

void PaintPine(Image& image, Vec base, float height, Rgba colour, bool outlined) {
  const float w = height * 0.42f;
  std::vector<Shape> tiers;
  for (int k = 0; k < 4; ++k) {
    const float bottom = base.y - height * (0.12f + 0.2f * k);
    const float top = bottom - height * 0.38f;
    const float half = w * (1 - 0.2f * k);
    tiers.push_back(Polygon({{base.x - half, bottom}, {base.x - half * 0.3f, bottom - height * 0.05f}, {base.x, top},
                             {base.x + half * 0.3f, bottom - height * 0.05f}, {base.x + half, bottom},
                             {base.x, bottom + height * 0.04f}}));
  }
  // Near trees are outlined and show their trunks; far ones are shapes of haze.
  const float outline = outlined ? kOutline : 0;
  if (outlined)
    Paint(image, Capsule(base, base - Vec{0, height * 0.2f}, height * 0.045f, height * 0.035f), palette::woodDark, outline);
  Paint(image, Union(tiers), Soft(colour, height * 0.08f), outline);
}

void PaintForest(Image& image, float baseY, float treeHeight, uint32_t seed, Rgba colour, float spacing) {
  for (int y = std::max(0, int(baseY)); y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) image.Blend(x, y, colour, Clamp01(y + 1 - baseY));
  int k = 0;
  for (float x = -spacing; x < image.Width() + spacing; x += spacing * (0.6f + 0.8f * HashUnit(seed, uint32_t(k++)))) {
    const float h = treeHeight * (0.6f + 0.6f * HashUnit(seed, uint32_t(k), 7));
    PaintPine(image, {x, baseY + h * 0.1f}, h, colour, false);
  }
}

void PaintIsland(Image& image, Vec top, float width, uint32_t seed, bool trees) {
  const float half = width / 2;
  // Rock hanging under the island, narrowing to a jagged point.
  std::vector<Vec> rock{{top.x - half, top.y}};
  const int teeth = 7;
  for (int k = 1; k < teeth; ++k) {
    const float t = float(k) / teeth;
    const float depth = width * 0.55f * std::sin(t * kTau / 2) * (0.7f + 0.5f * HashUnit(seed, uint32_t(k)));
    rock.push_back({top.x - half + width * t, top.y + depth});
  }
  rock.push_back({top.x + half, top.y});
  const Shape body = Polygon(rock);
  Paint(image, body, VerticalSoft(palette::earth, Mix(palette::rockDark, palette::skyMid, 0.3f), top.y, top.y + width * 0.5f,
                                  width * 0.06f));
  // Strata lines.
  for (int k = 1; k < 4; ++k) {
    const float y = top.y + width * 0.06f * k;
    PaintClipped(image, RoundBox({top.x, y}, half, 1.0f, 1), Grow(body, -3), Flat(WithAlpha(palette::earthDark, 0.6f)));
  }
  // Grass cap with a lit edge.
  const Shape cap = RoundBox({top.x, top.y}, half + 4, width * 0.035f + 3, width * 0.035f + 3);
  Paint(image, cap, VerticalSoft(palette::grassLight, palette::grass, top.y - 8, top.y + 8, 4));
  // Pines and a hanging root or two.
  const int treeCount = trees ? 2 + int(Hash(seed, 5) % 3) : 0;
  for (int k = 0; k < treeCount; ++k) {
    const float x = top.x - half * 0.7f + width * 0.7f * HashUnit(seed, uint32_t(k), 11);
    PaintPine(image, {x, top.y - 3}, width * (0.3f + 0.25f * HashUnit(seed, uint32_t(k), 12)), palette::pine, true);
  }
  for (int k = 0; k < 3; ++k) {
    const float x = top.x - half * 0.6f + width * 0.6f * HashUnit(seed, uint32_t(k), 13);
    const float length = width * (0.15f + 0.2f * HashUnit(seed, uint32_t(k), 14));
    Paint(image, Stroke(BezierPath({x, top.y + 6}, {x + 6, top.y + length * 0.4f}, {x - 6, top.y + length * 0.7f}, {x + 3, top.y + length}, 8), 1.6f, 0.6f),
          palette::grassDark, 1.2f);
  }
}

Image ButtonPicture(int width, int height, const std::string& label, bool pressed) {
  Image image(width, height);
  const float w = width / 2.0f;
  const float h = height / 2.0f;
  const Rgba top = pressed ? Mix(palette::gold, palette::white, 0.3f) : palette::woodLight;
  const Rgba bottom = pressed ? palette::orange : palette::woodDark;
  Paint(image, RoundBox({w, h}, w - 1.5f, h - 1.5f, 8), VerticalSoft(top, bottom, 0, float(height), 5), 1.8f);
  if (!pressed) {
    // A highlight along the top edge of the raised button.
    PaintClipped(image, RoundBox({w, 7}, w - 8, 2.5f, 2.5f), RoundBox({w, h}, w - 4, h - 4, 6),
                 Flat(WithAlpha(palette::white, 0.35f)));
  }
  const Font font(Font::Face::bold, height * 0.5f > 17 ? 17 : int(height * 0.5f));
  const float shift = pressed ? 1.5f : 0;
  TextStyle style{Flat(pressed ? palette::ink : palette::cream), pressed ? 0.0f : 2.2f, palette::ink, 0};
  DrawLabel(image, font, label, w, h + 6 + shift, Align::centre, style);
  return image;
}

void PaintMessagePanel(Image& image, float x0, float y0, float x1, float y1) {
  const Vec centre{(x0 + x1) / 2, (y0 + y1) / 2};
  const Shape frame = RoundBox(centre, (x1 - x0) / 2, (y1 - y0) / 2, 22);
  Paint(image, Move(frame, {6, 8}), Flat(Rgba{0, 0, 0, 0.35f}), 0);
  Paint(image, frame, VerticalSoft(palette::woodLight, palette::woodDark, y0, y1, 8), 3);
  Paint(image, Grow(frame, -14), VerticalSoft(Mix(palette::panel, palette::night, 0.2f), palette::panel, y0, y1, 10), 2.5f);
}
