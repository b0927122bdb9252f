#include "game/CollisionMap.h"

#include <algorithm>
#include <cmath>
#include <cstring>

cCollisionMap CollisionMap;

namespace {

// Line points beyond this distance from the origin are clipped to the map
// first, so that the exact coverage test below cannot overflow.
constexpr int64_t kSafeCoordinate = int64_t(1) << 22;
constexpr int kClipMargin = 64;

struct Segment {
  int64_t ax, ay, bx, by;
};

// Whether the point (px, py) lies within 11.5 of segment s, in exact integer
// arithmetic: distance^2 <= 132.25, i.e. 4 x distance^2 <= 529.
bool Covers(const Segment& s, int64_t px, int64_t py) {
  const int64_t dx = s.bx - s.ax, dy = s.by - s.ay;
  const int64_t qx = px - s.ax, qy = py - s.ay;
  const int64_t length2 = dx * dx + dy * dy;
  const int64_t dot = qx * dx + qy * dy;
  if (length2 == 0 || dot <= 0) return 4 * (qx * qx + qy * qy) <= 529;
  if (dot >= length2) {
    const int64_t rx = px - s.bx, ry = py - s.by;
    return 4 * (rx * rx + ry * ry) <= 529;
  }
  const __int128 cross = __int128(qx) * dy - __int128(qy) * dx;
  return 4 * cross * cross <= __int128(529) * length2;
}

// Interval [lo, hi] of a one-sided linear condition lo <= c x v <= hi solved
// for v; false when no v satisfies it.
bool SolveLinear(double c, double lo, double hi, double& vLo, double& vHi) {
  if (c == 0) {
    vLo = -HUGE_VAL;
    vHi = HUGE_VAL;
    return lo <= 0 && 0 <= hi;
  }
  vLo = lo / c;
  vHi = hi / c;
  if (c < 0) std::swap(vLo, vHi);
  return true;
}

// A superset, good to well under a pixel, of the x range in which row py
// meets the round-ended band around s: the union of the two end discs and
// the rectangle between them (convex, so the union is one interval).
bool RowSpan(const Segment& s, int64_t py, double& left, double& right) {
  const double r = cCollisionMap::kPenRadius;
  left = HUGE_VAL;
  right = -HUGE_VAL;
  auto addDisc = [&](int64_t ex, int64_t ey) {
    const double d = double(py - ey);
    if (std::abs(d) > r) return;
    const double half = std::sqrt(r * r - d * d);
    left = std::min(left, ex - half);
    right = std::max(right, ex + half);
  };
  addDisc(s.ax, s.ay);
  addDisc(s.bx, s.by);

  const double dx = double(s.bx - s.ax), dy = double(s.by - s.ay);
  const double length = std::sqrt(dx * dx + dy * dy);
  if (length > 0) {
    // With u = x - ax and w = py - ay: 0 <= u dx + w dy <= length^2 keeps
    // the point between the ends, |u dy - w dx| <= r length near the line.
    const double w = double(py - s.ay);
    double aLo, aHi, bLo, bHi;
    const bool between = SolveLinear(dx, -w * dy, length * length - w * dy, aLo, aHi);
    const bool near = SolveLinear(dy, w * dx - r * length, w * dx + r * length, bLo, bHi);
    const double uLo = std::max(aLo, bLo), uHi = std::min(aHi, bHi);
    if (between && near && uLo <= uHi) {
      left = std::min(left, s.ax + uLo);
      right = std::max(right, s.ax + uHi);
    }
  }
  return left <= right;
}

// Cuts a segment with far-away ends down to the part near the map
// (Liang-Barsky); false when nothing of it comes near.
bool ClipToMap(Segment& s, int width, int height) {
  const double x0 = double(s.ax), y0 = double(s.ay);
  const double dx = double(s.bx - s.ax), dy = double(s.by - s.ay);
  double t0 = 0, t1 = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 + kClipMargin, width + kClipMargin - x0, y0 + kClipMargin,
                       height + kClipMargin - y0};
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0) {
      if (q[k] < 0) return false;
      continue;
    }
    const double t = q[k] / p[k];
    if (p[k] < 0) t0 = std::max(t0, t);
    else t1 = std::min(t1, t);
  }
  if (t0 > t1) return false;
  s = Segment{std::llround(x0 + t0 * dx), std::llround(y0 + t0 * dy),
              std::llround(x0 + t1 * dx), std::llround(y0 + t1 * dy)};
  return true;
}

}  // namespace

void cCollisionMap::Resize(int width, int height) {
  if (width <= 0 || height <= 0) width = height = 0;
  width_ = width;
  height_ = height;
  stride_ = (size_t(width) + 3) / 4;
  std::vector<uint8_t>(stride_ * size_t(height)).swap(pixels_);
}

void cCollisionMap::Free() {
  Resize(0, 0);
}

void cCollisionMap::MoveTo(int64_t x, int64_t y) {
  penX_ = x;
  penY_ = y;
}

void cCollisionMap::LineTo(int64_t x, int64_t y) {
  DrawWideSegment(penX_, penY_, x, y);
  MoveTo(x, y);
}

void cCollisionMap::DrawOutline(int64_t x, int64_t y, int64_t w, int64_t h,
                                PixelClass penClass) {
  SetPen(penClass);
  MoveTo(x, y);
  LineTo(x + w, y);
  LineTo(x + w, y + h);
  LineTo(x, y + h);
  LineTo(x, y);
}

void cCollisionMap::DrawWideSegment(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
  if (width_ == 0) return;
  Segment s{x0, y0, x1, y1};
  const bool far = std::max({std::abs(x0), std::abs(y0), std::abs(x1), std::abs(y1)}) >
                   kSafeCoordinate;
  if (far && !ClipToMap(s, width_, height_)) return;

  const int64_t reach = int64_t(std::ceil(kPenRadius));
  const int64_t top = std::max<int64_t>(0, std::min(s.ay, s.by) - reach);
  const int64_t bottom = std::min<int64_t>(height_ - 1, std::max(s.ay, s.by) + reach);
  for (int64_t py = top; py <= bottom; ++py) {
    double left, right;
    if (!RowSpan(s, py, left, right)) continue;
    // Widen the estimate by a pixel, then let the exact test trim the ends.
    int64_t from = int64_t(std::floor(left)) - 1, to = int64_t(std::ceil(right)) + 1;
    while (from <= to && !Covers(s, from, py)) ++from;
    while (to >= from && !Covers(s, to, py)) --to;
    from = std::max<int64_t>(from, 0);
    to = std::min<int64_t>(to, width_ - 1);
    if (from <= to) FillRun(int(py), int(from), int(to));
  }
}

// Sets pixels xFrom..xTo of row y to the pen's class.
void cCollisionMap::FillRun(int y, int xFrom, int xTo) {
  uint8_t* row = pixels_.data() + size_t(y) * stride_;
  const uint8_t code = uint8_t(pen_);
  auto setPixel = [&](int x) {
    const int shift = (x & 3) * 2;
    uint8_t& byte = row[x >> 2];
    byte = uint8_t((byte & ~(3 << shift)) | (code << shift));
  };
  int x = xFrom;
  for (; x <= xTo && (x & 3) != 0; ++x) setPixel(x);
  const int wholeBytes = (xTo + 1 - x) / 4;
  if (wholeBytes > 0) {
    std::memset(row + (x >> 2), code * 0x55, size_t(wholeBytes));
    x += wholeBytes * 4;
  }
  for (; x <= xTo; ++x) setPixel(x);
}
