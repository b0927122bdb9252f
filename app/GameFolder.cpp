#include "app/GameFolder.h"

#include <filesystem>
#include <system_error>

#include "data/Settings.h"
#include "platform/Files.h"
#include "platform/PlayerFolders.h"

namespace fs = std::filesystem;

namespace {

const char kCatalogue[] = "levels.cfg";

bool HoldsCatalogue(const fs::path& folder) {
  std::error_code error;
  const fs::path absolute = fs::absolute(folder, error);
  return !error && FileExists((absolute / kCatalogue).string());
}

}  // namespace

std::optional<tGameFolder> ChooseGameFolder(const std::optional<std::string>& given,
                                            const std::string& programFolder,
                                            std::string& error) {
  const fs::path installed =
      programFolder.empty() ? fs::path()
                            : (fs::path(programFolder) / VIRKO_INSTALLED_DATA_DIR).lexically_normal();
  // The installed folder stays installed however it is reached: the player's
  // settings and files never go into the package's.
  const auto chosen = [&](const fs::path& folder) {
    std::error_code error;
    return tGameFolder{folder.string(), !installed.empty() && fs::equivalent(folder, installed, error)};
  };
  if (given) {
    if (HoldsCatalogue(*given)) return chosen(*given);
    error = *given + " holds no " + kCatalogue + ": it is not a game folder";
    return std::nullopt;
  }
  if (HoldsCatalogue(".")) return chosen(".");
  if (!installed.empty()) {
    if (HoldsCatalogue(installed)) return tGameFolder{installed.string(), true};
    const fs::path built = fs::path(programFolder) / "content";
    if (HoldsCatalogue(built)) return tGameFolder{built.string(), true};
  }
  error = std::string("no game files: neither the current folder nor ") +
          (installed.empty() ? "the installed folder" : installed.string()) + " holds " +
          kCatalogue;
  return std::nullopt;
}

bool EnterGameFolder(const tGameFolder& folder, std::string& error) {
  std::error_code changeError;
  fs::current_path(folder.path, changeError);
  if (changeError) {
    error = "cannot enter " + folder.path + ": " + changeError.message();
    return false;
  }
  if (folder.installed) {
    cGameSet::KeepInPlayerFolder(PlayerConfigFolder());
    SetOverlayFolder(PlayerDataFolder());
  }
  return true;
}
