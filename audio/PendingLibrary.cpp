// Audio library not built yet.
#include "audio/AudioLibrary.h"

void AudioInit(int) {}
AudioHandle AudioStreamCreateFile(const char*) { return 0; }
void AudioFree() {}
void AudioUpdate() {}
void AudioChannelSetAttributes(AudioHandle, int, int, int) {}
uint64_t AudioStreamGetLength(AudioHandle) { return 0; }
uint64_t AudioChannelGetPosition(AudioHandle) { return 0; }
void AudioChannelPlay(AudioHandle, bool) {}
void AudioChannelStop(AudioHandle) {}
void AudioChannelSetPosition(AudioHandle, uint64_t) {}
void AudioChannelSetGainDb100(AudioHandle, int) {}
