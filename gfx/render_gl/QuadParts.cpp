#include "gfx/render_gl/QuadParts.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kTile = 32;              // window pixels; parts are made of whole tiles
constexpr int kMinPlannedArea = 4096;  // smaller quads are drawn whole
constexpr size_t kMaxParts = 24;       // each part is a draw of its own
// Parts smaller than these save less than their draw costs.
constexpr int kMinSkippedArea = 2 * kTile * kTile;
constexpr int kMinOpaqueArea = 16 * kTile * kTile;
constexpr int kTexelMargin = 2;        // beyond the two texels filtering reads

int CellsFor(int texels, int cell) { return (texels + cell - 1) / cell; }

// Summed-area table of one flag per cell.
std::vector<int32_t> SumCells(const std::vector<uint8_t>& flags, int cellsX, int cellsY) {
  const int w = cellsX + 1;
  std::vector<int32_t> sums(size_t(w) * (cellsY + 1), 0);
  for (int y = 0; y < cellsY; ++y)
    for (int x = 0; x < cellsX; ++x)
      sums[size_t(y + 1) * w + x + 1] = flags[size_t(y) * cellsX + x] + sums[size_t(y) * w + x + 1] +
                                        sums[size_t(y + 1) * w + x] - sums[size_t(y) * w + x];
  return sums;
}

int32_t CellCount(const tTexelCoverage& c, const std::vector<int32_t>& sums, int x0, int y0, int x1,
                  int y1) {
  x0 = std::clamp(x0, 0, c.width - 1) / c.cell;
  x1 = std::clamp(x1, 0, c.width - 1) / c.cell;
  y0 = std::clamp(y0, 0, c.height - 1) / c.cell;
  y1 = std::clamp(y1, 0, c.height - 1) / c.cell;
  const int w = c.cellsX + 1;
  return sums[size_t(y1 + 1) * w + x1 + 1] - sums[size_t(y0) * w + x1 + 1] -
         sums[size_t(y1 + 1) * w + x0] + sums[size_t(y0) * w + x0];
}

// The texels that filtering can read for sample points between a and b
// (in texels, either order), with a safety margin.
void TexelRange(double a, double b, int& first, int& last) {
  first = int(std::floor(std::min(a, b) - 0.5)) - kTexelMargin;
  last = int(std::floor(std::max(a, b) - 0.5)) + 1 + kTexelMargin;
}

// The tiles of a quad: their edges in window pixels and a kind each, row by
// row from the bottom.
struct tTileGrid {
  std::vector<int> xs, ys;
  std::vector<tPartKind> kinds;

  int Columns() const { return int(xs.size()) - 1; }
  int Rows() const { return int(ys.size()) - 1; }
  tPartKind Kind(int column, int row) const { return kinds[size_t(row) * Columns() + column]; }
  void Fill(const tQuadPart& part, tPartKind kind) {
    for (int row = 0; row < Rows(); ++row)
      for (int column = 0; column < Columns(); ++column)
        if (xs[column] >= part.x && xs[column + 1] <= part.x + part.width && ys[row] >= part.y &&
            ys[row + 1] <= part.y + part.height)
          kinds[size_t(row) * Columns() + column] = kind;
  }
};

// Runs of one kind in each row; a run that continues a part of the row
// below, at the same place, extends it.
void MergeTiles(const tTileGrid& grid, std::vector<tQuadPart>& parts) {
  parts.clear();
  std::vector<tQuadPart> runs;
  std::vector<size_t> below, current;
  for (int row = 0; row < grid.Rows(); ++row) {
    const int ay = grid.ys[row], by = grid.ys[row + 1];
    runs.clear();
    for (int column = 0; column < grid.Columns(); ++column) {
      const int ax = grid.xs[column], bx = grid.xs[column + 1];
      const tPartKind kind = grid.Kind(column, row);
      if (!runs.empty() && runs.back().kind == kind)
        runs.back().width = bx - runs.back().x;
      else
        runs.push_back({ax, ay, bx - ax, by - ay, kind});
    }
    current.clear();
    for (const tQuadPart& run : runs) {
      auto same = std::find_if(below.begin(), below.end(), [&](size_t under) {
        const tQuadPart& part = parts[under];
        return part.x == run.x && part.width == run.width && part.kind == run.kind;
      });
      if (same != below.end()) {
        parts[*same].height += run.height;
        current.push_back(*same);
      } else {
        current.push_back(parts.size());
        parts.push_back(run);
      }
    }
    below = current;
  }
}

}  // namespace

bool tTexelCoverage::AnyVisible(int x0, int y0, int x1, int y1) const {
  return CellCount(*this, visible, x0, y0, x1, y1) > 0;
}

