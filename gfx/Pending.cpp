// Textures, display and widgets not built yet.
#include "gfx/Hud.h"
#include "gfx/Texture.h"
#include "gfx/Widgets.h"

cButton backButton;
cButton exitButton;

TextureName LoadTGA(const std::string&, TextureName& texture) { return texture; }
TextureName LoadJPG(const std::string&, TextureName& texture) { return texture; }
void DeleteTexture(TextureName& texture) { texture = 0; }
void DrawHud() {}
bool cButton::Run(int32_t, int32_t) { return false; }
void LoadHudTextures() {}
