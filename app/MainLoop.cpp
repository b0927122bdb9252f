#include "app/MainLoop.h"

#include <SDL.h>
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "app/DisplayChoice.h"
#include "app/FrameClock.h"
#include "app/KeyPointer.h"
#include "app/Startup.h"
#include "audio/AudioLibrary.h"
#include "gfx/Focus.h"
#include "gfx/ScreenPictures.h"
#include "platform/GamePad.h"
#include "platform/MediaPlayer.h"
#include "platform/MessageBox.h"
#include "platform/Window.h"
#include "platform/X11Window.h"

namespace {

using Clock = cFrameClock::Clock;

cLoopObserver* observer = nullptr;

void DispatchEvent(const SDL_Event& event) {
  int x = 0, y = 0;
  KeyPointerEvent(event);
  switch (event.type) {
    case SDL_QUIT:
      FormClose();
      break;
    case SDL_WINDOWEVENT:
      // The display mode and the context come back when the focus does;
      // losing it changes nothing, so as not to fight the player's Alt+Tab.
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
        FormCreate();
      else if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
        GameWindowChanged();
      else if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
               event.window.event == SDL_WINDOWEVENT_SHOWN)
        GameWindowExposed();
      else if (event.window.event == SDL_WINDOWEVENT_CLOSE)
        FormClose();
      break;
    case SDL_KEYDOWN:
      if (IsFullScreenToggle(event.key)) DisplayChoiceMade(ToggleFullScreen());
      break;
    case SDL_SYSWMEVENT:
      if (IsX11ScreenResize(event)) GameScreenResized();
      break;
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_JOYDEVICEADDED:
    case SDL_JOYDEVICEREMOVED:
      FollowPads();
      break;
    case SDL_MOUSEMOTION:
      WindowToScene(GameWindowSize(), event.motion.x, event.motion.y, x, y);
      FormMouseMove(x, y);
      break;
    case SDL_MOUSEBUTTONDOWN:
      WindowToScene(GameWindowSize(), event.button.x, event.button.y, x, y);
      FormMouseMove(x, y);
      FormMouseDown();
      break;
    case SDL_MOUSEBUTTONUP:
      WindowToScene(GameWindowSize(), event.button.x, event.button.y, x, y);
      FormMouseMove(x, y);
      // As on the original's toolkit: the click of the left button comes
      // before its button-up.
      if (event.button.button == SDL_BUTTON_LEFT) FormClick();
      FormMouseUp();
      break;
    default:
      break;
  }
}

}  // namespace

void SetLoopObserver(cLoopObserver* newObserver) { observer = newObserver; }

void HandleEvent(const SDL_Event& event) {
  DispatchEvent(event);
  if (observer) observer->EventHandled(event);
}

void RunFrame() {
  DXTimer1Timer();
  EndFocusFrame();
  KeyPointerFrameRun();
  if (observer) observer->FrameRun();
}

void RunSecond() {
  Timer1Timer();
  if (observer) observer->SecondTicked();
}

namespace {

// Sleeps until the given time or the next event, whichever comes first,
// without spinning.
void WaitUntil(Clock::time_point due) {
  const auto remaining = due - Clock::now();
  if (remaining <= Clock::duration::zero()) return;
  const auto wholeMs = std::chrono::duration_cast<std::chrono::milliseconds>(remaining);
  SDL_Event event;
  if (wholeMs.count() >= 1) {
    if (SDL_WaitEventTimeout(&event, int(wholeMs.count()))) HandleEvent(event);
  } else {
    std::this_thread::sleep_for(remaining);
  }
}

// Pictures come and go while the level plays. Buffers of a picture's size are
// mapped on their own, so that freeing one gives its memory back at once;
// glibc's default would raise the threshold past them after the first free
// and keep them on its heaps. Smaller buffers, which the renderer takes and
// frees every frame, stay on the heaps: mapping those costs frame time.
void ReturnFreedPictureMemory() {
  constexpr int kMappedFrom = 1024 * 1024;
  mallopt(M_MMAP_THRESHOLD, kMappedFrom);
}

}  // namespace

bool OpenGame() {
  ReturnFreedPictureMemory();
  std::string error;
  if (!CreateGameWindow(error)) {
    std::fprintf(stderr, "virko: %s\n", error.c_str());
    return false;
  }
  FormCreate();
  ShowFirstPicture();
  FollowPads();  // from now on pads coming and going are told
  return true;
}

int CloseGame() {
  AudioFree();  // already released on every way out; harmless again
  StopScreenPictures();  // its textures go with the window's context
  DropPreparedVideo();
  DestroyGameWindow();
  ClosePads();
  SDL_Quit();
  return LoadFailureReported() ? 1 : 0;
}

int RunGame() {
  if (!OpenGame()) return 1;
  cFrameClock timers(Clock::now());
  while (!TerminateRequested()) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) HandleEvent(event);
    if (TerminateRequested()) break;
    AudioUpdate();
    if (timers.FrameDue(Clock::now(), GameWindowHasFocus())) RunFrame();
    if (timers.SecondDue(Clock::now())) RunSecond();
    WaitUntil(timers.NextWake(GameWindowHasFocus()));
  }
  return CloseGame();
}