bool tTexelCoverage::AllOpaque(int x0, int y0, int x1, int y1) const {
  return allOpaque || CellCount(*this, seeThrough, x0, y0, x1, y1) == 0;
}

tTexelCoverage MeasureCoverage(const uint8_t* rgba, int width, int height) {
  tTexelCoverage c;
  c.width = width;
  c.height = height;
  c.cell = std::max(4, std::max(width, height) / 64);
  c.cellsX = CellsFor(width, c.cell);
  c.cellsY = CellsFor(height, c.cell);
  std::vector<uint8_t> visible(size_t(c.cellsX) * c.cellsY, 0);
  std::vector<uint8_t> seeThrough(visible.size(), 0);
  c.visibleX0 = width;
  c.visibleY0 = height;
  // One pass, a cell's run of a row at a time: every texture the game loads
  // goes through here, so no division per texel.
  for (int y = 0; y < height; ++y) {
    const uint8_t* alphas = rgba + size_t(y) * width * 4 + 3;
    const size_t cellRow = size_t(y / c.cell) * c.cellsX;
    int first = width, last = -1;
    for (int x0 = 0, cx = 0; x0 < width; x0 += c.cell, ++cx) {
      const int x1 = std::min(width, x0 + c.cell);
      bool anyVisible = false, anySeeThrough = false;
      for (int x = x0; x < x1; ++x) {
        const uint8_t alpha = alphas[size_t(x) * 4];
        if (alpha > 0) {
          first = std::min(first, x);
          last = x;
          anyVisible = true;
        }
        anySeeThrough |= alpha < 255;
      }
      visible[cellRow + cx] |= anyVisible;
      seeThrough[cellRow + cx] |= anySeeThrough;
    }
    if (last >= 0) {
      c.visibleX0 = std::min(c.visibleX0, first);
      c.visibleX1 = std::max(c.visibleX1, last);
      c.visibleY0 = std::min(c.visibleY0, y);
      c.visibleY1 = y;
    }
  }
  c.allOpaque = std::find(seeThrough.begin(), seeThrough.end(), 1) == seeThrough.end();
  c.visible = SumCells(visible, c.cellsX, c.cellsY);
  c.seeThrough = SumCells(seeThrough, c.cellsX, c.cellsY);
  return c;
}

tTexelCoverage OpaqueCoverage(int width, int height) {
  tTexelCoverage c;
  c.width = width;
  c.height = height;
  c.cell = std::max(width, height);
  c.cellsX = c.cellsY = 1;
  c.allOpaque = true;
  c.visibleX0 = c.visibleY0 = 0;
  c.visibleX1 = width - 1;
  c.visibleY1 = height - 1;
  c.visible = {0, 0, 0, 1};
  c.seeThrough = {0, 0, 0, 0};
  return c;
}

