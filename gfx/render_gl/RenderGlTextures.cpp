// Textures of the OpenGL back end.
#include <GL/gl.h>
#include <GL/glu.h>

#include <unordered_map>
#include <vector>

#include "gfx/Render.h"
#include "gfx/render_gl/BoxScale.h"
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

// Level 0 of a texture as GLU's mipmap builder makes it: the picture itself
// when both sides are powers of two, otherwise GLU's rescaled copy, made
// here (BoxScale.h). Only a picture too large for the renderer (powers of two
// or not), which GLU shrinks further, goes to GLU: into a scratch texture
// that is read back and dropped.
struct tLevelZero {
  int width = 0, height = 0;
  const uint8_t* rgba = nullptr;
  std::vector<uint8_t> rescaled;
};

void RescaleWithGlu(tLevelZero& level) {
  GLuint scratch = 0;
  glGenTextures(1, &scratch);
  glBindTexture(GL_TEXTURE_2D, scratch);
  // A mipmap filter while the chain is built keeps it in one allocation.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA8, level.width, level.height, GL_RGBA, GL_UNSIGNED_BYTE,
                    level.rgba);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &level.width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &level.height);
  level.rescaled.resize(size_t(level.width) * level.height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, level.rescaled.data());
  glDeleteTextures(1, &scratch);
}

// GLU shrinks what the renderer cannot hold; that is left to GLU.
bool ShrunkByGlu(int width, int height, int largest) {
  return GluNearestPower(width) > largest || GluNearestPower(height) > largest;
}

bool PowersOfTwo(int width, int height) {
  return GluNearestPower(width) == width && GluNearestPower(height) == height;
}

tLevelZero LevelZero(int width, int height, const uint8_t* rgba) {
  tLevelZero level{width, height, rgba, {}};
  if (ShrunkByGlu(width, height, RenderLargestTextureSide())) {
    RescaleWithGlu(level);
  } else if (!PowersOfTwo(width, height)) {
    level.width = GluNearestPower(width);
    level.height = GluNearestPower(height);
    level.rescaled = GluBoxScale(rgba, width, height, level.width, level.height);
  } else {
    return level;
  }
  level.rgba = level.rescaled.data();
  return level;
}

}  // namespace

const tTextureInfo* TextureInfoOf(TextureName texture) {
  const auto found = textures.find(texture);
  return found == textures.end() ? nullptr : &found->second;
}

// Only level 0 is kept: every texture is drawn with a filter that does not
// use mipmaps, so the rest of GLU's chain would never be sampled; leaving it
// out spares a quarter of the texture memory and the time to build it.
TextureName RenderUploadTexture(int width, int height, const uint8_t* rgba, bool nearestMin) {
  const tLevelZero level = LevelZero(width, height, rgba);
  // A picture opaque throughout is kept without its alpha: sampled, it gives
  // alpha 1 just the same, and the renderer reads it a little faster.
  const bool opaque = AllOpaque(level.rgba, level.width, level.height);
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, nearestMin ? GL_NEAREST : GL_LINEAR);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexImage2D(GL_TEXTURE_2D, 0, opaque ? GL_RGB8 : GL_RGBA8, level.width, level.height, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, level.rgba);
  const tTexelCoverage coverage = opaque ? OpaqueCoverage(level.width, level.height)
                                         : MeasureCoverage(level.rgba, level.width, level.height);
  textures[name] = tTextureInfo{coverage, nearestMin, ++texturesMade};
  return name;
}

// A picture larger than the renderer holds keeps its size, so that the
// loaders can still name it as shown shrunk.
void RenderScaleForUpload(tImage& image, int largestSide) {
  if (image.width > largestSide || image.height > largestSide) return;
  if (ShrunkByGlu(image.width, image.height, largestSide) || PowersOfTwo(image.width, image.height))
    return;
  const int width = GluNearestPower(image.width), height = GluNearestPower(image.height);
  image.rgba = GluBoxScale(image.rgba.data(), image.width, image.height, width, height);
  image.width = width;
  image.height = height;
}

int RenderLargestTextureSide() {
  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  return largest;
}

void RenderDeleteTexture(TextureName texture) {
  const GLuint name = texture;
  if (name == 0) return;
  glDeleteTextures(1, &name);
  textures.erase(texture);
}
