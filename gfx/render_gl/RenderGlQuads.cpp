// Quads of the OpenGL back end: pictures, text, digits and sprite frames.
// Every routine sets the state it draws with and leaves it as the rest of the
// game expects: which routine alpha-tests, writes depth through transparent
// texels, or leaves blending on is part of the picture.
#include <GL/gl.h>

#include <algorithm>

#include "gfx/Render.h"

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

void BindClamped(TextureName texture) {
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

// The projection shows x from 0 to 799 and y from 0 to 599: a rectangle
// wholly beyond that cannot change a pixel, and is not sent at all.
bool OutsideView(double left, double top, double width, double height) {
  const double right = left + width, bottom = top + height;
  return std::max(left, right) <= 0 || std::min(left, right) >= 799 ||
         std::max(top, bottom) <= 0 || std::min(top, bottom) >= 599;
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

void RenderQuad(TextureName texture, double x, double y, double depth, double width,
                double height, double alpha, bool alphaTest) {
  TranslateFromIdentity(x, y, -depth);
  BlendSourceAlpha();
  if (alphaTest) {
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0);
  } else {
    glDisable(GL_ALPHA_TEST);
  }
  glColor4d(1, 1, 1, alpha);
  BindClamped(texture);
  // Texture 0 is a picture that did not load: nothing is drawn in its place.
  if (texture != 0 && !OutsideView(x, y, width, height)) {
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glTexCoord2f(0, 0);
    glVertex3d(0, height, 0);
    glTexCoord2f(1, 0);
    glVertex3d(width, height, 0);
    glTexCoord2f(1, 1);
    glVertex3d(width, 0, 0);
    glTexCoord2f(0, 1);
    glVertex3d(0, 0, 0);
    glEnd();
  }
  if (!alphaTest) glDisable(GL_BLEND);
}

void RenderText(uint16_t size, const std::string& text, TextureName font, float x, float y) {
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
  TranslateFromIdentity(x, y, -depth);
  BlendSourceAlpha();
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0);
  glColor4f(1, 1, 1, 1);
  BindClamped(texture);
  const float u0 = mirrored ? 1 : 0;
  const float u1 = mirrored ? 0 : 1;
  const double w = width / 2.0, h = height / 2.0;
  if (texture == 0 || OutsideView(x - w, y - h, width, height)) return;
  glBegin(GL_QUADS);
  glNormal3f(0, 0, 1);
  glTexCoord2f(u0, 0);
  glVertex3d(-w, h, 0);
  glTexCoord2f(u1, 0);
  glVertex3d(w, h, 0);
  glTexCoord2f(u1, 1);
  glVertex3d(w, -h, 0);
  glTexCoord2f(u0, 1);
  glVertex3d(-w, -h, 0);
  glEnd();
}
