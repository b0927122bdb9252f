// The video picture of the drawing back end: one texture without mipmaps,
// updated in place whenever a new picture of the video is due, and drawn over
// the finished scene. The null back end makes no texture (name 0).
#pragma once

#include <cstdint>

#include "app/GameState.h"

struct VideoTexture {
  TextureName name = 0;
  int width = 0;  // texels allocated: powers of two, at least the picture
  int height = 0;
};

VideoTexture RenderCreateVideoTexture(int pictureWidth, int pictureHeight);
// Replaces the top-left width x height texels with rgba, rows top first.
void RenderUpdateVideoTexture(const VideoTexture& texture, int width, int height,
                              const uint8_t* rgba);
// Black over panel, then the texture's top-left pictureWidth x pictureHeight
// texels stretched over picture; both rectangles in scene pixels. Leaves
// the drawing state as it found it.
void RenderDrawVideo(const VideoTexture& texture, int pictureWidth, int pictureHeight,
                     const TRect& panel, const TRect& picture);
void RenderDeleteVideoTexture(VideoTexture& texture);
