// Pictures used during play: the seven pickup kinds, the on-screen display
// (cone icon, digit strips, edge mask, colon, nut icon), the block stone and
// the thrown nut.
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

// A faint golden halo that marks a thing as collectable.
void Halo(Image& image) {
  const Vec c{image.Width() / 2.0f, image.Height() / 2.0f};
  const float r = image.Width() * 0.47f;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      const float d = Length(Vec{x + 0.5f, y + 0.5f} - c) / r;
      const float a = 0.32f * (1 - Smoothstep(0.45f, 1.0f, d));
      if (a > 0) image.Blend(x, y, palette::sun, a);
    }
}

Image Icon() { return Image(64, 64); }

Image ConeItem() {
  Image image = Icon();
  Halo(image);
  DrawPineCone(Pen(image, {0, 0}, 1), {32, 33}, 44, 0.35f);
  return image;
}

// A dandelion puff: a ball of seeds on a bent stem.
Image PuffItem() {
  Image image = Icon();
  Halo(image);
  Pen pen(image, {0, 0}, 1);
  pen.Paint(pen.Stroke(BezierPath({30, 60}, {33, 50}, {28, 40}, {32, 30}, 8), 1.8f, 1.4f), palette::grass);
  pen.PaintBare(pen.Circle({32, 26}, 19), Flat(WithAlpha(palette::white, 0.35f)));
  for (int k = 0; k < 22; ++k) {
    const float angle = k * kTau / 22 + HashUnit(uint32_t(k), 41) * 0.2f;
    const Vec tip = Vec{32, 26} + Vec{std::cos(angle), std::sin(angle)} * (15 + 3 * HashUnit(uint32_t(k), 42));
    pen.PaintBare(pen.Capsule({32, 26}, tip, 0.6f, 0.4f), Flat(WithAlpha(palette::cloudShade, 0.9f)));
    pen.PaintBare(pen.Circle(tip, 2.6f), Soft(palette::white, 1.5f));
  }
  pen.Paint(pen.Circle({32, 26}, 4), Hex(0xd9c48a));
  return image;
}

void Acorn(const Pen& pen, Vec c, float angle) {
  const Pen acorn = pen.Turned(c, angle);
  acorn.Paint(acorn.Ellipse(c + Vec{0, 4}, 8, 10), palette::nut);
  acorn.PaintBare(acorn.Ellipse(c + Vec{-3, 3}, 2, 5), Flat(WithAlpha(palette::cream, 0.5f)));
  acorn.Paint(acorn.Ellipse(c + Vec{0, -4}, 9.5f, 5.5f), palette::woodDark);
  for (int k = -2; k <= 2; ++k)
    acorn.PaintBare(acorn.Circle(c + Vec{k * 3.4f, -5.0f + (k % 2) * 1.5f}, 1.2f), Flat(Scale(palette::woodDark, 0.7f)));
  acorn.Paint(acorn.Capsule(c + Vec{0, -9}, c + Vec{2, -14}, 1.5f, 1.2f), palette::woodDark);
}

// Ammunition: a bundle of three acorns on an oak leaf.
Image AcornItem() {
  Image image = Icon();
  Halo(image);
  Pen pen(image, {0, 0}, 1);
  pen.Paint(pen.Ellipse({32, 40}, 24, 11, -0.3f), palette::grass);
  pen.PaintBare(pen.Capsule({12, 48}, {52, 32}, 0.9f, 0.6f), Flat(palette::grassDark));
  Acorn(pen, {21, 34}, -0.35f);
  Acorn(pen, {43, 33}, 0.35f);
  Acorn(pen, {32, 28}, 0);
  return image;
}

// Fuel: a red jerrycan with a drop on its side.
Image FuelItem() {
  Image image = Icon();
  Halo(image);
  Pen pen(image, {0, 0}, 1);
  pen.Paint(pen.Box({40, 14}, 5, 4, 1.5f, 0.3f), palette::brass);
  pen.Paint(pen.Box({32, 35}, 17, 21, 4), palette::red);
  pen.Paint(pen.Box({24, 15}, 8, 4.5f, 3), Scale(palette::red, 0.8f));
  pen.PaintBare(Subtract(pen.Box({24, 15}, 5.5f, 2.5f, 2), pen.Box({24, 15}, 4, 1.2f, 1)), Flat(palette::ink));
  pen.Paint(Union(pen.Circle({32, 40}, 6), pen.Polygon({{26.5f, 38}, {32, 27}, {37.5f, 38}})), palette::gold);
  pen.PaintBare(pen.Capsule({20, 20}, {20, 50}, 1.3f, 1.3f), Flat(WithAlpha(palette::white, 0.35f)));
  return image;
}

