// What the OpenGL back end's files share.
#pragma once

#include "app/GameState.h"
#include "gfx/render_gl/QuadParts.h"

// The viewport set up with the context: where the 800 x 600 scene lies in
// the window.
extern tViewport sceneViewport;

// What the back end keeps of each texture it made.
struct tTextureInfo {
  tTexelCoverage coverage;
  bool nearestMin;  // minification nearest (JPGs), magnification linear
};
// nullptr for a name this back end did not make.
const tTextureInfo* TextureInfoOf(TextureName texture);
