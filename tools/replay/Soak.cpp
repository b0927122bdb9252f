#include "tools/replay/Soak.h"

#include <SDL.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "app/GameState.h"
#include "app/Input.h"
#include "app/MainLoop.h"
#include "app/Random.h"
#include "gfx/Focus.h"
#include "platform/MediaPlayer.h"
#include "platform/MessageBox.h"
#include "platform/Window.h"
#include "screens/Screens.h"
#include "tools/replay/PlayThrough.h"
#include "tools/replay/Session.h"

namespace {

// The scripted play-through takes about 6,600 frames; a life gets it only
// when that many are left.
constexpr int64_t kDemoFrames = 7000;

enum tScreen {
  kSplash,
  kMenu,
  kOptions,
  kLoadMessage,
  kBonus,
  kCredits,
  kIntroVideo,
  kLoading,
  kPlay,
  kExitPrompt,
  kStatistics,
  kScreens
};
constexpr const char* kScreenNames[kScreens] = {
    "splash", "menu",    "options", "load-message", "bonus",     "credits-video",
    "intro-video", "loading", "play", "exit-prompt", "statistics"};

tScreen ScreenNow() {
  const char* name = cSession::ScreenName();
  const auto is = [name](const char* other) { return std::strcmp(name, other) == 0; };
  if (is("splash")) return kSplash;
  if (is("options")) return kOptions;
  if (is("menu-message")) {
    if (mainScreen.bonusShown) return MediaPlayer1.enabled ? kCredits : kBonus;
    return kLoadMessage;
  }
  if (is("video")) return kIntroVideo;
  if (is("loading")) return kLoading;
  if (is("play")) return kPlay;
  if (is("exit-prompt")) return kExitPrompt;
  if (is("statistics")) return kStatistics;
  return kMenu;
}

// The game's input state a key stands for (the start-up key assignments),
// or -1.
int StateOfKey(SDL_Keycode key) {
  switch (key) {
    case SDLK_UP: case SDLK_k: return isUp;
    case SDLK_DOWN: case SDLK_j: return isDown;
    case SDLK_LEFT: case SDLK_h: return isLeft;
    case SDLK_RIGHT: case SDLK_l: return isRight;
    case SDLK_SPACE: case SDLK_z: return Button(1);
    case SDLK_RETURN: case SDLK_x: return Button(2);
    case SDLK_LCTRL: return Button(3);
    case SDLK_PAGEDOWN: return Button(5);
    case SDLK_LSHIFT: return Button(6);
    case SDLK_LALT: return Button(7);
    case SDLK_ESCAPE: return Button(8);
    case SDLK_F2: return Button(9);
    default: return -1;
  }
}

constexpr SDL_Keycode kKeys[] = {
    SDLK_ESCAPE, SDLK_SPACE, SDLK_RETURN, SDLK_KP_ENTER, SDLK_F11, SDLK_UP,  SDLK_DOWN,
    SDLK_LEFT,   SDLK_RIGHT, SDLK_LALT,   SDLK_LCTRL,    SDLK_TAB, SDLK_LSHIFT, SDLK_PAGEDOWN,
    SDLK_F2,     SDLK_z,     SDLK_x,      SDLK_a};

// Something to send at a later frame: the release of a key or a button,
// the end of a drag. Mouse positions are in scene pixels and go to the
// window's coordinates when sent, at the size the window has then.
struct tPending {
  int64_t due;
  enum Kind { KeyUp, Move, ButtonDown, ButtonUp, FocusGained, Resize } kind;
  int x = 0, y = 0, button = 0;  // a Resize's width and height in x and y
  SDL_Keycode key = 0;
};

class cSoak {
 public:
  cSoak(uint32_t seed, int64_t budget) : random_(seed), budget_(budget) {}

  void Attach(cSession* session) { s_ = session; }
  // False when the window cannot be opened.
  bool Run();
  void BeforeFrame();
  void Report() const;

