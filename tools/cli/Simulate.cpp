// simulate DIR --frames N --factor F [--input FILE] [--random FILE]: plays
// catalogue entry 0's level without a window, with the game's own play block,
// end-of-level test and fall-out restart, and prints one trace line a frame.
#include <strings.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/GameState.h"
#include "app/Input.h"
#include "app/Random.h"
#include "app/Startup.h"
#include "data/LevelLoader.h"
#include "game/Gameplay.h"
#include "game/Units.h"
#include "platform/MessageBox.h"
#include "tools/cli/Checks.h"
#include "tools/cli/ReaderSession.h"

namespace {

constexpr const char* kHelp = R"(usage: virko-tool simulate DIR --frames N --factor F [--input FILE] [--random FILE]

Plays the level of catalogue entry 0 of the content folder DIR without a
window and prints one line per frame. The configuration files and the level
file are read with the game's readers; the level is set up as the game's
level loader does (units, camera, collision map, sprite sheets measured from
their TGA headers), without textures or sounds. Every frame then runs the
game's own play block, end-of-level test and fall-out restart, with the frame
time factor F (2 is 100 frames a second).

  --frames N     number of frames to play
  --factor F     the frame time factor of every frame (a real, 0 or more)
  --input FILE   one line per frame: the input states held in that frame, by
                 name (Up, Down, Left, Right, Button1 to Button32), separated
                 by spaces; an empty line holds nothing, and so do the frames
                 after the last line. A line may start with a count of
                 frames, "30 Right Button7", for that many frames alike; "#"
                 starts a comment, and a line holding only a comment is no
                 frame. The game's keys: Left, Right, Up,
                 Button3 (Ctrl) throws, Button7 (Alt) jumps, Button8 (Escape)
                 opens the exit prompt. A held state fires once per press,
                 as in the game.
  --random FILE  integers 0 to 99, one per line, used in order whenever a
                 flier draws a new amplitude; the run stops with an error if
                 it needs more. Without it the game's generator runs from a
                 fixed seed, so a run is still repeatable.

Each line, after that frame's steps, is
  N x y cameraX cameraY jumping falling attacking currentFrame inFlight
  weaponX weaponY points kills cones puffs bullets fuel grenades levelDone
followed, for each unit i from 1 to unitCount, by " i:x:y:health:active".
N counts from 1; x and the units' x are 32-bit reals (9 significant digits),
y, cameraX, cameraY, weaponX, weaponY 64-bit reals (17 digits), so every
value reads back exactly. currentFrame is the player's sprite's.

Exit status: 0 after N frames; 1 when the level cannot be loaded, a file is
wrong or the random numbers run out; 2 when the arguments are wrong.
)";

constexpr uint32_t kFixedSeed = 1;

struct Options {
  std::string folder;
  std::optional<long long> frames;
  std::optional<double> factor;
  std::string inputFile;
  std::string randomFile;
};

template <typename Number>
std::optional<Number> ParseNumber(std::string_view text) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Reads the arguments; prints what is wrong and returns nullopt on error.
std::optional<Options> ParseOptions(const Args& args) {
  Options options;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> value;
    if (const size_t equals = name.find('='); name.starts_with("--") && equals != std::string::npos) {
      value = name.substr(equals + 1);
      name.resize(equals);
    }
    const bool takesValue =
        name == "--frames" || name == "--factor" || name == "--input" || name == "--random";
    if (takesValue && !value) {
      if (i + 1 == args.size()) {
        std::fprintf(stderr, "virko-tool simulate: %s needs a value\n", name.c_str());
        return std::nullopt;
      }
      value = args[++i];
    }
    if (name == "--frames") {
      options.frames = ParseNumber<long long>(*value);
      if (!options.frames || *options.frames < 0) {
        std::fprintf(stderr, "virko-tool simulate: --frames wants a whole number of 0 or more\n");
        return std::nullopt;
      }
    } else if (name == "--factor") {
      options.factor = ParseNumber<double>(*value);
      if (!options.factor || !std::isfinite(*options.factor) || *options.factor < 0) {
        std::fprintf(stderr, "virko-tool simulate: --factor wants a real number of 0 or more\n");
        return std::nullopt;
      }
    } else if (name == "--input") {
      options.inputFile = *value;
    } else if (name == "--random") {
      options.randomFile = *value;
    } else if (options.folder.empty() && !name.starts_with("-")) {
      options.folder = name;
    } else {
      std::fprintf(stderr, "virko-tool simulate: unexpected argument '%s'\n", args[i].c_str());
      return std::nullopt;
    }
  }
  if (options.folder.empty() || !options.frames || !options.factor) {
    std::fprintf(stderr, "virko-tool simulate: DIR, --frames and --factor are needed\n");
    return std::nullopt;
  }
  return options;
}

