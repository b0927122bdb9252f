#include "tools/replay/Session.h"

#include <SDL.h>
#include <dlfcn.h>
#include <link.h>

#include <string_view>
#include <thread>
#include <vector>

#include "app/GameState.h"
#include "app/Random.h"
#include "audio/AudioLibrary.h"
#include "game/Gameplay.h"
#include "game/Units.h"
#include "gfx/Render.h"
#include "platform/MediaPlayer.h"
#include "platform/MessageBox.h"
#include "platform/Window.h"
#include "screens/Screens.h"

namespace {

constexpr uint32_t kSeed = 1;             // any fixed value repeats
constexpr int64_t kMsPerFrame = 10;       // the video clock: one frame is 10 ms
constexpr auto kFrameInterval = std::chrono::milliseconds(10);

cSession* current = nullptr;
InputSet held{};

int64_t FrameClockMs() { return current ? current->FramesRun() * kMsPerFrame : 0; }

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kLeakChecked = true;
#elif defined(__has_feature)
constexpr bool kLeakChecked = __has_feature(address_sanitizer);
#else
constexpr bool kLeakChecked = false;
#endif

// Under the address sanitizer every library in memory now stays there until
// the process ends. The game unloads some when it closes (the OpenGL driver
// goes with the window), and the leak checker can name the code of what a
// library left allocated only while the library is there. (Valgrind keeps
// the names of unloaded code itself when told to.)
void KeepLoadedLibraries() {
  if (!kLeakChecked) return;
  std::vector<std::string> names;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        if (info->dlpi_name && info->dlpi_name[0])
          static_cast<std::vector<std::string>*>(data)->push_back(info->dlpi_name);
        return 0;
      },
      &names);
  // Never closed: the extra reference is the point.
  for (const std::string& name : names) dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
}

}  // namespace

const char* cSession::ScreenName() {
  const int level = game.currentLevel < kMaxLevels ? game.currentLevel : 0;
  if (screenFlags.levelDone[level]) return "statistics";
  if (screenFlags.levelLoaded[level]) return exitPromptOpen ? "exit-prompt" : "play";
  if (mainScreen.newGameChosen) return videoDone ? "loading" : "video";
  if (!IntroState.finished) return "splash";
  if (mainScreen.optionsShown) return "options";
  return mainScreen.menuHidden ? "menu-message" : "menu";
}

cSession::cSession(Options options) : options_(std::move(options)) {
  current = this;
  SetMediaClock(FrameClockMs);
  SetRandomizeSeed(kSeed);
  SetLoopObserver(this);
}

cSession::~cSession() {
  SetLoopObserver(nullptr);
  SetMediaClock(nullptr);
  SetRandomizeSeed(std::nullopt);
  current = nullptr;
}

bool cSession::Open() {
  // The device states come from the items, never from the real keyboard
  // (a recorder reads them from HeldInput itself).
  if (!recorder_) SetInputSource(HeldInput);
  nextFrame_ = std::chrono::steady_clock::now();
  return OpenGame();
}

void cSession::Hold(const InputSet& input) { held = input; }
InputSet cSession::HeldInput() { return held; }

bool cSession::Ended() const { return TerminateRequested(); }

int cSession::Close() {
  if (options_.stateOut) std::fprintf(options_.stateOut, "%s\n", StateLine("end", framesRun_).c_str());
  KeepLoadedLibraries();
  return CloseGame();
}

void cSession::Execute(const tRecordItem& item) {
  switch (item.kind) {
    case tRecordItem::Input:
      Hold(item.input);
      break;
    case tRecordItem::Frames:
      for (int i = 0; i < item.count && !Ended(); ++i) {
        if (options_.realtime) {
          std::this_thread::sleep_until(nextFrame_);
          nextFrame_ = std::max(nextFrame_ + kFrameInterval, std::chrono::steady_clock::now());
        }
        if (options_.beforeFrame) options_.beforeFrame();
        if (Ended()) break;
        AudioUpdate();
        if (options_.keepFactor) frameFactor = item.factor;
        RunFrame();
        if (options_.frameHashOut) WriteFrameHash();
      }
      break;
    case tRecordItem::Second:
      RunSecond();
      break;
    case tRecordItem::Stage:
      Stage(item.name);
      break;
    default:
      Deliver(item);
      break;
  }
}

