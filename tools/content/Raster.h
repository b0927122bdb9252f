// A small raster library for the content pictures: float RGBA images,
// anti-aliased shapes described by signed distance functions, soft shading
// with outlines, gradients and value noise. Everything is deterministic.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct Vec {
  float x = 0;
  float y = 0;
};
inline Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
inline Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
inline Vec operator*(Vec a, float k) { return {a.x * k, a.y * k}; }
float Dot(Vec a, Vec b);
float Length(Vec a);
Vec Normalize(Vec a);
Vec Rotate(Vec v, float angle);  // y downward: positive angles turn clockwise
Vec Lerp(Vec a, Vec b, float t);
// Point on the cubic Bezier curve p0..p3 at t.
Vec BezierPoint(Vec p0, Vec p1, Vec p2, Vec p3, float t);
std::vector<Vec> BezierPath(Vec p0, Vec p1, Vec p2, Vec p3, int segments);

float Clamp01(float v);
float Smoothstep(float edge0, float edge1, float v);

// Colour with straight alpha, every channel 0..1.
struct Rgba {
  float r = 0;
  float g = 0;
  float b = 0;
  float a = 1;
};
Rgba Hex(uint32_t rgb, float alpha = 1);
Rgba Mix(Rgba a, Rgba b, float t);
Rgba WithAlpha(Rgba c, float alpha);
Rgba Scale(Rgba c, float k);  // multiplies red, green and blue

// An image whose row 0 is the top row. Pixels are kept premultiplied.
class Image {
 public:
  Image() = default;
  Image(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgba Get(int x, int y) const;  // straight alpha; transparent outside
  void Set(int x, int y, Rgba c);
  // Source-over of c whose alpha is further scaled by coverage.
  void Blend(int x, int y, Rgba c, float coverage = 1);
  void Fill(Rgba c);
  // Source-over of src with its top-left corner at (dx, dy).
  void Draw(const Image& src, int dx, int dy, float alpha = 1);
  // 8-bit RGBA, rows top first.
  std::vector<uint8_t> ToRgba8() const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<float> pixels_;  // premultiplied r, g, b, a
};

// A shape: its signed distance in pixels (negative inside) and a bounding box
// outside which the distance is known to be positive.
struct Shape {
  std::function<float(Vec)> distance;
  float x0 = 0;
  float y0 = 0;
  float x1 = 0;
  float y1 = 0;
};

Shape Circle(Vec centre, float radius);
Shape Ellipse(Vec centre, float rx, float ry, float angle = 0);
// A segment with a radius that goes from ra at a to rb at b.
Shape Capsule(Vec a, Vec b, float ra, float rb);
Shape RoundBox(Vec centre, float halfWidth, float halfHeight, float radius, float angle = 0);
Shape Polygon(std::vector<Vec> points);
// A tapered stroke along a polyline, radius from r0 at the start to r1 at the end.
Shape Stroke(const std::vector<Vec>& path, float r0, float r1);
Shape Union(const Shape& a, const Shape& b);
Shape Union(const std::vector<Shape>& shapes);
Shape Subtract(const Shape& a, const Shape& cut);
Shape Intersect(const Shape& a, const Shape& b);
Shape Grow(const Shape& a, float amount);
Shape Move(const Shape& a, Vec offset);

// What colour a shape gets at a point: p the position, d the distance to
// the shape's edge, n the outward normal there.
using Shader = std::function<Rgba(Vec p, float d, Vec n)>;

// Soft shading of one base colour: lit toward the top left, shaded toward the
// bottom right along a band inside the edge.
Shader Soft(Rgba base, float band = 7);
Shader Flat(Rgba c);
// Vertical gradient between two colours over [y0, y1], softly shaded.
Shader VerticalSoft(Rgba top, Rgba bottom, float y0, float y1, float band = 7);

constexpr float kOutline = 2.2f;
// The single outline colour shared by all the art.
Rgba OutlineColour();

// Paints a shape: its outline (grown by outlineWidth) in the outline colour,
// then its fill. An outlineWidth of 0 paints the fill only.
void Paint(Image& image, const Shape& shape, const Shader& fill, float outlineWidth = kOutline);
void Paint(Image& image, const Shape& shape, Rgba base, float outlineWidth = kOutline);
// Paints the fill only where a mask shape is inside too (for markings).
void PaintClipped(Image& image, const Shape& shape, const Shape& clip, const Shader& fill);

// Deterministic pseudo-random numbers from integers.
uint32_t Hash(uint32_t a, uint32_t b = 0, uint32_t c = 0);
float HashUnit(uint32_t a, uint32_t b = 0, uint32_t c = 0);  // 0..1
// Smooth value noise 0..1 and its fractal sum.
float ValueNoise(float x, float y, uint32_t seed);
float Fractal(float x, float y, uint32_t seed, int octaves);

