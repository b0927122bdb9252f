// Textures of the OpenGL back end.
#include <GL/gl.h>
#include <GL/glu.h>

#include "gfx/Render.h"

TextureName RenderUploadTexture(int width, int height, const uint8_t* rgba, bool nearestMin) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, nearestMin ? GL_NEAREST : GL_LINEAR);
  // GLU rescales sides that are not powers of two before building the chain.
  gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  return name;
}

void RenderDeleteTexture(TextureName texture) {
  const GLuint name = texture;
  if (name != 0) glDeleteTextures(1, &name);
}
