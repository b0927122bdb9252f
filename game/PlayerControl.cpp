#include "app/Input.h"
#include "game/Gameplay.h"
#include "game/Units.h"

namespace {

// Shows a sequence of the player's animation set on his sprite.
void ShowPlayerSequence(tAnimSeq tAnimData::*sequence, uint8_t looping) {
  cAnim& sprite = unitSprites[0];
  sprite.SetAnimRange(playerAnims[units[0].animSet].*sequence);
  sprite.looping = looping;
}

// One walking step of f pixels (direction -1 or +1); the camera moves the
// other way so the player stays at the screen centre.
void Walk(int direction, tAnimSeq tAnimData::*sequence) {
  tVirkoUnit& p = units[0];
  cameraX -= direction * frameFactor;
  p.x += direction * frameFactor;
  p.facingLeft = direction < 0;
  p.moving = 1;
  if (!p.jumping && !p.falling) {
    ShowPlayerSequence(sequence, 1);
    unitSprites[0].mirrored = direction < 0;
  }
}

}  // namespace

void UpdatePlayerControl() {
  RefreshInput();
  tVirkoUnit& p = units[0];
  p.animSet = 0;

  const bool up = InputTest(isUp), left = InputTest(isLeft), right = InputTest(isRight);
  const bool throwHeld = InputTest(Button(3)), jumpHeld = InputTest(Button(7));
  const bool free = !p.attacking && !throwHeld;  // no throw under way or asked for

  if (right && !up && free) Walk(+1, &tAnimData::runA);
  if (left && !up && free) Walk(-1, &tAnimData::runA);
  if (left && up && free) Walk(-1, &tAnimData::runB);
  if (right && up && free) Walk(+1, &tAnimData::runB);
  unitSprites[0].mirrored = p.facingLeft == 1;

  if (jumpHeld && !p.falling) {
    p.jumping = 1;
    p.jumpHold += frameFactor;
  }
  if (p.jumping && free) ShowPlayerSequence(&tAnimData::jump, 0);
  if (p.falling && free) ShowPlayerSequence(&tAnimData::fall, 1);

  p.idle = !(right || left || p.falling || p.jumping || throwHeld);
  if (p.idle && !p.attacking) {
    p.moving = 0;
    ShowPlayerSequence(&tAnimData::standA, 1);
  }
  if (p.idle && up && !p.attacking) ShowPlayerSequence(&tAnimData::standB, 1);

  if (throwHeld && !p.attacking && !WeaponState.inFlight) {
    p.attacking = 1;
    InputTake(Button(3));
  }
}
