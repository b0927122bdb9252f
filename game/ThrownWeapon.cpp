#include <cmath>

#include "audio/Sound.h"
#include "game/CollisionMap.h"
#include "game/Gameplay.h"
#include "game/Units.h"
#include "gfx/Draw.h"

tWeaponState WeaponState;
float throwAngle;
float riseStep;
uint16_t hitUnit;
uint8_t hitEffectOn;
uint8_t weaponLaunched;
cAnim sparkleSprite;
TextureName nutTex;

namespace {

constexpr float kLaunchAngle = 2.0f;
constexpr float kLastAngle = 5.0f;
constexpr double kAngleGrowth = 0.02;
constexpr double kRiseSpeed = 5;
constexpr double kSideSpeed = 2;
constexpr double kHalfHitBox = 25;
constexpr int kLastUnitTested = 499;
constexpr int kDamage = 20;
constexpr int kThrowEndFrame = 42;
constexpr int kSparkleFrames = 16;

// Launched once per throw, from the player's centre.
void Launch(const tVirkoUnit& p) {
  WeaponState.inFlight = 1;
  weaponLaunched = 1;
  WeaponState.weaponX = p.x;
  WeaponState.weaponY = p.y;
  throwAngle = kLaunchAngle;
  WeaponState.flyingLeft = p.facingLeft;
}

// An arc: the angle grows from 2 to 5 radians, the rise follows its sine.
void Fly(double f) {
  if (throwAngle < kLastAngle) throwAngle += kAngleGrowth * f;
  riseStep = float(std::sin(double(throwAngle)) * f * kRiseSpeed);
  if (WeaponState.flyingLeft) WeaponState.weaponX -= kSideSpeed * f;
  else WeaponState.weaponX += kSideSpeed * f;
  WeaponState.weaponY -= riseStep;
}

// White stops the weapon, blue does not; so does leaving the level.
bool Stopped() {
  const double x = WeaponState.weaponX, y = WeaponState.weaponY;
  return CollisionMap.IsSolid(cCollisionMap::ToPixel(x), cCollisionMap::ToPixel(y)) || x < 0 ||
         x > game.screensX * kScreenWidth || y < 0 || y > game.screensY * kScreenHeight;
}

bool Overlaps(const tVirkoUnit& u) {
  const double x = WeaponState.weaponX, y = WeaponState.weaponY;
  const double uw = u.width * 0.5, uh = u.height * 0.5;
  return x + kHalfHitBox > u.x - uw && x - kHalfHitBox < u.x + uw &&
         y + kHalfHitBox > u.y - uh && y - kHalfHitBox < u.y + uh;
}

int PointsFor(const tVirkoUnit& u) {
  switch (u.unitType) {
    case 3: return 10;
    case 4: return 15;
    case 5: return 20;
    default: return 0;
  }
}

// The first living unit in index order under the weapon takes the hit.
void HitFirstUnit() {
  for (int i = 1; i <= kLastUnitTested && WeaponState.inFlight; ++i) {
    tVirkoUnit& u = units[i];
    if (u.health <= 0 || !Overlaps(u)) continue;
    ++stats.kills;
    WeaponState.inFlight = 0;
    hitUnit = uint16_t(i);
    hitEffectOn = 1;
    WeaponState.damage = kDamage;
    u.health -= kDamage;
    stats.points += PointsFor(u);
  }
}

// The throw lasts until the player's sprite shows its end frame.
void AnimateThrow(tVirkoUnit& p) {
  sndThrow.Play();
  unitSprites[0].SetAnimRange(playerAnims[p.animSet].actA);
  unitSprites[0].looping = 1;
  if (unitSprites[0].currentFrame == kThrowEndFrame) {
    p.attacking = 0;
    weaponLaunched = 0;
  }
}

void PlaySparkle() {
  sndSparkle.Play();
  sparkleSprite.rangeStart = 1;
  sparkleSprite.rangeLength = kSparkleFrames;
  sparkleSprite.frameDelay = 0.02f;
  const tVirkoUnit& target = units[hitUnit];
  sparkleSprite.Draw(target.x + cameraX, target.y + cameraY, 0);
  sparkleSprite.looping = 1;
  if (sparkleSprite.currentFrame == kSparkleFrames) {
    hitEffectOn = 0;
    sparkleSprite.currentFrame = 1;
  }
}

}  // namespace

void UpdateThrownWeapon() {
  tVirkoUnit& p = units[0];
  const double f = frameFactor;
  if (p.animSet == 0 && p.attacking && !WeaponState.inFlight && !weaponLaunched) Launch(p);
  if (WeaponState.inFlight) {
    Fly(f);
    if (Stopped()) WeaponState.inFlight = 0;
  }
  HitFirstUnit();
  if (p.attacking) AnimateThrow(p);
  if (WeaponState.inFlight)
    DrawOverlay(nutTex, WeaponState.weaponX + cameraX, WeaponState.weaponY + cameraY, 0, 50, 50, 1);
  if (hitEffectOn) PlaySparkle();
}
