#include "game/Units.h"

tVirkoUnit units[kMaxUnits + 1];
tUnitType unitTypes[kUnitTypes];
cAnim unitSprites[kMaxUnits + 1];

void SetUpUnit(int i) {
  if (i < 0 || i > kMaxUnits) return;
  tVirkoUnit& u = units[i];
  if (u.unitType >= kUnitTypes) return;  // refused by the level loader
  const tUnitType& type = unitTypes[u.unitType];
  u.x = float(game.unitStart[i].x);
  u.y = double(game.unitStart[i].y);
  u.typeParam = type.typeParam;
  u.health = type.health;
  u.width = type.width;
  u.height = type.height;
  u.jumpMax = type.jumpMax;
  u.fallSpeed = type.fallSpeed;
  u.collides = type.collides;
}
