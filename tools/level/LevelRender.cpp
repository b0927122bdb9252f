#include "tools/level/LevelRender.h"

#include <png.h>

#include <algorithm>
#include <cstring>

#include "app/GameState.h"
#include "data/LevelFile.h"
#include "data/LevelLoader.h"
#include "game/Gameplay.h"
#include "game/Units.h"
#include "platform/MessageBox.h"

namespace {

constexpr RgbColour kScreenBorderColour{70, 80, 104};
constexpr RgbColour kScreenNumberColour{110, 122, 150};
constexpr RgbColour kPlayerColour{90, 255, 130};
constexpr RgbColour kUnitColour{255, 96, 64};
constexpr RgbColour kEndColour{255, 60, 60};
constexpr RgbColour kFallOutColour{180, 60, 200};
constexpr RgbColour kPermanentBlockColour{150, 118, 86};
constexpr RgbColour kBlockColour{236, 200, 80};
constexpr RgbColour kPickupColours[kPickupKinds] = {
    {255, 150, 40}, {255, 120, 200}, {240, 220, 60}, {80, 200, 90},
    {80, 210, 220}, {170, 120, 255}, {230, 60, 60}};

constexpr int kPickupSize = 50;  // the size every pickup kind gets at start-up
constexpr int kBlockWidth = 70;
constexpr int kBlockHeight = 35;
constexpr int kDefaultBodySize = 40;  // for unit types without statistics
constexpr int kFallOutY = 2000;
constexpr int kEndMargin = 500;

// A 3 x 5 pixel font: each glyph is five rows of three bits, top row first.
struct Glyph {
  char c;
  uint8_t rows[5];
};
constexpr Glyph kGlyphs[] = {
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}},
    {'3', {7, 1, 3, 1, 7}}, {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}},
    {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 2, 2, 2}}, {'8', {7, 5, 7, 5, 7}},
    {'9', {7, 5, 7, 1, 7}}, {'P', {6, 5, 6, 4, 4}}, {'E', {7, 4, 6, 4, 7}},
    {'N', {5, 7, 7, 7, 5}}, {'D', {6, 5, 5, 5, 6}}, {'-', {0, 0, 7, 0, 0}}};

// Draws on the picture in world coordinates, scaled down by the shrink.
class Painter {
 public:
  Painter(RgbImage& image, int shrink) : image_(image), shrink_(shrink) {}

  void Pixel(int x, int y, RgbColour colour) { image_.Set(x / shrink_, y / shrink_, colour); }

  // Rectangle outline, about two picture pixels thick at any shrink.
  void Frame(int left, int top, int width, int height, RgbColour colour) {
    const int thick = 2 * shrink_;
    Fill(left, top, width, thick, colour);
    Fill(left, top + height - thick, width, thick, colour);
    Fill(left, top, thick, height, colour);
    Fill(left + width - thick, top, thick, height, colour);
  }

  void Fill(int left, int top, int width, int height, RgbColour colour) {
    for (int y = top / shrink_; y <= (top + height - 1) / shrink_; ++y)
      for (int x = left / shrink_; x <= (left + width - 1) / shrink_; ++x) image_.Set(x, y, colour);
  }

  // Half-transparent fill: the map stays visible under it.
  void Tint(int left, int top, int width, int height, RgbColour colour) {
    for (int y = std::max(0, top / shrink_); y <= (top + height - 1) / shrink_ && y < image_.height; ++y) {
      for (int x = std::max(0, left / shrink_); x <= (left + width - 1) / shrink_ && x < image_.width; ++x) {
        const RgbColour under = image_.At(x, y);
        image_.Set(x, y, {uint8_t((under.r + colour.r) / 2), uint8_t((under.g + colour.g) / 2),
                          uint8_t((under.b + colour.b) / 2)});
      }
    }
  }

  // Dashed lines across the whole picture.
  void DashedVertical(int x, RgbColour colour) {
    for (int y = 0; y < image_.height; ++y)
      if (y / 4 % 2 == 0) image_.Set(x / shrink_, y, colour);
  }
  void DashedHorizontal(int y, RgbColour colour) {
    for (int x = 0; x < image_.width; ++x)
      if (x / 4 % 2 == 0) image_.Set(x, y / shrink_, colour);
  }

  // Text of the small font with its top-left corner at a world point; the
  // glyphs keep a readable size in the picture whatever the shrink.
  void Label(int x, int y, const std::string& text, RgbColour colour) {
    const int scale = std::max(1, 3 / shrink_);
    int penX = x / shrink_;
    for (char c : text) {
      for (const Glyph& glyph : kGlyphs) {
        if (glyph.c != c) continue;
        for (int row = 0; row < 5; ++row)
          for (int column = 0; column < 3; ++column)
            if (glyph.rows[row] >> (2 - column) & 1)
              for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx)
                  image_.Set(penX + column * scale + dx, y / shrink_ + row * scale + dy, colour);
      }
      penX += 4 * scale;
    }
  }

 private:
  RgbImage& image_;
  int shrink_;
};

// Far-away positions (a hostile file may hold any) are left out, so that the
// drawing arithmetic stays within integers.
bool Drawable(double x, double y) {
  constexpr double kLimit = 1 << 24;
  return x > -kLimit && x < kLimit && y > -kLimit && y < kLimit;
}

RgbColour ClassColour(PixelClass pixelClass) {
  switch (pixelClass) {
    case PixelClass::solid: return kSolidColour;
    case PixelClass::platform: return kPlatformColour;
    default: return kEmptyColour;
  }
}

