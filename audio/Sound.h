// Sound effects and the music switch.
#pragma once

#include <cstdint>

#include "audio/AudioLibrary.h"

class cSound {
 public:
  const char* fileName;
  AudioHandle stream;
  int32_t length;

  void Load(const char* name);
  // Plays on; once the sound has reached its end, rewinds silently instead.
  void Play();
};

extern cSound sndPickup;
extern cSound sndThrow;
extern cSound sndSparkle;

// Once a second: title and level music on or off, music volumes.
void MusicTick();
