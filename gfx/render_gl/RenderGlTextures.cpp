// Textures of the OpenGL back end.
#include <GL/gl.h>
#include <GL/glu.h>

#include <unordered_map>
#include <vector>

#include "gfx/Render.h"
#include "gfx/render_gl/RenderGlShared.h"

namespace {

std::unordered_map<TextureName, tTextureInfo> textures;
uint64_t texturesMade = 0;

bool AllOpaque(const uint8_t* rgba, int width, int height) {
  const size_t bytes = size_t(width) * height * 4;
  for (size_t i = 3; i < bytes; i += 4)
    if (rgba[i] != 255) return false;
  return true;
}

// Measured on level 0 as OpenGL holds it: GLU has rescaled sides that are
// not powers of two, and the rescaled texels are the ones drawn.
tTexelCoverage MeasureLevelZero(bool opaque) {
  GLint width = 0, height = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
  if (opaque) return OpaqueCoverage(width, height);
  std::vector<uint8_t> texels(size_t(width) * height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  return MeasureCoverage(texels.data(), width, height);
}

}  // namespace

const tTextureInfo* TextureInfoOf(TextureName texture) {
  const auto found = textures.find(texture);
  return found == textures.end() ? nullptr : &found->second;
}

TextureName RenderUploadTexture(int width, int height, const uint8_t* rgba, bool nearestMin) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  // GLU rescales sides that are not powers of two before building the chain.
  // A picture opaque throughout is kept without its alpha: sampled, it gives
  // alpha 1 just the same, and the renderer reads it a little faster.
  const bool opaque = AllOpaque(rgba, width, height);
  // While the chain is built the filter asks for mipmaps, so that the driver
  // keeps the whole chain in one allocation instead of a separate copy per
  // level; the filter the texture is drawn with is set afterwards.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  gluBuild2DMipmaps(GL_TEXTURE_2D, opaque ? GL_RGB8 : GL_RGBA8, width, height, GL_RGBA,
                    GL_UNSIGNED_BYTE, rgba);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, nearestMin ? GL_NEAREST : GL_LINEAR);
  textures[name] = tTextureInfo{MeasureLevelZero(opaque), nearestMin, ++texturesMade};
  return name;
}

void RenderDeleteTexture(TextureName texture) {
  const GLuint name = texture;
  if (name == 0) return;
  glDeleteTextures(1, &name);
  textures.erase(texture);
}
