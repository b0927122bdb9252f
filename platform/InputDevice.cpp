#include "platform/InputDevice.h"

#include <SDL.h>

#include "platform/GamePad.h"

namespace {

struct KeyCode {
  SDL_Scancode scancode;
  uint8_t virtualKey;
};

// SDL's physical keys and the Windows virtual-key codes the assignment table
// is written in. Left and right modifier keys share one code, as in Windows.
constexpr KeyCode kKeyCodes[] = {
    {SDL_SCANCODE_BACKSPACE, 8}, {SDL_SCANCODE_TAB, 9}, {SDL_SCANCODE_RETURN, 13},
    {SDL_SCANCODE_LSHIFT, 16}, {SDL_SCANCODE_RSHIFT, 16},
    {SDL_SCANCODE_LCTRL, 17}, {SDL_SCANCODE_RCTRL, 17},
    {SDL_SCANCODE_LALT, 18}, {SDL_SCANCODE_RALT, 18},
    {SDL_SCANCODE_PAUSE, 19}, {SDL_SCANCODE_CAPSLOCK, 20}, {SDL_SCANCODE_ESCAPE, 27},
    {SDL_SCANCODE_SPACE, 32}, {SDL_SCANCODE_PAGEUP, 33}, {SDL_SCANCODE_PAGEDOWN, 34},
    {SDL_SCANCODE_END, 35}, {SDL_SCANCODE_HOME, 36},
    {SDL_SCANCODE_LEFT, 37}, {SDL_SCANCODE_UP, 38}, {SDL_SCANCODE_RIGHT, 39},
    {SDL_SCANCODE_DOWN, 40}, {SDL_SCANCODE_INSERT, 45}, {SDL_SCANCODE_DELETE, 46},
    {SDL_SCANCODE_0, 48}, {SDL_SCANCODE_1, 49}, {SDL_SCANCODE_2, 50}, {SDL_SCANCODE_3, 51},
    {SDL_SCANCODE_4, 52}, {SDL_SCANCODE_5, 53}, {SDL_SCANCODE_6, 54}, {SDL_SCANCODE_7, 55},
    {SDL_SCANCODE_8, 56}, {SDL_SCANCODE_9, 57},
    {SDL_SCANCODE_A, 65}, {SDL_SCANCODE_B, 66}, {SDL_SCANCODE_C, 67}, {SDL_SCANCODE_D, 68},
    {SDL_SCANCODE_E, 69}, {SDL_SCANCODE_F, 70}, {SDL_SCANCODE_G, 71}, {SDL_SCANCODE_H, 72},
    {SDL_SCANCODE_I, 73}, {SDL_SCANCODE_J, 74}, {SDL_SCANCODE_K, 75}, {SDL_SCANCODE_L, 76},
    {SDL_SCANCODE_M, 77}, {SDL_SCANCODE_N, 78}, {SDL_SCANCODE_O, 79}, {SDL_SCANCODE_P, 80},
    {SDL_SCANCODE_Q, 81}, {SDL_SCANCODE_R, 82}, {SDL_SCANCODE_S, 83}, {SDL_SCANCODE_T, 84},
    {SDL_SCANCODE_U, 85}, {SDL_SCANCODE_V, 86}, {SDL_SCANCODE_W, 87}, {SDL_SCANCODE_X, 88},
    {SDL_SCANCODE_Y, 89}, {SDL_SCANCODE_Z, 90},
    {SDL_SCANCODE_KP_0, 96}, {SDL_SCANCODE_KP_1, 97}, {SDL_SCANCODE_KP_2, 98},
    {SDL_SCANCODE_KP_3, 99}, {SDL_SCANCODE_KP_4, 100}, {SDL_SCANCODE_KP_5, 101},
    {SDL_SCANCODE_KP_6, 102}, {SDL_SCANCODE_KP_7, 103}, {SDL_SCANCODE_KP_8, 104},
    {SDL_SCANCODE_KP_9, 105}, {SDL_SCANCODE_KP_MULTIPLY, 106}, {SDL_SCANCODE_KP_PLUS, 107},
    {SDL_SCANCODE_KP_MINUS, 109}, {SDL_SCANCODE_KP_PERIOD, 110}, {SDL_SCANCODE_KP_DIVIDE, 111},
    {SDL_SCANCODE_F1, 112}, {SDL_SCANCODE_F2, 113}, {SDL_SCANCODE_F3, 114},
    {SDL_SCANCODE_F4, 115}, {SDL_SCANCODE_F5, 116}, {SDL_SCANCODE_F6, 117},
    {SDL_SCANCODE_F7, 118}, {SDL_SCANCODE_F8, 119}, {SDL_SCANCODE_F9, 120},
    {SDL_SCANCODE_F10, 121}, {SDL_SCANCODE_F11, 122}, {SDL_SCANCODE_F12, 123},
};

}  // namespace

InputSet KeyboardStates(const uint8_t* keyState, int keyCount) {
  bool down[256] = {};
  for (const KeyCode& key : kKeyCodes) {
    if (key.scancode < keyCount && keyState[key.scancode]) down[key.virtualKey] = true;
  }
  InputSet states{};
  for (int k = 0; k < kInputStates; ++k) {
    for (uint32_t vk : keyAssignments[k]) {
      if (vk != 0 && vk < 256 && down[vk]) states.Add(k);
    }
  }
  return states;
}

InputSet ReadInputDevices() {
  int keyCount = 0;
  const uint8_t* keyState = SDL_GetKeyboardState(&keyCount);
  InputSet states = KeyboardStates(keyState, keyCount);
  const InputSet pad = PadStates();
  for (int b = 0; b < 5; ++b) states.bits[b] |= pad.bits[b];
  return states;
}
