// Textures and quads of the OpenGL back end: not built yet.
#include "gfx/Render.h"

TextureName RenderUploadTexture(int, int, const uint8_t*, bool) { return 0; }
void RenderDeleteTexture(TextureName) {}
void RenderQuad(TextureName, double, double, double, double, double, double, bool) {}
void RenderText(uint16_t, const std::string&, TextureName, float, float) {}
void RenderDigits(const std::string&, TextureName, float, float, float) {}
void RenderSprite(TextureName, double, double, double, int, int, bool) {}
