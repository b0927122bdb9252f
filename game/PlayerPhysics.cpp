#include "app/Input.h"
#include "game/CollisionMap.h"
#include "game/Gameplay.h"
#include "game/Units.h"

namespace {

constexpr double kRiseSpeed = 3;
constexpr double kHoldThreshold = 25;

// The player moves, the camera the other way: he stays at the screen centre.
void MovePlayerDown(double v) {
  cameraY -= v;
  units[0].y += v;
}
void MovePlayerRight(double v) {
  cameraX -= v;
  units[0].x += v;
}

int Pixel(double v) { return cCollisionMap::ToPixel(v); }
int FootRow(const tVirkoUnit& p) { return Pixel(p.y + p.height * 0.5); }

void RiseOrEndJump(tVirkoUnit& p, double f) {
  if (p.jumpHold < kHoldThreshold) p.jumpLimit = p.jumpMax * 0.5f;
  if (p.jumpHold > kHoldThreshold) p.jumpLimit = p.jumpMax;  // exactly 25 keeps the last limit
  const int headRow = Pixel(p.y - p.height * 0.5);
  if (p.jumpTime >= p.jumpLimit || CollisionMap.IsSolid(Pixel(p.x), headRow)) {
    p.jumping = 0;
    p.jumpTime = 0;
    p.jumpHold = 0;
    InputTake(Button(7));
    p.falling = 1;
  } else {
    p.jumpTime += f;
    MovePlayerDown(-kRiseSpeed * f);
  }
}

// Falls 3 x f in the open and slower over the last five pixels above a
// surface: the first row below the feet without support sets the speed.
void FallBySupportLadder(const tVirkoUnit& p, double f) {
  const int column = Pixel(p.x), foot = FootRow(p);
  for (int d = 5; d >= 1; --d) {
    if (!CollisionMap.Supports(column, foot + d)) {
      MovePlayerDown((0.5 * d + 0.5) * f);
      return;
    }
  }
}

}  // namespace

void UpdatePlayerPhysics() {
  tVirkoUnit& p = units[0];
  const double f = frameFactor;
  if (p.jumping) RiseOrEndJump(p, f);
  if (!p.jumping) FallBySupportLadder(p, f);

  p.falling = !(CollisionMap.Supports(Pixel(p.x), FootRow(p) + 10) || p.jumping);
  if (CollisionMap.Supports(Pixel(p.x), FootRow(p) - 5)) MovePlayerDown(-f);

  const double halfWidth = p.width * 0.5;
  if (CollisionMap.Supports(Pixel(p.x - halfWidth), Pixel(p.y))) MovePlayerRight(f);
  if (CollisionMap.Supports(Pixel(p.x + halfWidth), Pixel(p.y))) MovePlayerRight(-f);
}
