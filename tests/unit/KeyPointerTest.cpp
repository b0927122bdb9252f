// Menus without a mouse: keys and a controller move a focus, and the game's
// mouse position with it, between the widgets of the frame shown and press
// them as a quick click; each screen starts with nothing focused.
#include "app/KeyPointer.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "app/GameState.h"
#include "app/Startup.h"
#include "gfx/Focus.h"
#include "gfx/Widgets.h"

namespace {

SDL_Event Key(SDL_Keycode key, uint16_t mod = KMOD_NONE) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.keysym.sym = key;
  event.key.keysym.mod = mod;
  return event;
}

SDL_Event PadButton(uint8_t button) {
  SDL_Event event{};
  event.type = SDL_CONTROLLERBUTTONDOWN;
  event.cbutton.button = button;
  return event;
}

SDL_Event Stick(uint8_t axis, int16_t value) {
  SDL_Event event{};
  event.type = SDL_CONTROLLERAXISMOTION;
  event.caxis.axis = axis;
  event.caxis.value = value;
  return event;
}

class KeyPointer : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    EndFocusFrame();
    EndFocusFrame();  // nothing shown
  }
  void TearDown() override {
    KeyPointerFrameRun();  // lets go of a press left held
    EndFocusFrame();
    EndFocusFrame();
  }
  // A frame that shows two buttons on one row, and one above them (added
  // out of reading order).
  void ShowButtons() {
    AddFocusTarget({290, 500, 390, 535, 340, 517});
    AddFocusTarget({410, 500, 510, 535, 460, 517});
    AddFocusTarget({100, 100, 200, 135, 150, 117});
    EndFocusFrame();
  }
  // Another screen: one button where the second stood before.
  void ShowOtherScreen() {
    AddFocusTarget({410, 500, 510, 535, 460, 517});
    EndFocusFrame();
  }
  static std::pair<int, int> Pointer() { return {mouseX, mouseY}; }
  // The real mouse, as the loop passes it on: to the focus, then the game.
  static void MouseTo(int x, int y) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = x;
    event.motion.y = y;
    KeyPointerEvent(event);
    FormMouseMove(x, y);
  }
  // A press and the two frames after it: the one that sees it held, the one
  // that sees its click.
  static void PressAndRun(SDL_Keycode key) {
    KeyPointerEvent(Key(key));
    KeyPointerFrameRun();
    KeyPointerFrameRun();
  }
};

TEST_F(KeyPointer, KeysMoveInReadingOrderAndWrapAround) {
  KeyPointerEvent(Key(SDLK_DOWN));
  EXPECT_EQ(Pointer(), std::make_pair(0, 0)) << "no widgets shown: the keys do nothing";

  ShowButtons();
  KeyPointerEvent(Key(SDLK_TAB));
  EXPECT_EQ(Pointer(), std::make_pair(150, 117));
  KeyPointerEvent(Key(SDLK_RIGHT));
  EXPECT_EQ(Pointer(), std::make_pair(340, 517));
  KeyPointerEvent(Key(SDLK_DOWN));
  EXPECT_EQ(Pointer(), std::make_pair(460, 517));
  KeyPointerEvent(Key(SDLK_TAB));
  EXPECT_EQ(Pointer(), std::make_pair(150, 117));
  KeyPointerEvent(Key(SDLK_TAB, KMOD_LSHIFT));
  EXPECT_EQ(Pointer(), std::make_pair(460, 517));
  KeyPointerEvent(Key(SDLK_UP));
  EXPECT_EQ(Pointer(), std::make_pair(340, 517));

  MouseTo(600, 10);  // the real mouse, away from everything
  KeyPointerEvent(Key(SDLK_UP));
  EXPECT_EQ(Pointer(), std::make_pair(460, 517)) << "from nothing, Up points at the last";
  MouseTo(120, 110);  // the real mouse over the first: the keys go on from there
  KeyPointerEvent(Key(SDLK_LEFT));
  EXPECT_EQ(Pointer(), std::make_pair(460, 517));
}

