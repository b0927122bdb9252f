// Readers not built yet.
#include "data/AnimTables.h"
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
