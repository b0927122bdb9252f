// Audio library not built yet.
#include "audio/AudioLibrary.h"

void AudioInit(int) {}
AudioHandle AudioStreamCreateFile(const char*) { return 0; }
void AudioFree() {}
void AudioUpdate() {}
