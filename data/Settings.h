// settings.cfg: three raw bytes, music volume, sound volume and light level.
#pragma once

#include <cstdint>

class cGameSet {
 public:
  // Into game.musicVolume, soundVolume and lightLevel. A missing file is
  // reported and ends the program; settings a short file lacks take 80, 80, 50.
  void LoadSettings();
  // Replaces settings.cfg atomically: a temporary file beside it is written,
  // synced and renamed over it, so a failure leaves the old file whole.
  // false (reported on stderr) on failure.
  bool SaveSettings(uint8_t music, uint8_t sound, uint8_t light);
};

extern cGameSet gameSettings;

// For tests: the step at which the next saves fail as a full disk or a crash
// would make them.
enum class tSaveFault { none, whileWriting, beforeRename };
void InjectSaveFault(tSaveFault fault);
