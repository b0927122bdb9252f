// The main menu: the title frame "MainScreen.TGA" (open in the middle, with
// the title, a signpost whose boards are the menu items, and Virko), the
// five highlighted boards drawn while the pointer is over an item, six
// backdrop panels and ten faint symbols that drift behind the frame.
#include <cmath>
#include <numbers>
#include <string>

#include "tools/content/Catalogue.h"
#include "tools/content/Figures.h"
#include "tools/content/ImageFiles.h"
#include "tools/content/Palette.h"
#include "tools/content/PictureGroups.h"
#include "tools/content/Scenery.h"
#include "tools/content/Text.h"

namespace {

constexpr float kTau = 2 * std::numbers::pi_v<float>;

// An arrow-shaped signboard over the rectangle, pointing right.
Shape SignShape(float left, float top, float right, float bottom, float grow) {
  const float mid = (top + bottom) / 2;
  const float r = 4;
  return Grow(Polygon({{left + r, top + r}, {right - 20, top + r}, {right - r - 2, mid}, {right - 20, bottom - r},
                       {left + r, bottom - r}}),
              r + grow);
}

void PaintSign(Image& image, const MenuItem& item, Vec offset, bool lit) {
  const float grow = lit ? 4 : 0;
  const Shape sign = Move(SignShape(float(item.left), float(item.top), float(item.right), float(item.bottom), grow), offset);
  const float y0 = item.top + offset.y;
  const float y1 = item.bottom + offset.y;
  if (lit) {
    // A warm glow around the lit board.
    for (int k = 0; k < 6; ++k) Paint(image, Grow(sign, 7.0f - k), Flat(WithAlpha(palette::gold, 0.07f)), 0);
  }
  const Rgba top = lit ? Mix(palette::gold, palette::white, 0.35f) : palette::woodLight;
  const Rgba bottom = lit ? palette::orange : palette::woodDark;
  Paint(image, sign, [=](Vec p, float d, Vec n) {
    const float grain = Fractal(p.x / 50, p.y / 4, 91, 3);
    Rgba c = Mix(top, bottom, Clamp01((p.y - y0) / (y1 - y0)));
    c = Mix(c, Scale(c, 0.8f), Smoothstep(0.55f, 0.8f, grain) * 0.6f);
    return Soft(c, 6)(p, d, n);
  }, 2.6f);
  Paint(image, Circle(Vec{item.left + 12.0f, (y0 + y1) / 2} + Vec{offset.x, 0}, 2.6f), palette::rock, 1.2f);
  const Font font(Font::Face::bold, lit ? 29 : 27);
  const float textX = (item.left + item.right - 14) / 2.0f + offset.x;
  TextStyle style{lit ? VerticalSoft(palette::white, palette::cream, y0, y1) : VerticalSoft(palette::cream, palette::woodLight, y0, y1),
                  lit ? 3.5f : 3.0f, lit ? Hex(0x7a3a10) : palette::ink, 2};
  DrawLabel(image, font, item.label, textX, (y0 + y1) / 2 + 10, Align::centre, style);
}

Image TitleFrame() {
  Image image(800, 600);
  // Grass along the bottom of the open middle, for the signpost and Virko.
  PaintHills(image, 572, 22, 93, palette::grassLight, palette::grass);
  // Carved frame around the open middle.
  const Shape outer = RoundBox({400, 300}, 400, 300, 0);
  const Shape inner = RoundBox({400, 300}, 374, 274, 28);
  Paint(image, Subtract(outer, inner), [](Vec p, float d, Vec n) {
    const float grain = Fractal(p.x / 80 + p.y / 80, (p.x - p.y) / 6, 92, 3);
    const Rgba c = Mix(palette::wood, palette::woodDark, Smoothstep(0.4f, 0.75f, grain));
    return Soft(c, 8)(p, d, n);
  }, 0);
  Paint(image, Subtract(Grow(inner, 6), inner), Flat(palette::woodLight), 0);
  Paint(image, Subtract(Grow(inner, 3), inner), Flat(palette::ink), 0);
  // Vines and cones at the corners.
  for (Vec corner : {Vec{26, 26}, Vec{774, 26}, Vec{26, 574}, Vec{774, 574}}) {
    const Vec in = Normalize(Vec{400, 300} - corner);
    for (int k = 0; k < 5; ++k) {
      const Vec leaf = corner + Vec{in.x * (18.0f + k * 16), 0} + Vec{0, in.y * 6.0f * (k % 2)};
      Paint(image, Ellipse(leaf, 10, 5, k % 2 ? 0.5f : -0.5f), palette::grass);
      const Vec leaf2 = corner + Vec{0, in.y * (18.0f + k * 16)} + Vec{in.x * 6.0f * (k % 2), 0};
      Paint(image, Ellipse(leaf2, 5, 10, k % 2 ? 0.5f : -0.5f), palette::grassLight);
    }
    DrawPineCone(Pen(image, {0, 0}, 1), corner + in * 6, 40, in.x > 0 ? -0.6f : 0.6f);
  }
  // Title.
  const Font title(Font::Face::bold, 104);
  const Font subtitle(Font::Face::bold, 30);
  DrawLabel(image, title, "VIRKO", 545, 150, Align::centre,
            {VerticalSoft(Mix(palette::gold, palette::white, 0.5f), palette::orange, 72, 150), 7, palette::ink, 6});
  DrawLabel(image, subtitle, "and the Pine Isles", 545, 198, Align::centre,
            {Flat(palette::cream), 4, palette::ink, 3});
  // Signpost: pole, then the boards.
  Paint(image, RoundBox({188, 400}, 9, 210, 4), VerticalSoft(palette::woodLight, palette::woodDark, 190, 600, 5));
  Paint(image, Ellipse({188, 193}, 14, 7), palette::woodDark);
  for (const MenuItem& item : kMenuItems) PaintSign(image, item, {0, 0}, false);
  // Virko waving in the corner.
  HeroPose wave;
  wave.armFront = {2.05f, -0.35f};
  wave.armBack = {0.3f, 0.6f};
  wave.legFront = {0.15f, -0.2f};
  wave.legBack = {-0.1f, -0.1f};
  wave.tail = 0.05f;
  wave.cheer = true;
  wave.scarfLift = 0.3f;
  wave.scarfPhase = 1;
  DrawHero(Pen(image, {640, 585}, 2.2f), wave);
  return image;
}

Image ItemPicture(const MenuItem& item) {
  Image image(item.right - item.left + 2 * kMenuGlow, item.bottom - item.top + 2 * kMenuGlow);
  PaintSign(image, item, {float(kMenuGlow - item.left), float(kMenuGlow - item.top)}, true);
  return image;
}

}  // namespace

