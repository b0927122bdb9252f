// What the configuration files and the pictures must agree on: sprite sheet
// paths and frame ranges, the unit types' sizes, and where the main menu's
// items are drawn.
#pragma once

#include <array>
#include <string>

// Frames start .. stop - 1 of a sheet, one step every delay.
struct FrameRange {
  int start;
  int stop;
  float delay;
};

// ---- The player ----
constexpr int kFramePixels = 128;  // every sprite frame is 128 x 128
inline const char* const kPlayerSheet = "DATA\\Sprites\\virko.tga";
constexpr int kPlayerDrawn = 128;
constexpr FrameRange kPlayerStandA{1, 7, 0.12f};
constexpr FrameRange kPlayerStandB{7, 13, 0.12f};
constexpr FrameRange kPlayerRunA{13, 21, 0.045f};
constexpr FrameRange kPlayerRunB{21, 29, 0.045f};
constexpr FrameRange kPlayerJump{29, 32, 0.06f};
constexpr FrameRange kPlayerFall{32, 35, 0.06f};
// The throw: the game ends it when frame 42 shows.
constexpr FrameRange kPlayerThrow{35, 43, 0.035f};
constexpr int kPlayerFrames = 42;

// ---- Unit types (0 is the player's) ----
struct UnitKind {
  const char* name;
  const char* sheet;  // empty for the player, whose sheet is kPlayerSheet
  int drawn;          // drawn width and height
  int boxWidth;
  int boxHeight;
  int health;
  int jumpMax;
  float fallSpeed;
  int collides;
  FrameRange move;    // runA (and the other sequences a unit type reads)
  FrameRange attack;  // actA
  int frames;         // frames in the sheet
};

inline const std::array<UnitKind, 7> kUnitKinds{{
    // The player: a full jump rises 3 x 60 = 180 pixels.
    {"Virko", "", kPlayerDrawn, 40, 100, 100, 60, 2.0f, 1, {0, 0, 0}, {0, 0, 0}, 0},
    // 1: hedgehog, walks toward the player and snaps at him.
    {"hedgehog", "DATA\\Sprites\\ezis.tga", 96, 64, 48, 20, 0, 2.0f, 1, {1, 9, 0.05f}, {9, 15, 0.05f}, 14},
    // 2: snail, crawls left.
    {"snail", "DATA\\Sprites\\gliemezis.tga", 96, 64, 48, 40, 0, 2.0f, 1, {1, 9, 0.07f}, {1, 9, 0.07f}, 8},
    // 3, 4, 5: bee, bird and bat, drifting left on a wave.
    {"bee", "DATA\\Sprites\\bite.tga", 80, 52, 44, 20, 0, 1.0f, 0, {1, 9, 0.02f}, {1, 9, 0.02f}, 8},
    {"jay", "DATA\\Sprites\\putns.tga", 96, 64, 44, 20, 0, 1.0f, 0, {1, 9, 0.04f}, {1, 9, 0.04f}, 8},
    {"bat", "DATA\\Sprites\\siksparnis.tga", 96, 64, 44, 40, 0, 1.0f, 0, {1, 9, 0.035f}, {1, 9, 0.035f}, 8},
    // 6: rain cloud, floats straight left through everything.
    {"rain cloud", "DATA\\Sprites\\makonis.tga", 112, 80, 56, 40, 0, 1.0f, 0, {1, 9, 0.06f}, {1, 9, 0.06f}, 8},
}};

// Row of a unit's feet in its 128-pixel frame: the collision box's bottom
// edge, scaled from the drawn size to the frame.
constexpr float FeetRow(const UnitKind& kind) {
  return (kind.drawn * 0.5f + kind.boxHeight * 0.5f) * kFramePixels / kind.drawn;
}

// ---- The level catalogue ----
// A level as catalogue entry 0 names it: its file and its folder of screen
// pictures, both named after its source tools/levels/NAME.level.
struct LevelEntry {
  std::string name;
  std::string file;  // DATA\levels\NAME.vrk
  std::string dir;   // DATA\levels\NAME
};
LevelEntry LevelEntryNamed(const std::string& name);
// The level a player meets, and the test course that the play-through, the
// benchmarks and the simulator's tests play (in a folder of its own).
inline const char* const kDefaultLevel = "pine-isles";
inline const char* const kDemoLevel = "demo";

// ---- Main menu items: the signboards of the title frame ----
struct MenuItem {
  const char* picture;
  const char* label;
  int left, top, right, bottom;  // the board, which is also the hit rectangle
};
inline const std::array<MenuItem, 5> kMenuItems{{
    {"DATA\\MainScreen\\new_game.tga", "New Game", 58, 214, 318, 266},
    {"DATA\\MainScreen\\load.tga", "Load", 70, 278, 306, 330},
    {"DATA\\MainScreen\\Options.tga", "Options", 62, 342, 314, 394},
    {"DATA\\MainScreen\\bonus.tga", "Bonus", 74, 406, 302, 458},
    {"DATA\\MainScreen\\exit.tga", "Exit", 66, 470, 310, 522},
}};
// An item's picture is its board grown by this margin on every side (a glow
// that also hides the board beneath while the picture shakes).
constexpr int kMenuGlow = 8;

// ---- Settings the content starts with ----
constexpr int kStartMusic = 70;
constexpr int kStartSound = 80;
constexpr int kStartLight = 96;  // about the pictures' own colours

// Where a game path ("DATA\\x.tga") lies under the content folder.
std::string OnDisk(const std::string& contentDir, const std::string& gamePath);
