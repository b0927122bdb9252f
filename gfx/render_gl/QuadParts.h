// Where a texture is fully transparent or fully opaque, and which parts of
// the screen a quad of it can therefore be drawn with less work. Used by the
// OpenGL back end; no OpenGL here.
//
// Software rendering pays for every pixel of every quad: sampling, blending
// and the depth test. Much of that work changes nothing. A pixel whose
// texels (all that filtering can reach) have alpha 0 is thrown away by the
// alpha test, and under an overlay it keeps its colour and only takes the
// quad's depth. A pixel whose texels all have alpha 255, drawn at alpha 1,
// blends to the texel itself. The quad routines draw such parts of a quad
// without the work (no draw at all, depth only, or without blending), each
// part cut out with the scissor rectangle so that every pixel is computed
// from the very same quad as before: the picture stays the same to the bit.
#pragma once

#include <cstdint>
#include <vector>

// What is known of one texture's level 0, at a grid of square cells.
struct tTexelCoverage {
  int width = 0;
  int height = 0;
  int cell = 1;  // cell side in texels
  int cellsX = 0;
  int cellsY = 0;
  bool allOpaque = false;
  // The smallest texel rectangle holding every texel with alpha above 0
  // (inclusive; visibleX0 > visibleX1 when there is none).
  int visibleX0 = 0, visibleY0 = 0, visibleX1 = -1, visibleY1 = -1;
  // Summed-area tables over the cells ((cellsX + 1) x (cellsY + 1)): cells
  // holding a texel with alpha above 0, and cells holding one below 255.
  std::vector<int32_t> visible;
  std::vector<int32_t> seeThrough;

  // Texel ranges, inclusive, clamped to the texture.
  bool AnyVisible(int x0, int y0, int x1, int y1) const;
  bool AllOpaque(int x0, int y0, int x1, int y1) const;
};

// From the texture's RGBA texels, row 0 at the bottom.
tTexelCoverage MeasureCoverage(const uint8_t* rgba, int width, int height);
// A texture known to be opaque throughout (a JPG).
tTexelCoverage OpaqueCoverage(int width, int height);

// A window-pixel rectangle (OpenGL's scissor convention: x, y from the
// bottom left) and how the part of the quad inside it is drawn.
enum class tPartKind : uint8_t { nothing, mixed, opaque };
struct tQuadPart {
  int x, y, width, height;
  tPartKind kind;
};

// The on-screen rectangle of a quad in projection units (x 0..799 to the
// right, y 0..599 downward) with the texture coordinates at its edges, and
// the viewport that maps it to window pixels.
struct tQuadOnScreen {
  double left, top, right, bottom;
  double sLeft, sRight, tTop, tBottom;
};
struct tViewport {
  int x, y, width, height;
  bool operator==(const tViewport&) const = default;
};

// How a quad is drawn. alphaTested: its transparent texels leave nothing
// behind, so what lies beyond its visible texels need not be drawn at all.
// alphaOne: it is drawn at alpha 1, so opaque texels blend to themselves.
struct tQuadStyle {
  bool alphaTested;
  bool alphaOne;
};

// Cuts the quad into parts by what its texels allow; an alpha-tested quad
// loses the parts that would draw nothing (no parts at all: nothing to
// draw). Returns false when cutting would not pay (a small quad, or too
// many parts): draw it whole.
bool PlanQuadParts(const tTexelCoverage& coverage, const tQuadOnScreen& quad,
                   const tViewport& viewport, tQuadStyle style, std::vector<tQuadPart>& parts);
