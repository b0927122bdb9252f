// The devices behind the input states: the keyboard through the key
// assignment table (Windows virtual-key codes), and the pad (GamePad.h).
#pragma once

#include <cstdint>

#include "app/Input.h"

// The states whose assigned keys are down in an SDL keyboard state array
// (one byte per SDL scancode, as SDL_GetKeyboardState gives it).
InputSet KeyboardStates(const uint8_t* keyState, int keyCount);