bool PlanQuadParts(const tTexelCoverage& coverage, const tQuadOnScreen& quad,
                   const tViewport& viewport, tQuadStyle style, std::vector<tQuadPart>& parts) {
  parts.clear();
  if (quad.right == quad.left || quad.bottom == quad.top || viewport.width <= 0 ||
      viewport.height <= 0)
    return false;
  // Projection units to window pixels and back (x 0..799, y 599..0 fill the
  // viewport).
  const double toWindowX = viewport.width / 799.0, toWindowY = viewport.height / 599.0;
  auto windowX = [&](double x) { return viewport.x + x * toWindowX; };
  auto windowY = [&](double y) { return viewport.y + (599 - y) * toWindowY; };
  auto screenX = [&](double wx) { return (wx - viewport.x) / toWindowX; };
  auto screenY = [&](double wy) { return 599 - (wy - viewport.y) / toWindowY; };
  // Texels along each axis as linear functions of the screen position, and
  // back.
  auto texelU = [&](double x) {
    const double s = quad.sLeft + (x - quad.left) / (quad.right - quad.left) * (quad.sRight - quad.sLeft);
    return s * coverage.width;
  };
  auto texelV = [&](double y) {
    const double t = quad.tTop + (y - quad.top) / (quad.bottom - quad.top) * (quad.tBottom - quad.tTop);
    return t * coverage.height;
  };
  auto screenOfU = [&](double u) {
    return quad.left + (u / coverage.width - quad.sLeft) / (quad.sRight - quad.sLeft) * (quad.right - quad.left);
  };
  auto screenOfV = [&](double v) {
    return quad.top + (v / coverage.height - quad.tTop) / (quad.tBottom - quad.tTop) * (quad.bottom - quad.top);
  };
  // Window pixels spanned between two screen positions, a pixel to spare.
  auto pixelSpan = [](double a, double b, int& first, int& end) {
    first = int(std::floor(std::min(a, b))) - 1;
    end = int(std::ceil(std::max(a, b))) + 1;
  };

  // The quad's pixels within the viewport.
  int x0, x1, y0, y1;
  pixelSpan(windowX(quad.left), windowX(quad.right), x0, x1);
  pixelSpan(windowY(quad.top), windowY(quad.bottom), y0, y1);
  x0 = std::max(x0, viewport.x);
  x1 = std::min(x1, viewport.x + viewport.width);
  y0 = std::max(y0, viewport.y);
  y1 = std::min(y1, viewport.y + viewport.height);
  if (x1 <= x0 || y1 <= y0) return false;
  const int wholeArea = (x1 - x0) * (y1 - y0);

  // An alpha-tested quad draws nothing where filtering cannot reach a
  // visible texel.
  if (style.alphaTested) {
    if (coverage.visibleX0 > coverage.visibleX1) return true;  // no visible texel at all
    const double margin = 0.5 + kTexelMargin;
    int vx0, vx1, vy0, vy1;
    pixelSpan(windowX(screenOfU(coverage.visibleX0 - margin)),
              windowX(screenOfU(coverage.visibleX1 + 1 + margin)), vx0, vx1);
    pixelSpan(windowY(screenOfV(coverage.visibleY0 - margin)),
              windowY(screenOfV(coverage.visibleY1 + 1 + margin)), vy0, vy1);
    x0 = std::max(x0, vx0);
    x1 = std::min(x1, vx1);
    y0 = std::max(y0, vy0);
    y1 = std::min(y1, vy1);
    if (x1 <= x0 || y1 <= y0) return true;
  }
  const bool trimmed = (x1 - x0) * (y1 - y0) < wholeArea * 7 / 8;
  const tQuadPart trimmedWhole{x0, y0, x1 - x0, y1 - y0, tPartKind::mixed};
  if ((x1 - x0) * (y1 - y0) < kMinPlannedArea) {
    if (trimmed) parts.push_back(trimmedWhole);
    return trimmed;
  }

  auto kindOf = [&](int ax, int bx, int ay, int by) {
    // Pixel centres of the tile, their texels.
    int u0, u1, v0, v1;
    TexelRange(texelU(screenX(ax + 0.5)), texelU(screenX(bx - 0.5)), u0, u1);
    TexelRange(texelV(screenY(ay + 0.5)), texelV(screenY(by - 0.5)), v0, v1);
    if (!coverage.AnyVisible(u0, v0, u1, v1)) return tPartKind::nothing;
    if (style.alphaOne && coverage.AllOpaque(u0, v0, u1, v1)) return tPartKind::opaque;
    return tPartKind::mixed;
  };
  tTileGrid grid;
  grid.xs.push_back(x0);
  for (int x = (x0 / kTile + 1) * kTile; x < x1; x += kTile) grid.xs.push_back(x);
  grid.xs.push_back(x1);
  grid.ys.push_back(y0);
  for (int y = (y0 / kTile + 1) * kTile; y < y1; y += kTile) grid.ys.push_back(y);
  grid.ys.push_back(y1);
  for (int row = 0; row < grid.Rows(); ++row)
    for (int column = 0; column < grid.Columns(); ++column)
      grid.kinds.push_back(
          kindOf(grid.xs[column], grid.xs[column + 1], grid.ys[row], grid.ys[row + 1]));

  // A part is a draw of its own: one that saves less than a draw costs is
  // drawn with its neighbours as they are.
  MergeTiles(grid, parts);
  bool demoted = false;
  for (const tQuadPart& part : parts) {
    const int area = part.width * part.height;
    if ((part.kind == tPartKind::nothing && area < kMinSkippedArea) ||
        (part.kind == tPartKind::opaque && area < kMinOpaqueArea)) {
      grid.Fill(part, tPartKind::mixed);
      demoted = true;
    }
  }
  if (demoted) MergeTiles(grid, parts);
  // Anything but a single part drawn as it is saves work; under an alpha
  // test the parts that would draw nothing are simply left out.
  const bool saves = std::any_of(parts.begin(), parts.end(), [](const tQuadPart& p) {
    return p.kind != tPartKind::mixed;
  });
  if (style.alphaTested)
    std::erase_if(parts, [](const tQuadPart& p) { return p.kind == tPartKind::nothing; });
  if (parts.size() > kMaxParts) {
    parts = {trimmedWhole};
    return trimmed;
  }
  return trimmed || saves;
}
