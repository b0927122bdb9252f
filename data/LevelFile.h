// The binary level file: little-endian 32-bit floats, each truncated toward
// zero and stored into the game state (game, units[i].unitType, pickupKinds).
#pragma once

#include <cstddef>
#include <string>

constexpr size_t kMaxLevelNumbers = 9001;

// Reads a level file into the game state. A missing file, or one that breaks
// the format or the tables, is reported with a "VIRKO" box naming the file
// and the reason and leaves the game state exactly as it was; returns whether
// the level was read.
bool LoadLevelFile(const std::string& path);
