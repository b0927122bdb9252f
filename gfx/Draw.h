// Drawing primitives: quads, text, the light and the level background.
#pragma once

#include <cstdint>
#include <string>

#include "app/GameState.h"

struct tLight {
  float ambient[4];
  float diffuse[4];
  float position[4];
  float spotDirection[3];
  float spotCutoff;
  float constantAttenuation;
  uint32_t id;  // GL_LIGHT0 + index
};
extern tLight LightTable[8];

// Top-left corner at (x, y), lying at z = -depth; alpha-tested.
void DrawQuad(TextureName texture, double x, double y, double depth, double width, double height,
              double alpha);
// The same without alpha testing: every texel writes depth.
void DrawOverlay(TextureName texture, double x, double y, double depth, double width,
                 double height, double alpha);
// At most 255 characters of text from (x, y), glyph size pixels each.
void DrawText(uint16_t size, const std::string& text, TextureName font, float x, float y);
void ApplyLight(uint8_t index);

// The level backdrop with its faint drifting copy.
extern TextureName backdropTex;
struct tBackgroundDrift {
  float timer;
  float offsetX;
  float offsetY;
  float phase;
};
extern tBackgroundDrift backgroundDrift;
void DrawBackground(int unused);

// Fills light entry 0 and the identifiers from the brightness setting.
void SetupLights();

// Puts the drawing globals (light table, backdrop and its drift, display
// textures, exit prompt buttons) back to their start-of-run value.
void ResetDrawingState();
