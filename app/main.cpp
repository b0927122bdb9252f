// VIRKO: a 2D side-scrolling platform game.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "app/DisplayChoice.h"
#include "app/GameFolder.h"
#include "app/MainLoop.h"
#include "app/Startup.h"
#include "platform/Files.h"
#include "platform/PlayerFolders.h"
#include "platform/Window.h"

namespace {

constexpr int kUsageError = 64;  // sysexits.h's EX_USAGE
constexpr int kNoGameFiles = 66;  // EX_NOINPUT

const char kHelp[] =
    "usage: virko [--window] [--data DIR] [--play-level]\n"
    "A 2D side-scrolling platform game.\n"
    "\n"
    "  --window     start in a window, not full screen (F11 or Alt+Enter switch)\n"
    "  --data DIR   play the game files in DIR, a folder that holds levels.cfg\n"
    "  --play-level start playing the first level at once: no splash, menu,\n"
    "               intro video or loading wait (test plays of the level editor)\n"
    "  --help       show this help and exit\n"
    "  --version    show the version and exit\n"
    "\n"
    "Without --data the game plays the current folder if it holds levels.cfg,\n"
    "otherwise the installed game files. An installed game keeps its settings in\n"
    "$XDG_CONFIG_HOME/virko (~/.config/virko), and files in $XDG_DATA_HOME/virko\n"
    "(~/.local/share/virko) are played instead of the installed ones of the same\n"
    "path. See virko(6).\n";

int UsageError(const std::string& message) {
  std::fprintf(stderr, "virko: %s (see virko --help)\n", message.c_str());
  return kUsageError;
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<std::string> given;
  bool inWindow = false;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--help" || option == "-h") {
      std::fputs(kHelp, stdout);
      return 0;
    } else if (option == "--version") {
      std::printf("virko %s\n", VIRKO_VERSION);
      return 0;
    } else if (option == "--window") {
      inWindow = true;
    } else if (option == "--play-level") {
      SetStartAtFirstLevel(true);
    } else if (option == "--data") {
      if (++i == argc) return UsageError("--data needs a folder");
      given = argv[i];
    } else if (option.starts_with("--data=")) {
      given = option.substr(std::strlen("--data="));
    } else {
      return UsageError("unknown option " + option);
    }
  }

  std::string error;
  std::optional<tGameFolder> folder = ChooseGameFolder(given, ProgramFolder(), error);
  if (!folder) {
    std::fprintf(stderr, "virko: %s\n", error.c_str());
    if (given) return kNoGameFiles;
    // Played where it stands, the game reports the files it misses.
    folder = tGameFolder{".", false};
  }
  if (!EnterGameFolder(*folder, error)) {
    std::fprintf(stderr, "virko: %s\n", error.c_str());
    return kNoGameFiles;
  }
  // The player's last choice of full screen or window, wherever the game
  // files are; --window wins for this run.
  if (const std::string config = PlayerConfigFolder(); !config.empty()) {
    if (const std::optional<bool> fullScreen = KeepDisplayChoiceIn(config + "/display.cfg"))
      SetStartFullScreen(*fullScreen);
  }
  if (inWindow) SetStartFullScreen(false);
  return RunGame();
}
