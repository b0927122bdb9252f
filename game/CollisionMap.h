// The level's collision map: one class code per world pixel, drawn from the
// level's line lists and the blocks with a 23-pixel round pen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

enum class PixelClass : uint8_t { empty = 0, solid = 1, platform = 2 };

class cCollisionMap {
 public:
  // Half the pen width: a pixel is covered by a line when the point (x, y)
  // lies within this distance of the segment.
  static constexpr double kPenRadius = 11.5;
  static constexpr int kFarAway = -(1 << 30);

  // A world coordinate as a pixel index: truncated toward zero. Values far
  // outside any map (and NaN) give an index outside it, so probes find empty.
  static int ToPixel(double v) { return v > -1e9 && v < 1e9 ? int(v) : kFarAway; }

  cCollisionMap() = default;
  cCollisionMap(const cCollisionMap& other);
  cCollisionMap& operator=(const cCollisionMap& other);

  // Re-creates the map at width x height pixels, all empty.
  void Resize(int width, int height);
  // Releases the pixels; the map is then 0 x 0.
  void Free();
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Memory held by the pixels (of which only the touched pages are resident).
  size_t Bytes() const { return bytes_; }

  // The class of pixel (x, y); empty outside the map.
  PixelClass Get(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return PixelClass::empty;
    return PixelClass((pixels_[ByteOf(x, y)] >> ((x & 3) * 2)) & 3);
  }
  bool IsSolid(int x, int y) const { return Get(x, y) == PixelClass::solid; }
  // Solid or platform: carries a body from above.
  bool Supports(int x, int y) const { return Get(x, y) != PixelClass::empty; }

  // Canvas-style pen: MoveTo sets the current position, LineTo draws a
  // 23-pixel-wide line with round ends from there and moves on.
  void SetPen(PixelClass penClass) { pen_ = penClass; }
  void MoveTo(int64_t x, int64_t y);
  void LineTo(int64_t x, int64_t y);
  // Outline of the rectangle (x, y) - (x + w, y + h): top, right, bottom, left.
  void DrawOutline(int64_t x, int64_t y, int64_t w, int64_t h, PixelClass penClass);

 private:
  // Two bits per pixel in tiles of 64 x 64 pixels (1 KB, 16 bytes a row):
  // the largest level (24800 x 6600) takes about 41 MB, and a steep line
  // touches a few tiles instead of one memory row per pixel row.
  static constexpr int kTileShift = 6;
  static constexpr int kTileSize = 1 << kTileShift;
  static constexpr size_t kTileRowBytes = kTileSize / 4;
  static constexpr size_t kTileBytes = kTileRowBytes * kTileSize;

  size_t ByteOf(int x, int y) const {
    const size_t tile = size_t(y >> kTileShift) * tilesAcross_ + size_t(x >> kTileShift);
    return tile * kTileBytes + size_t(y & (kTileSize - 1)) * kTileRowBytes +
           size_t((x & (kTileSize - 1)) >> 2);
  }
  void DrawWideSegment(int64_t x0, int64_t y0, int64_t x1, int64_t y1);
  void FillRun(int y, int xFrom, int xTo);

  int width_ = 0;
  int height_ = 0;
  size_t tilesAcross_ = 0;
  // Calloc'd: a map of a megabyte and more comes straight from the system as
  // zero pages, so the empty sky that most of a level is costs no memory
  // until a line is drawn through its tiles.
  struct tFreePixels {
    void operator()(uint8_t* pixels) const { std::free(pixels); }
  };
  std::unique_ptr<uint8_t[], tFreePixels> pixels_;
  size_t bytes_ = 0;
  PixelClass pen_ = PixelClass::solid;
  int64_t penX_ = 0;
  int64_t penY_ = 0;
};

extern cCollisionMap CollisionMap;