 private:
  int64_t Frame() const { return s_->FramesRun(); }
  int Uniform(int from, int to) { return std::uniform_int_distribution<int>(from, to)(random_); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }

  void StartLife();
  void EndLife(const char* how);

  void Count(tScreen screen);
  void SendDue();
  void Later(tPending pending) { pending_.push_back(pending); }
  void Key(SDL_Keycode key, bool down);
  void Mouse(uint32_t type, int x, int y, int button);
  void Window(SDL_WindowEventID id, int data1 = 0, int data2 = 0);
  void Resize(int width, int height);
  void Click(int x, int y, int button = SDL_BUTTON_LEFT);
  void Drag(int fromX, int y, int toX);

  void WindowChaos();
  void GameChaos();
  void Second();
  void Steer(tScreen screen);
  void SteerMenu();
  void SteerPlay();
  void ClickTarget(bool preferLast);

  std::mt19937 random_;
  int64_t budget_;
  cSession* s_ = nullptr;

  bool demo_ = false;       // the scripted play-through drives this life
  bool demoTried_ = false;
  int lives_ = 0;
  int64_t lifeStart_ = 0;
  int64_t lifeLength_ = 0;  // when this life starts to steer for a way out
  int64_t playFrames_ = 0;  // in play during this life
  int64_t busyUntil_ = 0;   // a steered gesture is under way until then
  int64_t nextSecond_ = 100;
  int64_t phaseEnd_ = 0;
  bool steering_ = true;
  tScreen last_ = kScreens;
  int64_t frames_[kScreens] = {};
  int visits_[kScreens] = {};
  std::vector<std::string> lifeLines_;

  std::vector<tPending> pending_;
  InputSet keysHeld_{};   // the states of the keys held down
  InputSet steerHeld_{};  // the states the steering holds in play
  uint16_t modifiers_ = KMOD_NONE;
  int jumpFrames_ = 0, throwFrames_ = 0, walk_ = isRight;
};

void cSoak::Count(tScreen screen) {
  ++frames_[screen];
  if (screen != last_) ++visits_[screen];
  last_ = screen;
}

void cSoak::Key(SDL_Keycode key, bool down) {
  const uint16_t modifier = key == SDLK_LALT ? KMOD_LALT : key == SDLK_LCTRL ? KMOD_LCTRL
                            : key == SDLK_LSHIFT ? KMOD_LSHIFT : KMOD_NONE;
  if (down) modifiers_ |= modifier; else modifiers_ &= uint16_t(~modifier);
  const int state = StateOfKey(key);
  if (state >= 0) down ? keysHeld_.Add(state) : keysHeld_.Remove(state);
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = key;
  event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
  event.key.keysym.mod = modifiers_;
  if (SDL_Window* window = SDL_GL_GetCurrentWindow()) event.key.windowID = SDL_GetWindowID(window);
  s_->Send(event);
}

void cSoak::Mouse(uint32_t type, int x, int y, int button) {
  SDL_Event event{};
  event.type = type;
  int wx = 0, wy = 0;
  SceneToWindow(GameWindowSize(), x, y, wx, wy);
  if (type == SDL_MOUSEMOTION) {
    event.motion.x = wx;
    event.motion.y = wy;
  } else {
    event.button.button = uint8_t(button);
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = wx;
    event.button.y = wy;
  }
  s_->Send(event);
}

void cSoak::Window(SDL_WindowEventID id, int data1, int data2) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = uint8_t(id);
  event.window.data1 = data1;
  event.window.data2 = data2;
  if (SDL_Window* window = SDL_GL_GetCurrentWindow()) event.window.windowID = SDL_GetWindowID(window);
  s_->Send(event);
}

// The window's real size changed, and the event of it.
void cSoak::Resize(int width, int height) {
  SDL_Window* window = SDL_GL_GetCurrentWindow();
  if (!window) return;
  SDL_SetWindowSize(window, width, height);
  Window(SDL_WINDOWEVENT_SIZE_CHANGED, width, height);
}

