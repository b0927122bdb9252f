#include <SDL.h>

#include <algorithm>

#include "ScreensTestSupport.h"
#include "screens/Screens.h"

namespace {

class IntroTest : public ScreensTest {
 protected:
  static float Ambient() { return LightTable[0].ambient[0]; }
};

void PushEvent(Uint32 type, SDL_Keycode key = 0) {
  SDL_Event event{};
  event.type = type;
  event.key.keysym.sym = key;
  if (type != SDL_KEYDOWN) event.button.button = SDL_BUTTON_LEFT;
  SDL_PushEvent(&event);
}

}  // namespace

TEST_F(IntroTest, FirstPictureUntilEightSecondsThenTheSecondUntilFifteen) {
  float lowest = 10, highest = -10;
  int frames = 0;
  while (!IntroState.finished && frames < 2000) {
    const float clockBefore = IntroState.clock;
    IntroFrame(1, 3, 1);
    ++frames;
    if (IntroState.finished) {
      EXPECT_GE(clockBefore, 15.0f);
      break;
    }
    if (frames == 1) IntroState.pictures[0] = 5, IntroState.pictures[1] = 6;  // as if loaded
    // The picture changes in the first frame that starts past 8 seconds.
    EXPECT_EQ(IntroState.pictureIndex, clockBefore > 8 ? 1 : 0) << "at " << clockBefore;
    EXPECT_EQ(Ambient(), LightTable[0].ambient[2]);
    lowest = std::min(lowest, Ambient());
    highest = std::max(highest, Ambient());
  }
  EXPECT_NEAR(frames, 1501, 2);  // 15 seconds of 10 ms frames, then the end
  // Each picture rises from -1.3 to about 0.3 and sinks back.
  EXPECT_FLOAT_EQ(lowest, -1.3f);
  EXPECT_NEAR(highest, 0.3, 0.02);
  EXPECT_FLOAT_EQ(Ambient(), 0.5f);  // 0.01 x lightLevel
  EXPECT_FLOAT_EQ(LightTable[0].ambient[1], 0.5f);

  // Never drawn again: the pictures are released.
  EXPECT_EQ(IntroState.pictures[0], 0u);
  EXPECT_EQ(IntroState.pictures[1], 0u);
  // Once finished it does nothing more.
  const tIntroState after = IntroState;
  IntroFrame(1, 3, 1);
  EXPECT_EQ(IntroState.clock, after.clock);
}

TEST_F(IntroTest, StandsStillWhileTheFrameFactorIsZero) {
  frameFactor = 0;  // the first second of the run
  for (int i = 0; i < 500; ++i) IntroFrame(1, 3, 1);
  EXPECT_TRUE(IntroState.loaded);
  EXPECT_FALSE(IntroState.finished);
  EXPECT_EQ(IntroState.clock, 0);
  EXPECT_EQ(IntroState.pictureIndex, 0);
  EXPECT_FLOAT_EQ(Ambient(), -1.3f);  // the first picture, dark
}

TEST_F(IntroTest, ASlowFrameEndsItWhereverTheFadeStands) {
  IntroFrame(1, 3, 1);
  frameFactor = 5;
  while (IntroState.clock < 14) IntroFrame(1, 3, 1);
  frameFactor = 2000;  // one frame of ten seconds
  IntroFrame(1, 3, 1);
  IntroFrame(1, 3, 1);
  EXPECT_TRUE(IntroState.finished);
  EXPECT_FLOAT_EQ(Ambient(), 0.5f);
}

TEST_F(IntroTest, SkipKeysAndAClickEndItWithTheSettingsLight) {
  ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0);
  PushEvent(SDL_KEYDOWN, SDLK_SPACE);  // held before the splash: does not count
  IntroFrame(1, 3, 1);
  IntroFrame(1, 3, 1);
  EXPECT_FALSE(IntroState.finished);

  PushEvent(SDL_KEYDOWN, SDLK_ESCAPE);
  IntroFrame(1, 3, 1);
  EXPECT_TRUE(IntroState.finished);
  EXPECT_FLOAT_EQ(Ambient(), 0.5f);

  // A click: the release that skips is not also a click on the menu.
  ResetGameState();
  WriteSettings(80, 70, 30);  // the splash reads the settings again
  game.lightLevel = 30;
  IntroFrame(1, 3, 1);
  PushEvent(SDL_MOUSEBUTTONDOWN);
  IntroFrame(1, 3, 1);
  EXPECT_FALSE(IntroState.finished);
  PushEvent(SDL_MOUSEBUTTONUP);
  screenFlags.clicked = 1;
  IntroFrame(1, 3, 1);
  EXPECT_TRUE(IntroState.finished);
  EXPECT_EQ(screenFlags.clicked, 0);
  EXPECT_FLOAT_EQ(Ambient(), 0.3f);
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}
