// The level toolchain's subcommands: compile, decompile, check and render.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "app/GameState.h"
#include "data/UnitStats.h"
#include "game/CollisionMap.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "tools/cli/Commands.h"
#include "tools/level/LevelBinary.h"
#include "tools/level/LevelCheck.h"
#include "tools/level/LevelRender.h"
#include "tools/level/LevelText.h"

namespace {

// Command-line arguments: one input file, "-o FILE", and "--shrink N".
struct Options {
  std::string input;
  std::string output;
  int shrink = 1;
  bool layout = true;
  bool help = false;
};

std::optional<Options> ParseOptions(const Args& args, const char* command, bool takesRenderOptions) {
  Options options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "-o" && i + 1 < args.size()) {
      options.output = args[++i];
    } else if (takesRenderOptions && arg == "--shrink" && i + 1 < args.size()) {
      options.shrink = std::atoi(args[++i].c_str());
      if (options.shrink < 1 || options.shrink > 64) {
        std::fprintf(stderr, "virko-tool %s: --shrink takes 1 to 64\n", command);
        return std::nullopt;
      }
    } else if (takesRenderOptions && arg == "--no-layout") {
      options.layout = false;
    } else if (options.input.empty() && !arg.empty() && arg[0] != '-') {
      options.input = arg;
    } else {
      std::fprintf(stderr, "virko-tool %s: unexpected argument '%s'\n", command, arg.c_str());
      return std::nullopt;
    }
  }
  if (!options.help && options.input.empty()) {
    std::fprintf(stderr, "virko-tool %s: no input file (see --help)\n", command);
    return std::nullopt;
  }
  return options;
}

std::string WithExtension(const std::string& path, const char* extension) {
  return std::filesystem::path(path).replace_extension(extension).string();
}

void PrintProblems(const std::string& name, const std::vector<LevelProblem>& problems) {
  for (const LevelProblem& problem : problems)
    std::fprintf(stderr, "%s\n", FormatProblem(name, problem).c_str());
}

// A level text read and checked; nullopt (after printing why) if it has errors.
std::optional<LevelSource> ReadCheckedText(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::vector<LevelProblem> problems;
  std::optional<LevelSource> level = ReadCheckedLevel(std::string(bytes.begin(), bytes.end()), problems);
  PrintProblems(path, problems);
  return level;
}

std::optional<std::vector<uint8_t>> ReadInput(const std::string& command, const std::string& path) {
  std::optional<std::vector<uint8_t>> bytes = ReadBinaryFile(path);
  if (!bytes) std::fprintf(stderr, "virko-tool %s: cannot read %s\n", command.c_str(), path.c_str());
  return bytes;
}

std::optional<LevelSource> DecompileOrReport(const std::string& path) {
  std::vector<std::string> messages;
  std::optional<LevelSource> level = DecompileLevelFile(path, messages);
  for (const std::string& message : messages)
    std::fprintf(stderr, "%s: error: %s\n", path.c_str(), message.c_str());
  return level;
}

std::string DecompiledText(const LevelSource& level, const std::string& path) {
  return WriteLevelText(level, {"VIRKO level, decompiled from " + std::filesystem::path(path).filename().string()});
}

std::string Summary(const LevelSource& level) {
  size_t points[kLineLists] = {};
  for (int list = 0; list < kLineLists; ++list)
    for (const LevelStroke& stroke : level.lines[list]) points[list] += stroke.points.size();
  char text[256];
  std::snprintf(text, sizeof text,
                "%lld x %lld screens, %zu solid / %zu platform / %zu unused points, %zu units, "
                "%zu pickups, %zu blocks, %zu numbers",
                static_cast<long long>(level.screensX), static_cast<long long>(level.screensY),
                points[0], points[1], points[2], level.units.size(), level.pickups.size(),
                level.blocks.size(), CompiledNumberCount(level));
  return text;
}