// Pointer there, press, let go a few frames later: a menu item fires on the
// release, a button on the press.
void cSoak::Click(int x, int y, int button) {
  Mouse(SDL_MOUSEMOTION, x, y, 0);
  const int64_t down = Frame() + Uniform(1, 3);
  const int64_t up = down + Uniform(1, 4);
  Later({down, tPending::ButtonDown, x, y, button});
  Later({up, tPending::ButtonUp, x, y, button});
  busyUntil_ = std::max(busyUntil_, up + 1);
}

// A press on a track bar, moved along it and let go.
void cSoak::Drag(int fromX, int y, int toX) {
  Mouse(SDL_MOUSEMOTION, fromX, y, 0);
  int64_t at = Frame() + 1;
  Later({at, tPending::ButtonDown, fromX, y, SDL_BUTTON_LEFT});
  const int steps = Uniform(1, 8);
  for (int i = 1; i <= steps; ++i)
    Later({++at, tPending::Move, fromX + (toX - fromX) * i / steps, y + Uniform(-3, 3)});
  Later({++at, tPending::ButtonUp, toX, y, SDL_BUTTON_LEFT});
  busyUntil_ = std::max(busyUntil_, at + 1);
}

void cSoak::SendDue() {
  // What falls due may add more; those wait for a later frame.
  std::vector<tPending> due;
  for (auto it = pending_.begin(); it != pending_.end();) {
    if (it->due <= Frame()) {
      due.push_back(*it);
      it = pending_.erase(it);
    } else {
      ++it;
    }
  }
  std::stable_sort(due.begin(), due.end(),
                   [](const tPending& a, const tPending& b) { return a.due < b.due; });
  for (const tPending& p : due) {
    switch (p.kind) {
      case tPending::KeyUp: Key(p.key, false); break;
      case tPending::Move: Mouse(SDL_MOUSEMOTION, p.x, p.y, 0); break;
      case tPending::ButtonDown: Mouse(SDL_MOUSEBUTTONDOWN, p.x, p.y, p.button); break;
      case tPending::ButtonUp: Mouse(SDL_MOUSEBUTTONUP, p.x, p.y, p.button); break;
      case tPending::FocusGained: Window(SDL_WINDOWEVENT_FOCUS_GAINED); break;
      case tPending::Resize: Resize(p.x, p.y); break;
    }
  }
}

// What the window system may do to the window at any time; none of it
// changes the game, so the scripted play-through gets it too.
void cSoak::WindowChaos() {
  SDL_Window* window = SDL_GL_GetCurrentWindow();
  if (Chance(1.0 / 400) && window) {
    int width = 0, height = 0;
    // The scripted player aims at the middles of buttons: in a window much
    // smaller than the scene a pointer position cannot hit them.
    switch (demo_ ? 2 : Uniform(0, 3)) {
      case 0: {
        static constexpr int kSizes[][2] = {{800, 600}, {640, 480}, {1024, 768}, {1280, 720},
                                            {1920, 1080}, {400, 300}, {600, 800}, {1, 1}};
        const auto& size = kSizes[Uniform(0, int(std::size(kSizes)) - 1)];
        width = size[0];
        height = size[1];
        break;
      }
      case 1:  // thin ones
        width = Uniform(1, 8);
        height = Uniform(1, 1200);
        if (Chance(0.5)) std::swap(width, height);
        break;
      case 2:
        width = Uniform(400, 2000);
        height = Uniform(300, 1500);
        break;
      default:
        width = Uniform(1, 2000);
        height = Uniform(1, 1500);
        break;
    }
    Resize(width, height);
    // In a window of a few pixels the pointer cannot be put on a button:
    // a size a player would have comes back after a while.
    if (Chance(0.7)) {
      static constexpr int kUsual[][2] = {{800, 600}, {640, 480}, {1024, 768}, {1600, 1200}};
      const auto& usual = kUsual[Uniform(0, int(std::size(kUsual)) - 1)];
      Later({Frame() + Uniform(20, 300), tPending::Resize, usual[0], usual[1]});
    }
  }
  if (Chance(1.0 / 500)) Window(SDL_WINDOWEVENT_FOCUS_LOST);
  if (Chance(1.0 / 500)) Window(SDL_WINDOWEVENT_FOCUS_GAINED);
  if (Chance(1.0 / 500)) Window(SDL_WINDOWEVENT_EXPOSED);
  if (Chance(1.0 / 3000) && window) {
    SDL_MinimizeWindow(window);
    Window(SDL_WINDOWEVENT_FOCUS_LOST);
    Later({Frame() + Uniform(1, 100), tPending::FocusGained});
  }
  if (Chance(1.0 / 1500)) {
    Key(SDLK_F11, true);
    Later({Frame() + Uniform(1, 10), tPending::KeyUp, 0, 0, 0, SDLK_F11});
  }
}