std::optional<std::vector<std::string>> ReadLines(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t start = 0;
  while (true) {
    start = line.find_first_not_of(" \t", start);
    if (start == std::string_view::npos) return words;
    const size_t end = line.find_first_of(" \t", start);
    words.push_back(line.substr(start, end - start));
    if (end == std::string_view::npos) return words;
    start = end;
  }
}

// Up, Down, Left, Right, Button1 .. Button32 (any case).
std::optional<int> InputStateByName(std::string_view name) {
  constexpr const char* kDirections[] = {"Up", "Down", "Left", "Right"};
  for (int k = 0; k < 4; ++k)
    if (name.size() == std::strlen(kDirections[k]) &&
        strncasecmp(name.data(), kDirections[k], name.size()) == 0)
      return k;
  constexpr std::string_view kButton = "Button";
  if (name.size() <= kButton.size() || strncasecmp(name.data(), "Button", kButton.size()) != 0)
    return std::nullopt;
  const std::string_view digits = name.substr(kButton.size());
  if (digits.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  const std::optional<int> n = ParseNumber<int>(digits);
  if (!n || *n < 1 || *n > 32) return std::nullopt;
  return Button(*n);
}

}  // namespace

std::optional<std::vector<InputRun>> ReadInputRuns(const std::string& path) {
  const std::optional<std::vector<std::string>> lines = ReadLines(path);
  if (!lines) {
    std::fprintf(stderr, "virko-tool simulate: cannot read the input file '%s'\n", path.c_str());
    return std::nullopt;
  }
  std::vector<InputRun> runs;
  long long total = 0;
  for (size_t l = 0; l < lines->size(); ++l) {
    std::string_view line = (*lines)[l];
    const size_t comment = line.find('#');
    if (comment != std::string_view::npos) {
      line = line.substr(0, comment);
      // A line that is only a comment is no frame; an empty line is one.
      if (Words(line).empty()) continue;
    }
    std::vector<std::string_view> words = Words(line);
    InputRun run{1, {}};
    if (!words.empty() && words[0].find_first_not_of("0123456789") == std::string_view::npos) {
      const std::optional<int> count = ParseNumber<int>(words[0]);
      if (!count || *count < 1 || *count > kMaxInputRun) {
        std::fprintf(stderr, "virko-tool simulate: %s:%zu: a count of frames is 1 to %d\n",
                     path.c_str(), l + 1, kMaxInputRun);
        return std::nullopt;
      }
      run.frames = *count;
      words.erase(words.begin());
    }
    for (std::string_view word : words) {
      const std::optional<int> state = InputStateByName(word);
      if (!state) {
        std::fprintf(stderr, "virko-tool simulate: %s:%zu: unknown input state '%.*s'\n",
                     path.c_str(), l + 1, int(word.size()), word.data());
        return std::nullopt;
      }
      run.held.Add(*state);
    }
    total += run.frames;
    if (total > kMaxInputFrames) {
      std::fprintf(stderr, "virko-tool simulate: %s:%zu: more than %d frames in all\n", path.c_str(),
                   l + 1, kMaxInputFrames);
      return std::nullopt;
    }
    runs.push_back(run);
  }
  return runs;
}

std::vector<InputSet> ExpandInputRuns(const std::vector<InputRun>& runs) {
  std::vector<InputSet> frames;
  for (const InputRun& run : runs) frames.insert(frames.end(), size_t(run.frames), run.held);
  return frames;
}

std::optional<std::vector<InputSet>> ReadInputFile(const std::string& path) {
  const std::optional<std::vector<InputRun>> runs = ReadInputRuns(path);
  if (!runs) return std::nullopt;
  return ExpandInputRuns(*runs);
}

