#include "app/Input.h"

namespace {

using KeyTable = std::array<std::array<uint32_t, 3>, kInputStates>;

// The form's assignments, in Windows virtual-key codes.
KeyTable FormAssignments() {
  KeyTable keys{};
  keys[isUp] = {75, 38, 104};      // K, Up arrow, numeric-pad 8
  keys[isDown] = {74, 40, 98};     // J, Down arrow, numeric-pad 2
  keys[isLeft] = {72, 37, 100};    // H, Left arrow, numeric-pad 4
  keys[isRight] = {76, 39, 102};   // L, Right arrow, numeric-pad 6
  keys[Button(1)] = {90, 32, 0};   // Z, Space
  keys[Button(2)] = {88, 13, 0};   // X, Enter
  keys[Button(9)] = {113, 0, 0};   // F2
  return keys;
}

InputSet currentStates;  // what the game tests and takes from
InputSet devicesBefore;  // pressed at the previous refresh
InputSource inputSource = nullptr;

}  // namespace

KeyTable keyAssignments = FormAssignments();

void SetInputSource(InputSource source) { inputSource = source; }

void RefreshInput() {
  const InputSet pressedNow = inputSource ? inputSource() : ReadInputDevices();
  // A state changes only when its device state changes, so a state the game
  // has taken stays out until its key is released and pressed again.
  for (int k = 0; k < kInputStates; ++k) {
    const bool now = pressedNow.Has(k), before = devicesBefore.Has(k);
    if (now && !before) currentStates.Add(k);
    if (!now && before) currentStates.Remove(k);
  }
  devicesBefore = pressedNow;
}

bool InputTest(InputState state) { return currentStates.Has(state); }

void InputTake(InputState state) { currentStates.Remove(state); }

void SetStartupKeyAssignments() {
  keyAssignments[Button(3)][0] = 17;  // Ctrl: throw
  keyAssignments[Button(5)][0] = 34;  // Page Down
  keyAssignments[Button(6)][0] = 16;  // Shift
  keyAssignments[Button(7)][0] = 18;  // Alt: jump
  keyAssignments[Button(8)][0] = 27;  // Escape: exit prompt
}

void ResetInput() {
  keyAssignments = FormAssignments();
  currentStates = InputSet{};
  devicesBefore = InputSet{};
  inputSource = nullptr;
}
