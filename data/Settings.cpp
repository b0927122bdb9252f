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

// Shared by every settings object: start-up's and the splash's read the same
// file.
bool inPlayerFolder = false;
std::string playerFolder;

}  // namespace

void cGameSet::KeepInPlayerFolder(const std::string& folder) {
  inPlayerFolder = true;
  playerFolder = folder;
}

void cGameSet::KeepInGameFolder() {
  inPlayerFolder = false;
  playerFolder.clear();
}

void cGameSet::LoadSettings() {
  std::string file = kSettingsFile;
  if (inPlayerFolder && !playerFolder.empty()) {
    const std::string own = playerFolder + "/" + kSettingsFile;
    if (FileExists(own)) file = own;
  }
  const std::optional<std::vector<uint8_t>> bytes = ReadPlainFile(file, 3);
  if (!bytes) {
    ReportFileLoadFailure(file, CannotLoadMessage(kSettingsFile));
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
  if (inPlayerFolder && playerFolder.empty()) {
    std::fprintf(stderr, "%s not saved: no folder for the player's settings (neither XDG_CONFIG_HOME nor HOME is set)\n",
                 kSettingsFile);
    return false;
  }
  std::error_code folderError;
  if (inPlayerFolder) std::filesystem::create_directories(playerFolder, folderError);
  if (folderError) {
    std::fprintf(stderr, "%s not saved: cannot make %s: %s\n", kSettingsFile, playerFolder.c_str(),
                 folderError.message().c_str());
    return false;
  }
  const std::string path =
      inPlayerFolder ? playerFolder + "/" + kSettingsFile : WritablePath(kSettingsFile);
  if (!ReplaceFile(path, bytes, sizeof bytes)) {
    std::fprintf(stderr, "%s not saved: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  return true;
}
