// virko-replay: the game with input recording and replay, for tests and for
// bug reports. It plays the same game files as the game.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/GameFolder.h"
#include "app/MainLoop.h"
#include "gfx/ScreenPictures.h"
#include "platform/Files.h"
#include "tools/cli/Checks.h"
#include "tools/replay/PlayThrough.h"
#include "tools/replay/Recording.h"
#include "tools/replay/Session.h"
#include "tools/replay/Soak.h"

namespace {

constexpr const char* kUsage =
    "usage: virko-replay --record FILE\n"
    "       virko-replay --play FILE [--realtime] [--screenshots DIR] [--state FILE]\n"
    "                    [--frame-hashes FILE] [--screens-held-from-start]\n"
    "       virko-replay --play-demo FILE [--route ROUTE] [--screenshots DIR] [--state FILE]\n"
    "       virko-replay --soak FRAMES [--seed N]\n"
    "Plays the current folder if it holds levels.cfg, else the installed game.\n"
    "  --record FILE       play the game as usual and record its input to FILE\n"
    "  --play FILE         replay FILE as fast as frames can be drawn\n"
    "  --play-demo FILE    play the demo level through with the scripted player\n"
    "                      and record it to FILE\n"
    "  --route ROUTE       with --play-demo: play the level by ROUTE instead, the\n"
    "                      input file of virko-tool simulate\n"
    "  --soak FRAMES       run FRAMES frames of random input, starting the game\n"
    "                      again whenever it ends; prints the seed and the\n"
    "                      screens reached\n"
    "  --seed N            the soak's seed (random if not given)\n"
    "  --realtime          replay at the game's pace, 100 frames a second\n"
    "  --screenshots DIR   a picture DIR/STAGE.ppm at every stage of the recording\n"
    "  --state FILE        a state line at every stage and at the end\n"
    "  --frame-hashes FILE with --play: a line for every frame, its number, the\n"
    "                      screen and a hash of its pixels\n"
    "  --screens-held-from-start  with --play: the level's screen pictures all\n"
    "                      loaded with the level and held, none streamed\n";

struct Arguments {
  std::string record, play, playDemo, route, screenshots, state, soak, seed, frameHashes;
  bool realtime = false, screensHeld = false;
  int64_t soakFrames = 0;
  uint32_t soakSeed = 0;
};

// A whole number from 0 to max, nothing else.
bool ParseNumber(const std::string& text, uint64_t max, uint64_t& value) {
  if (text.empty() || text.size() > 20 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  errno = 0;
  const unsigned long long parsed = std::strtoull(text.c_str(), nullptr, 10);
  if (errno != 0 || parsed > max) return false;
  value = parsed;
  return true;
}

bool Parse(int argc, char** argv, Arguments& a) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    std::string* value = option == "--record"        ? &a.record
                         : option == "--play"        ? &a.play
                         : option == "--play-demo"   ? &a.playDemo
                         : option == "--route"       ? &a.route
                         : option == "--screenshots" ? &a.screenshots
                         : option == "--state"       ? &a.state
                         : option == "--soak"        ? &a.soak
                         : option == "--seed"        ? &a.seed
                         : option == "--frame-hashes" ? &a.frameHashes
                                                     : nullptr;
    if (option == "--realtime") {
      a.realtime = true;
    } else if (option == "--screens-held-from-start") {
      a.screensHeld = true;
    } else if (!value || i + 1 == argc) {
      return false;
    } else {
      *value = argv[++i];
    }
  }
  if (!a.soak.empty()) {
    uint64_t frames = 0, seed = 0;
    if (!ParseNumber(a.soak, uint64_t(1) << 40, frames)) return false;
    a.soakFrames = int64_t(frames);
    if (a.seed.empty()) {
      a.soakSeed = std::random_device{}();
    } else if (ParseNumber(a.seed, UINT32_MAX, seed)) {
      a.soakSeed = uint32_t(seed);
    } else {
      return false;
    }
    // Nothing is recorded, replayed or pictured in a soak.
    if (a.realtime || !a.screenshots.empty() || !a.state.empty()) return false;
  } else if (!a.seed.empty()) {
    return false;
  }
  return int(!a.record.empty()) + int(!a.play.empty()) + int(!a.playDemo.empty()) +
                 int(!a.soak.empty()) == 1 &&
         (a.route.empty() || !a.playDemo.empty()) &&
         ((a.frameHashes.empty() && !a.screensHeld) || !a.play.empty());
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenOutput(const std::string& path) {
  File file(std::fopen(path.c_str(), "w"));
  if (!file) std::fprintf(stderr, "virko-replay: cannot write %s\n", path.c_str());
  return file;
}

int Record(const std::string& path) {
  File out = OpenOutput(path);
  if (!out) return 1;
  cSession session;
  cRecorder recorder(out.get(), nullptr);
  session.SetRecorder(&recorder);
  return RunGame();
}

int Play(const Arguments& a, File& stateOut) {
  std::vector<tRecordItem> items;
  std::string error;
  if (!ReadRecording(a.play, items, error)) {
    std::fprintf(stderr, "virko-replay: %s\n", error.c_str());
    return 1;
  }
  File hashOut;
  if (!a.frameHashes.empty() && !(hashOut = OpenOutput(a.frameHashes))) return 1;
  HoldAllScreenPictures(a.screensHeld);
  cSession session({a.screenshots, stateOut.get(), a.realtime, true, {}, hashOut.get()});
  size_t next = 0;
  // The device states of the refresh at start-up come before everything.
  for (; next < items.size() && items[next].kind == tRecordItem::Input; ++next)
    session.Execute(items[next]);
  if (!session.Open()) return 1;
  for (; next < items.size() && !session.Ended(); ++next) session.Execute(items[next]);
  if (!session.Ended()) std::fprintf(stderr, "virko-replay: the recording ended before the game\n");
  const int status = session.Close();
  return session.Ended() ? status : 2;
}

int PlayDemo(const Arguments& a, File& stateOut) {
  std::optional<std::vector<InputSet>> route;
  if (!a.route.empty() && !(route = ReadInputFile(a.route))) return 1;
  File out = OpenOutput(a.playDemo);
  if (!out) return 1;
  cSession session({a.screenshots, stateOut.get(), false, false, {}});
  cRecorder recorder(out.get(), cSession::HeldInput);
  session.SetRecorder(&recorder);
  if (!session.Open()) return 1;
  const bool played = PlayThrough(session, route ? &*route : nullptr);
  recorder.Flush();
  const int status = session.Close();
  return played && session.Ended() ? status : 2;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments a;
  if (!Parse(argc, argv, a)) {
    std::fputs(kUsage, stderr);
    return 64;
  }
  // The game files' folder becomes the working folder: the files named on
  // the command line are where the player named them.
  for (std::string* path :
       {&a.record, &a.play, &a.playDemo, &a.route, &a.screenshots, &a.state, &a.frameHashes}) {
    if (!path->empty()) *path = std::filesystem::absolute(*path).string();
  }
  std::string error;
  const std::optional<tGameFolder> folder = ChooseGameFolder(std::nullopt, ProgramFolder(), error);
  if (!folder) std::fprintf(stderr, "virko-replay: %s\n", error.c_str());
  if (folder && !EnterGameFolder(*folder, error)) {
    std::fprintf(stderr, "virko-replay: %s\n", error.c_str());
    return 66;
  }
  File stateOut;
  if (!a.state.empty() && !(stateOut = OpenOutput(a.state))) return 1;
  if (!a.record.empty()) return Record(a.record);
  if (!a.soak.empty()) return RunSoak(a.soakFrames, a.soakSeed);
  return a.play.empty() ? PlayDemo(a, stateOut) : Play(a, stateOut);
}