// An event goes through the window system's queue as a real one would, so
// that the skip-key watch sees it; the real devices' events are dropped.
void cSession::Deliver(const tRecordItem& item) {
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  SDL_Event event{};
  switch (item.kind) {
    case tRecordItem::Move:
      event.type = SDL_MOUSEMOTION;
      SceneToWindow(GameWindowSize(), item.x, item.y, event.motion.x, event.motion.y);
      break;
    case tRecordItem::Down:
    case tRecordItem::Up:
      event.type = item.kind == tRecordItem::Down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
      event.button.button = uint8_t(item.button);
      event.button.state = item.kind == tRecordItem::Down ? SDL_PRESSED : SDL_RELEASED;
      event.button.clicks = 1;
      SceneToWindow(GameWindowSize(), item.x, item.y, event.button.x, event.button.y);
      break;
    case tRecordItem::Key:
      event.type = SDL_KEYDOWN;
      event.key.state = SDL_PRESSED;
      event.key.keysym.sym = item.key;
      event.key.keysym.scancode = SDL_GetScancodeFromKey(item.key);
      break;
    default:
      event.type = SDL_QUIT;
      break;
  }
  Send(event);
}

void cSession::Send(const SDL_Event& sent) {
  SDL_Event event = sent;
  SDL_PushEvent(&event);
  SDL_Event queued;
  while (SDL_PeepEvents(&queued, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1)
    HandleEvent(queued);
}

void cSession::EventHandled(const SDL_Event& event) {
  if (recorder_) recorder_->EventHandled(event);
}

void cSession::FrameRun() {
  ++framesRun_;
  if (recorder_) recorder_->FrameRun();
}

void cSession::SecondTicked() {
  if (recorder_) recorder_->SecondTicked();
}

void cSession::Stage(const std::string& name) {
  if (recorder_) recorder_->Stage(name);
  if (options_.stateOut) {
    std::fprintf(options_.stateOut, "%s\n", StateLine(name, framesRun_).c_str());
    std::fflush(options_.stateOut);
  }
  if (!options_.screenshotDir.empty()) Screenshot(name);
}

// The picture of the last frame, as a binary PPM with the top row first:
// the scene as drawn, whatever the size of the window.
void cSession::Screenshot(const std::string& name) {
  std::vector<uint8_t> rgba(size_t(kScreenWidth) * kScreenHeight * 4);
  RenderReadScene(0, 0, kScreenWidth, kScreenHeight, rgba.data());
  const std::string path = options_.screenshotDir + "/" + name + ".ppm";
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) {
    std::fprintf(stderr, "virko-replay: cannot write %s\n", path.c_str());
    return;
  }
  std::fprintf(out, "P6\n%d %d\n255\n", kScreenWidth, kScreenHeight);
  for (size_t i = 0; i < rgba.size(); i += 4) std::fwrite(&rgba[i], 1, 3, out);
  std::fclose(out);
}

// The frame's number and a hash of its scene: two runs of the same program
// that draw alike write the same lines. The scene is read into a buffer kept
// between frames, and hashed a word at a time: over a long replay both count.
void cSession::WriteFrameHash() {
  frameScene_.resize(size_t(kScreenWidth) * kScreenHeight * 4);
  RenderReadScene(0, 0, kScreenWidth, kScreenHeight, frameScene_.data());
  const size_t hash = std::hash<std::string_view>{}(
      std::string_view(reinterpret_cast<const char*>(frameScene_.data()), frameScene_.size()));
  std::fprintf(options_.frameHashOut, "%lld %s %016llx\n", static_cast<long long>(framesRun_), ScreenName(),
               static_cast<unsigned long long>(hash));
}

std::string cSession::StateLine(const std::string& stage, int64_t frame) {
  std::string line;
  char text[320];
  std::snprintf(text, sizeof text, "stage=%s frame=%lld screen=%s", stage.c_str(),
                static_cast<long long>(frame), ScreenName());
  line += text;
  std::snprintf(text, sizeof text, " x=%.17g y=%.17g camera=%.17g,%.17g factor=%.17g",
                double(units[0].x), units[0].y, cameraX, cameraY, frameFactor);
  line += text;
  std::snprintf(text, sizeof text,
                " kills=%d cones=%d puffs=%d bulletsUsed=%d fuelUsed=%d grenadesUsed=%d points=%d",
                stats.kills, stats.cones, stats.puffs, stats.bulletsUsed, stats.fuelUsed,
                stats.grenadesUsed, stats.points);
  line += text;
  std::snprintf(text, sizeof text,
                " pointsTotal=%d conesTotal=%u puffsTotal=%u bullets=%d fuel=%d grenades=%d"
                " seconds=%u music=%u sound=%u light=%u",
                game.pointsTotal, game.conesTotal, game.puffsTotal, game.bullets, game.fuel,
                game.grenades, game.playSeconds, game.musicVolume, game.soundVolume,
                game.lightLevel);
  line += text;
  line += " taken=";
  for (int k = 0; k < kPickupKinds; ++k) {
    int taken = 0;
    for (int i = 0; i <= pickupKinds[k].lastItem && i < 100; ++i) taken += pickupKinds[k].items[i].taken;
    line += (k ? "," : "") + std::to_string(taken);
  }
  line += " health=";
  for (int i = 1; i <= game.unitCount && i <= kMaxUnits; ++i)
    line += (i > 1 ? "," : "") + std::to_string(units[i].health);
  return line;
}
