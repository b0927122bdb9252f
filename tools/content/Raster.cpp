#include "tools/content/Raster.h"

#include <algorithm>
#include <cmath>

float Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
float Length(Vec a) { return std::sqrt(a.x * a.x + a.y * a.y); }

Vec Normalize(Vec a) {
  const float length = Length(a);
  return length > 1e-6f ? a * (1 / length) : Vec{0, 0};
}

Vec Rotate(Vec v, float angle) {
  const float c = std::cos(angle);
  const float s = std::sin(angle);
  return {v.x * c - v.y * s, v.x * s + v.y * c};
}

Vec Lerp(Vec a, Vec b, float t) { return a + (b - a) * t; }

Vec BezierPoint(Vec p0, Vec p1, Vec p2, Vec p3, float t) {
  const float u = 1 - t;
  return p0 * (u * u * u) + p1 * (3 * u * u * t) + p2 * (3 * u * t * t) + p3 * (t * t * t);
}

std::vector<Vec> BezierPath(Vec p0, Vec p1, Vec p2, Vec p3, int segments) {
  std::vector<Vec> path;
  for (int i = 0; i <= segments; ++i) path.push_back(BezierPoint(p0, p1, p2, p3, float(i) / segments));
  return path;
}

float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

float Smoothstep(float edge0, float edge1, float v) {
  const float t = Clamp01((v - edge0) / (edge1 - edge0));
  return t * t * (3 - 2 * t);
}

Rgba Hex(uint32_t rgb, float alpha) {
  return {((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f, alpha};
}

Rgba Mix(Rgba a, Rgba b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Rgba WithAlpha(Rgba c, float alpha) { return {c.r, c.g, c.b, alpha}; }
Rgba Scale(Rgba c, float k) { return {c.r * k, c.g * k, c.b * k, c.a}; }

// ---- Image ----

Image::Image(int width, int height)
    : width_(width), height_(height), pixels_(size_t(width) * height * 4, 0.0f) {}

Rgba Image::Get(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {0, 0, 0, 0};
  const float* p = &pixels_[(size_t(y) * width_ + x) * 4];
  if (p[3] <= 0) return {0, 0, 0, 0};
  return {p[0] / p[3], p[1] / p[3], p[2] / p[3], p[3]};
}

void Image::Set(int x, int y, Rgba c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  float* p = &pixels_[(size_t(y) * width_ + x) * 4];
  p[0] = c.r * c.a;
  p[1] = c.g * c.a;
  p[2] = c.b * c.a;
  p[3] = c.a;
}

void Image::Blend(int x, int y, Rgba c, float coverage) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  const float a = Clamp01(c.a * coverage);
  if (a <= 0) return;
  float* p = &pixels_[(size_t(y) * width_ + x) * 4];
  const float keep = 1 - a;
  p[0] = c.r * a + p[0] * keep;
  p[1] = c.g * a + p[1] * keep;
  p[2] = c.b * a + p[2] * keep;
  p[3] = a + p[3] * keep;
}

void Image::Fill(Rgba c) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) Set(x, y, c);
}

void Image::Draw(const Image& src, int dx, int dy, float alpha) {
  for (int y = 0; y < src.height_; ++y) {
    const int ty = y + dy;
    if (ty < 0 || ty >= height_) continue;
    for (int x = 0; x < src.width_; ++x) {
      const int tx = x + dx;
      if (tx < 0 || tx >= width_) continue;
      const float* s = &src.pixels_[(size_t(y) * src.width_ + x) * 4];
      const float a = s[3] * alpha;
      if (a <= 0) continue;
      float* p = &pixels_[(size_t(ty) * width_ + tx) * 4];
      const float keep = 1 - a;
      for (int i = 0; i < 3; ++i) p[i] = s[i] * alpha + p[i] * keep;
      p[3] = a + p[3] * keep;
    }
  }
}