// The once-a-second handler, the frames counted since the last one chosen
// so that the frame time factor takes every kind of value: unchanged (no
// frame), the slow case below 40 frames a second, ordinary and very fast.
void cSoak::Second() {
  switch (Uniform(0, 9)) {
    case 0: frameCount = 0; break;
    case 1: case 2: frameCount = uint16_t(Uniform(1, 39)); break;
    case 3: case 4: case 5: case 6: frameCount = uint16_t(Uniform(40, 120)); break;
    case 7: case 8: frameCount = uint16_t(Uniform(121, 1000)); break;
    default: frameCount = uint16_t(Uniform(1001, 65535)); break;
  }
  RunSecond();
  nextSecond_ = Frame() + Uniform(20, 200);
}

// Input without a plan: any key, the pointer anywhere (in the scene, on the
// bars, beyond the window), any button.
void cSoak::GameChaos() {
  const double rate = steering_ ? 0.3 : 1.0;
  if (Chance(rate / 40)) {
    const SDL_Keycode key = kKeys[Uniform(0, int(std::size(kKeys)) - 1)];
    Key(key, true);
    Later({Frame() + Uniform(0, 60), tPending::KeyUp, 0, 0, 0, key});
  }
  if (Chance(rate / 15)) Mouse(SDL_MOUSEMOTION, Uniform(-40, 839), Uniform(-40, 639), 0);
  if (Chance(rate / 60)) {
    const int button = Chance(0.8) ? SDL_BUTTON_LEFT : Chance(0.5) ? SDL_BUTTON_RIGHT : SDL_BUTTON_MIDDLE;
    const int x = Uniform(-40, 839), y = Uniform(-40, 639);
    Mouse(SDL_MOUSEMOTION, x, y, 0);
    Mouse(SDL_MOUSEBUTTONDOWN, x, y, button);
    Later({Frame() + Uniform(0, 10), tPending::ButtonUp, x, y, button});
  }
  if (Chance(1.0 / 30000)) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    if (Chance(0.5)) {
      s_->Send(quit);
    } else {
      Window(SDL_WINDOWEVENT_CLOSE);
    }
  }
}

// A shown widget or item, hit somewhere inside (the buttons fire on the
// press, the items on the release). The last in reading order is the
// rightmost button of a row: Credits, Exit.
void cSoak::ClickTarget(bool preferLast) {
  const std::vector<tFocusTarget>& targets = ShownFocusTargets();
  if (targets.empty()) return;
  const tFocusTarget& t = preferLast ? targets.back() : targets[Uniform(0, int(targets.size()) - 1)];
  if (t.bar && t.right - t.left > 2) {
    Drag(Uniform(t.left + 1, t.right - 1), t.y, Uniform(t.left - 20, t.right + 20));
    return;
  }
  const int x = t.right - t.left > 2 ? Uniform(t.left + 1, t.right - 1) : t.x;
  const int y = t.bottom - t.top > 2 ? Uniform(t.top + 1, t.bottom - 1) : t.y;
  Click(x, y);
}

