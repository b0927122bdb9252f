#include <SDL.h>

#include "GameTestSupport.h"
#include "platform/InputDevice.h"

using gametest::GameTest;
using gametest::Hold;

namespace {

using InputStates = GameTest;

TEST_F(InputStates, TakenStateStaysOutUntilTheKeyIsPressedAgain) {
  Hold({Button(8), isRight});
  RefreshInput();
  EXPECT_TRUE(InputTest(Button(8)));
  InputTake(Button(8));
  for (int frame = 0; frame < 3; ++frame) {
    RefreshInput();
    EXPECT_FALSE(InputTest(Button(8)));
    EXPECT_TRUE(InputTest(isRight));  // tested, never taken: stays while held
  }
  Hold({});
  RefreshInput();
  EXPECT_FALSE(InputTest(isRight));
  Hold({Button(8)});
  RefreshInput();
  EXPECT_TRUE(InputTest(Button(8)));
}

TEST_F(InputStates, OnlyTheDeviceStateAtEachRefreshCounts) {
  // A key pressed and released between two refreshes never shows.
  RefreshInput();
  Hold({Button(7)});
  Hold({});
  RefreshInput();
  EXPECT_FALSE(InputTest(Button(7)));
  // A state the game took and whose key is released stays out.
  Hold({Button(3)});
  RefreshInput();
  InputTake(Button(3));
  Hold({});
  RefreshInput();
  EXPECT_FALSE(InputTest(Button(3)));
}

// Form keys and start-up keys alike.
TEST_F(InputStates, KeyboardKeysReachTheirStatesThroughVirtualKeyCodes) {
  SetStartupKeyAssignments();
  const struct {
    SDL_Scancode key;
    int state;
  } cases[] = {
      {SDL_SCANCODE_RCTRL, Button(3)},  {SDL_SCANCODE_LCTRL, Button(3)},
      {SDL_SCANCODE_RALT, Button(7)},   {SDL_SCANCODE_ESCAPE, Button(8)},
      {SDL_SCANCODE_KP_8, isUp},        {SDL_SCANCODE_J, isDown},
      {SDL_SCANCODE_RETURN, Button(2)}, {SDL_SCANCODE_F2, Button(9)},
  };
  for (const auto& c : cases) {
    uint8_t keys[SDL_NUM_SCANCODES] = {};
    keys[c.key] = 1;
    const InputSet states = KeyboardStates(keys, SDL_NUM_SCANCODES);
    for (int k = 0; k < kInputStates; ++k)
      EXPECT_EQ(states.Has(k), k == c.state) << SDL_GetScancodeName(c.key) << " state " << k;
  }
  uint8_t keys[SDL_NUM_SCANCODES] = {};
  keys[SDL_SCANCODE_Q] = 1;  // no state
  const InputSet none = KeyboardStates(keys, SDL_NUM_SCANCODES);
  EXPECT_EQ(none.bits[0] | none.bits[1] | none.bits[2] | none.bits[3] | none.bits[4], 0);
}

}  // namespace
