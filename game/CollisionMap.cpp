#include "game/CollisionMap.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

cCollisionMap CollisionMap;

namespace {

// Line points beyond this distance from the origin are clipped to the map
// first, so that the exact coverage test below cannot overflow.
constexpr int64_t kSafeCoordinate = int64_t(1) << 22;
constexpr int kClipMargin = 64;
constexpr int64_t kFarEnough = int64_t(1) << 40;

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

// Rounding of span ends (whose size the caller keeps well inside int64),
// without a library call per row.
int64_t CeilToInt(double v) {
  const int64_t i = int64_t(v);
  return i < v ? i + 1 : i;
}
int64_t FloorToInt(double v) {
  const int64_t i = int64_t(v);
  return i > v ? i - 1 : i;
}

// Interval of v satisfying lo <= c x v <= hi; false when there is none.
bool SolveLinear(double c, double invC, double lo, double hi, double& vLo, double& vHi) {
  if (c == 0) {
    vLo = -HUGE_VAL;
    vHi = HUGE_VAL;
    return lo <= 0 && 0 <= hi;
  }
  vLo = lo * invC;
  vHi = hi * invC;
  if (c < 0) std::swap(vLo, vHi);
  return true;
}

// The band of radius 11.5 around a segment, as floating-point row spans
// that are exact to within `tolerance`; pixels that close to a span's end
// are decided by the exact test.
class BandRows {
 public:
  explicit BandRows(const Segment& s)
      : s_(s),
        dx_(double(s.bx - s.ax)),
        dy_(double(s.by - s.ay)),
        length2_(dx_ * dx_ + dy_ * dy_),
        reach_(kRadius * std::sqrt(length2_)),
        invDx_(dx_ == 0 ? 0 : 1 / dx_),
        invDy_(dy_ == 0 ? 0 : 1 / dy_) {
    // Rounding grows with the square of the coordinates involved.
    const double magnitude =
        double(std::max({std::abs(s.ax), std::abs(s.ay), std::abs(s.bx), std::abs(s.by)})) +
        std::abs(dx_) + std::abs(dy_) + 1;
    tolerance_ = 1e-14 * magnitude * magnitude;
  }

  // The covered pixels of row py: from..to (empty when from > to).
  void CoveredColumns(int64_t py, int64_t& from, int64_t& to) const {
    double left, right;
    from = 1;
    to = 0;
    if (!Span(py, left, right)) return;
    // Ends beyond the map only need to stay beyond it.
    left = std::max(left, -double(kFarEnough));
    right = std::min(right, double(kFarEnough));
    from = CeilToInt(left - tolerance_);
    const int64_t surelyFrom = CeilToInt(left + tolerance_);
    while (from < surelyFrom && !Covers(s_, from, py)) ++from;
    to = FloorToInt(right + tolerance_);
    const int64_t surelyTo = FloorToInt(right - tolerance_);
    while (to > surelyTo && to >= from && !Covers(s_, to, py)) --to;
  }

 private:
  static constexpr double kRadius = cCollisionMap::kPenRadius;

  // Where row py meets the band: the union of the two end discs and the
  // rectangle between them (convex, so the union is one interval).
  bool Span(int64_t py, double& left, double& right) const {
    left = HUGE_VAL;
    right = -HUGE_VAL;
    auto addDisc = [&](int64_t ex, int64_t ey) {
      const double d = double(py - ey);
      if (std::abs(d) > kRadius) return;
      const double half = std::sqrt(kRadius * kRadius - d * d);
      left = std::min(left, ex - half);
      right = std::max(right, ex + half);
    };
    addDisc(s_.ax, s_.ay);
    addDisc(s_.bx, s_.by);
    if (length2_ > 0) {
      // With u = x - ax and w = py - ay: 0 <= u dx + w dy <= length^2 keeps
      // the point between the ends, |u dy - w dx| <= r length near the line.
      const double w = double(py - s_.ay);
      double aLo, aHi, bLo, bHi;
      const bool between =
          SolveLinear(dx_, invDx_, -w * dy_, length2_ - w * dy_, aLo, aHi);
      const bool near = SolveLinear(dy_, invDy_, w * dx_ - reach_, w * dx_ + reach_, bLo, bHi);
      const double uLo = std::max(aLo, bLo), uHi = std::min(aHi, bHi);
      if (between && near && uLo <= uHi) {
        left = std::min(left, s_.ax + uLo);
        right = std::max(right, s_.ax + uHi);
      }
    }
    return left <= right;
  }

  Segment s_;
  double dx_, dy_, length2_, reach_, invDx_, invDy_;
  double tolerance_;
};

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
  if (width == width_ && height == height_) {
    std::fill(pixels_.begin(), pixels_.end(), uint8_t(0));
    return;
  }
  width_ = width;
  height_ = height;
  tilesAcross_ = (size_t(width) + kTileSize - 1) >> kTileShift;
  const size_t tilesDown = (size_t(height) + kTileSize - 1) >> kTileShift;
  std::vector<uint8_t>(tilesAcross_ * tilesDown * kTileBytes).swap(pixels_);
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

  const BandRows band(s);
  const int64_t reach = int64_t(std::ceil(kPenRadius));
  const int64_t top = std::max<int64_t>(0, std::min(s.ay, s.by) - reach);
  const int64_t bottom = std::min<int64_t>(height_ - 1, std::max(s.ay, s.by) + reach);
  for (int64_t py = top; py <= bottom; ++py) {
    int64_t from, to;
    band.CoveredColumns(py, from, to);
    from = std::max<int64_t>(from, 0);
    to = std::min<int64_t>(to, width_ - 1);
    if (from <= to) FillRun(int(py), int(from), int(to));
  }
}

// Sets pixels xFrom..xTo of row y to the pen's class, tile by tile. A tile's
// row is two 64-bit words of 32 pixels each (pixel p in bits 2p and 2p + 1),
// so each part is at most two masked word writes.
void cCollisionMap::FillRun(int y, int xFrom, int xTo) {
  static_assert(kTileRowBytes == 16 && std::endian::native == std::endian::little);
  const uint64_t pattern = uint64_t(pen_) * 0x5555555555555555u;
  // Pixels a..b (0 <= a <= b <= 31) of a word.
  auto pixelBits = [](int a, int b) {
    return (~uint64_t(0) << (2 * a)) & (~uint64_t(0) >> (62 - 2 * b));
  };
  auto merge = [&](uint8_t* at, uint64_t mask) {
    uint64_t word;
    std::memcpy(&word, at, sizeof word);
    word = (word & ~mask) | (pattern & mask);
    std::memcpy(at, &word, sizeof word);
  };
  for (int x = xFrom; x <= xTo;) {
    const int tileEnd = std::min(xTo, x | (kTileSize - 1));
    uint8_t* row = pixels_.data() + ByteOf(x & ~(kTileSize - 1), y);
    const int a = x & (kTileSize - 1), b = tileEnd & (kTileSize - 1);
    if (a < 32) merge(row, pixelBits(a, std::min(b, 31)));
    if (b >= 32) merge(row + 8, pixelBits(std::max(a, 32) - 32, b - 32));
    x = tileEnd + 1;
  }
}
