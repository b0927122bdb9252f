#pragma once
#include <string>
// Reads a binary level file into the game state. A missing or invalid file
// is reported and leaves the game state exactly as it was; returns whether
// the level was read.
bool LoadLevelFile(const std::string& path);
