// The OpenGL drawing back end: fixed-function OpenGL 1.1 in immediate mode.
#include <GL/gl.h>
#include <GL/glu.h>

#include <array>
#include <cstring>

#include "gfx/Draw.h"
#include "gfx/Render.h"
#include "gfx/render_gl/RenderGlShared.h"

bool frameUntouched = false;
uint64_t lightSerial = 0;

namespace {

// A light as last sent, with the model-view matrix that placed it.
struct tSentLight {
  tLight light;
  std::array<GLfloat, 16> modelView;
};
tSentLight sentLights[8];

// The projection matrix RenderSetProjection makes.
std::array<GLfloat, 16> sceneProjection;
bool sceneProjectionMade = false;

}  // namespace

void RenderSetupContext(int left, int top, int width, int height) {
  glEnable(GL_LINE_SMOOTH);
  glEnable(GL_DEPTH_TEST);
  glDepthRange(0, 0.1);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_COLOR_MATERIAL);
  glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.1f);
  glClearColor(0, 0, 0, 0);
  SetUpSceneTarget(left, top, width, height);
  ++lightSerial;
}

void RenderEnableLights() {
  glEnable(GL_LIGHTING);
  for (int i = 0; i < 8; ++i) glEnable(GL_LIGHT0 + i);
  ++lightSerial;
}

void RenderLoadIdentity() {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void RenderSetProjection() {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, 799, 599, 0, 0, -10);
  glGetFloatv(GL_PROJECTION_MATRIX, sceneProjection.data());
  sceneProjectionMade = true;
}

bool SceneMapping(tViewport& viewport) {
  std::array<GLfloat, 16> projection;
  glGetFloatv(GL_PROJECTION_MATRIX, projection.data());
  if (!sceneProjectionMade || projection != sceneProjection) return false;
  GLint v[4];
  glGetIntegerv(GL_VIEWPORT, v);
  viewport = tViewport{v[0], v[1], v[2], v[3]};
  return true;
}

void RenderSetCamera(double x, double y) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslated(x, y, 0);
}

void RenderSendLight(const tLight& light) {
  const GLenum id = light.id;
  if (id < GL_LIGHT0 || id >= GL_LIGHT0 + 8) return;
  tSentLight sent{light, {}};
  glGetFloatv(GL_MODELVIEW_MATRIX, sent.modelView.data());
  tSentLight& last = sentLights[id - GL_LIGHT0];
  if (std::memcmp(&sent, &last, sizeof sent) != 0) ++lightSerial;
  last = sent;
  glLightfv(id, GL_AMBIENT, light.ambient);
  glLightfv(id, GL_POSITION, light.position);
  glLightfv(id, GL_SPOT_DIRECTION, light.spotDirection);
  glLightf(id, GL_SPOT_CUTOFF, light.spotCutoff);
  glLightf(id, GL_CONSTANT_ATTENUATION, light.constantAttenuation);
}
