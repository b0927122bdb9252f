// The video picture on OpenGL: a texture of power-of-two size (OpenGL 1.1
// needs no more), filled with glTexSubImage2D, linear filters, no mipmaps.
#include "gfx/RenderVideo.h"

#include <GL/gl.h>

#include "gfx/render_gl/RenderGlShared.h"

namespace {

int PowerOfTwoAtLeast(int n) {
  int p = 1;
  while (p < n && p < (1 << 14)) p <<= 1;
  return p;
}

void Rectangle(const TRect& r, float s1, float t1) {
  const float left = float(r.left), top = float(r.top);
  const float right = float(r.left + r.width), bottom = float(r.top + r.height);
  glBegin(GL_QUADS);
  glTexCoord2f(0, t1);
  glVertex3f(left, bottom, 0);
  glTexCoord2f(s1, t1);
  glVertex3f(right, bottom, 0);
  glTexCoord2f(s1, 0);
  glVertex3f(right, top, 0);
  glTexCoord2f(0, 0);
  glVertex3f(left, top, 0);
  glEnd();
}

}  // namespace

VideoTexture RenderCreateVideoTexture(int pictureWidth, int pictureHeight) {
  VideoTexture texture;
  texture.width = PowerOfTwoAtLeast(pictureWidth);
  texture.height = PowerOfTwoAtLeast(pictureHeight);
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, texture.width, texture.height, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, nullptr);
  texture.name = name;
  return texture;
}

void RenderUpdateVideoTexture(const VideoTexture& texture, int width, int height,
                              const uint8_t* rgba) {
  if (texture.name == 0 || width > texture.width || height > texture.height) return;
  glBindTexture(GL_TEXTURE_2D, texture.name);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

void RenderDrawVideo(const VideoTexture& texture, int pictureWidth, int pictureHeight,
                     const TRect& panel, const TRect& picture) {
  BeginDrawing();
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  // The video covers the scene: no light, depth, blending or alpha test.
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_ALPHA_TEST);
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glColor4f(0, 0, 0, 1);
  Rectangle(panel, 0, 0);
  if (texture.name != 0 && texture.width > 0 && texture.height > 0) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture.name);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor4f(1, 1, 1, 1);
    Rectangle(picture, float(pictureWidth) / texture.width, float(pictureHeight) / texture.height);
  }
  glPopMatrix();
  glPopAttrib();
}

void RenderDeleteVideoTexture(VideoTexture& texture) {
  if (texture.name != 0) {
    const GLuint name = texture.name;
    glDeleteTextures(1, &name);
  }
  texture = VideoTexture{};
}