// The menu's items by what they lead to: the screens seen least are
// wanted most; Exit ends the life, wanted once the life is long.
void cSoak::SteerMenu() {
  const bool late = Frame() - lifeStart_ > lifeLength_;
  const double weights[5] = {
      late ? 0.5 : 3.0 / (1 + visits_[kIntroVideo]),   // New Game
      1.0 / (1 + visits_[kLoadMessage]),                // Load
      1.0 / (1 + visits_[kOptions]),                    // Options
      2.0 / (1 + visits_[kBonus] + visits_[kCredits]),  // Bonus
      late ? 4.0 : 0.03,                                // Exit
  };
  std::discrete_distribution<int> pick(std::begin(weights), std::end(weights));
  const tMenuItem& item = mainScreen.items[pick(random_)];
  if (item.right - item.left < 3 || item.bottom - item.top < 3) return;
  Click(Uniform(item.left + 1, item.right - 1), Uniform(item.top + 1, item.bottom - 1));
}

// Mostly onward to the right, jumping and throwing; toward the exit prompt
// once the life has played long enough.
void cSoak::SteerPlay() {
  ++playFrames_;
  steerHeld_ = InputSet{};
  if (Chance(1.0 / 60)) walk_ = Chance(0.7) ? isRight : Chance(0.5) ? isLeft : -1;
  if (walk_ >= 0) steerHeld_.Add(walk_);
  if (jumpFrames_ == 0 && Chance(1.0 / 50)) jumpFrames_ = Uniform(2, 40);
  if (jumpFrames_ > 0 && --jumpFrames_ > 0) steerHeld_.Add(Button(7));
  if (throwFrames_ == 0 && Chance(1.0 / 120)) throwFrames_ = Uniform(1, 10);
  if (throwFrames_ > 0 && --throwFrames_ > 0) steerHeld_.Add(Button(3));
  if (Chance(1.0 / 200)) steerHeld_.Add(Chance(0.5) ? isUp : isDown);
  const bool late = Frame() - lifeStart_ > lifeLength_;
  if ((late || Chance(1.0 / 1500)) && Frame() >= busyUntil_) {
    steerHeld_.Add(Button(8));  // the exit prompt
    busyUntil_ = Frame() + 20;
  }
}

void cSoak::Steer(tScreen screen) {
  if (screen != kPlay) steerHeld_ = InputSet{};
  if (screen == kPlay) SteerPlay();
  if (Frame() < busyUntil_ || !Chance(steering_ ? 1.0 / 20 : 1.0 / 400)) return;
  const bool late = Frame() - lifeStart_ > lifeLength_;
  switch (screen) {
    case kSplash:
    case kIntroVideo:
    case kCredits:
      // Skipped now and then, else watched to the end.
      if (screen == kSplash || Chance(0.1)) {
        if (Chance(0.7)) {
          const SDL_Keycode key = Chance(0.4) ? SDLK_ESCAPE : Chance(0.5) ? SDLK_SPACE : SDLK_RETURN;
          Key(key, true);
          Later({Frame() + Uniform(1, 5), tPending::KeyUp, 0, 0, 0, key});
        } else {
          Click(Uniform(0, 799), Uniform(0, 599));
        }
        busyUntil_ = Frame() + 10;
      }
      break;
    case kMenu:
      SteerMenu();
      break;
    case kOptions:
    case kLoadMessage:
      ClickTarget(false);
      break;
    case kBonus:
      ClickTarget(!late && (visits_[kCredits] <= visits_[kBonus] / 2 || Chance(0.3)));
      break;
    case kExitPrompt:
      ClickTarget(late || Chance(0.3));
      break;
    case kStatistics:
      ClickTarget(false);
      break;
    case kLoading:
    case kPlay:
    case kScreens:
      break;
  }
}

