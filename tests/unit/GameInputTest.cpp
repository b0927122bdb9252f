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

TEST(InputDevice, StickAxesUseADeadZoneOf50OnARangeOf1000) {
  EXPECT_EQ(ScaleAxis(0), 0);
  EXPECT_EQ(ScaleAxis(1638), 0);
  EXPECT_EQ(ScaleAxis(-1638), 0);
  EXPECT_EQ(ScaleAxis(1700), 51);
  EXPECT_EQ(ScaleAxis(32767), 1000);
  EXPECT_EQ(ScaleAxis(-32768), -1000);
}

TEST(InputDevice, JoystickZeroFeedsDirectionsAndButtons) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
  if (SDL_NumJoysticks() != 0) GTEST_SKIP() << "a real joystick is attached";
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 3, 32, 0);
  ASSERT_EQ(index, 0);
  SDL_Joystick* stick = SDL_JoystickOpen(index);
  ASSERT_NE(stick, nullptr);

  SDL_JoystickSetVirtualAxis(stick, 0, -20000);
  SDL_JoystickSetVirtualAxis(stick, 1, 1000);  // inside the dead zone
  SDL_JoystickSetVirtualButton(stick, 2, 1);   // button 3
  SDL_JoystickSetVirtualButton(stick, 31, 1);  // button 32
  InputSet states = JoystickStates();
  EXPECT_TRUE(states.Has(isLeft));
  EXPECT_FALSE(states.Has(isRight));
  EXPECT_FALSE(states.Has(isUp));
  EXPECT_FALSE(states.Has(isDown));
  EXPECT_TRUE(states.Has(Button(3)));
  EXPECT_TRUE(states.Has(Button(32)));
  EXPECT_FALSE(states.Has(Button(1)));

  SDL_JoystickSetVirtualAxis(stick, 0, 20000);
  SDL_JoystickSetVirtualAxis(stick, 1, -20000);
  SDL_JoystickSetVirtualButton(stick, 2, 0);
  states = JoystickStates();
  EXPECT_TRUE(states.Has(isRight));
  EXPECT_TRUE(states.Has(isUp));
  EXPECT_FALSE(states.Has(Button(3)));

  SDL_JoystickClose(stick);
  SDL_JoystickDetachVirtual(index);
  states = JoystickStates();
  EXPECT_FALSE(states.Has(isRight));
}

}  // namespace
