// The level text format: a human-editable description of one level, and its
// compiler to and from the game's binary level file.
//
// A level text is a list of statements, one per line; "#" starts a comment
// and a line ending in "\" goes on on the next line. Points are written
// "x,y" in world pixels (y downward from the level's top-left corner).
//
//   size 10 2                      screens across and down
//   row 1 2 3 ...                  screen pictures of one grid row, top row
//                                  first (0 = none, v = picture "v-1.tga")
//   solid 0,1000 800,1000 ...      one stroke of line list A (white: ground,
//                                  walls, ceilings)
//   platform 100,800 300,800       one stroke of line list B (blue platforms)
//   unused 5,5 10,10               one stroke of line list C (kept, not drawn)
//   player 200,930 type 0          the player's start (sprite centre), type
//   unit 1200,950 type 1           a unit's start and type, in unit order
//   pickup 700,930 kind 0          an item's top-left corner and kind 0..6
//   block 5580,1000 permanent      a block's top-left corner, in path order;
//                                  optional words: permanent, solidnow N
//
// A stroke is drawn from point to point; the pen is lifted between strokes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct LevelPoint {
  int64_t x = 0;
  int64_t y = 0;
  bool operator==(const LevelPoint&) const = default;
};

enum LineList { kSolidLines = 0, kPlatformLines = 1, kUnusedLines = 2 };
constexpr int kLineLists = 3;

// Every element remembers the text line it came from (0 when it was not
// read from text), so that problems can be reported against it.
struct LevelStroke {
  std::vector<LevelPoint> points;
  int line = 0;
};

struct LevelUnit {
  LevelPoint at;
  int64_t type = 0;
  int line = 0;
};

struct LevelPickup {
  LevelPoint at;
  int64_t kind = 0;
  int line = 0;
};

struct LevelBlock {
  LevelPoint at;
  bool permanent = false;
  int64_t solidNow = 0;
  int line = 0;
};

struct LevelSource {
  int64_t screensX = 0;
  int64_t screensY = 0;
  int sizeLine = 0;                     // 0: no size statement
  std::vector<std::vector<int64_t>> rows;  // rows[r][c], top row first
  std::vector<int> rowLines;
  std::vector<LevelStroke> lines[kLineLists];
  std::optional<LevelUnit> player;
  std::vector<LevelUnit> units;         // units 1, 2, ... in order
  std::vector<LevelPickup> pickups;     // file order; kinds may interleave
  std::vector<LevelBlock> blocks;       // path order
  int lastLine = 0;                     // number of lines of the text
};

struct LevelProblem {
  enum Severity { kError, kWarning };
  int line = 0;  // 0: the problem belongs to the whole level
  Severity severity = kError;
  std::string message;
};

bool HasErrors(const std::vector<LevelProblem>& problems);
// "name:line: error: message", the form compilers use.
std::string FormatProblem(const std::string& name, const LevelProblem& problem);

// Reads a level text. Syntax problems are added to problems (every one, each
// with its line); the statements that could be read are kept.
LevelSource ParseLevelText(std::string_view text, std::vector<LevelProblem>& problems);

// Writes the canonical text of a level, headed by the given comment lines.
std::string WriteLevelText(const LevelSource& level, const std::vector<std::string>& header);

// Name of a line list's statement ("solid", "platform", "unused").
const char* LineListKeyword(int list);