std::vector<uint8_t> Image::ToRgba8() const {
  std::vector<uint8_t> out(size_t(width_) * height_ * 4);
  for (size_t i = 0; i < size_t(width_) * height_; ++i) {
    const float* p = &pixels_[i * 4];
    const float a = Clamp01(p[3]);
    for (int c = 0; c < 3; ++c) {
      const float v = a > 0 ? Clamp01(p[c] / p[3]) : 0;
      out[i * 4 + c] = uint8_t(std::lround(v * 255));
    }
    out[i * 4 + 3] = uint8_t(std::lround(a * 255));
  }
  return out;
}

// ---- Shapes ----

namespace {

Shape Boxed(std::function<float(Vec)> distance, Vec centre, float reach) {
  return {std::move(distance), centre.x - reach, centre.y - reach, centre.x + reach,
          centre.y + reach};
}

// Distance to a segment whose radius goes from ra to rb (a rounded cone).
float RoundCone(Vec p, Vec a, Vec b, float ra, float rb) {
  const Vec ab = b - a;
  const float h = Length(ab);
  if (h < 1e-4f || std::fabs(ra - rb) >= h)
    return std::min(Length(p - a) - ra, Length(p - b) - rb);
  const Vec dir = ab * (1 / h);
  const Vec rel = p - a;
  const Vec q{std::fabs(rel.x * dir.y - rel.y * dir.x), Dot(rel, dir)};
  const float sb = (ra - rb) / h;
  const float ca = std::sqrt(1 - sb * sb);
  const float k = Dot(q, Vec{-sb, ca});
  if (k < 0) return Length(q) - ra;
  if (k > ca * h) return Length(q - Vec{0, h}) - rb;
  return Dot(q, Vec{ca, sb}) - ra;
}

}  // namespace

Shape Circle(Vec c, float r) {
  return Boxed([c, r](Vec p) { return Length(p - c) - r; }, c, r + 1);
}

Shape Ellipse(Vec c, float rx, float ry, float angle) {
  return Boxed(
      [c, rx, ry, angle](Vec p) {
        const Vec q = Rotate(p - c, -angle);
        const float k0 = Length(Vec{q.x / rx, q.y / ry});
        const float k1 = Length(Vec{q.x / (rx * rx), q.y / (ry * ry)});
        if (k1 < 1e-6f) return -std::min(rx, ry);
        return k0 * (k0 - 1) / k1;
      },
      c, std::max(rx, ry) + 1);
}

Shape Capsule(Vec a, Vec b, float ra, float rb) {
  const float r = std::max(ra, rb) + 1;
  return {[a, b, ra, rb](Vec p) { return RoundCone(p, a, b, ra, rb); }, std::min(a.x, b.x) - r,
          std::min(a.y, b.y) - r, std::max(a.x, b.x) + r, std::max(a.y, b.y) + r};
}

Shape RoundBox(Vec c, float hw, float hh, float radius, float angle) {
  radius = std::min({radius, hw, hh});
  return Boxed(
      [c, hw, hh, radius, angle](Vec p) {
        const Vec q = Rotate(p - c, -angle);
        const float qx = std::fabs(q.x) - (hw - radius);
        const float qy = std::fabs(q.y) - (hh - radius);
        const float outside = Length(Vec{std::max(qx, 0.0f), std::max(qy, 0.0f)});
        return outside + std::min(std::max(qx, qy), 0.0f) - radius;
      },
      c, Length(Vec{hw, hh}) + 1);
}

