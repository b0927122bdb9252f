// Sound effects and music switch not built yet.
#include "audio/Sound.h"

void MusicTick() {}