namespace {

std::optional<std::vector<int>> ReadRandomFile(const std::string& path) {
  const std::optional<std::vector<std::string>> lines = ReadLines(path);
  if (!lines) {
    std::fprintf(stderr, "virko-tool simulate: cannot read the random file '%s'\n", path.c_str());
    return std::nullopt;
  }
  std::vector<int> values;
  for (size_t l = 0; l < lines->size(); ++l) {
    const std::vector<std::string_view> words = Words((*lines)[l]);
    if (words.empty()) continue;
    const std::optional<int> value = words.size() == 1 ? ParseNumber<int>(words[0]) : std::nullopt;
    if (!value || *value < 0 || *value > 99) {
      std::fprintf(stderr, "virko-tool simulate: %s:%zu: wants one whole number from 0 to 99\n",
                   path.c_str(), l + 1);
      return std::nullopt;
    }
    values.push_back(*value);
  }
  return values;
}

// What the input component's refresh sees in the frame being played.
std::vector<InputSet> heldInput;
size_t frameIndex = 0;

InputSet RecordedInput() {
  return frameIndex < heldInput.size() ? heldInput[frameIndex] : InputSet{};
}

// The random numbers of the random file, in order.
struct RandomNumbersRunOut {};
std::vector<int> randomValues;
size_t nextRandom = 0;

int RecordedRandom(int range) {
  if (nextRandom == randomValues.size()) throw RandomNumbersRunOut{};
  return randomValues[nextRandom++] % range;
}

// Puts the devices and the game's generator back when the run ends.
struct SourcesGuard {
  ~SourcesGuard() {
    SetInputSource(ReadInputDevices);
    SetRandomSource(nullptr);
  }
};

void WriteTraceLine(FILE* out, long long n) {
  const tVirkoUnit& p = units[0];
  std::fprintf(out, "%lld %.9g %.17g %.17g %.17g %d %d %d %d %d %.17g %.17g %d %d %d %d %d %d %d %d",
               n, p.x, p.y, cameraX, cameraY, p.jumping, p.falling, p.attacking,
               unitSprites[0].currentFrame, WeaponState.inFlight, WeaponState.weaponX,
               WeaponState.weaponY, stats.points, stats.kills, stats.cones, stats.puffs,
               game.bullets, game.fuel, game.grenades, screenFlags.levelDone[game.currentLevel]);
  for (int i = 1; i <= game.unitCount && i <= kMaxUnits; ++i) {
    const tVirkoUnit& u = units[i];
    std::fprintf(out, " %d:%.9g:%.17g:%d:%d", i, u.x, u.y, u.health, u.active);
  }
  std::fputc('\n', out);
}

void PrintLoadReport(const ReaderSession& session) {
  for (const GameMessage& message : session.messages())
    std::fprintf(stderr, "virko-tool simulate: message: %s: %s\n",
                 Cp1257ToUtf8(message.caption).c_str(), Cp1257ToUtf8(message.text).c_str());
  for (const std::string& line : session.warnings())
    std::fprintf(stderr, "virko-tool simulate: %s\n", Cp1257ToUtf8(line).c_str());
}

}  // namespace

void PlaySimulatedFrame(double factor) {
  frameFactor = factor;
  // The frame handler's steps 9 (play, while the level is not done), 10 (end
  // of level) and 12 (fall-out restart).
  if (screenFlags.levelDone[game.currentLevel] == 0) RunPlayBlock();
  CheckLevelEnd();
  CheckFallOut();
}

int RunSimulate(const Args& args, FILE* out) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      std::fputs(kHelp, out);
      return 0;
    }
  }
  const std::optional<Options> options = ParseOptions(args);
  if (!options) {
    std::fputs(kHelp, stderr);
    return 2;
  }

  // The input and random files are named relative to the caller's folder.
  heldInput.clear();
  if (!options->inputFile.empty()) {
    std::optional<std::vector<InputSet>> frames = ReadInputFile(options->inputFile);
    if (!frames) return 1;
    heldInput = std::move(*frames);
  }
  randomValues.clear();
  nextRandom = 0;
  if (!options->randomFile.empty()) {
    std::optional<std::vector<int>> values = ReadRandomFile(options->randomFile);
    if (!values) return 1;
    randomValues = std::move(*values);
  }

  ReaderSession session(options->folder);
  if (!session.entered()) {
    std::fprintf(stderr, "virko-tool simulate: cannot enter '%s'\n", options->folder.c_str());
    return 2;
  }
  // Start-up's part that play depends on, then the level as the loader sets
  // it up; messages are shown but only a refused level stops the run.
  bool loaded = false;
  session.Run([&] {
    ReadConfigurationFiles();
    SetUpPickupKinds();
    game.currentLevel = 0;
    loaded = LoadLevelState(0);
  });
  PrintLoadReport(session);
  if (!loaded) {
    std::fprintf(stderr, "virko-tool simulate: the level could not be loaded\n");
    return 1;
  }
  screenFlags.levelLoaded[game.currentLevel] = 1;

  SourcesGuard guard;
  SetInputSource(RecordedInput);
  if (options->randomFile.empty()) {
    SetRandomSource(nullptr);
    SeedRandom(kFixedSeed);
  } else {
    SetRandomSource(RecordedRandom);
  }

  for (long long n = 1; n <= *options->frames; ++n) {
    frameIndex = size_t(n - 1);
    try {
      PlaySimulatedFrame(*options->factor);
    } catch (const RandomNumbersRunOut&) {
      std::fflush(out);
      std::fprintf(stderr,
                   "virko-tool simulate: frame %lld needs more random numbers than the %zu of "
                   "'%s'\n",
                   n, randomValues.size(), options->randomFile.c_str());
      return 1;
    }
    WriteTraceLine(out, n);
  }
  std::fflush(out);
  return 0;
}

int SimulateCommand(const Args& args) { return RunSimulate(args, stdout); }
