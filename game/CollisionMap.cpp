#include "game/CollisionMap.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <new>

cCollisionMap CollisionMap;

namespace {

// Segments are drawn from their own ends, exactly, where those lie within
// this distance of the origin (every end a level can have); ends farther
// away are first cut down to the map, so that the integer arithmetic below
// cannot overflow.
constexpr int64_t kExactCoordinate = int64_t(1) << 40;
constexpr int kClipMargin = 64;
constexpr int64_t kFarEnough = int64_t(1) << 40;

struct Segment {
  int64_t ax, ay, bx, by;
};

using Wide = __int128;

// Whether the point (px, py) of the map lies within 11.5 of segment s, in
// exact integer arithmetic: distance^2 <= 132.25, i.e. 4 x distance^2 <= 529.
// Exact for ends within kExactCoordinate of the origin.
bool Covers(const Segment& s, int64_t px, int64_t py) {
  const Wide dx = s.bx - s.ax, dy = s.by - s.ay;
  const Wide qx = px - s.ax, qy = py - s.ay;
  const Wide length2 = dx * dx + dy * dy;
  const Wide dot = qx * dx + qy * dy;
  if (length2 == 0 || dot <= 0) return 4 * (qx * qx + qy * qy) <= 529;
  if (dot >= length2) {
    const Wide rx = px - s.bx, ry = py - s.by;
    return 4 * (rx * rx + ry * ry) <= 529;
  }
  // |cross| is the distance from the line times the length (which is below
  // 2^42): where it is too large to square, the point is a million pixels off.
  const Wide cross = qx * dy - qy * dx;
  constexpr Wide kFarFromLine = Wide(1) << 62;
  if (cross > kFarFromLine || cross < -kFarFromLine) return false;
  return 4 * cross * cross <= 529 * length2;
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

// An exact product as a double (rounded once); quick for those within 64
// bits, which every map-sized level keeps them.
double ToDouble(Wide n) { return n == Wide(int64_t(n)) ? double(int64_t(n)) : double(n); }

// The band of radius 11.5 around a segment, as row spans. Each span end is
// an exact integer product rounded once and scaled once, so it is right to
// a few parts in 10^16 of its size (well within kSpanTolerance wherever it
// meets the map); pixels that close to an end are decided by the exact test.
class BandRows {
 public:
  explicit BandRows(const Segment& s)
      : s_(s),
        dx_(s.bx - s.ax),
        dy_(s.by - s.ay),
        length2_(Wide(dx_) * dx_ + Wide(dy_) * dy_),
        reach_(kRadius * std::sqrt(double(length2_))),
        invDx_(dx_ == 0 ? 0 : 1 / double(dx_)),
        invDy_(dy_ == 0 ? 0 : 1 / double(dy_)),
        nearAtRow0_(Wide(s.ax) * dy_ - Wide(s.ay) * dx_),
        betweenAtRow0_(Wide(s.ax) * dx_ + Wide(s.ay) * dy_) {}

  // The covered pixels of row py: from..to (empty when from > to).
  void CoveredColumns(int64_t py, int64_t& from, int64_t& to) const {
    double left, right;
    from = 1;
    to = 0;
    if (!Span(py, left, right)) return;
    // Ends beyond the map only need to stay beyond it.
    left = std::max(left, -double(kFarEnough));
    right = std::min(right, double(kFarEnough));
    from = CeilToInt(left - kSpanTolerance);
    const int64_t surelyFrom = CeilToInt(left + kSpanTolerance);
    while (from < surelyFrom && !Covers(s_, from, py)) ++from;
    to = FloorToInt(right + kSpanTolerance);
    const int64_t surelyTo = FloorToInt(right - kSpanTolerance);
    while (to > surelyTo && to >= from && !Covers(s_, to, py)) --to;
  }

 private:
  static constexpr double kRadius = cCollisionMap::kPenRadius;
  static constexpr double kSpanTolerance = 4e-3;

  // Where row py meets the band: the union of the two end discs and the
  // rectangle between them (convex, so the union is one interval).
  bool Span(int64_t py, double& left, double& right) const {
    left = HUGE_VAL;
    right = -HUGE_VAL;
    auto addDisc = [&](int64_t ex, int64_t ey) {
      const double d = double(py - ey);
      if (std::abs(d) > kRadius) return;
      const double half = std::sqrt(kRadius * kRadius - d * d);
      left = std::min(left, double(ex) - half);
      right = std::max(right, double(ex) + half);
    };
    addDisc(s_.ax, s_.ay);
    addDisc(s_.bx, s_.by);
    double from = -HUGE_VAL, to = HUGE_VAL;
    if (length2_ > 0 && NearTheLine(py, from, to) && BetweenTheEnds(py, from, to) && from <= to) {
      left = std::min(left, from);
      right = std::max(right, to);
    }
    return left <= right;
  }

  // Narrows [from, to] to the x whose distance from the line is at most
  // 11.5: |x dy - k| <= 11.5 length, k = ax dy + (py - ay) dx.
  bool NearTheLine(int64_t py, double& from, double& to) const {
    const Wide k = nearAtRow0_ + Wide(py) * dx_;
    if (dy_ == 0) return 4 * k * k <= 529 * length2_;  // |py - ay| <= 12 here
    const double centre = ToDouble(k) * invDy_, half = reach_ * std::abs(invDy_);
    from = std::max(from, centre - half);
    to = std::min(to, centre + half);
    return true;
  }

  // Narrows [from, to] to the x whose foot on the line lies between the
  // ends: 0 <= x dx - k <= length^2, k = ax dx - (py - ay) dy.
  bool BetweenTheEnds(int64_t py, double& from, double& to) const {
    const Wide k = betweenAtRow0_ - Wide(py) * dy_;
    if (dx_ == 0) return -k >= 0 && -k <= length2_;
    double lo = ToDouble(k) * invDx_, hi = ToDouble(k + length2_) * invDx_;
    if (dx_ < 0) std::swap(lo, hi);
    from = std::max(from, lo);
    to = std::min(to, hi);
    return true;
  }

  Segment s_;
  int64_t dx_, dy_;
  Wide length2_;
  double reach_, invDx_, invDy_;
  Wide nearAtRow0_, betweenAtRow0_;  // the two k at row 0
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

// Always a new allocation, never a fill: filling would make every page of
// the old map resident again.
void cCollisionMap::Resize(int width, int height) {
  if (width <= 0 || height <= 0) width = height = 0;
  pixels_.reset();
  width_ = width;
  height_ = height;
  tilesAcross_ = (size_t(width) + kTileSize - 1) >> kTileShift;
  const size_t tilesDown = (size_t(height) + kTileSize - 1) >> kTileShift;
  bytes_ = tilesAcross_ * tilesDown * kTileBytes;
  if (bytes_ == 0) return;
  pixels_.reset(static_cast<uint8_t*>(std::calloc(bytes_, 1)));
  if (!pixels_) throw std::bad_alloc();
}

cCollisionMap::cCollisionMap(const cCollisionMap& other) { *this = other; }

cCollisionMap& cCollisionMap::operator=(const cCollisionMap& other) {
  if (this == &other) return *this;
  Resize(other.width_, other.height_);
  if (bytes_ != 0) std::memcpy(pixels_.get(), other.pixels_.get(), bytes_);
  pen_ = other.pen_;
  penX_ = other.penX_;
  penY_ = other.penY_;
  return *this;
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
                   kExactCoordinate;
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
    uint8_t* row = pixels_.get() + ByteOf(x & ~(kTileSize - 1), y);
    const int a = x & (kTileSize - 1), b = tileEnd & (kTileSize - 1);
    if (a < 32) merge(row, pixelBits(a, std::min(b, 31)));
    if (b >= 32) merge(row + 8, pixelBits(std::max(a, 32) - 32, b - 32));
    x = tileEnd + 1;
  }
}
