// The pad behind the input states: game controllers read by where their
// buttons are and preferred, plain joysticks by their numbers, pads that
// come and go, SDL started twice in one process.
// Driven with SDL's virtual joysticks.
#include "platform/GamePad.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>
#include <vector>

#include "app/Input.h"
#include "platform/SkipKeys.h"

namespace {

// A virtual device and the handle its values are set through.
struct tVirtualPad {
  int index = -1;
  SDL_Joystick* handle = nullptr;
  SDL_JoystickID id = -1;
  bool controller = false;
  // The button that jumps: A on a controller, button 7 on a plain joystick.
  int Jump() const { return controller ? SDL_CONTROLLER_BUTTON_A : 6; }
};

tVirtualPad Attach(bool controller) {
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = controller ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_FLIGHT_STICK;
  desc.naxes = controller ? SDL_CONTROLLER_AXIS_MAX : 3;
  desc.nbuttons = controller ? SDL_CONTROLLER_BUTTON_MAX : 32;
  if (controller) {
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;  // button n is SDL's button n
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
  }
  desc.name = controller ? "virtual controller" : "virtual stick";
  tVirtualPad pad;
  pad.controller = controller;
  pad.index = SDL_JoystickAttachVirtualEx(&desc);
  pad.handle = SDL_JoystickOpen(pad.index);
  pad.id = SDL_JoystickInstanceID(pad.handle);
  return pad;
}

void Detach(tVirtualPad& pad) {
  SDL_JoystickClose(pad.handle);
  // Device indices move down as devices go: find this one's by its id.
  for (int i = 0; i < SDL_NumJoysticks(); ++i) {
    if (SDL_JoystickGetDeviceInstanceID(i) == pad.id) SDL_JoystickDetachVirtual(i);
  }
  pad = tVirtualPad{};
}

std::vector<int> Held(const InputSet& states) {
  std::vector<int> held;
  for (int k = 0; k < kInputStates; ++k) {
    if (states.Has(k)) held.push_back(k);
  }
  return held;
}

class Pads : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0);
    if (SDL_NumJoysticks() != 0) GTEST_SKIP() << "a real joystick is attached";
    ResetInput();
  }
  void TearDown() override {
    for (tVirtualPad& pad : pads) {
      if (pad.handle) Detach(pad);
    }
    PadStates();  // lets go of what is gone
    ResetInput();
  }
  tVirtualPad& Add(bool controller) {
    pads.push_back(Attach(controller));
    return pads.back();
  }
  std::deque<tVirtualPad> pads;  // stays where it is as pads are added
};

TEST_F(Pads, ControllerButtonsAndDirectionsGiveTheirStatesByPosition) {
  tVirtualPad& pad = Add(true);
  ASSERT_TRUE(SDL_IsGameController(pad.index));
  EXPECT_TRUE(Held(PadStates()).empty());
  struct Case {
    SDL_GameControllerButton button;
    std::vector<int> states;
  };
  for (const Case& c : {Case{SDL_CONTROLLER_BUTTON_A, {Button(1), Button(7)}},
                        Case{SDL_CONTROLLER_BUTTON_B, {Button(3)}},
                        Case{SDL_CONTROLLER_BUTTON_X, {Button(3)}},
                        Case{SDL_CONTROLLER_BUTTON_Y, {}},
                        Case{SDL_CONTROLLER_BUTTON_BACK, {}},
                        Case{SDL_CONTROLLER_BUTTON_START, {Button(8)}},
                        Case{SDL_CONTROLLER_BUTTON_DPAD_UP, {isUp}},
                        Case{SDL_CONTROLLER_BUTTON_DPAD_DOWN, {isDown}},
                        Case{SDL_CONTROLLER_BUTTON_DPAD_LEFT, {isLeft}},
                        Case{SDL_CONTROLLER_BUTTON_DPAD_RIGHT, {isRight}}}) {
    SDL_JoystickSetVirtualButton(pad.handle, c.button, 1);
    std::vector<int> expected = c.states;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Held(PadStates()), expected) << SDL_GameControllerGetStringForButton(c.button);
    SDL_JoystickSetVirtualButton(pad.handle, c.button, 0);
  }
  // The left stick, with a dead zone of a quarter of its travel.
  struct Push {
    int x, y;
    std::vector<int> states;
  };
  for (const Push& p : {Push{-8000, 8000, {}}, Push{-9000, 0, {isLeft}}, Push{32767, 0, {isRight}},
                        Push{0, -32768, {isUp}}, Push{12000, 12000, {isDown, isRight}}}) {
    SDL_JoystickSetVirtualAxis(pad.handle, SDL_CONTROLLER_AXIS_LEFTX, int16_t(p.x));
    SDL_JoystickSetVirtualAxis(pad.handle, SDL_CONTROLLER_AXIS_LEFTY, int16_t(p.y));
    std::vector<int> expected = p.states;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Held(PadStates()), expected) << p.x << ", " << p.y;
  }
}

