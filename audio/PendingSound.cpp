// Sound effects and music switch not built yet.
#include "audio/Sound.h"

void MusicTick() {}

cSound sndPickup;
cSound sndThrow;
cSound sndSparkle;

void cSound::Load(const char* name) { fileName = name; }
void cSound::Play() {}
