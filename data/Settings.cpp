#include "data/Settings.h"

#include <fcntl.h>
#include <unistd.h>

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

tSaveFault injectedFault = tSaveFault::none;

bool WriteAll(int fd, const uint8_t* bytes, size_t count) {
  if (injectedFault == tSaveFault::whileWriting) {
    errno = ENOSPC;
    return false;
  }
  while (count > 0) {
    const ssize_t written = write(fd, bytes, count);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    count -= size_t(written);
  }
  return true;
}

// Writes the bytes to tempPath and flushes them to the disk.
bool WriteSynced(const std::string& tempPath, const uint8_t* bytes, size_t count) {
  const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, bytes, count) && fsync(fd) == 0;
  return close(fd) == 0 && written;
}

// The rename itself is durable only once the folder is synced too.
void SyncFolder(const std::string& path) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

void InjectSaveFault(tSaveFault fault) { injectedFault = fault; }

void cGameSet::LoadSettings() {
  const std::optional<std::vector<uint8_t>> bytes = ReadPlainFile(kSettingsFile, 3);
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
  const std::string path = WritablePath(kSettingsFile);
  const std::string tempPath = path + ".tmp";
  bool saved = WriteSynced(tempPath, bytes, sizeof bytes);
  if (saved && injectedFault == tSaveFault::beforeRename) {
    errno = EIO;
    saved = false;
  }
  if (saved) saved = std::rename(tempPath.c_str(), path.c_str()) == 0;
  if (!saved) {
    std::fprintf(stderr, "%s not saved: %s\n", kSettingsFile, std::strerror(errno));
    unlink(tempPath.c_str());
    return false;
  }
  SyncFolder(path);
  return true;
}
