// Gameplay not built yet.
#include "game/CollisionMap.h"
#include "game/Gameplay.h"
#include "game/Units.h"

tVirkoUnit units[kMaxUnits + 1];
tUnitType unitTypes[kUnitTypes];
cAnim unitSprites[kMaxUnits + 1];
cCollisionMap CollisionMap;
tWeaponState WeaponState;
cAnim sparkleSprite;
TextureName nutTex;
PickupKind pickupKinds[kPickupKinds];
int32_t standingBlock = -1;
TextureName stoneTex;

void cCollisionMap::Resize(int, int) {}
void cCollisionMap::Free() {}
void UpdatePlayerControl() {}
void UpdatePlayerPhysics() {}
void UpdateUnitBehaviour(int) {}
void UpdateUnitPhysics(int) {}
void UpdateThrownWeapon() {}
void UpdatePickups() {}
void UpdateBlocks(int32_t) {}
void RestartLevel() {}
void ResetGameplayState() {}
