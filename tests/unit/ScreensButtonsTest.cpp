// The screens driven by their buttons: the menu's messages, the credits
// video, the options and the statistics. A button fires on the press.
#include <cstdlib>
#include <filesystem>

#include "ScreensTestSupport.h"
#include "gfx/Focus.h"
#include "platform/MediaPlayer.h"
#include "screens/Screens.h"

namespace {

int64_t videoClock = 0;
int64_t VideoClock() { return videoClock; }

class ButtonsTest : public ScreensTest {
 protected:
  void SetUp() override {
    ScreensTest::SetUp();
    IntroState.finished = 1;
    for (int i = 0; i < 5; ++i)
      mainScreen.items[i] = tMenuItem{300, 200 + 50 * i, 500, 240 + 50 * i, 290, 190 + 50 * i};
  }
  static void Click(int x, int y) {
    mouseX = x;
    mouseY = y;
    screenFlags.clicked = 1;
    MainMenuFrame();
  }
  static void OpenOptions() {
    mainScreen.menuHidden = 1;
    mainScreen.optionsShown = 1;
  }
};

}  // namespace

TEST_F(ButtonsTest, TheLoadMessagesBackButtonBringsTheMenuBack) {
  Click(400, 270);
  ASSERT_TRUE(mainScreen.loadMessageShown);
  screenFlags.mouseDown = 1;
  mouseX = 340;  // its back button at (330, 500), on the press
  mouseY = 510;
  MainMenuFrame();
  EXPECT_FALSE(mainScreen.loadMessageShown);
  EXPECT_FALSE(mainScreen.menuHidden);
}

TEST_F(ButtonsTest, TheBonusScreenPlaysTheCreditsVideoUntilItEnds) {
  Click(400, 370);
  ASSERT_TRUE(mainScreen.bonusShown);
  // No credits video here: it counts as played at once.
  screenFlags.mouseDown = 1;
  mouseX = 420;
  mouseY = 510;
  testing::internal::CaptureStderr();
  MainMenuFrame();
  EXPECT_NE(testing::internal::GetCapturedStderr().find("credits.WMV"), std::string::npos);
  EXPECT_FALSE(MediaPlayer1.enabled);
  EXPECT_FALSE(panelVisible);
  EXPECT_TRUE(mainScreen.bonusShown);

  screenFlags.mouseDown = 0;
  MainMenuFrame();
  screenFlags.mouseDown = 1;
  mouseX = 300;  // back at (290, 500)
  MainMenuFrame();
  EXPECT_FALSE(mainScreen.bonusShown);
  EXPECT_FALSE(mainScreen.menuHidden);
}

TEST_F(ButtonsTest, UnderTheCreditsVideoTheBonusScreensButtonsDoNotReact) {
  std::filesystem::create_directories("DATA/FMV");
  if (std::system("ffmpeg -v error -y -f lavfi -i testsrc=size=160x120:rate=25:duration=1 "
                  "-c:v wmv2 -f asf DATA/FMV/credits.WMV") != 0)
    GTEST_SKIP() << "the ffmpeg command is needed to make the test video";
  SetMediaClock(VideoClock);
  Click(400, 370);
  screenFlags.mouseDown = 1;
  mouseX = 420;
  mouseY = 510;
  MainMenuFrame();
  ASSERT_TRUE(MediaPlayer1.enabled);
  EXPECT_TRUE(panelVisible);
  EXPECT_EQ(MediaPlayer1.Position(), 0);

  mouseX = 300;  // where the back button lies under the video
  screenFlags.mouseDown = 0;
  MainMenuFrame();
  screenFlags.mouseDown = 1;
  MainMenuFrame();
  EXPECT_TRUE(mainScreen.bonusShown);

  // Past its end, the player catches up with the pictures (a few a frame)
  // and then ends.
  videoClock += 2000;
  for (int i = 0; i < 100 && MediaPlayer1.Position() < MediaPlayer1.Length(); ++i) MediaPlayer1.Frame();
  EndFocusFrame();
  MainMenuFrame();
  EXPECT_FALSE(MediaPlayer1.enabled);
  EXPECT_FALSE(panelVisible);
  EndFocusFrame();
  EXPECT_EQ(ShownFocusTargets().size(), 2u) << "in the frame the video ends, both buttons show";
  screenFlags.mouseDown = 0;
  MainMenuFrame();
  screenFlags.mouseDown = 1;
  MainMenuFrame();
  EXPECT_FALSE(mainScreen.bonusShown);
  SetMediaClock(nullptr);
}

