#include "gfx/Draw.h"

#include <cmath>

#include "gfx/Hud.h"
#include "gfx/Render.h"
#include "gfx/Widgets.h"

tLight LightTable[8];
TextureName backdropTex;
tBackgroundDrift backgroundDrift;

void DrawQuad(TextureName texture, double x, double y, double depth, double width, double height,
              double alpha) {
  RenderQuad(texture, x, y, depth, width, height, alpha, true);
}

void DrawOverlay(TextureName texture, double x, double y, double depth, double width,
                 double height, double alpha) {
  RenderQuad(texture, x, y, depth, width, height, alpha, false);
}

void DrawText(uint16_t size, const std::string& text, TextureName font, float x, float y) {
  RenderText(size, text.substr(0, 255), font, x, y);
}

void ApplyLight(uint8_t index) {
  if (index < 8) RenderSendLight(LightTable[index]);
}

namespace {

// Where the backdrop's copy lies at a phase of its drift.
float CopyX(float phase) { return float(5 * std::sin(double(phase))); }
float CopyY(float phase) { return float(5 * std::cos(double(phase))); }

}  // namespace

void DrawBackground(int) {
  // 32-bit state, arithmetic and comparison in double: with a factor of 1
  // the timer passes 0.05 after eleven steps, so the copy moves every twelfth
  // frame.
  tBackgroundDrift& d = backgroundDrift;
  if (d.timer < 0.05) {
    d.timer = float(d.timer + 0.005 * frameFactor);
  } else {
    d.timer = 0;
    d.offsetX = CopyX(d.phase);
    d.offsetY = CopyY(d.phase);
    d.phase = float(d.phase + 0.1);
  }
  // The still backdrop and, over it, the copy at its new place; the renderer
  // may prepare the copy's next place over the frames until it moves there.
  RenderBackground(backdropTex, d.offsetX, d.offsetY, {CopyX(d.phase), CopyY(d.phase), d.timer / 0.05});
}

void SetupLights() {
  RenderEnableLights();
  for (int i = 0; i < 8; ++i) LightTable[i].id = 0x4000 + i;  // GL_LIGHT0 + i
  tLight& light = LightTable[0];
  light.ambient[0] = light.ambient[1] = light.ambient[2] = 1;
  light.ambient[3] = 0;
  light.diffuse[0] = light.diffuse[1] = light.diffuse[2] = 1;
  light.diffuse[3] = 0;
  light.position[0] = 400;
  light.position[1] = 300;
  light.position[2] = 1000;
  light.position[3] = 1;
  light.spotDirection[0] = 0;
  light.spotDirection[1] = 0;
  light.spotDirection[2] = -1;
  light.spotCutoff = 90;
  light.constantAttenuation = 12 - 0.1f * game.lightLevel;
}

void ResetDrawingState() {
  for (tLight& light : LightTable) light = tLight{};
  backdropTex = 0;
  backgroundDrift = tBackgroundDrift{};
  hudTextures = tHudTextures{};
  backButton = cButton{};
  exitButton = cButton{};
}
