// Sprite animation not built yet.
#include "game/Anim.h"

void cAnim::Draw(double, double, double) {}
