// Input not built yet.
#include "app/Input.h"

std::array<std::array<uint32_t, 3>, kInputStates> keyAssignments;

bool InputTest(InputState) { return false; }
void InputTake(InputState) {}
void SetStartupKeyAssignments() {}
void ResetInput() {}
