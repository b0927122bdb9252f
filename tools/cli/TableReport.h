// The game's tables, as the readers left them, added to a report under the
// design's own names.
#pragma once

#include "tools/cli/Report.h"

// settings.cfg: musicVolume, soundVolume, lightLevel.
void AddSettings(ReportValue& report);
// levels.cfg: levelFile, levelDir (16 entries each).
void AddCatalogue(ReportValue& report);
// pAnim.cfg: playerAnims (6 animation records).
void AddPlayerAnims(ReportValue& report);
// UStats.cfg and uAnim.cfg: unitTypes (7 records, each with its anim).
void AddUnitTypes(ReportValue& report);
// mainSCR.cfg: items (10 arrays of left, top, right, bottom, drawX, drawY).
void AddMenuItems(ReportValue& report);
// The level file: grid, line lists, units, pickups and blocks, each list
// from entry 0 to its count (counts are last indices).
void AddLevel(ReportValue& report);
