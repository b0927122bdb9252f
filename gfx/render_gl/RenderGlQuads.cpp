// Quads of the OpenGL back end: pictures, text, digits and sprite frames.
// Every routine sets the state it draws with and leaves it as the rest of the
// game expects: which routine alpha-tests, writes depth through transparent
// texels, or leaves blending on is part of the picture.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "gfx/Render.h"
#include "gfx/render_gl/RenderGlShared.h"

namespace {

void TranslateFromIdentity(double x, double y, double z) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslated(x, y, z);
}

void BlendSourceAlpha() {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void AlphaTestAboveZero() {
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0);
}

void BindClamped(TextureName texture) {
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

// The scene's projection shows x from 0 to 799 and y from 0 to 599: under
// it, a rectangle wholly beyond that cannot change a pixel, and is not sent
// at all.
bool OutsideView(const tQuadOnScreen& q) {
  return std::max(q.left, q.right) <= 0 || std::min(q.left, q.right) >= 799 ||
         std::max(q.top, q.bottom) <= 0 || std::min(q.top, q.bottom) >= 599;
}

// One textured quad with normal (0, 0, 1); corners bottom left, bottom
// right, top right, top left, relative to the translated origin.
void QuadGeometry(double left, double top, double right, double bottom, double sLeft,
                  double sRight) {
  glBegin(GL_QUADS);
  glNormal3f(0, 0, 1);
  glTexCoord2d(sLeft, 0);
  glVertex3d(left, bottom, 0);
  glTexCoord2d(sRight, 0);
  glVertex3d(right, bottom, 0);
  glTexCoord2d(sRight, 1);
  glVertex3d(right, top, 0);
  glTexCoord2d(sLeft, 1);
  glVertex3d(left, top, 0);
  glEnd();
}

void DrawWithoutBlending(bool alphaTest, auto geometry) {
  glDisable(GL_BLEND);
  if (alphaTest) glDisable(GL_ALPHA_TEST);
  geometry();
  glEnable(GL_BLEND);
  if (alphaTest) glEnable(GL_ALPHA_TEST);
}

bool AnyPart(const std::vector<tQuadPart>& parts, tPartKind kind) {
  return std::any_of(parts.begin(), parts.end(), [=](const tQuadPart& p) { return p.kind == kind; });
}

std::optional<tRowBand> rowBand;

// The geometry with the scissor on for the row band, if one is set.
void WithinBand(auto geometry) {
  if (!rowBand) return geometry();
  glEnable(GL_SCISSOR_TEST);
  glScissor(0, rowBand->y, kMaxScissorWidth, rowBand->height);
  geometry();
  glDisable(GL_SCISSOR_TEST);
}

void ForEachPart(const std::vector<tQuadPart>& parts, const tViewport& viewport, tPartKind kind,
                 auto geometry) {
  for (const tQuadPart& part : parts) {
    if (part.kind != kind) continue;
    int y = part.y, height = part.height;
    FlipRows(viewport, y, height);
    if (rowBand) {
      const int top = std::max(y, rowBand->y), end = std::min(y + height, rowBand->y + rowBand->height);
      if (end <= top) continue;
      y = top;
      height = end - top;
    }
    glScissor(part.x, y, part.width, height);
    geometry();
  }
}

// The quad drawn part by part (see QuadParts.h): each part is the whole
// quad cut out by the scissor, so every pixel comes out as it would have.
void DrawInParts(const std::vector<tQuadPart>& parts, const tViewport& viewport, bool alphaTest,
                 auto geometry) {
  auto forEach = [&](tPartKind kind) { ForEachPart(parts, viewport, kind, geometry); };
  glEnable(GL_SCISSOR_TEST);
  forEach(tPartKind::mixed);
  if (AnyPart(parts, tPartKind::opaque))
    DrawWithoutBlending(alphaTest, [&] { forEach(tPartKind::opaque); });
  if (!alphaTest && AnyPart(parts, tPartKind::nothing)) {
    // Transparent texels of an overlay change no colour but still write
    // depth: depth alone, without texture or colour.
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDisable(GL_TEXTURE_2D);
    forEach(tPartKind::nothing);
    glEnable(GL_TEXTURE_2D);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  }
  glDisable(GL_SCISSOR_TEST);
}

// A texture whose two filters differ (a JPG: magnification linear,
// minification nearest) makes the renderer work out for every pixel which
// of them applies. A quad square to the screen is magnified or minified
// alike everywhere; where that is clearly one or the other, the filter that
// applies is returned (0 when in doubt), and the draw can use it for both.
GLint FilterThatApplies(const tQuadOnScreen& q, const tTexelCoverage& c, const tViewport& v) {
  const double pixelsX = std::abs(q.right - q.left) * v.width / 799.0;
  const double pixelsY = std::abs(q.bottom - q.top) * v.height / 599.0;
  const double texelsPerPixel = std::max(std::abs(q.sRight - q.sLeft) * c.width / pixelsX,
                                         std::abs(q.tBottom - q.tTop) * c.height / pixelsY);
  if (texelsPerPixel > 1.1) return GL_NEAREST;
  if (texelsPerPixel < 0.9) return GL_LINEAR;
  return 0;
}

// Draws with both filters set to the one that applies, then puts the
// texture's own back.
void DrawWithOneFilter(const tTextureInfo& info, const tQuadOnScreen& onScreen,
                       const tViewport& viewport, auto draw) {
  const GLint filter = info.nearestMin ? FilterThatApplies(onScreen, info.coverage, viewport) : 0;
  if (filter == 0) return draw();
  const GLenum other = filter == GL_NEAREST ? GL_TEXTURE_MAG_FILTER : GL_TEXTURE_MIN_FILTER;
  glTexParameteri(GL_TEXTURE_2D, other, filter);
  draw();
  glTexParameteri(GL_TEXTURE_2D, other, filter == GL_NEAREST ? GL_LINEAR : GL_NEAREST);
}

// Draws a textured quad, bound and in the state already set (blending on;
// alpha test on or off), doing only the work that can change the picture.
// alphaOne: the current colour's alpha is 1.
void DrawTexturedQuad(TextureName texture, const tQuadOnScreen& onScreen, bool alphaTest,
                      bool alphaOne, auto geometry) {
  // Texture 0 is a picture that did not load: nothing is drawn in its place.
  if (texture == 0) return;
  tViewport viewport;
  const bool mapped = SceneMapping(viewport);
  if (mapped && OutsideView(onScreen)) return;
  const tTextureInfo* info = TextureInfoOf(texture);
  if (!info) return geometry();
  static std::vector<tQuadPart> parts;
  auto draw = [&] {
    if (info->coverage.allOpaque && alphaOne)
      DrawWithoutBlending(alphaTest, [&] { WithinBand(geometry); });
    else if (mapped && PlanQuadParts(info->coverage, onScreen, viewport, {alphaTest, alphaOne}, parts))
      DrawInParts(parts, viewport, alphaTest, geometry);
    else
      WithinBand(geometry);
  };
  if (mapped)
    DrawWithOneFilter(*info, onScreen, viewport, draw);
  else
    draw();
}

// One quad of a cell of an atlas, corners bottom left, bottom right, top
// right, top left; t0 is the cell's bottom edge.
void CellQuad(double left, double right, double size, double s0, double s1, double t0,
              double t1) {
  glBegin(GL_QUADS);
  glTexCoord2d(s0, t0);
  glVertex3d(left, size, 0);
  glTexCoord2d(s1, t0);
  glVertex3d(right, size, 0);
  glTexCoord2d(s1, t1);
  glVertex3d(right, 0, 0);
  glTexCoord2d(s0, t1);
  glVertex3d(left, 0, 0);
  glEnd();
}

}  // namespace

