// The level background: the backdrop and its faint drifting copy, two
// full-screen overlays at the back of every play frame. Together they cost
// the renderer two full layers of blended, lit, textured pixels, yet their
// result changes only when the copy moves (a few times a second) or the
// light does. So the result is kept, and while nothing it depends on has
// changed, a frame that begins with it gets it back in one plain pass: the
// same colours and depths to the bit.
#include <GL/gl.h>

#include <cmath>

#include "gfx/Render.h"
#include "gfx/render_gl/RenderGlShared.h"

namespace {

// Everything the pair of overlays depends on, besides a freshly cleared
// frame.
struct tBackdropKey {
  TextureName texture;
  uint64_t textureSerial;
  float dx, dy;
  uint64_t lightSerial;
  tViewport viewport;

  bool operator==(const tBackdropKey& o) const {
    return texture == o.texture && textureSerial == o.textureSerial && dx == o.dx && dy == o.dy &&
           lightSerial == o.lightSerial && viewport.x == o.viewport.x &&
           viewport.y == o.viewport.y && viewport.width == o.viewport.width &&
           viewport.height == o.viewport.height;
  }
};

struct tBackdropCache {
  GLuint texture = 0;  // the viewport's pixels after the pair, one texel each
  int width = 0, height = 0;
  tBackdropKey key{};
  bool valid = false;
};
tBackdropCache cache;

void DrawPair(TextureName texture, float dx, float dy) {
  RenderQuad(texture, 0, 0, -1, 800, 600, 1, false);
  RenderQuad(texture, dx, dy, -0.99, 800, 600, 0.3, false);
}

// Copies the viewport's pixels into the cache.
void Keep(const tBackdropKey& key) {
  const tViewport& v = key.viewport;
  if (cache.texture == 0) glGenTextures(1, &cache.texture);
  glBindTexture(GL_TEXTURE_2D, cache.texture);
  if (cache.width != v.width || cache.height != v.height) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    // Laid out as the window's pixels are (blue first), the copy is a plain
    // one.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, v.width, v.height, 0, GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
    cache.width = v.width;
    cache.height = v.height;
  }
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, v.x, v.y, v.width, v.height);
  glBindTexture(GL_TEXTURE_2D, key.texture);
  cache.key = key;
  cache.valid = true;
}

// One overlay's quad at (x, y, depth), 800 x 600, showing the kept pixels
// one for one: the texture coordinates follow the projection (x 0..799 and
// y 599..0 span the viewport), not the quad.
void KeptQuad(double x, double y, double depth) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslated(x, y, -depth);
  auto corner = [&](double cx, double cy) {
    glTexCoord2d((x + cx) / 799, (599 - (y + cy)) / 599);
    glVertex3d(cx, cy, 0);
  };
  glBegin(GL_QUADS);
  corner(0, 600);
  corner(800, 600);
  corner(800, 0);
  corner(0, 0);
  glEnd();
}

// The window pixels along the edges that the copy, moved by (dx, dy), may
// leave uncovered: a column strip and a row strip, a little wider than the
// band (the depth test takes care of the exact edge).
void ForEachBandStrip(const tViewport& v, float dx, float dy, auto draw) {
  const double toX = v.width / 799.0, toY = v.height / 599.0;
  glEnable(GL_SCISSOR_TEST);
  if (dx > 0) {
    glScissor(v.x, v.y, int(std::ceil(dx * toX)) + 2, v.height);
    draw();
  } else if (dx < 0) {
    const int first = int(std::floor((800 + dx) * toX)) - 2;
    glScissor(v.x + first, v.y, v.width - first, v.height);
    draw();
  }
  if (dy > 0) {  // y grows downward on screen, upward in the window
    const int first = int(std::floor((599 - dy) * toY)) - 2;
    glScissor(v.x, v.y + first, v.width, v.height - first);
    draw();
  } else if (dy < 0) {
    glScissor(v.x, v.y, v.width, int(std::ceil((-1 - dy) * toY)) + 2);
    draw();
  }
  glDisable(GL_SCISSOR_TEST);
}

// Puts the kept pixels back: first through the copy's quad (its pixels and
// its depth), then through the backdrop's, in the band along the edges that
// the copy did not cover. Unlit, unblended, texels as they are.
void PutBack(const tViewport& viewport, TextureName texture, float dx, float dy) {
  glDisable(GL_LIGHTING);
  glDisable(GL_BLEND);
  glDisable(GL_ALPHA_TEST);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glBindTexture(GL_TEXTURE_2D, cache.texture);
  KeptQuad(dx, dy, -0.99);
  ForEachBandStrip(viewport, dx, dy, [] { KeptQuad(0, 0, -1); });
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glEnable(GL_LIGHTING);
  // The state the second overlay leaves behind.
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslated(dx, dy, 0.99);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4d(1, 1, 1, 0.3);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

}  // namespace

void RenderBackground(TextureName texture, float dx, float dy) {
  const tTextureInfo* info = TextureInfoOf(texture);
  tViewport viewport;
  if (!info || !frameUntouched || !SceneMapping(viewport)) return DrawPair(texture, dx, dy);
  const tBackdropKey key{texture, info->serial, dx, dy, lightSerial, viewport};
  if (cache.valid && cache.key == key) {
    PutBack(viewport, texture, dx, dy);
    frameUntouched = false;
    return;
  }
  DrawPair(texture, dx, dy);
  Keep(key);
}
