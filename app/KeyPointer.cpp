#include "app/KeyPointer.h"

#include <SDL.h>

#include <deque>
#include <vector>

#include "app/GameState.h"
#include "app/Startup.h"
#include "gfx/Focus.h"
#include "gfx/Widgets.h"
#include "platform/Window.h"

namespace {

enum class tMove { none, previous, next, up, down, left, right, press };

// A stick counts as pushed beyond a quarter of its travel, and as back only
// below an eighth, so that one push is one step.
constexpr int kStickPushed = 32767 / 4;
constexpr int kStickBack = 32767 / 8;

bool pressHeld = false;  // a key's press, let go after the next frame
// Moves made while a press is held (a busy machine may run no frame between
// two keys): each waits for a frame of its own, so none is lost.
std::deque<tMove> waiting;
int stickX = 0, stickY = 0;  // -1, 0, 1: the stick's direction now

void PointAt(int x, int y) {
  FormMouseMove(x, y);
  WarpPointerToScene(x, y);
}

void Press() {
  FormMouseDown();
  pressHeld = true;
}

// The shown target under the pointer, or -1.
int Pointed(const std::vector<tFocusTarget>& targets) {
  for (size_t i = 0; i < targets.size(); ++i) {
    const tFocusTarget& t = targets[i];
    if (t.left < mouseX && mouseX < t.right && t.top < mouseY && mouseY < t.bottom) return int(i);
  }
  return -1;
}

void Step(tMove move) {
  if (pressHeld) {
    waiting.push_back(move);
    return;
  }
  const std::vector<tFocusTarget>& targets = ShownFocusTargets();
  if (targets.empty()) return;
  const int count = int(targets.size());
  const int pointed = Pointed(targets);
  if (pointed >= 0 && targets[pointed].bar && (move == tMove::left || move == tMove::right)) {
    const tFocusTarget& t = targets[pointed];
    const int32_t value = t.bar->value + (move == tMove::right ? 1 : -1);
    if (value < 0 || value > t.bar->maximum) return;
    PointAt(t.bar->PointerXFor(t.left, value), t.y);
    Press();
    return;
  }
  if (move == tMove::press) {
    if (pointed >= 0) {
      Press();
    } else {
      PointAt(targets[0].x, targets[0].y);  // a first press only points
    }
    return;
  }
  const bool forward = move == tMove::next || move == tMove::down || move == tMove::right;
  const int to = pointed < 0 ? (forward ? 0 : count - 1) : (pointed + (forward ? 1 : count - 1)) % count;
  PointAt(targets[to].x, targets[to].y);
}

tMove KeyMove(const SDL_KeyboardEvent& key) {
  if (key.repeat || IsFullScreenToggle(key)) return tMove::none;
  switch (key.keysym.sym) {
    case SDLK_UP: return tMove::up;
    case SDLK_DOWN: return tMove::down;
    case SDLK_LEFT: return tMove::left;
    case SDLK_RIGHT: return tMove::right;
    case SDLK_TAB: return key.keysym.mod & KMOD_SHIFT ? tMove::previous : tMove::next;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
    case SDLK_SPACE: return tMove::press;
    default: return tMove::none;
  }
}

tMove ButtonMove(uint8_t button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return tMove::up;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return tMove::down;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return tMove::left;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return tMove::right;
    case SDL_CONTROLLER_BUTTON_A: return tMove::press;
    default: return tMove::none;
  }
}

// The step a stick's axis makes as it crosses into a direction, if any.
tMove StickMove(const SDL_ControllerAxisEvent& axis) {
  const bool horizontal = axis.axis == SDL_CONTROLLER_AXIS_LEFTX;
  if (!horizontal && axis.axis != SDL_CONTROLLER_AXIS_LEFTY) return tMove::none;
  int& direction = horizontal ? stickX : stickY;
  const int value = axis.value;
  const int now = value > kStickPushed ? 1 : value < -kStickPushed ? -1
                  : (value > -kStickBack && value < kStickBack) ? 0 : direction;
  const int before = direction;
  direction = now;
  if (now == 0 || now == before) return tMove::none;
  if (horizontal) return now > 0 ? tMove::right : tMove::left;
  return now > 0 ? tMove::down : tMove::up;
}

}  // namespace

void KeyPointerEvent(const SDL_Event& event) {
  tMove move = tMove::none;
  if (event.type == SDL_KEYDOWN) move = KeyMove(event.key);
  if (event.type == SDL_CONTROLLERBUTTONDOWN) move = ButtonMove(event.cbutton.button);
  if (event.type == SDL_CONTROLLERAXISMOTION) move = StickMove(event.caxis);
  if (move != tMove::none) Step(move);
}

void ResetKeyPointer() {
  pressHeld = false;
  waiting.clear();
  stickX = stickY = 0;
}

void KeyPointerFrameRun() {
  if (pressHeld) {
    // Let go as the left mouse button is: the click comes first.
    FormClick();
    FormMouseUp();
    pressHeld = false;
    return;  // a waiting move comes after a frame has seen the click
  }
  if (waiting.empty()) return;
  const tMove move = waiting.front();
  waiting.pop_front();
  Step(move);
}
