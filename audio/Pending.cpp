// Audio not built yet.
#include "audio/AudioLibrary.h"
#include "audio/Sound.h"

void AudioInit(int) {}
AudioHandle AudioStreamCreateFile(const char*) { return 0; }
void AudioFree() {}
void AudioUpdate() {}
void MusicTick() {}
