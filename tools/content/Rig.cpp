#include "tools/content/Rig.h"

#include <cmath>

Pen::Pen(Image& image, Vec origin, float scale, bool mirror)
    : image_(&image), origin_(origin), scale_(scale), m_{mirror ? -scale : scale, 0, 0, scale} {}

Vec Pen::At(Vec p) const { return {origin_.x + m_[0] * p.x + m_[1] * p.y, origin_.y + m_[2] * p.x + m_[3] * p.y}; }

Pen Pen::Turned(Vec pivot, float angle) const {
  const float c = std::cos(angle);
  const float s = std::sin(angle);
  Pen turned = *this;
  turned.m_[0] = m_[0] * c + m_[1] * s;
  turned.m_[1] = -m_[0] * s + m_[1] * c;
  turned.m_[2] = m_[2] * c + m_[3] * s;
  turned.m_[3] = -m_[2] * s + m_[3] * c;
  // Keep the pivot where it was.
  const Vec before = At(pivot);
  const Vec after = turned.At(pivot);
  turned.origin_ = turned.origin_ + (before - after);
  return turned;
}

Pen Pen::Shifted(Vec offset) const {
  Pen shifted = *this;
  shifted.origin_ = At(offset);
  return shifted;
}

float Pen::Outline() const { return kOutline * std::sqrt(scale_); }

float Pen::ImageAngle(float angle) const {
  const Vec axis{m_[0] * std::cos(angle) + m_[1] * std::sin(angle),
                 m_[2] * std::cos(angle) + m_[3] * std::sin(angle)};
  return std::atan2(axis.y, axis.x);
}

Shape Pen::Circle(Vec c, float r) const { return ::Circle(At(c), Len(r)); }

Shape Pen::Ellipse(Vec c, float rx, float ry, float angle) const {
  return ::Ellipse(At(c), Len(rx), Len(ry), ImageAngle(angle));
}

Shape Pen::Capsule(Vec a, Vec b, float ra, float rb) const {
  return ::Capsule(At(a), At(b), Len(ra), Len(rb));
}

Shape Pen::Polygon(const std::vector<Vec>& points) const {
  std::vector<Vec> mapped;
  for (Vec p : points) mapped.push_back(At(p));
  return ::Polygon(std::move(mapped));
}

Shape Pen::Stroke(const std::vector<Vec>& path, float r0, float r1) const {
  std::vector<Vec> mapped;
  for (Vec p : path) mapped.push_back(At(p));
  return ::Stroke(mapped, Len(r0), Len(r1));
}

Shape Pen::Box(Vec c, float hw, float hh, float radius, float angle) const {
  return ::RoundBox(At(c), Len(hw), Len(hh), Len(radius), ImageAngle(angle));
}

void Pen::Paint(const Shape& shape, Rgba colour) const { ::Paint(*image_, shape, Soft(colour, Len(6)), Outline()); }
void Pen::Paint(const Shape& shape, const Shader& fill) const { ::Paint(*image_, shape, fill, Outline()); }
void Pen::PaintBare(const Shape& shape, const Shader& fill) const { ::Paint(*image_, shape, fill, 0); }
