// Animation descriptions of the player and the unit types, and the start-up
// reader of the level catalogue and the two animation files.
#pragma once

#include <cstdint>
#include <string>

// One animation sequence: frames start .. stop - 1, one step per delay.
struct tAnimSeq {
  int32_t start;
  int32_t stop;
  float delay;
};

struct tAnimData {
  std::string fileName;
  int32_t width;
  int32_t height;
  tAnimSeq standA;
  tAnimSeq standB;
  tAnimSeq runA;
  tAnimSeq runB;
  tAnimSeq jump;
  tAnimSeq fall;
  tAnimSeq punch;
  tAnimSeq actA;
  tAnimSeq actB;
  tAnimSeq actC;
  tAnimSeq actD;
  tAnimSeq actE;
};

constexpr int kPlayerAnimSets = 6;
extern tAnimData playerAnims[kPlayerAnimSets];

// The three files share one read buffer of this size; a longer file is refused.
constexpr size_t kCatalogueBufferSize = 8001;

// Reads levels.cfg, pAnim.cfg and uAnim.cfg in this order into the level
// catalogue (game.levelFile, game.levelDir), playerAnims and unitTypes[].anim.
// Each stage runs only if the previous one read its file.
void LoadLevelAndAnimTables();

// The stages; each returns whether its file was read and parsed to its end.
bool LoadLevelCatalogue();
bool LoadPlayerAnims();
bool LoadUnitAnims();
