#include <algorithm>

#include "game/CollisionMap.h"
#include "game/Gameplay.h"
#include "game/Units.h"

int32_t standingBlock = -1;
TextureName stoneTex;

namespace {

constexpr int kBlockWidth = 70;
constexpr int kBlockHeight = 35;
constexpr double kUpdateBand = 450;  // blocks farther from the player are left alone
constexpr double kStandingTolerance = 15;

bool IsBlockIndex(int i) { return i >= 0 && i <= kMaxBlock; }

bool NearPlayer(const tBlock& b, const tVirkoUnit& p) {
  return b.x - kUpdateBand < p.x && p.x < b.x + kUpdateBand;
}

// The player's centre over the block and his feet within 15 pixels of its top.
bool StandsOn(const tBlock& b, const tVirkoUnit& p) {
  const double feet = p.y + p.height * 0.5;
  return double(b.x) < p.x && p.x < double(b.x) + kBlockWidth &&
         b.y - kStandingTolerance < feet && feet < b.y + kStandingTolerance;
}

void UpdateBlock(int i, int32_t lifetime, double f) {
  tBlock& b = game.blocks[i];
  if (!b.permanent && b.armed && lifetime > b.timer) {
    b.timer += f;
  } else {
    b.timer = 0;
    b.armed = 0;
  }
  // Redrawn on every update, whether or not the state changed.
  if (b.permanent || b.armed) SetBlockSolid(i);
  else SetBlockEmpty(i);
  if (StandsOn(b, units[0])) standingBlock = i;
}

// Standing on a solid block arms the next one in the table.
void ArmNextBlock() {
  const int j = standingBlock;
  if (j == -1 || j + 1 > kMaxBlock) return;
  tBlock& next = game.blocks[j + 1];
  const tBlock& under = game.blocks[j];
  if (!next.permanent && (under.armed || under.permanent)) next.armed = 1;
}

}  // namespace

void UpdateBlocks(int32_t lifetime) {
  const double f = frameFactor;
  standingBlock = -1;
  const int last = std::min<int>(game.blockCount, kMaxBlock);
  for (int i = 0; i <= last; ++i) {
    if (NearPlayer(game.blocks[i], units[0])) UpdateBlock(i, lifetime, f);
  }
  ArmNextBlock();
}

void SetBlockSolid(int i) {
  if (!IsBlockIndex(i)) return;
  tBlock& b = game.blocks[i];
  b.solidNow = 1;
  CollisionMap.DrawOutline(b.x, b.y, kBlockWidth, kBlockHeight, PixelClass::solid);
}

void SetBlockEmpty(int i) {
  if (!IsBlockIndex(i)) return;
  tBlock& b = game.blocks[i];
  b.solidNow = 0;
  CollisionMap.DrawOutline(b.x, b.y, kBlockWidth, kBlockHeight, PixelClass::empty);
}