TEST_F(KeyPointer, EveryScreenThatOpensStartsWithNothingFocused) {
  ShowButtons();
  KeyPointerEvent(Key(SDLK_UP));  // the last, at (460, 517)
  ShowOtherScreen();              // a button in the same place, on another screen
  KeyPointerEvent(Key(SDLK_RETURN));
  EXPECT_FALSE(screenFlags.mouseDown) << "a first press on a new screen only focuses";
  EXPECT_EQ(Pointer(), std::make_pair(460, 517));
  KeyPointerEvent(Key(SDLK_RETURN));
  EXPECT_TRUE(screenFlags.mouseDown);
  KeyPointerFrameRun();

  // The same with the mouse resting over a widget of the screen that opens.
  MouseTo(460, 517);
  ShowButtons();
  KeyPointerEvent(Key(SDLK_SPACE));
  EXPECT_FALSE(screenFlags.mouseDown);
  EXPECT_EQ(Pointer(), std::make_pair(150, 117));
}

TEST_F(KeyPointer, PressedButtonIsLeftOnceItsClickIsSeenAndABarKeepsThePointer) {
  ShowButtons();
  KeyPointerEvent(Key(SDLK_TAB));
  KeyPointerEvent(Key(SDLK_RETURN));
  KeyPointerFrameRun();  // the frame saw the press
  EXPECT_EQ(Pointer(), std::make_pair(150, 117)) << "the click is seen where it was made";
  KeyPointerFrameRun();  // the frame saw the click
  EXPECT_LT(Pointer().first, 0) << "the pointer waits off every widget";
  KeyPointerEvent(Key(SDLK_TAB));  // the focus stays where it was
  EXPECT_EQ(Pointer(), std::make_pair(340, 517));

  // Moved away before the click was seen: the new focus keeps the pointer.
  KeyPointerEvent(Key(SDLK_RETURN));
  KeyPointerFrameRun();
  KeyPointerEvent(Key(SDLK_TAB));
  KeyPointerFrameRun();
  EXPECT_EQ(Pointer(), std::make_pair(460, 517));

  cTrackBar bar{};
  bar.maximum = 100;
  bar.width = 200;
  bar.knobSize = 32;
  bar.value = 50;
  bar.Run(400, 176);
  EndFocusFrame();
  KeyPointerEvent(Key(SDLK_TAB));
  PressAndRun(SDLK_RIGHT);
  EXPECT_EQ(Pointer(), std::make_pair(bar.PointerXFor(400, 51), 176));
}

TEST_F(KeyPointer, EscapeAndControllerBAskTheShownScreenToGoBackOnce) {
  ShowButtons();
  KeyPointerEvent(Key(SDLK_ESCAPE));
  EXPECT_TRUE(TakeScreenBack());
  EXPECT_FALSE(TakeScreenBack());
  KeyPointerEvent(PadButton(SDL_CONTROLLER_BUTTON_B));
  EXPECT_FALSE(screenFlags.mouseDown);
  EndFocusFrame();  // a frame whose screen had no way back: the request is gone
  EXPECT_FALSE(TakeScreenBack());

  // Asked while a press is under way, it waits for a frame of its own.
  ShowButtons();
  KeyPointerEvent(Key(SDLK_TAB));
  KeyPointerEvent(Key(SDLK_RETURN));
  KeyPointerEvent(Key(SDLK_ESCAPE));
  EXPECT_FALSE(TakeScreenBack());
  KeyPointerFrameRun();
  KeyPointerFrameRun();
  EXPECT_TRUE(TakeScreenBack());
}