// Six full-screen scenes of the isles that dissolve into one another.
Image MenuPanel(int index) {
  Image image(800, 600);
  const uint32_t seed = 100 + uint32_t(index) * 17;
  switch (index) {
    case 0:  // Morning over the pine forest.
      PaintSky(image, palette::skyMid, Mix(palette::haze, palette::skyLow, 0.3f), palette::haze, 0.6f);
      PaintGlow(image, {200, 330}, 300, palette::sun, 0.7f);
      PaintRidge(image, 380, 160, seed, palette::mountainFar, Mix(palette::mountainFar, palette::haze, 0.5f), true);
      PaintForest(image, 470, 90, seed + 1, Mix(palette::pine, palette::mountain, 0.4f), 30);
      PaintForest(image, 540, 120, seed + 2, palette::pine, 40);
      break;
    case 1:  // Floating isles over the sea of clouds.
      PaintSky(image, palette::skyHigh, palette::skyMid, palette::skyLow, 0.5f);
      for (int k = 0; k < 5; ++k)
        PaintCloud(image, {80.0f + k * 170, 470.0f + 20 * (k % 2)}, 300, seed + k, palette::white, palette::cloudShade);
      PaintIsland(image, {560, 250}, 230, seed + 7);
      PaintIsland(image, {200, 180}, 150, seed + 8);
      PaintIsland(image, {700, 120}, 90, seed + 9);
      PaintCloud(image, {400, 580}, 500, seed + 10, palette::white, palette::cloudShade);
      break;
    case 2:  // Night with stars and fireflies.
      PaintSky(image, Hex(0x0e1430), palette::night, Hex(0x3a3f6e), 0.6f);
      PaintStars(image, seed, 140, 380);
      PaintGlow(image, {620, 110}, 160, Hex(0xdfe8ff), 0.35f);
      Paint(image, Circle({620, 110}, 42), Soft(Hex(0xf4f2de), 10), 0);
      PaintRidge(image, 420, 150, seed, Hex(0x2c3766), Hex(0x1e2750), false);
      PaintForest(image, 520, 130, seed + 1, Hex(0x14203a), 36);
      for (int k = 0; k < 30; ++k) {
        const Vec p{800 * HashUnit(seed, uint32_t(k), 1), 380 + 200 * HashUnit(seed, uint32_t(k), 2)};
        PaintGlow(image, p, 14, Hex(0xd8ff7a), 0.6f);
        Paint(image, Circle(p, 1.8f), Flat(Hex(0xf4ffd0)), 0);
      }
      break;
    case 3:  // A mountain lake holding the sky.
      PaintSky(image, palette::skyHigh, palette::skyMid, palette::skyLow, 0.55f);
      PaintCloud(image, {250, 120}, 260, seed, palette::white, palette::cloudShade);
      PaintRidge(image, 330, 180, seed, palette::mountain, Mix(palette::mountain, palette::mountainFar, 0.5f), true);
      PaintForest(image, 380, 60, seed + 1, palette::pineDark, 18);
      // The lake mirrors what lies above its shore, darker and rippled.
      for (int y = 392; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
          const int mirrorY = 2 * 392 - y - int(3 * std::sin(y * 0.35f + x * 0.02f));
          const Rgba above = image.Get(x, std::max(0, mirrorY));
          image.Set(x, y, Mix(above, Hex(0x2e5d8c), 0.3f + 0.3f * (y - 392) / 208.0f));
        }
      break;
    case 4:  // Autumn hills.
      PaintSky(image, Hex(0x6fa6dc), Hex(0xf6d7a8), Hex(0xf3b27a), 0.6f);
      PaintHills(image, 360, 120, seed, Hex(0xc98a4f), Hex(0xa8683a));
      PaintHills(image, 440, 110, seed + 1, Hex(0xd9a13d), Hex(0xb8742d));
      for (int k = 0; k < 9; ++k) {
        const Vec base{40.0f + k * 95 + 30 * HashUnit(seed, uint32_t(k)), 520.0f + 20 * HashUnit(seed, uint32_t(k), 2)};
        Paint(image, Capsule(base, base + Vec{0, -60}, 6, 4), palette::woodDark);
        Paint(image, Circle(base + Vec{0, -80}, 38 + 10 * HashUnit(seed, uint32_t(k), 3)),
              k % 3 == 0 ? palette::red : k % 3 == 1 ? palette::orange : palette::gold);
      }
      PaintHills(image, 560, 40, seed + 2, Hex(0xb3873f), Hex(0x8a5a2c));
      break;
    default:  // Sunset over the clouds.
      PaintSky(image, Hex(0x3b3f7a), palette::dusk, palette::haze, 0.55f);
      PaintGlow(image, {420, 330}, 360, palette::sun, 0.8f);
      Paint(image, Circle({420, 330}, 60), Soft(palette::sun, 10), 0);
      for (int k = 0; k < 6; ++k)
        PaintCloud(image, {k * 160.0f, 430.0f + 25 * (k % 2)}, 320, seed + k, Hex(0xffd2b0), Hex(0xc87a8a));
      for (int k = 0; k < 5; ++k) {
        const Vec b{250.0f + k * 60, 200.0f + 25 * std::sin(k * 1.7f)};
        Paint(image, Stroke({b + Vec{-12, -3}, b, b + Vec{12, -3}}, 1.8f, 1.8f), Flat(Hex(0x3b2a4a)), 0);
      }
      break;
  }
  return image;
}

