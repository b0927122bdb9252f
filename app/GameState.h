// The global state of the running game. Everything here starts zeroed and
// lives for the whole run; every module reads and writes it directly on the
// window's thread.
#pragma once

#include <cstdint>
#include <string>

using TextureName = uint32_t;  // an OpenGL texture name; 0 = none

struct TPoint {
  int32_t x;
  int32_t y;
};

struct TRect {
  int32_t left;
  int32_t top;
  int32_t width;
  int32_t height;
};

// One 70 x 35 stepping-stone block of the level.
struct tBlock {
  int32_t x;
  int32_t y;
  uint8_t solidNow;
  uint8_t permanent;
  uint8_t spare;
  uint8_t armed;
  float timer;
};

constexpr int kMaxLevels = 16;
constexpr int kMaxUnits = 500;     // units 1..500, element 0 the player
constexpr int kMaxLinePoint = 511;  // line lists hold points 0..511
constexpr int kMaxBlock = 500;
constexpr int kGridColumns = 31;
constexpr int kGridRows = 11;
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

struct tGame {
  double loadProgress;
  uint16_t playSeconds;
  uint8_t clockRunning;
  uint8_t screensX;
  uint8_t screensY;
  uint8_t musicVolume;
  uint8_t soundVolume;
  uint8_t lightLevel;
  TPoint unitStart[kMaxUnits + 1];
  uint16_t unitCount;
  uint16_t blockCount;
  int32_t bullets;
  int32_t fuel;
  int32_t grenades;
  uint16_t conesTotal;
  uint16_t puffsTotal;
  uint16_t lineCountA;
  uint16_t lineCountB;
  uint16_t lineCountC;
  uint16_t screenTexCount;
  TPoint lineA[kMaxLinePoint + 1];
  uint8_t lineBreakA[kMaxLinePoint + 1];
  TPoint lineB[kMaxLinePoint + 1];
  uint8_t lineBreakB[kMaxLinePoint + 1];
  TPoint lineC[kMaxLinePoint + 1];
  uint8_t lineBreakC[kMaxLinePoint + 1];
  uint8_t screenGrid[kGridColumns][kGridRows];
  std::string levelFile[kMaxLevels];
  std::string levelDir[kMaxLevels];
  uint8_t currentLevel;
  int32_t pointsTotal;
  tBlock blocks[kMaxBlock + 1];
};

// What happened in the level being played.
struct tStat {
  uint8_t closed;
  uint8_t initialised;
  TextureName titleTex;
  int32_t kills;
  int32_t cones;
  int32_t puffs;
  int32_t bulletsUsed;
  int32_t fuelUsed;
  int32_t grenadesUsed;
  int32_t points;
  std::string notes[10];
};

// Screen-flow flags: which screen runs is decided from these every frame.
struct tScreenFlags {
  uint8_t levelLoaded[kMaxLevels];
  uint8_t levelDone[kMaxLevels];
  uint8_t levelTexturesFreed;
  uint8_t loadTitleLoaded;
  uint8_t clicked;
  uint8_t mouseDown;
};

extern tGame game;
extern tStat stats;
extern tScreenFlags screenFlags;

// Variables of the window.
extern double cameraX;
extern double cameraY;
extern double frameFactor;
extern double msPerFrame;
extern uint16_t frameCount;
extern uint16_t fpsShown;
extern int32_t mouseX;
extern int32_t mouseY;
extern uint8_t exitPromptOpen;
extern uint8_t videoStarted;
extern uint8_t videoDone;
extern TRect videoRect;
extern TextureName exitPromptTex;
extern TextureName fontTex;
extern TextureName cloudTex;
extern std::string levelMusicFile;
extern uint32_t musicStreams[3];  // 0 title music, 2 level music

// Puts every global of the game back to its start-of-run value (zero).
// The program never calls it; tests and tools do, between runs.
void ResetGameState();
