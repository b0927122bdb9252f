// The level editor's view of the world at any scale, into the window.
#include <GL/gl.h>

#include "gfx/Render.h"
#include "gfx/render_gl/RenderGlShared.h"

void RenderSetupWorldView() {
  UseSceneTarget(false);
  RenderSetupContext(0, 0, kScreenWidth, kScreenHeight);
}

void RenderBeginWorldView(int drawableWidth, int drawableHeight, double left, double top, double scale,
                          float red, float green, float blue) {
  glViewport(0, 0, drawableWidth, drawableHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // The game's depth range (z 0 to -10), so that its depths order the layers.
  glOrtho(left, left + drawableWidth / scale, top + drawableHeight / scale, top, 0, -10);
  glClearColor(red, green, blue, 1);
  RenderClear();
  RenderLoadIdentity();
}

void RenderFinish() { glFinish(); }
