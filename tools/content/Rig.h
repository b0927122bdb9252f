// Drawing figures in their own coordinates: a Pen maps a figure's points
// (pixels at scale 1, y downward, origin at the figure's feet) onto an image,
// so that one figure can be drawn into a 128-pixel sprite frame or large on
// a title picture, mirrored, and with parts turned about joints.
#pragma once

#include <vector>

#include "tools/content/Raster.h"

class Pen {
 public:
  Pen(Image& image, Vec origin, float scale, bool mirror = false);

  // The same pen with the figure turned by angle about pivot (figure
  // coordinates); positive angles turn clockwise as seen.
  Pen Turned(Vec pivot, float angle) const;
  // The same pen moved by offset (figure coordinates).
  Pen Shifted(Vec offset) const;

  Vec At(Vec p) const;
  float Len(float length) const { return length * scale_; }
  float Outline() const;
  Image& Canvas() const { return *image_; }

  Shape Circle(Vec c, float r) const;
  Shape Ellipse(Vec c, float rx, float ry, float angle = 0) const;
  Shape Capsule(Vec a, Vec b, float ra, float rb) const;
  Shape Polygon(const std::vector<Vec>& points) const;
  Shape Stroke(const std::vector<Vec>& path, float r0, float r1) const;
  Shape Box(Vec c, float hw, float hh, float radius, float angle = 0) const;

  // Paints with the shared outline scaled to the pen.
  void Paint(const Shape& shape, Rgba colour) const;
  void Paint(const Shape& shape, const Shader& fill) const;
  void PaintBare(const Shape& shape, const Shader& fill) const;  // no outline

 private:
  float ImageAngle(float angle) const;

  Image* image_;
  Vec origin_;
  float scale_;
  float m_[4];  // figure to image: scale x rotation x (mirror)
};
