#include "platform/PlayerFolders.h"

#include <cstdlib>

namespace {

// A relative value of an XDG variable is invalid and ignored, as the rules say.
std::string PlayerFolder(const char* variable, const char* underHome) {
  const char* base = std::getenv(variable);
  if (base && base[0] == '/') return std::string(base) + "/virko";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/" + underHome + "/virko";
  return std::string();
}

}  // namespace

std::string PlayerConfigFolder() { return PlayerFolder("XDG_CONFIG_HOME", ".config"); }

std::string PlayerDataFolder() { return PlayerFolder("XDG_DATA_HOME", ".local/share"); }
