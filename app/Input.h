// Logical input states: Up, Down, Left, Right and Button 1 to 32, fed by the
// keyboard (through the key assignment table) and joystick 0.
#pragma once

#include <array>
#include <cstdint>

enum InputState : uint8_t {
  isUp = 0,
  isDown = 1,
  isLeft = 2,
  isRight = 3,
  isButton1 = 4,  // Button n is n + 3
};
constexpr InputState Button(int n) { return static_cast<InputState>(n + 3); }
constexpr int kInputStates = 36;

// A set of input states: element k in bit k mod 8 of byte k div 8.
struct InputSet {
  uint8_t bits[5];
  bool Has(int k) const { return bits[k / 8] >> (k % 8) & 1; }
  void Add(int k) { bits[k / 8] |= uint8_t(1u << (k % 8)); }
  void Remove(int k) { bits[k / 8] &= uint8_t(~(1u << (k % 8))); }
};

// Three key slots per state, Windows virtual-key codes, 0 = no key.
extern std::array<std::array<uint32_t, 3>, kInputStates> keyAssignments;

// Where the states pressed now come from: the real devices, or a recording.
using InputSource = InputSet (*)();
void SetInputSource(InputSource source);
// Reads keyboard and joystick through the key assignment table.
InputSet ReadInputDevices();

// Forms the states pressed now and applies the transition rule.
void RefreshInput();
bool InputTest(InputState state);
void InputTake(InputState state);
// Sets the start-up key assignments (Ctrl, Page Down, Shift, Alt, Escape).
void SetStartupKeyAssignments();
// The form's assignments and empty state sets, as when the program starts.
void ResetInput();
