// The gameplay steps of one play frame, in the order the frame handler runs
// them: control, pickups, blocks, physics, weapon, then each unit.
#pragma once

#include <cstdint>

#include "app/GameState.h"
#include "game/Anim.h"

// Player control and physics.
void UpdatePlayerControl();
void UpdatePlayerPhysics();

// Enemy units, i from 1 to 500.
void UpdateUnitBehaviour(int i);
void UpdateUnitPhysics(int i);

// Thrown weapon.
struct tWeaponState {
  double weaponX;
  double weaponY;
  uint8_t inFlight;
  uint8_t flyingLeft;
  uint8_t damage;
};
extern tWeaponState WeaponState;
extern float throwAngle;
extern float riseStep;
extern uint16_t hitUnit;
extern uint8_t hitEffectOn;
extern uint8_t weaponLaunched;  // the weapon has left the hand in this throw
extern cAnim sparkleSprite;
extern TextureName nutTex;
void UpdateThrownWeapon();

// Pickups.
struct tPickupItem {
  float x;
  float y;
  uint8_t gone;
  uint8_t taken;
};
struct PickupKind {
  uint16_t lastItem;
  uint8_t boxWidth;
  uint8_t size;
  TextureName texture;
  tPickupItem items[100];
};
constexpr int kPickupKinds = 7;
extern PickupKind pickupKinds[kPickupKinds];
void UpdatePickups();

// Blocks.
extern int32_t standingBlock;
extern TextureName stoneTex;
void UpdateBlocks(int32_t lifetime);
void SetBlockSolid(int i);
void SetBlockEmpty(int i);

// Fall-out restart: player and units back to their start.
void RestartLevel();

// Sets every gameplay global back to its start-of-run value.
void ResetGameplayState();
