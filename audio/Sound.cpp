#include "audio/Sound.h"

#include "app/GameState.h"
#include "game/Units.h"
#include "screens/Screens.h"

cSound sndPickup;
cSound sndThrow;
cSound sndSparkle;

void cSound::Load(const char* name) {
  fileName = name;
  stream = AudioStreamCreateFile(name);
  // The effects volume is taken once, here.
  AudioChannelSetAttributes(stream, 44100, game.soundVolume, 0);
  length = int32_t(uint32_t(AudioStreamGetLength(stream)));
}

void cSound::Play() {
  if (int64_t(AudioChannelGetPosition(stream)) < int64_t(length)) {
    AudioChannelPlay(stream, false);
  } else {
    // Played to its end: rewind silently, so that the next call starts over.
    AudioChannelStop(stream);
    AudioChannelSetPosition(stream, 0);
  }
}

namespace {

// The level music plays while level n is loaded and the player has not yet
// come within 500 pixels of its right end.
void SwitchLevelMusic(int n) {
  if (screenFlags.levelLoaded[n] != 1) return;
  if (units[0].x > game.screensX * 800 - 500)
    AudioChannelStop(musicStreams[2]);
  else
    AudioChannelPlay(musicStreams[2], false);
}

}  // namespace

void MusicTick() {
  // The bonus screen keeps the title music stopped while it is up.
  if (mainScreen.titleMusicOn && !mainScreen.bonusShown)
    AudioChannelPlay(musicStreams[0], false);
  else
    AudioChannelStop(musicStreams[0]);
  SwitchLevelMusic(0);
  SwitchLevelMusic(1);
  AudioChannelSetAttributes(musicStreams[0], 40000, game.musicVolume, 0);
  AudioChannelSetAttributes(musicStreams[2], 40000, game.musicVolume, 0);
}
