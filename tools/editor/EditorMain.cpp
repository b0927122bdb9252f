// virko-edit: the level editor.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "app/GameFolder.h"
#include "app/GameState.h"
#include "app/Startup.h"
#include "game/Gameplay.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "tools/editor/EditorUi.h"
#include "tools/editor/EditorWindow.h"

namespace fs = std::filesystem;

namespace {

constexpr int kUsageError = 64;  // sysexits.h's EX_USAGE
constexpr int kNoInput = 66;     // EX_NOINPUT
constexpr int kFramesAfterInput = 3;  // ImGui settles hover and popups over a few frames

const char kHelp[] =
    "usage: virko-edit [FILE] [--data DIR] [--game PROGRAM] [--autosave SECONDS] [--size WxH]\n"
    "The level editor of VIRKO: draw a level, check it as you go, play it at once.\n"
    "\n"
    "  FILE              a level text (.level) or a compiled level file (.vrk);\n"
    "                    without it the editor starts with a new level\n"
    "  --data DIR        the game files whose pictures show the level (a folder\n"
    "                    with levels.cfg); by default the first folder above FILE\n"
    "                    that holds one, else the game's own choice (see virko(6))\n"
    "  --game PROGRAM    the game program for test plays (default: virko beside\n"
    "                    this program)\n"
    "  --autosave SECONDS how often unsaved changes go to the recovery file (60)\n"
    "  --size WxH        the window's size at start (1280x800)\n"
    "  --help            show this help and exit\n"
    "  --version         show the version and exit\n"
    "\n"
    "F1 in the editor lists every key and mouse action. See virko-edit(1).\n";

struct Options {
  std::optional<std::string> file;
  std::optional<std::string> data;
  std::string game;
  int autosaveSeconds = 60;
  int width = 1280, height = 800;
};

int UsageError(const std::string& message) {
  std::fprintf(stderr, "virko-edit: %s (see virko-edit --help)\n", message.c_str());
  return kUsageError;
}

// The first folder at or above the level's that holds the game's catalogue.
std::optional<std::string> ContentAbove(const fs::path& file) {
  for (fs::path folder = file.parent_path(); !folder.empty(); folder = folder.parent_path()) {
    if (fs::exists(folder / "levels.cfg")) return folder.string();
    if (folder == folder.root_path()) break;
  }
  return std::nullopt;
}

std::vector<std::string> collected;
void CollectMessage(const std::string&, const std::string& text) { collected.push_back(Cp1257ToUtf8(text)); }

// Catalogue entry 0's level file, as a path relative to the content folder.
std::string FirstLevelPath() {
  const std::optional<std::string> found = ResolvePath(game.levelFile[0]);
  if (found) return fs::relative(fs::absolute(*found)).string();
  std::string path = game.levelFile[0];
  for (char& c : path) if (c == '\\') c = '/';
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](const char* what) -> std::optional<std::string> {
      if (++i == argc) return std::nullopt;
      return std::string(argv[i]);
    };
    if (arg == "--help" || arg == "-h") {
      std::fputs(kHelp, stdout);
      return 0;
    } else if (arg == "--version") {
      std::printf("virko-edit %s\n", VIRKO_VERSION);
      return 0;
    } else if (arg == "--data") {
      if (!(options.data = value("a folder"))) return UsageError("--data needs a folder");
    } else if (arg == "--game") {
      const std::optional<std::string> game = value("a program");
      if (!game) return UsageError("--game needs a program");
      options.game = fs::absolute(*game).string();
    } else if (arg == "--autosave") {
      const std::optional<std::string> seconds = value("seconds");
      if (!seconds || std::atoi(seconds->c_str()) < 1) return UsageError("--autosave needs a number of seconds");
      options.autosaveSeconds = std::atoi(seconds->c_str());
    } else if (arg == "--size") {
      const std::optional<std::string> size = value("a size");
      if (!size || std::sscanf(size->c_str(), "%dx%d", &options.width, &options.height) != 2 || options.width < 320 ||
          options.height < 240)
        return UsageError("--size needs WIDTHxHEIGHT, at least 320x240");
    } else if (!arg.empty() && arg[0] == '-') {
      return UsageError("unknown option " + arg);
    } else if (options.file) {
      return UsageError("one level at a time");
    } else {
      options.file = fs::absolute(arg).string();
    }
  }

  const std::string startDir = fs::current_path().string();
  std::string error;
  if (!options.data && options.file) options.data = ContentAbove(*options.file);
  std::optional<tGameFolder> folder = ChooseGameFolder(options.data, ProgramFolder(), error);
  if (!folder || !EnterGameFolder(*folder, error)) {
    std::fprintf(stderr, "virko-edit: %s\n", error.c_str());
    return kNoInput;
  }
  if (options.game.empty()) options.game = ProgramFolder() + "/virko";

  std::optional<EditDocument> document;
  if (options.file) {
    document = OpenLevel(*options.file, error);
    if (!document) {
      std::fprintf(stderr, "virko-edit: %s\n", error.c_str());
      return kNoInput;
    }
  } else {
    document = NewLevel(3, 1);
  }

  // The game's tables (catalogue, sprites, unit boxes); what is missing is
  // told in the editor, which works without pictures.
  SetMessageBoxHandler(CollectMessage);
  ReadConfigurationFiles();
  SetUpPickupKinds();
  ClearTerminateRequest();

  EditorWindow window;
  if (!window.Open(options.width, options.height, error)) {
    std::fprintf(stderr, "virko-edit: %s\n", error.c_str());
    return 1;
  }
  EditorSetup setup{fs::current_path().string(), FirstLevelPath(), options.game, RecoveryFolder(), startDir};
  Editor editor(std::move(setup), std::move(*document), collected);
  editor.LoadPictures();
  ClearTerminateRequest();
  editor.SetRecoveryInterval(std::chrono::seconds(options.autosaveSeconds));

  int framesLeft = kFramesAfterInput;
  while (!editor.Finished()) {
    bool closeAsked = false;
    if (window.Events(framesLeft == 0 && !editor.Busy(), 250, closeAsked)) framesLeft = kFramesAfterInput;
    if (closeAsked) editor.RequestQuit();
    window.Frame(editor);
    if (editor.TakeFocusRequest()) window.TakeFocus();
    if (framesLeft > 0) --framesLeft;
    const EditDocument& edited = editor.Document();
    window.SetTitle("VIRKO Level Editor - " +
                    (edited.textPath.empty() ? std::string("new level") : fs::path(edited.textPath).filename().string()) +
                    (edited.Modified() ? " *" : ""));
  }
  return 0;
}