TEST_F(KeyPointer, PressIsAQuickClickOfThePointedWidget) {
  ShowButtons();
  KeyPointerEvent(Key(SDLK_RETURN));
  EXPECT_EQ(Pointer(), std::make_pair(150, 117)) << "nothing pointed at: the first is";
  EXPECT_FALSE(screenFlags.mouseDown);

  KeyPointerEvent(Key(SDLK_SPACE));
  EXPECT_TRUE(screenFlags.mouseDown);
  KeyPointerEvent(Key(SDLK_DOWN));  // waits while the press is held
  EXPECT_EQ(Pointer(), std::make_pair(150, 117));
  EXPECT_FALSE(screenFlags.clicked);

  KeyPointerFrameRun();  // the frame saw the press: now the release
  EXPECT_FALSE(screenFlags.mouseDown);
  EXPECT_TRUE(screenFlags.clicked);
  EXPECT_EQ(Pointer(), std::make_pair(150, 117));
  KeyPointerFrameRun();  // and after a frame that saw the click, the waiting move
  EXPECT_EQ(Pointer(), std::make_pair(340, 517));

  // A button run in those frames fires once, as for a mouse.
  cButton button{};
  button.enabled = 1;
  button.width = 100;
  button.height = 35;
  screenFlags.clicked = 0;
  MouseTo(0, 0);
  KeyPointerEvent(Key(SDLK_TAB));
  KeyPointerEvent(Key(SDLK_KP_ENTER));
  EXPECT_TRUE(button.Run(100, 100));
  KeyPointerFrameRun();
  EXPECT_FALSE(button.Run(100, 100));
}

TEST_F(KeyPointer, LeftAndRightStepAPointedTrackBarByOne) {
  cTrackBar bar{};
  bar.maximum = 100;
  bar.width = 200;
  bar.knobSize = 32;
  bar.value = 1;
  const auto frame = [&] {  // as the loop runs one
    bar.Run(400, 176);
    EndFocusFrame();
    KeyPointerFrameRun();
  };
  frame();
  frame();  // the bar is shown
  KeyPointerEvent(Key(SDLK_DOWN));
  EXPECT_EQ(Pointer(), std::make_pair(402, 176)) << "at the knob";
  for (int expected : {0, 0}) {
    KeyPointerEvent(Key(SDLK_LEFT));
    frame();
    EXPECT_EQ(bar.value, expected);
  }
  for (int expected = 1; expected <= 99; ++expected) {
    KeyPointerEvent(Key(SDLK_RIGHT));
    frame();
    ASSERT_EQ(bar.value, expected);
  }
  KeyPointerEvent(PadButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT));
  frame();
  EXPECT_EQ(bar.value, 99) << "the far right is 99, as with the mouse";
  KeyPointerEvent(PadButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT));
  frame();
  EXPECT_EQ(bar.value, 98);
  EXPECT_FALSE(screenFlags.mouseDown);
}

TEST_F(KeyPointer, ControllerStickStepsOncePerPushAndAPresses) {
  ShowButtons();
  KeyPointerEvent(Stick(SDL_CONTROLLER_AXIS_LEFTY, 20000));
  EXPECT_EQ(Pointer(), std::make_pair(150, 117));
  KeyPointerEvent(Stick(SDL_CONTROLLER_AXIS_LEFTY, 32767));  // still the same push
  KeyPointerEvent(Stick(SDL_CONTROLLER_AXIS_LEFTY, 6000));   // not back far enough
  KeyPointerEvent(Stick(SDL_CONTROLLER_AXIS_LEFTY, 20000));
  EXPECT_EQ(Pointer(), std::make_pair(150, 117));
  KeyPointerEvent(Stick(SDL_CONTROLLER_AXIS_LEFTY, 0));
  KeyPointerEvent(Stick(SDL_CONTROLLER_AXIS_LEFTY, 20000));
  EXPECT_EQ(Pointer(), std::make_pair(340, 517));
  KeyPointerEvent(Stick(SDL_CONTROLLER_AXIS_LEFTY, 0));
  KeyPointerEvent(Stick(SDL_CONTROLLER_AXIS_LEFTX, -20000));
  EXPECT_EQ(Pointer(), std::make_pair(150, 117));
  KeyPointerEvent(Stick(SDL_CONTROLLER_AXIS_LEFTX, 0));
  KeyPointerEvent(PadButton(SDL_CONTROLLER_BUTTON_B));  // not a menu button
  EXPECT_FALSE(screenFlags.mouseDown);
  KeyPointerEvent(PadButton(SDL_CONTROLLER_BUTTON_A));
  EXPECT_TRUE(screenFlags.mouseDown);
}

