// Level loading: the loading title, then the whole level in one frame.
#pragma once

#include <cstdint>
#include <string>

#include "app/GameState.h"

extern TextureName loadTitleTex;
extern TextureName screenTex[100];

void LoadLevel(uint8_t n);
int32_t CountFiles(const std::string& folder, const std::string& mask);

// Steps of the load that need no textures or sounds: the level file, the
// units, the camera and the collision map. Returns false when the level was
// refused. Used by LoadLevel and by the headless simulator.
bool LoadLevelState(uint8_t n);
