// Sprite animation not built yet.
#include "game/Anim.h"

void cAnim::LoadSheet(const std::string&) {}
void cAnim::Draw(double, double, double) {}
void cAnim::SetAnimRange(const tAnimSeq& seq) {
  rangeStart = uint16_t(seq.start);
  rangeLength = uint16_t(seq.stop - seq.start);
  frameDelay = seq.delay;
}
