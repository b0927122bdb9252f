// What the OpenGL back end's files share.
#pragma once

#include <cstdint>
#include <optional>

#include "app/GameState.h"
#include "gfx/render_gl/QuadParts.h"

// Where the 800 x 600 scene lies in the window, while the frame's projection
// is in force (x 0..799 and y 599..0 spanning the viewport). The shortcuts
// rely on that mapping and are not taken when it does not hold.
bool SceneMapping(tViewport& viewport);

// True from the clearing of the buffers until the first thing is drawn.
extern bool frameUntouched;

// The scene target (RenderGlTarget.cpp) and pictures like it: colour and
// depth of the scene's size, stored the same way.
struct tScenePicture {
  unsigned framebuffer = 0, colour = 0, depth = 0;
};
// The offscreen target the scene is drawn into, or nullptr when it is drawn
// straight into the window.
const tScenePicture* SceneTarget();
// false when the picture cannot be made (it is then left empty).
bool MakeScenePicture(tScenePicture& picture);
void FreeScenePicture(tScenePicture& picture);

// Turns a scissor box's y, counted from the viewport's bottom as in the
// window, to the target's own way up.
void FlipRows(const tViewport& viewport, int& y, int height);
void SetUpSceneTarget(int left, int top, int width, int height);

// Rows of the bound framebuffer, as it stores them, that the quads alone
// (RenderQuad) are let draw into: the rest keeps its pixels, and those inside
// come out as without the limit. nullopt: no limit.
struct tRowBand {
  int y = 0, height = 0;
};
void LimitDrawingToRows(const std::optional<tRowBand>& band);
constexpr int kMaxScissorWidth = 1 << 14;

// Colour and depth, pixel for pixel, of the whole picture or some of its
// rows; the target stays bound.
void CopyScenePicture(const tScenePicture& from, const tScenePicture& to);
void CopyScenePictureRows(const tScenePicture& from, const tScenePicture& to, const tRowBand& rows);
// Drawing goes into the picture from now on.
void BindScenePicture(const tScenePicture& picture);

// Every drawing routine begins here: the frame's clear is done when the
// first thing is drawn, so that a frame that begins with the kept
// background can take colour and depth from it instead (ClearedByCopy).
void BeginDrawing();
void ApplyPendingClear();
void ClearedByCopy();
// The kept level background is dropped (a new context, or a new target).
void ForgetKeptBackground();
// For tests: draw straight into the window even where a target could be
// made (false), or draw into a target again (true). Takes effect at the
// next RenderSetupContext.
void UseSceneTarget(bool use);
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
