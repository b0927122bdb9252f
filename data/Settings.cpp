#include "data/Settings.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/GameState.h"
#include "data/DataFile.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"

cGameSet gameSettings;

namespace {

const char kSettingsFile[] = "settings.cfg";
// What the settings a short file lacks take: music, sound, light.
constexpr uint8_t kMissingSettings[3] = {80, 80, 50};

}  // namespace

void cGameSet::KeepInPlayerFolder(const std::string& folder) {
  inPlayerFolder_ = true;
  playerFolder_ = folder;
}

void cGameSet::LoadSettings() {
  std::string file = kSettingsFile;
  if (inPlayerFolder_ && !playerFolder_.empty()) {
    const std::string own = playerFolder_ + "/" + kSettingsFile;
    if (FileExists(own)) file = own;
  }
  const std::optional<std::vector<uint8_t>> bytes = ReadPlainFile(file, 3);
  if (!bytes) {
    ReportLoadFailure(CannotLoadMessage(kSettingsFile));
    return;
  }
  uint8_t settings[3];
  for (size_t i = 0; i < 3; ++i) settings[i] = i < bytes->size() ? (*bytes)[i] : kMissingSettings[i];
  game.musicVolume = settings[0];
  game.soundVolume = settings[1];
  game.lightLevel = settings[2];
}

bool cGameSet::SaveSettings(uint8_t music, uint8_t sound, uint8_t light) {
  const uint8_t bytes[3] = {music, sound, light};
  if (inPlayerFolder_ && playerFolder_.empty()) {
    std::fprintf(stderr, "%s not saved: no folder for the player's settings (neither XDG_CONFIG_HOME nor HOME is set)\n",
                 kSettingsFile);
    return false;
  }
  std::error_code folderError;
  if (inPlayerFolder_) std::filesystem::create_directories(playerFolder_, folderError);
  if (folderError) {
    std::fprintf(stderr, "%s not saved: cannot make %s: %s\n", kSettingsFile, playerFolder_.c_str(),
                 folderError.message().c_str());
    return false;
  }
  const std::string path =
      inPlayerFolder_ ? playerFolder_ + "/" + kSettingsFile : WritablePath(kSettingsFile);
  if (!ReplaceFile(path, bytes, sizeof bytes)) {
    std::fprintf(stderr, "%s not saved: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  return true;
}
