// Frame stepping of the sprite animation (null back end: nothing is drawn).
#include <gtest/gtest.h>

#include <vector>

#include "app/GameState.h"
#include "game/Anim.h"

namespace {

class AnimStepping : public ::testing::Test {
 protected:
  void SetUp() override { frameFactor = 1; }
  void TearDown() override { frameFactor = 0; }

  // The frames shown by the next n draws.
  std::vector<int> Draws(int n) {
    std::vector<int> frames;
    for (int i = 0; i < n; ++i) {
      sprite.Draw(400, 300, -0.2);
      frames.push_back(sprite.currentFrame);
    }
    return frames;
  }
  cAnim sprite{};
};

using Frames = std::vector<int>;

}  // namespace

TEST_F(AnimStepping, LoopingRangeNeverShowsItsStopFrame) {
  sprite.looping = 1;
  sprite.SetAnimRange(tAnimSeq{5, 9, 0});
  EXPECT_EQ(Draws(9), (Frames{6, 7, 8, 5, 6, 7, 8, 5, 6}));
}

TEST_F(AnimStepping, NonLoopingRangeShowsItsStartOnceThenStaysOnItsLastFrame) {
  sprite.SetAnimRange(tAnimSeq{5, 9, 0});
  EXPECT_EQ(Draws(8), (Frames{6, 7, 8, 5, 8, 8, 8, 8}));
  EXPECT_EQ(sprite.playedOnce, 1);
}

TEST_F(AnimStepping, DelayOfTwoHundredthsStepsEveryFifthDrawAtFactorOne) {
  sprite.looping = 1;
  sprite.SetAnimRange(tAnimSeq{5, 9, 0.02f});
  sprite.currentFrame = 5;
  EXPECT_EQ(Draws(10), (Frames{5, 5, 5, 5, 6, 6, 6, 6, 6, 7}));
}

TEST_F(AnimStepping, SettingTheSameRangeEveryFrameDoesNotRestartIt) {
  sprite.looping = 1;
  Frames shown;
  for (int i = 0; i < 6; ++i) {
    sprite.SetAnimRange(tAnimSeq{5, 9, 0});
    shown.push_back(Draws(1)[0]);
  }
  EXPECT_EQ(shown, (Frames{6, 7, 8, 5, 6, 7}));
}

TEST_F(AnimStepping, ChangedRangeKeepsTheOldFrameUntilItsFirstStep) {
  sprite.looping = 1;
  sprite.SetAnimRange(tAnimSeq{1, 4, 0});
  EXPECT_EQ(Draws(2), (Frames{2, 3}));
  sprite.SetAnimRange(tAnimSeq{10, 14, 0.02f});
  sprite.frameClock = 0;
  EXPECT_EQ(Draws(5), (Frames{3, 3, 3, 3, 11})) << "the first new frame is start + 1";
}

TEST_F(AnimStepping, ChangedRangeEndingBeforeTheOldFrameShowsItsStartAtOnce) {
  sprite.looping = 1;
  sprite.SetAnimRange(tAnimSeq{20, 30, 0});
  Draws(3);
  sprite.SetAnimRange(tAnimSeq{2, 5, 1});
  sprite.frameClock = 0;
  EXPECT_EQ(Draws(2), (Frames{2, 2}));
}

TEST_F(AnimStepping, EmptyRangeShowsItsStartAtEveryDraw) {
  sprite.looping = 1;
  sprite.SetAnimRange(tAnimSeq{7, 7, 0});
  EXPECT_EQ(Draws(4), (Frames{7, 7, 7, 7}));
  sprite.SetAnimRange(tAnimSeq{0, 0, 0});
  EXPECT_EQ(Draws(2), (Frames{0, 0}));
}

TEST_F(AnimStepping, RangeTakesTheLowSixteenBitsOfTheSequence) {
  sprite.SetAnimRange(tAnimSeq{0x10005, 0x10009, 0});
  EXPECT_EQ(sprite.rangeStart, 5);
  EXPECT_EQ(sprite.rangeLength, 4);
  sprite.SetAnimRange(tAnimSeq{9, 5, 0});
  EXPECT_EQ(sprite.rangeLength, 65532) << "16-bit arithmetic";
}

TEST_F(AnimStepping, FramesBeyondTheTextureTableAreStepsWithoutADraw) {
  sprite.looping = 1;
  sprite.SetAnimRange(tAnimSeq{300, 310, 0});
  EXPECT_EQ(Draws(2), (Frames{301, 302}));
}