Shape Polygon(std::vector<Vec> v) {
  Shape s;
  s.x0 = s.y0 = 1e9f;
  s.x1 = s.y1 = -1e9f;
  for (Vec p : v) {
    s.x0 = std::min(s.x0, p.x - 1);
    s.y0 = std::min(s.y0, p.y - 1);
    s.x1 = std::max(s.x1, p.x + 1);
    s.y1 = std::max(s.y1, p.y + 1);
  }
  s.distance = [v = std::move(v)](Vec p) {
    float d = Dot(p - v[0], p - v[0]);
    float sign = 1;
    const size_t n = v.size();
    for (size_t i = 0, j = n - 1; i < n; j = i, ++i) {
      const Vec e = v[j] - v[i];
      const Vec w = p - v[i];
      const float t = Clamp01(Dot(w, e) / std::max(Dot(e, e), 1e-9f));
      const Vec b = w - e * t;
      d = std::min(d, Dot(b, b));
      const bool c1 = p.y >= v[i].y;
      const bool c2 = p.y < v[j].y;
      const bool c3 = e.x * w.y > e.y * w.x;
      if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) sign = -sign;
    }
    return sign * std::sqrt(d);
  };
  return s;
}

Shape Stroke(const std::vector<Vec>& path, float r0, float r1) {
  std::vector<float> along{0};
  for (size_t i = 1; i < path.size(); ++i) along.push_back(along.back() + Length(path[i] - path[i - 1]));
  const float total = std::max(along.back(), 1e-4f);
  std::vector<float> radius;
  for (float s : along) radius.push_back(r0 + (r1 - r0) * s / total);
  Shape s;
  s.x0 = s.y0 = 1e9f;
  s.x1 = s.y1 = -1e9f;
  const float reach = std::max(r0, r1) + 1;
  for (Vec p : path) {
    s.x0 = std::min(s.x0, p.x - reach);
    s.y0 = std::min(s.y0, p.y - reach);
    s.x1 = std::max(s.x1, p.x + reach);
    s.y1 = std::max(s.y1, p.y + reach);
  }
  s.distance = [path, radius](Vec p) {
    float d = Length(p - path[0]) - radius[0];
    for (size_t i = 1; i < path.size(); ++i)
      d = std::min(d, RoundCone(p, path[i - 1], path[i], radius[i - 1], radius[i]));
    return d;
  };
  return s;
}

