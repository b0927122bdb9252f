// The unit table (element 0 is the player), the unit types and the sprites.
#pragma once

#include <cstdint>

#include "app/GameState.h"
#include "data/AnimTables.h"
#include "game/Anim.h"

struct tVirkoUnit {
  float x;
  double y;
  uint8_t active;
  int32_t health;
  uint8_t unitType;
  uint8_t animSet;
  float typeParam;
  uint8_t width;
  uint8_t height;
  tAnimData anim;
  uint8_t idle;
  uint8_t moving;
  uint8_t facingLeft;
  uint8_t jumping;
  uint8_t falling;
  uint8_t attacking;
  float fallSpeed;
  uint8_t collides;
  float jumpTime;
  float jumpHold;
  float jumpLimit;
  uint16_t jumpMax;
  float phase;
  float phaseTimer;
  float amplitude;
};

struct tUnitType {
  uint8_t width;
  uint8_t height;
  int32_t health;
  uint8_t jumpMax;
  float typeParam;
  float fallSpeed;
  uint8_t collides;
  tAnimData anim;
};

constexpr int kUnitTypes = 7;

extern tVirkoUnit units[kMaxUnits + 1];
extern tUnitType unitTypes[kUnitTypes];
extern cAnim unitSprites[kMaxUnits + 1];

// Sets unit i up from its start position and its type (level load).
void SetUpUnit(int i);
