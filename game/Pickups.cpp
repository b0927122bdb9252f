#include <algorithm>

#include "audio/Sound.h"
#include "game/Gameplay.h"
#include "game/Units.h"
#include "gfx/Draw.h"

PickupKind pickupKinds[kPickupKinds];

namespace {

constexpr double kFlyAwaySpeed = 15;

void GiveReward(int kind) {
  switch (kind) {
    case 0: ++stats.cones; break;
    case 1: ++stats.puffs; break;
    case 2: game.bullets += 10; break;
    case 3: game.fuel += 2; break;
    case 6: ++game.grenades; break;
    default: break;  // kinds 4 and 5 give nothing
  }
}

bool Touches(const PickupKind& kind, const tPickupItem& item, const tVirkoUnit& p) {
  const double pw = p.width * 0.5, ph = p.height * 0.5;
  const double x = item.x, y = item.y;
  return p.x + pw > x && x + kind.boxWidth > p.x - pw && p.y + ph > y &&
         y + kind.size > p.y - ph;
}

void UpdateItem(int k, tPickupItem& item, double f) {
  const PickupKind& kind = pickupKinds[k];
  DrawQuad(kind.texture, item.x + cameraX, item.y + cameraY, -0.5, kind.size, kind.size, 1);
  if (Touches(kind, item, units[0]) && !item.taken) {
    GiveReward(k);
    item.taken = 1;
  }
  if (!item.taken) return;
  // Once collected, the item rises out of the level with its sound playing.
  sndPickup.Play();
  if (item.y > 0) item.y -= kFlyAwaySpeed * f;
  else item.gone = 1;
}

}  // namespace

void UpdatePickups() {
  const double f = frameFactor;
  for (int k = 0; k < kPickupKinds; ++k) {
    // Only the low byte of the count is used; the table holds 100 items.
    const int lastItem = std::min(pickupKinds[k].lastItem & 0xFF, 99);
    for (int j = 0; j <= lastItem; ++j) {
      tPickupItem& item = pickupKinds[k].items[j];
      if (!item.gone) UpdateItem(k, item, f);
    }
  }
}