// The binary level file for an input of either kind, for the game's loader:
// the input itself, or the compiled text in a temporary file.
std::optional<std::string> BinaryLevelPath(const std::string& path, const std::vector<uint8_t>& bytes,
                                           std::string& temporary) {
  if (IsBinaryLevel(bytes)) return path;
  const std::optional<LevelSource> level = ReadCheckedText(path, bytes);
  if (!level) return std::nullopt;
  temporary = (std::filesystem::temp_directory_path() /
               ("virko-render-" + std::to_string(::getpid()) + ".vrk")).string();
  std::string error;
  if (!WriteBinaryFile(temporary, LevelFileBytes(CompileLevel(*level)), error)) {
    std::fprintf(stderr, "virko-tool render: %s\n", error.c_str());
    return std::nullopt;
  }
  return temporary;
}

// Loads a level the way the game does, with the unit statistics of the
// working folder if it has them (for the units' boxes).
void PrintMessage(const std::string&, const std::string& text) {
  std::fprintf(stderr, "%s\n", Cp1257ToUtf8(text).c_str());
}

bool LoadForRender(const std::string& binaryPath) {
  ResetGameState();
  SetMessageBoxHandler(PrintMessage);  // a tool shows no message boxes
  if (FileExists("UStats.cfg")) LoadUnitStats();
  std::vector<std::string> messages;
  const bool loaded = LoadLevelForPicture(binaryPath, messages);
  for (const std::string& message : messages) std::fprintf(stderr, "%s: error: %s\n", binaryPath.c_str(), message.c_str());
  return loaded;
}

}  // namespace

