// The devices behind the input states: the keyboard through the key
// assignment table (Windows virtual-key codes) and joystick 0.
#pragma once

#include <cstdint>

#include "app/Input.h"

// The states whose assigned keys are down in an SDL keyboard state array
// (one byte per SDL scancode, as SDL_GetKeyboardState gives it).
InputSet KeyboardStates(const uint8_t* keyState, int keyCount);
// The states joystick 0 holds: Left/Right and Up/Down from the signs of its
// X and Y axes outside the dead zone, Button n from its button n.
InputSet JoystickStates();
// An SDL axis value (-32768..32767) on the stick's range of -1000..1000,
// 0 inside the dead zone of 50.
int ScaleAxis(int16_t value);
