#include "gfx/Hud.h"

#include "gfx/Draw.h"
#include "gfx/Render.h"
#include "gfx/Texture.h"

tHudTextures hudTextures;

void LoadHudTextures() {
  LoadTGA("DATA\\onscreen\\cone.tga", hudTextures.cone);
  LoadTGA("DATA\\onscreen\\fontx1.tga", hudTextures.fontx1);
  LoadTGA("DATA\\onscreen\\fontx2.tga", hudTextures.fontx2);
  LoadTGA("DATA\\onscreen\\Nut.tga", hudTextures.nut);
  LoadTGA("DATA\\onscreen\\RareVozazu.tga", hudTextures.mask);
  LoadTGA("DATA\\onscreen\\Sem.tga", hudTextures.colon);
}

void DrawDigits(const std::string& digits, float x, float y, float size) {
  RenderDigits(digits, hudTextures.fontx2, x, y, size);
}

void DrawHud() {
  DrawOverlay(hudTextures.mask, 0, 0, -0.2, 800, 600, 1);
  DrawQuad(hudTextures.cone, 20, 10, 0, 64, 64, 1);
  DrawDigits(std::to_string(stats.cones), 80, 30, 25);
  DrawDigits(std::to_string(stats.points), 30, 500, 50);
  DrawDigits(std::to_string(game.playSeconds / 60), 345, 20, 25);
  DrawQuad(hudTextures.colon, 385, 25, 0, 16, 16, 1);
  DrawDigits(std::to_string(game.playSeconds % 60), 400, 20, 25);
}
