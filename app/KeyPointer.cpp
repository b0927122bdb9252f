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

enum class tMove { none, previous, next, up, down, left, right, press, back };

// A stick counts as pushed beyond a quarter of its travel, and as back only
// below an eighth, so that one push is one step.
constexpr int kStickPushed = 32767 / 4;
constexpr int kStickBack = 32767 / 8;

// Where the game's pointer waits when the keys have pressed: on no widget,
// outside the scene.
constexpr int kAway = -1;

// The focus: a shown target, by its place in reading order, on the screen
// it was given on (ShownFocusScreen).
int focus = -1;  // -1: nothing
uint32_t focusScreen = 0;
bool mouseLeads = false;  // the real mouse moved since: the target under it is focused
bool keysDrive = false;   // the game's pointer is the keys' (the system's is hidden)

// A key's press is held through one frame, then let go as a click, which the
// next frame sees where it was made.
bool pressHeld = false;
bool clickMade = false;
int pressX = 0, pressY = 0;  // where the game's pointer pressed
// Moves made while a press is held (a busy machine may run no frame between
// two keys): each waits for a frame of its own, so none is lost.
std::deque<tMove> waiting;
int stickX = 0, stickY = 0;  // -1, 0, 1: the stick's direction now

// The shown target under the game's pointer, or -1.
int Pointed(const std::vector<tFocusTarget>& targets) {
  for (size_t i = 0; i < targets.size(); ++i) {
    const tFocusTarget& t = targets[i];
    if (t.left < mouseX && mouseX < t.right && t.top < mouseY && mouseY < t.bottom) return int(i);
  }
  return -1;
}

int Focused(const std::vector<tFocusTarget>& targets) {
  if (focusScreen != ShownFocusScreen()) return -1;  // another screen opened since
  if (mouseLeads) return Pointed(targets);
  return focus < int(targets.size()) ? focus : -1;
}

void FocusOn(int target, int x, int y) {
  focus = target;
  focusScreen = ShownFocusScreen();
  mouseLeads = false;
  if (!keysDrive) ShowSystemPointer(false);
  keysDrive = true;
  FormMouseMove(x, y);
}

void Press(int target, int x, int y) {
  FocusOn(target, x, y);
  FormMouseDown();
  pressHeld = true;
  pressX = x;
  pressY = y;
}

void MouseMoved() {
  mouseLeads = true;
  focusScreen = ShownFocusScreen();
  if (keysDrive) ShowSystemPointer(true);
  keysDrive = false;
}

// A target with no pixel strictly inside (an item whose place a short file
// left at zero) cannot be pointed at: the keys pass over it.
bool Pointable(const tFocusTarget& t) { return t.right - t.left >= 2 && t.bottom - t.top >= 2; }

// The next pointable target from one in the given direction (from -1: the
// first or the last); -1 if there is none.
int NextPointable(const std::vector<tFocusTarget>& targets, int from, bool forward) {
  const int count = int(targets.size());
  int to = from;
  for (int tried = 0; tried < count; ++tried) {
    to = to < 0 ? (forward ? 0 : count - 1) : (to + (forward ? 1 : count - 1)) % count;
    if (Pointable(targets[to])) return to;
  }
  return -1;
}

// A bar steps by its value, not by a pointer position, which a scaled
// window could round onto the value it came from.
void StepBar(int target, const tFocusTarget& t, tMove move) {
  t.bar->Step(move == tMove::right ? 1 : -1);
  FocusOn(target, t.bar->PointerXFor(t.left, t.bar->value), t.y);
}

void Step(tMove move) {
  if (pressHeld) {
    waiting.push_back(move);
    return;
  }
  if (move == tMove::back) return AskScreenBack();
  const std::vector<tFocusTarget>& targets = ShownFocusTargets();
  const int focused = Focused(targets);
  if (focused >= 0 && targets[focused].bar && (move == tMove::left || move == tMove::right))
    return StepBar(focused, targets[focused], move);
  if (move == tMove::press && focused >= 0)
    return Press(focused, targets[focused].x, targets[focused].y);
  // A first press only focuses.
  const bool forward = move == tMove::press || move == tMove::next || move == tMove::down ||
                       move == tMove::right;
  const int to = NextPointable(targets, focused, forward);
  if (to >= 0) FocusOn(to, targets[to].x, targets[to].y);
}

// After the frame that saw the click, a pointer still where it pressed
// leaves a button or an item: the press has done its work, and the screen it
// closed must not leave the next screen's item under it looking focused. A
// track bar keeps it.
void EndClick() {
  clickMade = false;
  if (mouseLeads || mouseX != pressX || mouseY != pressY) return;
  const std::vector<tFocusTarget>& targets = ShownFocusTargets();
  const int focused = Focused(targets);
  if (focused < 0 || !targets[focused].bar) FormMouseMove(kAway, kAway);
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
    case SDLK_ESCAPE: return tMove::back;
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
    case SDL_CONTROLLER_BUTTON_B: return tMove::back;
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
  switch (event.type) {
    case SDL_KEYDOWN: move = KeyMove(event.key); break;
    case SDL_CONTROLLERBUTTONDOWN: move = ButtonMove(event.cbutton.button); break;
    case SDL_CONTROLLERAXISMOTION: move = StickMove(event.caxis); break;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: MouseMoved(); break;
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:  // the pad read may change: its stick starts at rest
      stickX = stickY = 0;
      break;
    default: break;
  }
  if (move != tMove::none) Step(move);
}

void ResetKeyPointer() {
  focus = -1;
  focusScreen = 0;
  mouseLeads = keysDrive = false;
  pressHeld = clickMade = false;
  waiting.clear();
  stickX = stickY = 0;
}

void KeyPointerFrameRun() {
  if (pressHeld) {
    // Let go as the left mouse button is: the click comes first.
    FormClick();
    FormMouseUp();
    pressHeld = false;
    clickMade = true;
    return;  // a waiting move comes after a frame has seen the click
  }
  if (clickMade) EndClick();
  if (waiting.empty()) return;
  const tMove move = waiting.front();
  waiting.pop_front();
  Step(move);
}
