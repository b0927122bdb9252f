// settings.cfg: three raw bytes, music volume, sound volume and light level.
#pragma once

#include <cstdint>
#include <string>

class cGameSet {
 public:
  // Into game.musicVolume, soundVolume and lightLevel. A missing file is
  // reported and ends the program; settings a short file lacks take 80, 80, 50.
  void LoadSettings();
  // Replaces settings.cfg atomically, so a failure leaves the old file whole.
  // false (reported on stderr) on failure.
  bool SaveSettings(uint8_t music, uint8_t sound, uint8_t light);

  // Where every settings object reads and saves. The settings are the
  // player's, not the game folder's (an installed game): read from folder
  // first, else from the game folder, and saved only in folder, which is made
  // when missing. An empty folder means the player has none: nothing is saved.
  static void KeepInPlayerFolder(const std::string& folder);
  // settings.cfg of the game folder, read and saved there (the default).
  static void KeepInGameFolder();
};

extern cGameSet gameSettings;