TEST_F(ButtonsTest, OptionsBackSavesTheBarsAsThreeBytesAndReturnsToTheMenu) {
  OpenOptions();
  game.musicVolume = 32;
  game.soundVolume = 0;
  game.lightLevel = 100;
  OptionsFrame();
  // Opened and left at once: the values the bars started with.
  mouseX = 60;
  mouseY = 510;
  screenFlags.mouseDown = 1;
  OptionsFrame();
  EXPECT_EQ(ReadFile("settings.cfg"), std::string("\x20\x00\x64", 3));
  EXPECT_FALSE(mainScreen.optionsShown);
  EXPECT_FALSE(mainScreen.menuHidden);
  EXPECT_EQ(game.musicVolume, 32);
}

TEST_F(ButtonsTest, OptionsDraggingTheBarsReachesZeroToNinetyNine) {
  OpenOptions();
  game.soundVolume = 40;
  OptionsFrame();
  screenFlags.mouseDown = 1;
  mouseX = 599;  // the far right of the music bar
  mouseY = 176;
  OptionsFrame();
  mouseX = 401;  // the far left of the sound bar, above its 32-pixel band
  mouseY = 240 - 16;
  OptionsFrame();
  EXPECT_EQ(game.soundVolume, 40);
  mouseY = 240 - 15;  // just inside it
  OptionsFrame();
  mouseX = 500;  // the middle of the brightness bar
  mouseY = 300;
  OptionsFrame();
  EXPECT_EQ(game.musicVolume, 99);
  EXPECT_EQ(game.soundVolume, 0);
  EXPECT_FLOAT_EQ(LightTable[0].constantAttenuation, 7);  // brightness 50
  EXPECT_EQ(game.lightLevel, 50);

  screenFlags.mouseDown = 0;
  OptionsFrame();
  mouseX = 60;
  mouseY = 510;
  screenFlags.mouseDown = 1;
  OptionsFrame();
  EXPECT_EQ(ReadFile("settings.cfg"), std::string("\x63\x00\x32", 3));
}

TEST_F(ButtonsTest, TheReleaseOfTheOptionsBackPressIsNoClickOnTheMenuBelow) {
  OpenOptions();
  mainScreen.items[4] = tMenuItem{40, 480, 300, 540, 40, 480};  // exit, under the button
  OptionsFrame();
  mouseX = 60;
  mouseY = 510;
  screenFlags.mouseDown = 1;
  for (int frame = 0; frame < 3; ++frame) {  // pressed for a few frames
    MainMenuFrame();
    OptionsFrame();
  }
  ASSERT_FALSE(mainScreen.optionsShown);
  screenFlags.mouseDown = 0;  // released: the window reports a click
  screenFlags.clicked = 1;
  MainMenuFrame();
  EXPECT_FALSE(mainScreen.exitChosen);
  EXPECT_FALSE(TerminateRequested());

  // The next click is the menu's.
  screenFlags.clicked = 1;
  MainMenuFrame();
  EXPECT_TRUE(mainScreen.exitChosen);
}

TEST_F(ButtonsTest, TheStatisticsButtonEndsTheGame) {
  StatisticsFrame();
  mouseX = 360;
  mouseY = 510;
  screenFlags.mouseDown = 1;
  StatisticsFrame();
  EXPECT_TRUE(stats.closed);
  EXPECT_TRUE(TerminateRequested());
}
