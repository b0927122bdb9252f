#include <algorithm>

#include "data/LevelLoader.h"
#include "gfx/ScreenPictures.h"
#include "game/CollisionMap.h"
#include "game/Gameplay.h"
#include "game/Units.h"

void RestartLevel() {
  const TPoint start = game.unitStart[0];
  cameraX = 400.0 - start.x;
  cameraY = 300.0 - start.y;
  units[0].x = float(start.x);
  units[0].y = double(start.y);
  stats.points = 0;
  WeaponState.inFlight = 0;
  const int last = std::min<int>(game.unitCount, kMaxUnits);
  for (int i = 1; i <= last; ++i) {
    units[i].x = float(game.unitStart[i].x);
    units[i].y = double(game.unitStart[i].y);
    if (units[i].unitType < kUnitTypes) units[i].health = unitTypes[units[i].unitType].health;
  }
}

void ResetGameplayState() {
  for (tVirkoUnit& unit : units) unit = tVirkoUnit{};
  for (tUnitType& type : unitTypes) type = tUnitType{};
  for (cAnim& sprite : unitSprites) sprite = cAnim{};
  CollisionMap.Free();
  CollisionMap.SetPen(PixelClass::solid);
  CollisionMap.MoveTo(0, 0);
  WeaponState = tWeaponState{};
  throwAngle = riseStep = 0;
  hitUnit = 0;
  hitEffectOn = weaponLaunched = 0;
  sparkleSprite = cAnim{};
  nutTex = 0;
  for (PickupKind& kind : pickupKinds) kind = PickupKind{};
  standingBlock = -1;
  stoneTex = 0;
  loadTitleTex = 0;
  StopScreenPictures();
  for (TextureName& texture : screenTex) texture = 0;
}
