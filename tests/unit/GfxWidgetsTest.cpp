// The mouse logic of the button and the track bar (null back end).
#include <gtest/gtest.h>

#include "app/GameState.h"
#include "gfx/Widgets.h"

namespace {

class Widgets : public ::testing::Test {
 protected:
  void SetUp() override { ResetGameState(); }
  void TearDown() override { ResetGameState(); }

  static void Mouse(int32_t x, int32_t y, bool down) {
    mouseX = x;
    mouseY = y;
    screenFlags.mouseDown = down ? 1 : 0;
  }
  static cButton Button() {
    cButton button{};
    button.enabled = 1;
    button.width = 100;
    button.height = 35;
    return button;
  }
  static cTrackBar Bar() {
    cTrackBar bar{};
    bar.maximum = 100;
    bar.width = 200;
    bar.grooveHeight = 10;
    bar.knobSize = 32;
    return bar;
  }
};

}  // namespace

TEST_F(Widgets, ButtonIsPressedStrictlyInsideItsEdgesAndOnlyWhenEnabled) {
  cButton button = Button();
  for (auto [x, y] : {std::pair{290, 520}, {390, 520}, {340, 500}, {340, 535}}) {
    Mouse(x, y, true);
    EXPECT_FALSE(button.Run(290, 500)) << x << "," << y;
    EXPECT_EQ(button.pressed, 0);
  }
  Mouse(291, 501, true);
  EXPECT_TRUE(button.Run(290, 500));
  button = Button();
  Mouse(389, 534, true);
  EXPECT_TRUE(button.Run(290, 500));

  button = Button();
  button.enabled = 0;
  EXPECT_FALSE(button.Run(290, 500));
  EXPECT_EQ(button.pressed, 0);
}

TEST_F(Widgets, ButtonFiresInTheFirstFrameItIsPressedAndAgainWhenTheCounterWraps) {
  cButton button = Button();
  Mouse(340, 520, false);
  EXPECT_FALSE(button.Run(290, 500));
  Mouse(340, 520, true);
  EXPECT_TRUE(button.Run(290, 500));
  EXPECT_FALSE(button.Run(290, 500));
  EXPECT_FALSE(button.Run(290, 500));
  EXPECT_EQ(button.pressFrames, 3);
  Mouse(340, 520, false);
  EXPECT_FALSE(button.Run(290, 500));
  EXPECT_EQ(button.pressFrames, 0);
  Mouse(340, 520, true);
  EXPECT_TRUE(button.Run(290, 500)) << "a new press fires again";

  button.pressFrames = 65535;
  EXPECT_FALSE(button.Run(290, 500));
  EXPECT_EQ(button.pressFrames, 0);
  EXPECT_TRUE(button.Run(290, 500)) << "held for 65,536 frames";

  button = Button();
  Mouse(10, 10, true);
  EXPECT_FALSE(button.Run(290, 500));
  Mouse(300, 510, true);
  EXPECT_TRUE(button.Run(290, 500)) << "pressed elsewhere and dragged on";
}

TEST_F(Widgets, TrackBarTakesTheValueUnderThePointer) {
  cTrackBar bar = Bar();
  Mouse(599, 180, true);
  bar.Run(400, 176);
  EXPECT_EQ(bar.value, 99) << "far right: 0.5 x 199 truncates";
  EXPECT_EQ(bar.changed, 1);
  Mouse(401, 176, true);
  bar.Run(400, 176);
  EXPECT_EQ(bar.value, 0);
  Mouse(500, 176, true);
  bar.Run(400, 176);
  EXPECT_EQ(bar.value, 50);
}

TEST_F(Widgets, TrackBarIgnoresThePointerOutsideItsBandOrWithoutAPress) {
  cTrackBar bar = Bar();
  bar.value = 42;
  for (auto [x, y, down] : {std::tuple{500, 176, false}, {400, 176, true}, {600, 176, true},
                            {500, 160, true}, {500, 192, true}}) {
    Mouse(x, y, down);
    bar.Run(400, 176);
    EXPECT_EQ(bar.value, 42) << x << "," << y;
  }
  EXPECT_EQ(bar.changed, 0);
  Mouse(500, 161, true);
  bar.Run(400, 176);
  EXPECT_EQ(bar.value, 50) << "just inside the 32-pixel band";
}

TEST_F(Widgets, TrackBarWithoutAMaximumOrWidthDoesNotDivideByZero) {
  cTrackBar bar = Bar();
  bar.maximum = 0;
  Mouse(500, 176, true);
  bar.Run(400, 176);
  EXPECT_EQ(bar.value, 0);
  bar = Bar();
  bar.width = 0;
  bar.value = 7;
  bar.Run(400, 176);
  EXPECT_EQ(bar.value, 7);
}
