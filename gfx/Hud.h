// The on-screen display over the level: mask, cone count, points, time.
#pragma once

#include <string>

#include "app/GameState.h"

struct tHudTextures {
  TextureName cone;
  TextureName fontx1;
  TextureName fontx2;
  TextureName nut;
  TextureName mask;
  TextureName colon;
};
extern tHudTextures hudTextures;

void LoadHudTextures();
void DrawDigits(const std::string& digits, float x, float y, float size);
void DrawHud();
