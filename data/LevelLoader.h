// Level loading: the loading title, then the whole level in one frame.
#pragma once

#include <cstdint>
#include <string>

#include "app/GameState.h"

extern TextureName loadTitleTex;
extern TextureName screenTex[100];

// Called every frame while the level is not loaded: shows the loading title
// and, in the call in which its progress passes 1, loads level n.
void LoadLevel(uint8_t n);
// Files in a game folder whose names match the mask (* and ?, any case);
// 0 for a missing or unreadable folder.
int32_t CountFiles(const std::string& folder, const std::string& mask);

// The steps of the load that need no pictures or sounds: reads level n's
// file and checks it against the tables, then SetUpLevel. Returns false when
// the level was refused (reported with a "VIRKO" box and a terminate
// request). LoadLevel runs the same steps with the pictures in between.
bool LoadLevelState(uint8_t n);
// Whether the level now in the game state fits the game's tables; if not,
// reason says what is wrong.
bool LevelFitsTables(std::string& reason);
// Units and their sprites, the camera, and the collision map, from the level
// now in the game state (which must fit the tables).
void SetUpLevel();
// Draws the collision map: line list A in white, B in blue, the outlines of
// the permanent blocks in white; then no block counts as solid yet.
void BuildCollisionMap();