TEST_F(Pads, PlainJoystickKeepsButtonNumbersAndTheSmallDeadZone) {
  tVirtualPad& pad = Add(false);
  ASSERT_FALSE(SDL_IsGameController(pad.index));
  EXPECT_TRUE(Held(PadStates()).empty());  // opened with its axes at rest
  SDL_JoystickSetVirtualAxis(pad.handle, 0, -20000);
  SDL_JoystickSetVirtualAxis(pad.handle, 1, 1000);  // inside the dead zone of 50 in 1000
  SDL_JoystickSetVirtualButton(pad.handle, 2, 1);   // button 3
  SDL_JoystickSetVirtualButton(pad.handle, 31, 1);  // button 32
  EXPECT_EQ(Held(PadStates()), (std::vector<int>{isLeft, Button(3), Button(32)}));
  SDL_JoystickSetVirtualAxis(pad.handle, 0, 1700);  // just outside it
  SDL_JoystickSetVirtualAxis(pad.handle, 1, -32768);
  SDL_JoystickSetVirtualButton(pad.handle, 2, 0);
  EXPECT_EQ(Held(PadStates()), (std::vector<int>{isUp, isRight, Button(32)}));
  EXPECT_EQ(ScaleAxis(1638), 0);
  EXPECT_EQ(ScaleAxis(-32768), -1000);
}

TEST_F(Pads, PadPluggedInLaterIsUsedAndOnePulledOutMidJumpHoldsNothing) {
  RefreshInput();
  EXPECT_FALSE(InputTest(Button(7)));
  tVirtualPad& first = Add(true);
  SDL_JoystickSetVirtualButton(first.handle, SDL_CONTROLLER_BUTTON_A, 1);
  RefreshInput();
  EXPECT_TRUE(InputTest(Button(7)));

  tVirtualPad& second = Add(false);
  SDL_JoystickSetVirtualButton(second.handle, 2, 1);  // the first pad is still the one
  RefreshInput();
  EXPECT_FALSE(InputTest(Button(3)));

  Detach(first);  // mid-jump
  SDL_JoystickSetVirtualButton(second.handle, 2, 0);
  RefreshInput();
  EXPECT_FALSE(InputTest(Button(7)));
  EXPECT_FALSE(InputTest(Button(1)));
  SDL_JoystickSetVirtualButton(second.handle, second.Jump(), 1);  // the second took over
  RefreshInput();
  EXPECT_TRUE(InputTest(Button(7)));
}

TEST_F(Pads, ManyPadsComingAndGoingInAnyOrderLeaveTheFirstControllerRemaining) {
  for (int i = 0; i < 8; ++i) Add(i % 2 == 0);
  std::vector<int> order = {0, 1, 2, 3, 4, 5, 6, 7};
  std::mt19937 random(7);
  // The pad read: the first controller left, else the first joystick left.
  const auto expectedPad = [this]() -> tVirtualPad* {
    tVirtualPad* first = nullptr;
    for (tVirtualPad& pad : pads) {
      if (pad.handle && pad.controller) return &pad;
      if (pad.handle && !first) first = &pad;
    }
    return first;
  };
  for (int round = 0; round < 3; ++round) {
    std::shuffle(order.begin(), order.end(), random);
    for (int i : order) {
      if (!pads[i].handle) continue;
      Detach(pads[i]);
      PadStates();
      if (tVirtualPad* pad = expectedPad()) {  // its jump is what counts
        SDL_JoystickSetVirtualButton(pad->handle, pad->Jump(), 1);
        EXPECT_TRUE(PadStates().Has(Button(7)));
        SDL_JoystickSetVirtualButton(pad->handle, pad->Jump(), 0);
      }
    }
    EXPECT_TRUE(Held(PadStates()).empty());
    for (tVirtualPad& pad : pads) {
      if (!pad.handle) pad = Attach(round % 2 == 0);
    }
  }
}