void DrawScreens(Painter& paint) {
  for (int c = 0; c < game.screensX; ++c) {
    for (int r = 0; r < game.screensY; ++r) {
      if (c > 0) paint.Fill(c * kScreenWidth, r * kScreenHeight, 1, kScreenHeight, kScreenBorderColour);
      if (r > 0) paint.Fill(c * kScreenWidth, r * kScreenHeight, kScreenWidth, 1, kScreenBorderColour);
      paint.Label(c * kScreenWidth + 8, r * kScreenHeight + 8,
                  std::to_string(game.screenGrid[c][r]), kScreenNumberColour);
    }
  }
}

void DrawPickups(Painter& paint) {
  for (int kind = 0; kind < kPickupKinds; ++kind) {
    const PickupKind& row = pickupKinds[kind];
    for (int j = 0; j <= row.lastItem && j < 100; ++j) {
      if (!Drawable(row.items[j].x, row.items[j].y)) continue;
      const int x = int(row.items[j].x);
      const int y = int(row.items[j].y);
      paint.Frame(x, y, kPickupSize, kPickupSize, kPickupColours[kind]);
      paint.Label(x + 18, y + 18, std::to_string(kind), kPickupColours[kind]);
    }
  }
}

void DrawBlocks(Painter& paint) {
  for (int i = 0; i <= game.blockCount; ++i) {
    const tBlock& block = game.blocks[i];
    if (!Drawable(block.x, block.y)) continue;
    if (block.permanent == 1) paint.Tint(block.x, block.y, kBlockWidth, kBlockHeight, kPermanentBlockColour);
    paint.Frame(block.x, block.y, kBlockWidth, kBlockHeight, kBlockColour);
    paint.Label(block.x + 6, block.y + 10, std::to_string(i), kBlockColour);
  }
}

// A unit's box: its type's collision box, centred on its start.
void DrawBody(Painter& paint, int i, RgbColour colour, const std::string& label) {
  const tVirkoUnit& unit = units[i];
  const int width = unit.width ? unit.width : kDefaultBodySize;
  const int height = unit.height ? unit.height : kDefaultBodySize;
  const TPoint start = game.unitStart[i];
  if (!Drawable(start.x, start.y)) return;
  paint.Frame(start.x - width / 2, start.y - height / 2, width, height, colour);
  paint.Label(start.x - 5, start.y - 7, label, colour);
}

std::vector<std::string> loaderMessages;
void CollectLoaderMessage(const std::string&, const std::string& text) {
  loaderMessages.push_back(Cp1257ToUtf8(text));
}

}  // namespace

bool LoadLevelForPicture(const std::string& path, std::vector<std::string>& messages) {
  loaderMessages.clear();
  SetMessageBoxHandler(CollectLoaderMessage);
  bool loaded = LoadLevelFile(path);
  std::string reason;
  if (loaded && !LevelFitsTables(reason)) {
    loaderMessages.push_back(path + ": " + reason);
    loaded = false;
  }
  SetMessageBoxHandler(nullptr);
  ClearTerminateRequest();
  messages.insert(messages.end(), loaderMessages.begin(), loaderMessages.end());
  if (!loaded) return false;
  for (int i = 0; i <= game.unitCount; ++i) SetUpUnit(i);
  BuildCollisionMap();
  return true;
}

RgbImage::RgbImage(int w, int h, RgbColour fill) : width(w), height(h), pixels(size_t(w) * h * 3) {
  for (size_t i = 0; i < pixels.size(); i += 3) {
    pixels[i] = fill.r;
    pixels[i + 1] = fill.g;
    pixels[i + 2] = fill.b;
  }
}

RgbColour RgbImage::At(int x, int y) const {
  const size_t i = (size_t(y) * width + x) * 3;
  return {pixels[i], pixels[i + 1], pixels[i + 2]};
}

void RgbImage::Set(int x, int y, RgbColour colour) {
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  const size_t i = (size_t(y) * width + x) * 3;
  pixels[i] = colour.r;
  pixels[i + 1] = colour.g;
  pixels[i + 2] = colour.b;
}

RgbImage RenderCollisionMap(const cCollisionMap& map, int shrink) {
  RgbImage image((map.Width() + shrink - 1) / shrink, (map.Height() + shrink - 1) / shrink, kEmptyColour);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      PixelClass strongest = PixelClass::empty;
      for (int dy = 0; dy < shrink && strongest != PixelClass::solid; ++dy) {
        for (int dx = 0; dx < shrink; ++dx) {
          const PixelClass here = map.Get(x * shrink + dx, y * shrink + dy);
          if (here == PixelClass::solid || (here == PixelClass::platform && strongest == PixelClass::empty))
            strongest = here;
        }
      }
      image.Set(x, y, ClassColour(strongest));
    }
  }
  return image;
}

void DrawLevelLayout(RgbImage& image, int shrink) {
  Painter paint(image, shrink);
  DrawScreens(paint);
  const int endX = game.screensX * kScreenWidth - kEndMargin;
  paint.DashedVertical(endX, kEndColour);
  paint.Label(endX + 8, 40, "END", kEndColour);
  paint.DashedHorizontal(kFallOutY, kFallOutColour);
  DrawPickups(paint);
  DrawBlocks(paint);
  for (int i = 1; i <= game.unitCount; ++i) DrawBody(paint, i, kUnitColour, std::to_string(units[i].unitType));
  DrawBody(paint, 0, kPlayerColour, "P");
}

bool WritePng(const std::string& path, const RgbImage& image, std::string& error) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = png_uint_32(image.width);
  png.height = png_uint_32(image.height);
  png.format = PNG_FORMAT_RGB;
  if (!png_image_write_to_file(&png, path.c_str(), 0, image.pixels.data(), 0, nullptr)) {
    error = "cannot write " + path + ": " + png.message;
    return false;
  }
  return true;
}