void cSoak::BeforeFrame() {
  // The window system's own events: those the soak's calls cause (sizes,
  // the pointer moved by the keys). The scripted player sets the pointer
  // itself; it gets the window's events only.
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (!demo_ || event.type == SDL_WINDOWEVENT) HandleEvent(event);
  }
  if (s_->Ended()) return;
  const tScreen screen = ScreenNow();
  Count(screen);
  SendDue();
  WindowChaos();
  if (demo_ || s_->Ended()) return;
  if (Frame() >= phaseEnd_) {
    steering_ = Chance(0.75);
    phaseEnd_ = Frame() + Uniform(50, 600);
  }
  if (Frame() >= nextSecond_) Second();
  GameChaos();
  if (!s_->Ended()) Steer(ScreenNow());
  InputSet held{};
  for (int i = 0; i < 5; ++i) held.bits[i] = keysHeld_.bits[i] | steerHeld_.bits[i];
  s_->Hold(held);
}

void cSoak::StartLife() {
  ++lives_;
  lifeStart_ = Frame();
  lifeLength_ = Uniform(1500, 5000);
  playFrames_ = 0;
  busyUntil_ = 0;
  nextSecond_ = Frame() + 100;
  last_ = kScreens;
  pending_.clear();
  keysHeld_ = steerHeld_ = InputSet{};
  modifiers_ = KMOD_NONE;
  jumpFrames_ = throwFrames_ = 0;
  s_->Hold(InputSet{});
  // The scripted play-through once, in a life after the first: the way to
  // the statistics screen, with the window's chaos around it.
  demo_ = !demoTried_ && lives_ > 1 && budget_ - Frame() >= kDemoFrames;
}

void cSoak::EndLife(const char* how) {
  char line[160];
  std::snprintf(line, sizeof line, "life %d: frames %" PRId64 " to %" PRId64 ", %s%s, on %s", lives_,
                lifeStart_, Frame(), demo_ ? "the scripted play-through, " : "", how,
                last_ < kScreens ? kScreenNames[last_] : "start-up");
  lifeLines_.push_back(line);
}

bool cSoak::Run() {
  tRecordItem frame;
  frame.count = 1;
  while (Frame() < budget_) {
    StartLife();
    if (!s_->Open()) return false;
    if (demo_) {
      demoTried_ = true;
      const bool through = PlayThrough(*s_);
      if (!through || !s_->Ended())
        std::printf("soak: the scripted play-through %s\n",
                    through ? "did not end the game" : "did not get through");
      demo_ = s_->Ended();  // else the life goes on with random input
    }
    while (!s_->Ended() && Frame() < budget_) s_->Execute(frame);
    const bool ended = s_->Ended();
    EndLife(ended ? "the game ended" : "out of frames");
    s_->Close();
    // Everything back to the start of a run, as a new process would have it.
    ResetGameState();
    ClearTerminateRequest();
    if (!ended) break;
  }
  return true;
}

void cSoak::Report() const {
  std::printf("soak: %" PRId64 " frames run, %d lives\n", s_->FramesRun(), lives_);
  for (const std::string& line : lifeLines_) std::printf("soak: %s\n", line.c_str());
  std::printf("soak: %-14s %8s %7s\n", "screen", "frames", "visits");
  std::string missing;
  for (int i = 0; i < kScreens; ++i) {
    std::printf("soak: %-14s %8" PRId64 " %7d\n", kScreenNames[i], frames_[i], visits_[i]);
    if (!visits_[i]) missing += std::string(" ") + kScreenNames[i];
  }
  if (missing.empty())
    std::printf("soak: every screen reached\n");
  else
    std::printf("soak: not reached:%s\n", missing.c_str());
}

}  // namespace

int RunSoak(int64_t frames, uint32_t seed) {
  std::printf("soak: seed %" PRIu32 " (again with --soak %" PRId64 " --seed %" PRIu32 ")\n", seed,
              frames, seed);
  std::fflush(stdout);
  cSoak soak(seed, frames);
  tSessionOptions options;
  options.keepFactor = false;  // the frame time factor is the once-a-second handler's
  options.beforeFrame = [&soak] { soak.BeforeFrame(); };
  cSession session(options);
  SetRandomizeSeed(seed);
  soak.Attach(&session);
  const bool opened = soak.Run();
  soak.Report();
  return opened ? 0 : 1;
}