TEST_F(Pads, ControllerPluggedInAfterAPlainJoystickTakesOver) {
  tVirtualPad& wheel = Add(false);
  SDL_JoystickSetVirtualButton(wheel.handle, 2, 1);
  EXPECT_EQ(Held(PadStates()), std::vector<int>{Button(3)});
  tVirtualPad& controller = Add(true);
  SDL_JoystickSetVirtualButton(controller.handle, SDL_CONTROLLER_BUTTON_START, 1);
  EXPECT_EQ(Held(PadStates()), std::vector<int>{Button(8)}) << "the wheel's buttons are not read";
  Detach(controller);
  EXPECT_EQ(Held(PadStates()), std::vector<int>{Button(3)}) << "back to the wheel";
}

TEST_F(Pads, PlainAxisRestingAtOneEndHoldsNothingUntilItHasBeenAtRest) {
  tVirtualPad& pedals = Add(false);
  SDL_JoystickSetVirtualAxis(pedals.handle, 0, -32768);  // released pedals: one end
  SDL_JoystickSetVirtualAxis(pedals.handle, 1, 32767);
  for (int frame = 0; frame < 3; ++frame) EXPECT_TRUE(Held(PadStates()).empty());
  SDL_JoystickSetVirtualAxis(pedals.handle, 0, 0);  // X passes its centre, Y does not
  EXPECT_TRUE(Held(PadStates()).empty());
  SDL_JoystickSetVirtualAxis(pedals.handle, 0, 32767);
  EXPECT_EQ(Held(PadStates()), std::vector<int>{isRight});

  // A pad of its own, opened afresh: its axes count from rest again.
  Detach(pedals);
  PadStates();
  tVirtualPad& stick = Add(false);
  SDL_JoystickSetVirtualAxis(stick.handle, 0, 32767);
  EXPECT_TRUE(Held(PadStates()).empty());
}

TEST_F(Pads, PadsStartAgainAfterSdlWasShutDownAndStartedAgain) {
  tVirtualPad& before = Add(true);
  SDL_JoystickSetVirtualButton(before.handle, SDL_CONTROLLER_BUTTON_A, 1);
  EXPECT_TRUE(PadStates().Has(Button(7)));
  // As the game run twice in one process: SDL_Quit frees every pad it opened.
  SDL_Quit();
  pads.clear();
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
  tVirtualPad& after = Add(true);
  SDL_JoystickSetVirtualButton(after.handle, SDL_CONTROLLER_BUTTON_START, 1);
  EXPECT_EQ(Held(PadStates()), std::vector<int>{Button(8)});

  ClosePads();  // as the game closes
  SDL_Quit();
  pads.clear();
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
  tVirtualPad& third = Add(true);
  SDL_JoystickSetVirtualButton(third.handle, SDL_CONTROLLER_BUTTON_B, 1);
  EXPECT_EQ(Held(PadStates()), std::vector<int>{Button(3)});
}

TEST_F(Pads, ControllersButtonsSkipTheSplashAndVideosAsTheSkipKeysDo) {
  WatchSkipKeys();
  tVirtualPad& pad = Add(true);
  EXPECT_FALSE(SkipKeyPressed());  // the pad is opened here
  for (const SDL_GameControllerButton button : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B,
                                                SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_START}) {
    SDL_JoystickSetVirtualButton(pad.handle, button, 1);
    SDL_GameControllerUpdate();
    SDL_JoystickSetVirtualButton(pad.handle, button, 0);
    SDL_GameControllerUpdate();  // a tap between two frames
    EXPECT_TRUE(SkipKeyPressed()) << SDL_GameControllerGetStringForButton(button);
    EXPECT_FALSE(SkipKeyPressed());
  }
  SDL_JoystickSetVirtualButton(pad.handle, SDL_CONTROLLER_BUTTON_Y, 1);
  SDL_GameControllerUpdate();
  EXPECT_FALSE(SkipKeyPressed());
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

TEST(PadMappings, BrokenLinesAreSkippedWithALineNamingThemAndTheRestLoads) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0);
  const std::string text =
      "# a comment\n"
      "\n"
      "03000000aaaa0000bbbb000000000000,Test Pad,a:b0,b:b1,x:b2,y:b3,start:b7,platform:Linux,\r\n"
      "this is not a mapping\n"
      "03000000cccc0000dddd000000000000,Windows Pad,a:b0,platform:Windows,\n"
      "03000000eeee0000ffff000000000000,Other Pad,a:b0,b:b1,\n";
  testing::internal::CaptureStderr();
  EXPECT_EQ(AddPadMappings(text, "gamecontrollerdb.txt"), 2);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find("gamecontrollerdb.txt, line 4"), std::string::npos) << said;
}

}  // namespace