namespace {

// Faint shapes that drift in front of the panels (drawn at alpha 0.1).
Image Symbol(int index) {
  Image image(256, 256);
  Pen pen(image, {128, 128}, 1);
  const Rgba light = Mix(palette::white, palette::sun, 0.4f);
  switch (index) {
    case 0: DrawPineCone(Pen(image, {0, 0}, 4), {32, 32}, 50, 0.4f); break;
    case 1: DrawNut(Pen(image, {0, 0}, 4), {32, 33}, 48, 0.3f); break;
    case 2:  // Leaf.
      pen.Paint(pen.Ellipse({0, 0}, 50, 100, 0.6f), palette::grassLight);
      pen.PaintBare(pen.Stroke({{-50, 70}, {0, 0}, {40, -70}}, 3, 1.5f), Flat(palette::grassDark));
      break;
    case 3:  // Feather.
      pen.Paint(pen.Ellipse({0, 0}, 30, 110, 0.52f), palette::jayLight);
      pen.PaintBare(pen.Stroke({{-60, 100}, {0, 0}, {50, -95}}, 3, 1.5f), Flat(palette::jay));
      break;
    case 4:  // Star.
    {
      std::vector<Vec> star;
      for (int k = 0; k < 10; ++k) star.push_back(Rotate(Vec{k % 2 ? 45.0f : 110.0f, 0}, k * kTau / 10 - kTau / 4));
      pen.Paint(pen.Polygon(star), light);
      break;
    }
    case 5:  // Cloud.
      pen.Paint(Union({pen.Circle({-50, 10}, 45), pen.Circle({10, -25}, 60), pen.Circle({60, 15}, 42), pen.Box({5, 35}, 95, 22, 20)}),
                palette::white);
      break;
    case 6:  // Sun.
      for (int k = 0; k < 12; ++k)
        pen.Paint(pen.Capsule(Rotate(Vec{70, 0}, k * kTau / 12), Rotate(Vec{110, 0}, k * kTau / 12), 8, 3), light);
      pen.Paint(pen.Circle({0, 0}, 60), light);
      break;
    case 7:  // Snowflake.
      for (int k = 0; k < 6; ++k) {
        const float a = k * kTau / 6;
        pen.Paint(pen.Capsule({0, 0}, Rotate(Vec{110, 0}, a), 7, 5), palette::skyLow);
        for (float r : {50.0f, 80.0f})
          for (float side : {-0.5f, 0.5f})
            pen.Paint(pen.Capsule(Rotate(Vec{r, 0}, a), Rotate(Vec{r, 0}, a) + Rotate(Vec{25, 0}, a + side * 1.8f), 5, 3),
                      palette::skyLow);
      }
      break;
    case 8: PaintPine(image, {128, 240}, 220, palette::grassLight, true); break;
    default:  // Paper plane.
      pen.Paint(pen.Polygon({{-110, 10}, {110, -60}, {-20, 40}}), palette::white);
      pen.Paint(pen.Polygon({{-20, 40}, {110, -60}, {0, 90}}), palette::cloudShade);
      break;
  }
  return image;
}

}  // namespace

bool BuildMainMenu(const std::string& contentDir) {
  if (!WriteTga(OnDisk(contentDir, "DATA\\MainScreen\\MainScreen.TGA"), TitleFrame())) return false;
  for (const MenuItem& item : kMenuItems)
    if (!WriteTga(OnDisk(contentDir, item.picture), ItemPicture(item))) return false;
  for (int i = 0; i < 6; ++i)
    if (!WriteJpg(OnDisk(contentDir, "DATA\\MainScreen\\b0" + std::to_string(i) + ".jpg"), MenuPanel(i))) return false;
  for (int i = 0; i < 10; ++i)
    if (!WriteTga(OnDisk(contentDir, "DATA\\MainScreen\\symb" + std::to_string(i) + ".tga"), Symbol(i))) return false;
  return true;
}
