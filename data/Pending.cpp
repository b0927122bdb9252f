// Readers not built yet.
#include "data/AnimTables.h"
#include "data/LevelFile.h"
#include "data/MainScreenConfig.h"
#include "data/Settings.h"
#include "data/UnitStats.h"

tAnimData playerAnims[kPlayerAnimSets];
cGameSet gameSettings;

void cGameSet::LoadSettings() {}
bool cGameSet::SaveSettings(uint8_t, uint8_t, uint8_t) { return true; }
void LoadLevelAndAnimTables() {}
void LoadUnitStats() {}
void LoadMainScreenConfig() {}
// Until the level file reader exists the level is whatever the game state
// already holds.
bool LoadLevelFile(const std::string&) { return true; }
