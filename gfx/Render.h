// The drawing back end: the only routines that talk to OpenGL. The game links
// the OpenGL back end (gfx/render_gl); tools and logic tests link the null
// back end (gfx/render_null), whose routines do nothing and whose textures
// are never made (they return 0).
#pragma once

#include <cstdint>
#include <string>

#include "app/GameState.h"
#include "gfx/ImageDecode.h"

struct tLight;

// Fixed state of the rendering context, viewport (left, top, width, height)
// in scene pixels. Also makes the 800 x 600 offscreen target the scene is
// drawn into where the renderer offers one (with one line on stderr where
// it does not, and the scene is then drawn straight into the window).
void RenderSetupContext(int left, int top, int width, int height);
// The size of the window's drawable in pixels, as read from the window
// after every change. The scene is shown in it scaled to fit, centred, its
// aspect kept, with black bars.
void RenderSetWindowSize(int width, int height);
// Puts the frame's scene on the window; once a frame, before the swap.
// Between frames it puts the last frame's scene there again.
void RenderPresent();
// The scene is kept apart from the window (the offscreen target), so that
// RenderPresent can show it again.
bool RenderKeepsScene();
// Instead of RenderPresent, for a window system that shows the scene
// itself: the frame's scene as 800 x 600 pixels of 32 bits, blue in the low
// byte, rows top first. false where the scene is drawn straight into the
// window (RenderPresent and the swap show it then).
bool RenderReadSceneForWindow(uint32_t* pixels);
// Frees what the back end made in the current context, before the context
// is destroyed.
void RenderReleaseContext();
// The scene as drawn so far (the offscreen target's pixels, or the
// window's where the scene is drawn into it): the rectangle at (x, y),
// scene pixels from the top left, rows top first, as RGBA bytes (alpha
// 255: the window keeps none) or as depths from 0 to 1.
void RenderReadScene(int x, int y, int width, int height, uint8_t* rgba);
void RenderReadSceneDepth(int x, int y, int width, int height, float* depth);
// Lighting and the eight lights on.
void RenderEnableLights();
// Frame set-up: clear colour and depth; model-view identity; orthographic
// 800 x 600 projection; camera translation.
void RenderClear();
void RenderLoadIdentity();
void RenderSetProjection();
void RenderSetCamera(double x, double y);
// Sends one light of the light table.
void RenderSendLight(const tLight& light);

// A new mipmapped RGBA texture (rows bottom first); minification filter
// linear, or nearest when nearestMin is set. Returns its name. The OpenGL
// back end remembers where the picture is transparent or opaque and draws
// accordingly: the texels of such a texture must not be changed afterwards
// (a video picture needs a texture of its own making).
// A picture with a side above the renderer's largest texture is uploaded
// shrunk, as GLU's mipmap builder shrinks it.
TextureName RenderUploadTexture(int width, int height, const uint8_t* rgba, bool nearestMin);
// The rescaling RenderUploadTexture would do first, done beforehand: it
// touches no renderer state, so a loading thread can do it, given the
// largest side (RenderLargestTextureSide, read before). Only a picture the
// upload would box-scale is changed; one it would take as it is, or shrink
// with GLU, is left. The null back end changes nothing.
void RenderScaleForUpload(tImage& image, int largestSide);
// The largest texture side the renderer holds. The null back end gives
// kPortableTextureSide, which the tools assume of every renderer.
int RenderLargestTextureSide();
// What every renderer the game runs on holds: OpenGL 2 class hardware (GeForce
// 6, Radeon X1000, Intel GMA X3000) and Mesa's software renderers.
constexpr int kPortableTextureSide = 4096;
void RenderDeleteTexture(TextureName texture);

// A textured quad with its top-left corner at (x, y), lying at z = -depth.
// alphaTest: the DrawQuad flavour (transparent texels leave nothing behind);
// otherwise the DrawOverlay flavour (every texel writes depth, blending off
// afterwards).
void RenderQuad(TextureName texture, double x, double y, double depth, double width,
                double height, double alpha, bool alphaTest);
// The level background: exactly the overlays of texture at (0, 0), depth -1,
// alpha 1, and at (dx, dy), depth -0.99, alpha 0.3, both 800 x 600. The
// OpenGL back end may put back the pair's kept result instead (the same
// pixels), and prepares the pair at the copy's next place a strip a frame
// while the copy waits to move there.
// The copy's next place, and how far the wait for it has gone (1 or more:
// it moves there in the next frame that draws the background).
struct tNextCopy {
  float dx = 0, dy = 0;
  double progress = 0;
};
void RenderBackground(TextureName texture, float dx, float dy, const tNextCopy& next);
// A line of text from the 16 x 16 glyph atlas, glyph size pixels per cell.
void RenderText(uint16_t size, const std::string& text, TextureName font, float x, float y);
// Decimal digits from the vertical digit strip (1..9 then 0, top to bottom).
void RenderDigits(const std::string& digits, TextureName strip, float x, float y, float size);
// A sprite frame centred on (x, y) at z = -depth, optionally mirrored.
void RenderSprite(TextureName texture, double x, double y, double depth, int width, int height,
                  bool mirrored);

// The level editor's view: the world drawn straight into the window (no
// scene target) at any scale. RenderSetupWorldView once after the context is
// made; each frame begins with RenderBeginWorldView: the whole drawable as
// viewport, showing world x from left and y from top at scale window pixels
// a world pixel, cleared to the colour. The drawing routines above then take
// world coordinates.
void RenderSetupWorldView();
void RenderBeginWorldView(int drawableWidth, int drawableHeight, double left, double top, double scale,
                          float red, float green, float blue);
// Waits until everything drawn so far is done (for timing a frame).
void RenderFinish();