int CompileCommand(const Args& args) {
  const std::optional<Options> options = ParseOptions(args, "compile", false);
  if (!options) return 2;
  if (options->help) {
    std::printf("usage: virko-tool compile LEVEL_TEXT [-o LEVEL_FILE]\n"
                "Compiles a level text into the game's binary level file (default: the\n"
                "text's name with the extension .vrk). Problems are reported with their\n"
                "lines; nothing is written if there is an error.\n");
    return 0;
  }
  const std::optional<std::vector<uint8_t>> bytes = ReadInput("compile", options->input);
  if (!bytes) return 1;
  if (IsBinaryLevel(*bytes)) {
    std::fprintf(stderr, "%s: error: this is a binary level file, not a level text\n", options->input.c_str());
    return 1;
  }
  const std::optional<LevelSource> level = ReadCheckedText(options->input, *bytes);
  if (!level) return 1;
  const std::string output = options->output.empty() ? WithExtension(options->input, ".vrk") : options->output;
  std::string error;
  if (!WriteBinaryFile(output, LevelFileBytes(CompileLevel(*level)), error)) {
    std::fprintf(stderr, "virko-tool compile: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

int DecompileCommand(const Args& args) {
  const std::optional<Options> options = ParseOptions(args, "decompile", false);
  if (!options) return 2;
  if (options->help) {
    std::printf("usage: virko-tool decompile LEVEL_FILE [-o LEVEL_TEXT]\n"
                "Reads a binary level file with the game's reader and writes it as level\n"
                "text (to standard output unless -o is given). Compiling that text gives\n"
                "the same file back; a note says where a file made elsewhere differs.\n");
    return 0;
  }
  const std::optional<std::vector<uint8_t>> bytes = ReadInput("decompile", options->input);
  if (!bytes) return 1;
  const std::optional<LevelSource> level = DecompileOrReport(options->input);
  if (!level) return 1;
  const std::string text = DecompiledText(*level, options->input);

  // A file made elsewhere may hold what the text does not keep: fractions,
  // other break flag values, another closing point, numbers after the end.
  std::vector<LevelProblem> problems;
  const LevelSource reread = ParseLevelText(text, problems);
  if (!HasErrors(CheckLevel(reread))) {
    const std::vector<uint8_t> recompiled = LevelFileBytes(CompileLevel(reread));
    if (recompiled != *bytes) {
      std::vector<std::string> messages;
      const std::optional<LevelSource> again = DecompileLevelBytes(recompiled, messages);
      const bool same = again && DecompiledText(*again, options->input) == text;
      std::fprintf(stderr, "%s: note: compiling the text gives a file of %zu numbers that differs from"
                   " this one (%zu numbers); %s\n", options->input.c_str(), recompiled.size() / 4,
                   bytes->size() / 4, same ? "the game reads both as the same level"
                                           : "the game reads them differently");
    }
  }

  if (options->output.empty()) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
  }
  std::string error;
  if (!WriteBinaryFile(options->output, std::vector<uint8_t>(text.begin(), text.end()), error)) {
    std::fprintf(stderr, "virko-tool decompile: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

int CheckLevelCommand(const Args& args) {
  const std::optional<Options> options = ParseOptions(args, "check", false);
  if (!options) return 2;
  if (options->help) {
    std::printf("usage: virko-tool check LEVEL\n"
                "Checks a level text or a binary level file against every limit of the\n"
                "game's level file and level loader, and warns of what would make it\n"
                "unplayable. Each problem is reported with its line (for a binary file,\n"
                "the line of its decompiled text). Exit status 1 if there is an error.\n");
    return 0;
  }
  const std::string& path = options->input;
  const std::optional<std::vector<uint8_t>> bytes = ReadInput("check", path);
  if (!bytes) return 1;
  std::optional<LevelSource> level;
  if (!IsBinaryLevel(*bytes)) {
    level = ReadCheckedText(path, *bytes);
  } else if (const std::optional<LevelSource> read = DecompileOrReport(path)) {
    std::vector<LevelProblem> problems;
    const LevelSource decompiled = ParseLevelText(DecompiledText(*read, path), problems);
    const std::vector<LevelProblem> limits = CheckLevel(decompiled);
    PrintProblems(path + " (decompiled)", limits);
    if (!HasErrors(limits)) level = decompiled;
  }
  if (!level) return 1;
  std::printf("%s: ok: %s\n", path.c_str(), Summary(*level).c_str());
  return 0;
}

int RenderCommand(const Args& args) {
  const std::optional<Options> options = ParseOptions(args, "render", true);
  if (!options) return 2;
  if (options->help) {
    std::printf("usage: virko-tool render LEVEL [-o PICTURE.png] [--shrink N] [--no-layout]\n"
                "Loads a level text or binary level file as the game does and draws its\n"
                "collision map (white solid, blue platform) with the layout over it:\n"
                "screen borders and picture numbers, pickups by kind, blocks by index\n"
                "(filled: permanent), units by type, the player's start (P), the level's\n"
                "end (red) and the fall-out depth (violet). Unit boxes take their sizes\n"
                "from UStats.cfg in the working folder if there is one. --shrink N draws\n"
                "one picture pixel per N x N map pixels.\n");
    return 0;
  }
  const std::optional<std::vector<uint8_t>> bytes = ReadInput("render", options->input);
  if (!bytes) return 1;
  std::string temporary;
  const std::optional<std::string> binaryPath = BinaryLevelPath(options->input, *bytes, temporary);
  const bool loaded = binaryPath && LoadForRender(*binaryPath);
  if (!temporary.empty()) std::filesystem::remove(temporary);
  if (!loaded) return 1;

  // The largest level is 24800 x 6600 pixels; keep the picture to a size
  // that fits in memory comfortably.
  constexpr int64_t kMaxPicturePixels = 50'000'000;
  int shrink = options->shrink;
  while (int64_t(CollisionMap.Width() / shrink) * (CollisionMap.Height() / shrink) > kMaxPicturePixels) ++shrink;
  if (shrink != options->shrink) std::fprintf(stderr, "virko-tool render: drawing with --shrink %d\n", shrink);
  RgbImage image = RenderCollisionMap(CollisionMap, shrink);
  if (options->layout) DrawLevelLayout(image, shrink);
  const std::string output = options->output.empty() ? WithExtension(options->input, ".png") : options->output;
  std::string error;
  if (!WritePng(output, image, error)) {
    std::fprintf(stderr, "virko-tool render: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
