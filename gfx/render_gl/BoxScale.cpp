#include "gfx/render_gl/BoxScale.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>

namespace {

// The four components of a pixel, computed on together: every lane does
// exactly the single-precision operations GLU does on that component.
using Float4 = float __attribute__((vector_size(16)));
using Int4 = int32_t __attribute__((vector_size(16)));
using Byte4 = uint8_t __attribute__((vector_size(4)));

// Where one output pixel's box starts and ends along an axis: whole input
// pixels and the fraction into the next one.
struct tSpan {
  int low;
  float lowFraction;
  int high;
  float highFraction;
};

// GLU steps along an axis by in / out, keeping the whole and the fractional
// part apart. Down the rows it keeps each box's end within the picture (not
// across: there it reads on into the next row).
std::vector<tSpan> Spans(int in, int out, bool keepWithin) {
  const float step = float(in) / float(out);
  const int stepWhole = int(std::floor(double(step)));
  const float stepFraction = step - float(stepWhole);
  std::vector<tSpan> spans(static_cast<size_t>(out));
  int low = 0, high = stepWhole;
  float lowFraction = 0, highFraction = stepFraction;
  for (tSpan& span : spans) {
    if (keepWithin && high >= in) high = in - 1;
    span = tSpan{low, lowFraction, high, highFraction};
    low = high;
    lowFraction = highFraction;
    high += stepWhole;
    highFraction += stepFraction;
    if (highFraction > 1) {
      highFraction = float(double(highFraction) - 1.0);
      ++high;
    }
  }
  return spans;
}

// The picture as GLU addresses it: a pixel past the end of a row is the
// start of the next row. GLU also reads a few pixels past the end of the
// last row, with a weight of zero where its arithmetic is exact (any byte
// times zero adds nothing); here they read as zero.
class cPicture {
 public:
  cPicture(const uint8_t* rgba, int width, int height, int overrun)
      : rowBytes_(size_t(width) * 4) {
    const size_t size = rowBytes_ * size_t(height);
    bytes_.reserve(size + size_t(overrun) * 4);
    bytes_.assign(rgba, rgba + size);
    bytes_.resize(size + size_t(overrun) * 4);  // zeros
  }
  Float4 At(int x, int y) const {
    const uint8_t* p = &bytes_[size_t(y) * rowBytes_ + size_t(x) * 4];
    return __builtin_convertvector((Int4{p[0], p[1], p[2], p[3]}), Float4);
  }

 private:
  size_t rowBytes_;
  std::vector<uint8_t> bytes_;
};

// The sum over one output pixel's box, edges first, then the inside, in
// GLU's order.
[[gnu::always_inline]] inline Float4 BoxSum(const cPicture& p, const tSpan& x, const tSpan& y) {
  Float4 total{0, 0, 0, 0};
  if (y.high > y.low && x.high > x.low) {
    auto row = [&](int at, float weight) {
      total += p.At(x.low, at) * (weight * (1 - x.lowFraction));
      for (int col = x.low + 1; col < x.high; ++col) total += p.At(col, at) * weight;
      total += p.At(x.high, at) * (weight * x.highFraction);
    };
    row(y.low, 1 - y.lowFraction);
    row(y.high, y.highFraction);
    // The first and the last column between those rows. GLU's pointers to
    // them also move on by one pixel every row; so do these.
    const float left = 1 - x.lowFraction, right = x.highFraction;
    for (int at = y.low + 1, drift = 0; at < y.high; ++at, ++drift)
      total += p.At(x.low + drift, at) * left + p.At(x.high + drift, at) * right;
  } else if (y.high > y.low) {
    const float across = x.highFraction - x.lowFraction;
    total += p.At(x.low, y.low) * ((1 - y.lowFraction) * across);
    for (int at = y.low + 1; at < y.high; ++at) total += p.At(x.low, at) * across;
    total += p.At(x.low, y.high) * (across * y.highFraction);
  } else if (x.high > x.low) {
    const float down = y.highFraction - y.lowFraction;
    total += p.At(x.low, y.low) * ((1 - x.lowFraction) * down);
    for (int col = x.low + 1; col < x.high; ++col) total += p.At(col, y.low) * down;
    total += p.At(x.high, y.low) * (down * x.highFraction);
  } else {
    total += p.At(x.low, y.low) * ((y.highFraction - y.lowFraction) * (x.highFraction - x.lowFraction));
  }
  for (int at = y.low + 1; at < y.high; ++at)
    for (int col = x.low + 1; col < x.high; ++col) total += p.At(col, at);
  return total;
}

}  // namespace

int GluNearestPower(int side) {
  int power = 1;
  for (unsigned rest = unsigned(side); rest > 1; rest >>= 1) {
    if (rest == 3) return power * 4;
    power *= 2;
  }
  return power;
}

std::vector<uint8_t> GluBoxScale(const uint8_t* rgba, int width, int height, int newWidth,
                                 int newHeight) {
  const std::vector<tSpan> xs = Spans(width, newWidth, false), ys = Spans(height, newHeight, true);
  const float area = (float(width) / float(newWidth)) * (float(height) / float(newHeight));
  // How far past the last row GLU reaches: a box's last column, one past
  // the edge, plus one pixel for every row the box spans.
  int overrun = 2;
  for (const tSpan& y : ys) overrun = std::max(overrun, y.high - y.low + 2);
  const cPicture picture(rgba, width, height, overrun);
  std::vector<uint8_t> scaled(size_t(newWidth) * newHeight * 4);
  // Rows of output pixels, each summed on its own: half of them on a
  // second thread.
  auto rows = [&](size_t first, size_t last) {
    uint8_t* to = &scaled[first * xs.size() * 4];
    for (size_t row = first; row < last; ++row) {
      for (const tSpan& x : xs) {
        // Float to byte as the compiler does it for GLU: truncated to an
        // integer, whose low byte is kept.
        const Int4 value = __builtin_convertvector(BoxSum(picture, x, ys[row]) / area, Int4);
        const Byte4 bytes = __builtin_convertvector(value, Byte4);
        std::memcpy(to, &bytes, 4);
        to += 4;
      }
    }
  };
  const size_t half = ys.size() / 2;
  std::thread lower(rows, half, ys.size());
  rows(0, half);
  lower.join();
  return scaled;
}