// A toadstool: collected, but worth nothing.
Image MushroomItem() {
  Image image = Icon();
  Halo(image);
  Pen pen(image, {0, 0}, 1);
  pen.Paint(pen.Capsule({32, 54}, {32, 34}, 7, 6), palette::cream);
  const Shape cap = Intersect(pen.Ellipse({32, 32}, 24, 17), pen.Box({32, 22}, 30, 14, 0));
  pen.Paint(cap, palette::red);
  for (Vec dot : {Vec{22, 26}, Vec{34, 20}, Vec{43, 28}, Vec{29, 31}})
    pen.PaintBare(Intersect(pen.Circle(dot, 3.2f), cap), Soft(palette::white, 1.5f));
  return image;
}

// A sprig of blueberries: collected, but worth nothing.
Image BerryItem() {
  Image image = Icon();
  Halo(image);
  Pen pen(image, {0, 0}, 1);
  pen.Paint(pen.Stroke(BezierPath({14, 54}, {22, 40}, {34, 30}, {52, 22}, 8), 1.6f, 1.0f), palette::woodDark);
  pen.Paint(pen.Ellipse({44, 18}, 10, 5, -0.6f), palette::grass);
  pen.Paint(pen.Ellipse({20, 36}, 9, 4.5f, -1.1f), palette::grass);
  for (Vec berry : {Vec{26, 46}, Vec{37, 40}, Vec{31, 30}, Vec{45, 31}}) {
    pen.Paint(pen.Circle(berry, 6.5f), Hex(0x4a5ab8));
    pen.PaintBare(pen.Circle(berry + Vec{-2, -2.5f}, 1.6f), Flat(WithAlpha(palette::white, 0.7f)));
  }
  return image;
}

// A grenade: a spiky chestnut burr with a lit fuse.
Image BurrItem() {
  Image image = Icon();
  Halo(image);
  Pen pen(image, {0, 0}, 1);
  std::vector<Vec> spikes;
  for (int k = 0; k < 36; ++k) {
    const float angle = k * kTau / 36;
    const float r = k % 2 ? 22 : 16;
    spikes.push_back(Vec{32, 36} + Vec{std::cos(angle), std::sin(angle)} * r);
  }
  pen.Paint(pen.Polygon(spikes), palette::grassLight);
  pen.Paint(pen.Circle({32, 36}, 14), Mix(palette::grass, palette::grassLight, 0.4f));
  pen.Paint(pen.Ellipse({32, 38}, 7, 6), palette::woodDark);
  pen.Paint(pen.Stroke({{36, 18}, {40, 11}, {46, 9}}, 1.6f, 1.3f), palette::rope);
  pen.PaintBare(pen.Circle({47, 8}, 4.5f), Flat(WithAlpha(palette::orange, 0.8f)));
  pen.PaintBare(pen.Circle({47, 8}, 2.2f), Flat(palette::sun));
  return image;
}

// Ten digit cells, 1 to 9 then 0 from the top, each cell square.
Image DigitStrip(Rgba top, Rgba bottom, Rgba outline) {
  constexpr int kCell = 64;
  Image strip(kCell, kCell * 10);
  // The display advances by a whole cell per digit: wide digits fill it.
  const Font font(Font::Face::bold, 58, 1.45f);
  for (int i = 0; i < 10; ++i) {
    const std::string digit(1, char('0' + (i + 1) % 10));
    const float y0 = i * kCell + 9.0f;
    TextStyle style{VerticalSoft(top, bottom, y0, y0 + 44), 5, outline, 0};
    DrawLabel(strip, font, digit, kCell / 2.0f, i * kCell + 54.0f, Align::centre, style);
  }
  return strip;
}

Image Colon() {
  Image image(32, 32);
  Pen pen(image, {0, 0}, 1);
  for (float y : {9.0f, 23.0f}) pen.Paint(pen.Circle({16, y}, 5), palette::gold);
  return image;
}

