// What the OpenGL back end's files share.
#pragma once

#include <cstdint>

#include "app/GameState.h"
#include "gfx/render_gl/QuadParts.h"

// Where the 800 x 600 scene lies in the window, while the frame's projection
// is in force (x 0..799 and y 599..0 spanning the viewport). The shortcuts
// rely on that mapping and are not taken when it does not hold.
bool SceneMapping(tViewport& viewport);

// True from the clearing of the buffers until the first thing is drawn.
extern bool frameUntouched;
// Counts the changes of the light the scene is lit by.
extern uint64_t lightSerial;

// What the back end keeps of each texture it made.
struct tTextureInfo {
  tTexelCoverage coverage;
  bool nearestMin;  // minification nearest (JPGs), magnification linear
  uint64_t serial;  // tells this texture from a later one of the same name
};
// nullptr for a name this back end did not make.
const tTextureInfo* TextureInfoOf(TextureName texture);
