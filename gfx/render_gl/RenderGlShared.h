// What the OpenGL back end's files share.
#pragma once

#include "app/GameState.h"
#include "gfx/render_gl/QuadParts.h"

// The viewport set up with the context: where the 800 x 600 scene lies in
// the window.
extern tViewport sceneViewport;

// What is known of a texture's transparency; nullptr for a name this back
// end did not make.
const tTexelCoverage* CoverageOf(TextureName texture);
