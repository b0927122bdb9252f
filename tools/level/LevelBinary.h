// The level text and the game's binary level file: compiling a level into
// the file's numbers, and reading a file back with the game's own reader.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/level/LevelText.h"

// The numbers of the level file, in file order. The level must have passed
// CheckLevel without errors.
//
// A stroke of n points is stored as n points of the list with the break flag
// set on its last point; after the last stroke the list carries one more
// point, (0, 0), because the game never draws a list's last stored point.
std::vector<float> CompileLevel(const LevelSource& level);

// How many numbers the compiled level holds, for a level whose size is
// within the grid (its rows need not match the size).
size_t CompiledNumberCount(const LevelSource& level);

// Little-endian 32-bit reals, the file's layout.
std::vector<uint8_t> LevelFileBytes(const std::vector<float>& numbers);

// A level file is a sequence of 32-bit reals, which always holds zero bytes
// for the small whole numbers of a level; a level text never does.
bool IsBinaryLevel(const std::vector<uint8_t>& bytes);

bool WriteBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);
std::optional<std::vector<uint8_t>> ReadBinaryFile(const std::string& path);

// Reads a level file with the game's reader (LoadLevelFile) into a clean game
// state and describes what the game read. On refusal, returns nullopt with
// the reader's messages; on a value the text cannot hold, with that reason.
std::optional<LevelSource> DecompileLevelFile(const std::string& path,
                                              std::vector<std::string>& messages);

// The same for the bytes of a level file (passed through a temporary file).
std::optional<LevelSource> DecompileLevelBytes(const std::vector<uint8_t>& bytes,
                                               std::vector<std::string>& messages);
