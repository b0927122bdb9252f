// The whole program's loop driven by a game controller plugged in after the
// window opened (SDL's virtual joystick): A skips the splash, the D-pad
// points at the menu's items as the mouse would, and A chooses Exit.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/GameState.h"
#include "app/MainLoop.h"
#include "platform/MessageBox.h"
#include "screens/Screens.h"

namespace {

class PadMenus : public ::testing::Test {
 protected:
  void SetUp() override {
    previous = std::filesystem::current_path();
    std::filesystem::current_path(VIRKO_CONTENT_DIR);  // only read: nothing is saved here
    ASSERT_TRUE(OpenGame());
  }
  void TearDown() override {
    if (pad >= 0) SDL_JoystickDetachVirtual(pad);
    CloseGame();
    std::filesystem::current_path(previous);
  }
  // Frames as the loop runs them, the pad's events handled before each.
  void Frames(int count) {
    for (int i = 0; i < count && !TerminateRequested(); ++i) {
      SDL_Event event;
      while (SDL_PollEvent(&event)) HandleEvent(event);
      RunFrame();
    }
  }
  // A press of a button held for two frames.
  void Tap(SDL_Joystick* joystick, SDL_GameControllerButton button) {
    SDL_JoystickSetVirtualButton(joystick, button, 1);
    Frames(2);
    SDL_JoystickSetVirtualButton(joystick, button, 0);
    Frames(2);
  }
  std::filesystem::path previous;
  int pad = -1;
};

TEST_F(PadMenus, ControllerPluggedInLaterSkipsTheSplashAndLeavesByTheMenu) {
  Frames(10);
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
  desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
  desc.name = "virtual controller";
  pad = SDL_JoystickAttachVirtualEx(&desc);
  ASSERT_GE(pad, 0);
  SDL_Joystick* joystick = SDL_JoystickOpen(pad);
  Frames(5);

  Tap(joystick, SDL_CONTROLLER_BUTTON_A);
  Frames(100);  // the menu loads and shows
  ASSERT_TRUE(IntroState.finished);
  ASSERT_FALSE(mainScreen.menuHidden);

  Tap(joystick, SDL_CONTROLLER_BUTTON_DPAD_UP);  // from nothing: the last item, Exit
  EXPECT_TRUE(ItemHit(mainScreen.items, 4)) << mouseX << ", " << mouseY;
  Tap(joystick, SDL_CONTROLLER_BUTTON_DPAD_DOWN);  // round to the first, New Game
  EXPECT_TRUE(ItemHit(mainScreen.items, 0)) << mouseX << ", " << mouseY;
  Tap(joystick, SDL_CONTROLLER_BUTTON_DPAD_UP);
  EXPECT_FALSE(TerminateRequested());
  Tap(joystick, SDL_CONTROLLER_BUTTON_A);
  EXPECT_TRUE(mainScreen.exitChosen);
  EXPECT_TRUE(TerminateRequested());
  SDL_JoystickClose(joystick);
}

}  // namespace
