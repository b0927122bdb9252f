// Level loading not built yet.
#include "data/LevelLoader.h"

TextureName loadTitleTex;
TextureName screenTex[100];

void LoadLevel(uint8_t) {}