TEST_F(KeyPointer, TargetsWithNothingInsideArePassedOverAndOverlapsKeepTheirOrder) {
  // A menu whose short file left two items at zero, and an item whose middle
  // lies inside the one before it.
  const auto show = [] {
    AddFocusTarget({0, 0, 0, 0, 0, 0});
    AddFocusTarget({100, 100, 300, 200, 200, 150});
    AddFocusTarget({150, 120, 260, 180, 205, 150});
    AddFocusTarget({400, 300, 401, 400, 400, 350});  // one pixel wide: nothing strictly inside
    AddFocusTarget({100, 400, 200, 450, 150, 425});
    EndFocusFrame();
  };
  show();
  KeyPointerEvent(Key(SDLK_RETURN));
  EXPECT_EQ(Pointer(), std::make_pair(200, 150)) << "a first press focuses the first pointable";
  for (auto expected : {std::make_pair(205, 150), std::make_pair(150, 425),
                        std::make_pair(200, 150), std::make_pair(205, 150)}) {
    KeyPointerEvent(Key(SDLK_TAB));
    show();
    EXPECT_EQ(Pointer(), expected);
  }
  KeyPointerEvent(Key(SDLK_UP));
  EXPECT_EQ(Pointer(), std::make_pair(200, 150));
  KeyPointerEvent(Key(SDLK_UP));
  EXPECT_EQ(Pointer(), std::make_pair(150, 425)) << "backwards it wraps past the empty ones";

  // Nothing pointable at all: the keys do nothing.
  AddFocusTarget({0, 0, 0, 0, 0, 0});
  EndFocusFrame();
  FormMouseMove(1, 2);
  KeyPointerEvent(Key(SDLK_DOWN));
  KeyPointerEvent(Key(SDLK_RETURN));
  EXPECT_EQ(Pointer(), std::make_pair(1, 2));
  EXPECT_FALSE(screenFlags.mouseDown);
}

TEST_F(KeyPointer, BarStepsByValueWhereverThePointerWas) {
  cTrackBar bar{};
  bar.maximum = 100;
  bar.width = 150;  // a value and a half per pixel: positions round
  bar.knobSize = 32;
  bar.value = 100;  // as a settings file may hold: more than the mouse reaches
  const auto frame = [&] {
    bar.Run(400, 176);
    EndFocusFrame();
    KeyPointerFrameRun();
  };
  frame();
  KeyPointerEvent(Key(SDLK_TAB));
  KeyPointerEvent(Key(SDLK_RIGHT));
  frame();
  EXPECT_EQ(bar.value, 100) << "Right does not pull a value beyond the mouse's reach down";
  EXPECT_FALSE(bar.changed);
  for (int expected = 99; expected >= 0; --expected) {
    FormMouseMove(mouseX - 1, mouseY);  // a pixel off, as a scaled window's rounding leaves it
    KeyPointerEvent(Key(SDLK_LEFT));
    frame();
    ASSERT_EQ(bar.value, expected);
  }
  EXPECT_TRUE(bar.changed);
  EXPECT_FALSE(screenFlags.mouseDown) << "no press: the value is set, not clicked";
  for (int expected = 1; expected <= 99; ++expected) {
    FormMouseMove(mouseX - 1, mouseY);
    KeyPointerEvent(Key(SDLK_RIGHT));
    frame();
    ASSERT_EQ(bar.value, expected);
  }
  KeyPointerEvent(Key(SDLK_RIGHT));
  KeyPointerEvent(Key(SDLK_RIGHT));
  frame();
  EXPECT_EQ(bar.value, 99) << "the far right is the mouse's: 149 pixels in gives 99";
}

TEST_F(KeyPointer, StickPushedWhenItsPadWentCountsAfreshOnTheNextPad) {
  ShowButtons();
  KeyPointerEvent(Stick(SDL_CONTROLLER_AXIS_LEFTY, 20000));
  EXPECT_EQ(Pointer(), std::make_pair(150, 117));
  SDL_Event gone{};
  gone.type = SDL_CONTROLLERDEVICEREMOVED;
  KeyPointerEvent(gone);  // pulled out mid-push: no move back to centre comes
  KeyPointerEvent(Stick(SDL_CONTROLLER_AXIS_LEFTY, 20000));  // the next pad's first push
  EXPECT_EQ(Pointer(), std::make_pair(340, 517));
}

}  // namespace