void LimitDrawingToRows(const std::optional<tRowBand>& band) { rowBand = band; }

void RenderQuad(TextureName texture, double x, double y, double depth, double width,
                double height, double alpha, bool alphaTest) {
  BeginDrawing();
  TranslateFromIdentity(x, y, -depth);
  BlendSourceAlpha();
  if (alphaTest)
    AlphaTestAboveZero();
  else
    glDisable(GL_ALPHA_TEST);
  glColor4d(1, 1, 1, alpha);
  BindClamped(texture);
  const tQuadOnScreen onScreen{x, y, x + width, y + height, 0, 1, 1, 0};
  DrawTexturedQuad(texture, onScreen, alphaTest, float(alpha) == 1.0f,
                   [&] { QuadGeometry(0, 0, width, height, 0, 1); });
  if (!alphaTest) glDisable(GL_BLEND);
}

void RenderText(uint16_t size, const std::string& text, TextureName font, float x, float y) {
  BeginDrawing();
  TranslateFromIdentity(x, y, 0);
  for (size_t i = 0; i < text.size(); ++i) {
    const int code = static_cast<unsigned char>(text[i]);
    glEnable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glBindTexture(GL_TEXTURE_2D, font);
    // A little more than one cell wide; row 0 is the atlas's top row.
    const double s0 = (code % 16) * 0.0625;
    const double t0 = 1 - (code / 16 + 1) * 0.0625;
    if (font != 0)
      CellQuad(double(i) * size, double(i + 1) * size, size, s0, s0 + 0.06525, t0, t0 + 0.0625);
  }
}

void RenderDigits(const std::string& digits, TextureName strip, float x, float y, float size) {
  BeginDrawing();
  TranslateFromIdentity(x, y, 0);
  for (size_t i = 0; i < digits.size(); ++i) {
    if (digits[i] < '0' || digits[i] > '9') continue;
    const int d = digits[i] - '0';
    glEnable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glBindTexture(GL_TEXTURE_2D, strip);
    // Cells 1 to 9 from the top down; 0 reaches past t = 1 and, with the
    // strip's repeat wrap, samples the bottom cell.
    const double t0 = 1 - 0.1 * d;
    if (strip != 0) CellQuad(double(i) * size, double(i + 1) * size, size, 0, 1, t0, t0 + 0.1);
  }
}

void RenderSprite(TextureName texture, double x, double y, double depth, int width, int height,
                  bool mirrored) {
  BeginDrawing();
  TranslateFromIdentity(x, y, -depth);
  BlendSourceAlpha();
  AlphaTestAboveZero();
  glColor4f(1, 1, 1, 1);
  BindClamped(texture);
  const double u0 = mirrored ? 1 : 0, u1 = mirrored ? 0 : 1;
  const double w = width / 2.0, h = height / 2.0;
  const tQuadOnScreen onScreen{x - w, y - h, x + w, y + h, u0, u1, 1, 0};
  DrawTexturedQuad(texture, onScreen, true, true, [&] { QuadGeometry(-w, -h, w, h, u0, u1); });
}