Shape Union(const Shape& a, const Shape& b) {
  return {[da = a.distance, db = b.distance](Vec p) { return std::min(da(p), db(p)); },
          std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

Shape Union(const std::vector<Shape>& shapes) {
  Shape out = shapes.front();
  for (size_t i = 1; i < shapes.size(); ++i) out = Union(out, shapes[i]);
  return out;
}

Shape Subtract(const Shape& a, const Shape& cut) {
  return {[da = a.distance, dc = cut.distance](Vec p) { return std::max(da(p), -dc(p)); }, a.x0,
          a.y0, a.x1, a.y1};
}

Shape Intersect(const Shape& a, const Shape& b) {
  return {[da = a.distance, db = b.distance](Vec p) { return std::max(da(p), db(p)); },
          std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

Shape Grow(const Shape& a, float amount) {
  return {[da = a.distance, amount](Vec p) { return da(p) - amount; }, a.x0 - amount,
          a.y0 - amount, a.x1 + amount, a.y1 + amount};
}

Shape Move(const Shape& a, Vec offset) {
  return {[da = a.distance, offset](Vec p) { return da(p - offset); }, a.x0 + offset.x,
          a.y0 + offset.y, a.x1 + offset.x, a.y1 + offset.y};
}

// ---- Shading and painting ----

Rgba OutlineColour() { return Hex(0x2a1f2d); }

Shader Soft(Rgba base, float band) {
  const Rgba light = Mix(base, Hex(0xfff6dc, base.a), 0.5f);
  const Rgba dark = Mix(Scale(base, 0.58f), Hex(0x3a2646, base.a), 0.22f);
  const Vec toLight = Normalize(Vec{-0.55f, -0.83f});
  return [=](Vec, float d, Vec n) {
    const float rim = Smoothstep(-band, 0.5f, d);
    const float facing = Dot(n, toLight);
    if (facing > 0) return Mix(base, light, rim * facing * 0.65f);
    return Mix(base, dark, rim * -facing * 0.8f);
  };
}

Shader Flat(Rgba c) {
  return [c](Vec, float, Vec) { return c; };
}

Shader VerticalSoft(Rgba top, Rgba bottom, float y0, float y1, float band) {
  return [=](Vec p, float d, Vec n) {
    const Rgba base = Mix(top, bottom, Clamp01((p.y - y0) / (y1 - y0)));
    return Soft(base, band)(p, d, n);
  };
}

namespace {

// Calls visit(x, y, p) for every pixel centre of the shape's box (grown by
// margin) that lies inside the image.
template <typename Visit>
void ForBox(const Image& image, const Shape& shape, float margin, Visit visit) {
  const int x0 = std::max(0, int(std::floor(shape.x0 - margin)));
  const int y0 = std::max(0, int(std::floor(shape.y0 - margin)));
  const int x1 = std::min(image.Width() - 1, int(std::ceil(shape.x1 + margin)));
  const int y1 = std::min(image.Height() - 1, int(std::ceil(shape.y1 + margin)));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) visit(x, y, Vec{x + 0.5f, y + 0.5f});
}

Vec NormalAt(const std::function<float(Vec)>& f, Vec p) {
  const float e = 0.6f;
  return Normalize(Vec{f(p + Vec{e, 0}) - f(p - Vec{e, 0}), f(p + Vec{0, e}) - f(p - Vec{0, e})});
}

}  // namespace

void Paint(Image& image, const Shape& shape, const Shader& fill, float outlineWidth) {
  const Rgba outline = OutlineColour();
  ForBox(image, shape, outlineWidth + 1, [&](int x, int y, Vec p) {
    const float d = shape.distance(p);
    const float outer = Clamp01(0.5f - (d - outlineWidth));
    if (outer <= 0) return;
    if (outlineWidth > 0) image.Blend(x, y, outline, outer);
    const float inner = Clamp01(0.5f - d);
    if (inner <= 0) return;
    const Vec n = d > -14 ? NormalAt(shape.distance, p) : Vec{0, 0};
    image.Blend(x, y, fill(p, d, n), inner);
  });
}

void Paint(Image& image, const Shape& shape, Rgba base, float outlineWidth) {
  Paint(image, shape, Soft(base), outlineWidth);
}

void PaintClipped(Image& image, const Shape& shape, const Shape& clip, const Shader& fill) {
  ForBox(image, shape, 1, [&](int x, int y, Vec p) {
    const float d = shape.distance(p);
    const float coverage = Clamp01(0.5f - d) * Clamp01(0.5f - clip.distance(p));
    if (coverage <= 0) return;
    image.Blend(x, y, fill(p, d, NormalAt(shape.distance, p)), coverage);
  });
}

// ---- Noise ----

uint32_t Hash(uint32_t a, uint32_t b, uint32_t c) {
  uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

float HashUnit(uint32_t a, uint32_t b, uint32_t c) { return (Hash(a, b, c) & 0xFFFFFF) / 16777215.0f; }

float ValueNoise(float x, float y, uint32_t seed) {
  const float fx = std::floor(x);
  const float fy = std::floor(y);
  const int ix = int(fx);
  const int iy = int(fy);
  const float tx = x - fx;
  const float ty = y - fy;
  const float sx = tx * tx * tx * (tx * (tx * 6 - 15) + 10);
  const float sy = ty * ty * ty * (ty * (ty * 6 - 15) + 10);
  auto at = [&](int dx, int dy) { return HashUnit(uint32_t(ix + dx), uint32_t(iy + dy), seed); };
  const float top = at(0, 0) + (at(1, 0) - at(0, 0)) * sx;
  const float bottom = at(0, 1) + (at(1, 1) - at(0, 1)) * sx;
  return top + (bottom - top) * sy;
}

float Fractal(float x, float y, uint32_t seed, int octaves) {
  float sum = 0;
  float weight = 0.5f;
  float total = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += ValueNoise(x, y, seed + uint32_t(i) * 101) * weight;
    total += weight;
    x *= 2.03f;
    y *= 2.03f;
    weight *= 0.5f;
  }
  return sum / total;
}
