#include "platform/SkipKeys.h"

#include <SDL.h>

#include <atomic>

#include "platform/GamePad.h"
#include "platform/Window.h"

namespace {

std::atomic<bool> skipPending{false};
std::atomic<bool> buttonDown{false};  // a mouse button went down while watching

bool IsSkipKey(SDL_Keycode key) {
  return key == SDLK_ESCAPE || key == SDLK_SPACE || key == SDLK_RETURN || key == SDLK_KP_ENTER;
}

// A controller's buttons that jump, throw or open the exit prompt.
bool IsSkipButton(uint8_t button) {
  return button == SDL_CONTROLLER_BUTTON_A || button == SDL_CONTROLLER_BUTTON_B ||
         button == SDL_CONTROLLER_BUTTON_X || button == SDL_CONTROLLER_BUTTON_START;
}

// Runs for every event as the window system delivers it, before the main
// loop handles it.
int WatchEvent(void*, SDL_Event* event) {
  switch (event->type) {
    case SDL_KEYDOWN:
      if (!event->key.repeat && IsSkipKey(event->key.keysym.sym) && !IsFullScreenToggle(event->key))
        skipPending = true;
      break;
    case SDL_CONTROLLERBUTTONDOWN:
      if (IsSkipButton(event->cbutton.button)) skipPending = true;
      break;
    case SDL_MOUSEBUTTONDOWN:
      buttonDown = true;
      break;
    case SDL_MOUSEBUTTONUP:
      if (buttonDown.exchange(false)) skipPending = true;
      break;
    default:
      break;
  }
  return 1;
}

}  // namespace

void WatchSkipKeys() {
  // Taken off first, so that the watch is there exactly once, also after
  // the window system was shut down and started again.
  SDL_DelEventWatch(WatchEvent, nullptr);
  SDL_AddEventWatch(WatchEvent, nullptr);
  skipPending = false;
  buttonDown = false;
}

bool SkipKeyPressed() {
  PadStates();  // keeps the pad open, so that its buttons send their events
  return skipPending.exchange(false);
}
