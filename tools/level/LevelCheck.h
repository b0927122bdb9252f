// Checks a level against every limit of the game's level file and level
// loader, and warns of what would make it unplayable.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "tools/level/LevelText.h"

// Every problem, each with the line of the statement it concerns. A level
// without errors compiles into a file the game accepts.
std::vector<LevelProblem> CheckLevel(const LevelSource& level);

// Reads a level text, checks it and passes its compiled file through the
// game's reader. Every problem is added to problems; returns the level only
// when there is no error.
std::optional<LevelSource> ReadCheckedLevel(std::string_view text, std::vector<LevelProblem>& problems);
