#include <cmath>

#include "app/Random.h"
#include "game/CollisionMap.h"
#include "game/Gameplay.h"
#include "game/Units.h"

namespace {

constexpr double kActivationDistance = 500;
constexpr double kContactMargin = 5;

bool IsUnitIndex(int i) { return i >= 1 && i <= kMaxUnits; }

// Shows a sequence of the unit's type, looping.
void ShowUnitSequence(int i, tAnimSeq tAnimData::*sequence) {
  cAnim& sprite = unitSprites[i];
  sprite.SetAnimRange(unitTypes[units[i].unitType].anim.*sequence);
  sprite.looping = 1;
}

// Type 1: walks toward the player at f / 2 while their boxes do not overlap,
// and attacks while the player is within 5 pixels and at its height.
void FollowPlayer(int i, double f) {
  tVirkoUnit& u = units[i];
  const tVirkoUnit& p = units[0];
  const double uw = u.width * 0.5, uh = u.height * 0.5, pw = p.width * 0.5;
  if (double(p.x) - pw > double(u.x) + uw) {
    u.x += f / 2;
    u.facingLeft = 1;
    ShowUnitSequence(i, &tAnimData::runA);
    unitSprites[i].mirrored = 1;
  }
  if (double(p.x) + pw < double(u.x) - uw) {
    u.x -= f / 2;
    u.facingLeft = 0;
    ShowUnitSequence(i, &tAnimData::runA);
    unitSprites[i].mirrored = 0;
  }
  const bool touching = double(p.x) - pw < double(u.x) + uw + kContactMargin &&
                        double(p.x) + pw > double(u.x) - uw - kContactMargin &&
                        u.y + uh > p.y && u.y - uh < p.y;
  u.attacking = touching;
  if (touching) ShowUnitSequence(i, &tAnimData::actA);
}

// Types 3 to 5: drift left on a sine wave whose amplitude is drawn anew
// every 3 time units. The phase step is per frame, not scaled by f.
void Fly(int i, double f) {
  tVirkoUnit& u = units[i];
  ShowUnitSequence(i, &tAnimData::runA);
  if (u.phase < 6.29) u.phase += 0.01;
  else u.phase = 0;
  if (u.phaseTimer >= 3) {
    u.phaseTimer = 0;
    u.amplitude = float(RandomInt(100));
  } else {
    u.phaseTimer += 0.05 * f;
  }
  u.x -= f / 5;
  u.y += std::sin(double(u.phase)) * 0.01 * u.amplitude;
}

void MoveLeft(int i, double speed) {
  units[i].x -= speed;
  ShowUnitSequence(i, &tAnimData::runA);
}

}  // namespace

void UpdateUnitBehaviour(int i) {
  if (!IsUnitIndex(i)) return;
  tVirkoUnit& u = units[i];
  const double f = frameFactor;
  if (!u.active && double(u.x) - double(units[0].x) < kActivationDistance) u.active = 1;
  if (!u.active) return;
  switch (u.unitType) {
    case 1: FollowPlayer(i, f); break;
    case 2: MoveLeft(i, f / 3); break;
    case 3:
    case 4:
    case 5: Fly(i, f); break;
    case 6: MoveLeft(i, f / 5); break;
    default: break;
  }
}

// Falls at fallSpeed and is pushed out of the ground and out of white walls;
// a unit that does not collide ignores the map.
void UpdateUnitPhysics(int i) {
  if (!IsUnitIndex(i)) return;
  tVirkoUnit& u = units[i];
  const double f = frameFactor;
  const bool collides = u.collides == 1;
  const int column = cCollisionMap::ToPixel(u.x);
  const int foot = cCollisionMap::ToPixel(u.y + u.height * 0.5);
  if (CollisionMap.Supports(column, foot + 5) || u.jumping || !collides) {
    u.falling = 0;
  } else {
    u.y += f * u.fallSpeed;
    u.falling = 1;
  }
  if (!collides) return;
  const int footNow = cCollisionMap::ToPixel(u.y + u.height * 0.5);
  if (CollisionMap.Supports(column, footNow - 5)) u.y -= 5 * f;
  const int row = cCollisionMap::ToPixel(u.y);
  if (CollisionMap.IsSolid(cCollisionMap::ToPixel(u.x - u.width * 0.5), row)) u.x += f;
  if (CollisionMap.IsSolid(cCollisionMap::ToPixel(u.x + u.width * 0.5), row)) u.x -= f;
}
