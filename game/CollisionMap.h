// The level's collision map: one class code per world pixel, drawn from the
// level's line lists and the blocks with a 23-pixel round pen.
#pragma once

#include <cstdint>
#include <vector>

enum class PixelClass : uint8_t { empty = 0, solid = 1, platform = 2 };

class cCollisionMap {
 public:
  // Re-creates the map at width x height pixels, all empty.
  void Resize(int width, int height);
  // Releases the pixels; the map is then 0 x 0.
  void Free();
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The class of pixel (x, y); empty outside the map.
  PixelClass Get(int x, int y) const;
  bool IsSolid(int x, int y) const { return Get(x, y) == PixelClass::solid; }
  // Solid or platform: carries a body from above.
  bool Supports(int x, int y) const { return Get(x, y) != PixelClass::empty; }

  // Canvas-style pen: MoveTo sets the current position, LineTo draws a
  // 23-pixel-wide line with round ends from there and moves on.
  void SetPen(PixelClass penClass) { pen_ = penClass; }
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  // Outline of the rectangle (x, y) - (x + w, y + h): top, right, bottom, left.
  void DrawOutline(int x, int y, int w, int h, PixelClass penClass);

 private:
  void DrawWideSegment(int x0, int y0, int x1, int y1);

  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> pixels_;
  PixelClass pen_ = PixelClass::solid;
  int penX_ = 0;
  int penY_ = 0;
};

extern cCollisionMap CollisionMap;