// Darkens the screen's edges and corners; the middle stays clear.
Image EdgeMask() {
  Image image(512, 512);
  for (int y = 0; y < 512; ++y)
    for (int x = 0; x < 512; ++x) {
      const float u = (x + 0.5f) / 256 - 1;
      const float v = (y + 0.5f) / 256 - 1;
      // A rounded-square distance, so the sides darken as much as the corners.
      const float d = std::pow(std::pow(std::fabs(u), 4.0f) + std::pow(std::fabs(v), 4.0f), 0.25f);
      const float a = 0.62f * Smoothstep(0.72f, 1.08f, d);
      image.Set(x, y, WithAlpha(Hex(0x140c1c), a));
    }
  return image;
}

// The stepping stone: a slab of grey stone with a glowing rune.
Image BlockStone() {
  Image image(128, 64);
  Pen pen(image, {0, 0}, 1);
  const Shape slab = pen.Box({64, 32}, 61, 29, 12);
  pen.Paint(slab, VerticalSoft(Mix(palette::rock, palette::white, 0.2f), palette::rockDark, 4, 60, 10));
  // Cracks and speckles.
  for (int k = 0; k < 40; ++k) {
    const Vec p{8 + 112 * HashUnit(uint32_t(k), 51), 8 + 48 * HashUnit(uint32_t(k), 52)};
    pen.PaintBare(Intersect(pen.Circle(p, 1 + 1.5f * HashUnit(uint32_t(k), 53)), Grow(slab, -4)),
                  Flat(WithAlpha(palette::rockDark, 0.5f)));
  }
  pen.PaintBare(pen.Stroke({{20, 12}, {28, 22}, {24, 30}}, 0.9f, 0.5f), Flat(WithAlpha(palette::ink, 0.6f)));
  // Rune glow and rune.
  PaintGlow(image, {64, 32}, 30, palette::rune, 0.5f);
  const std::vector<Vec> rune{{56, 18}, {64, 26}, {72, 18}, {72, 46}};
  pen.PaintBare(pen.Stroke(rune, 3.6f, 3.6f), Flat(WithAlpha(palette::rune, 0.45f)));
  pen.PaintBare(pen.Stroke(rune, 2.0f, 2.0f), Flat(palette::rune));
  pen.PaintBare(pen.Stroke({{56, 32}, {56, 46}}, 2.0f, 2.0f), Flat(palette::rune));
  return image;
}

Image Nut(float size) {
  Image image = Icon();
  DrawNut(Pen(image, {0, 0}, 1), {32, 34}, size, 0.3f);
  return image;
}

}  // namespace

bool BuildPlayPictures(const std::string& contentDir) {
  const Image items[7] = {ConeItem(), PuffItem(), AcornItem(), FuelItem(), MushroomItem(), BerryItem(), BurrItem()};
  for (int k = 0; k < 7; ++k)
    if (!WriteTga(OnDisk(contentDir, "DATA\\Items\\" + std::to_string(k) + ".tga"), items[k])) return false;
  Image cone = Icon();
  DrawPineCone(Pen(cone, {0, 0}, 1), {32, 32}, 50, 0.3f);
  return WriteTga(OnDisk(contentDir, "DATA\\onscreen\\cone.tga"), cone) &&
         WriteTga(OnDisk(contentDir, "DATA\\onscreen\\fontx1.tga"),
                  DigitStrip(palette::white, palette::cloudShade, palette::ink)) &&
         WriteTga(OnDisk(contentDir, "DATA\\onscreen\\fontx2.tga"),
                  DigitStrip(Mix(palette::gold, palette::white, 0.45f), palette::orange, palette::ink)) &&
         WriteTga(OnDisk(contentDir, "DATA\\onscreen\\Nut.tga"), Nut(46)) &&
         WriteTga(OnDisk(contentDir, "DATA\\onscreen\\RareVozazu.tga"), EdgeMask()) &&
         WriteTga(OnDisk(contentDir, "DATA\\onscreen\\Sem.tga"), Colon()) &&
         WriteTga(OnDisk(contentDir, "DATA\\Objects\\mstone.tga"), BlockStone()) &&
         WriteTga(OnDisk(contentDir, "DATA\\veapons\\nut.tga"), Nut(50));
}
