// settings.cfg: three raw bytes, music volume, sound volume and light level.
#pragma once

#include <cstdint>

class cGameSet {
 public:
  void LoadSettings();
  // Replaces settings.cfg atomically; false (reported on stderr) on failure.
  bool SaveSettings(uint8_t music, uint8_t sound, uint8_t light);
};

extern cGameSet gameSettings;
