#include "ScreensTestSupport.h"
#include "screens/Screens.h"

namespace {

class OptionsTest : public ScreensTest {
 protected:
  void SetUp() override {
    ScreensTest::SetUp();
    IntroState.finished = 1;
    mainScreen.menuHidden = 1;
    mainScreen.optionsShown = 1;
  }
};

}  // namespace

TEST_F(OptionsTest, TheBarsStartFromTheSettingsAndDriveVolumesAndLight) {
  game.musicVolume = 32;
  game.soundVolume = 0;
  game.lightLevel = 100;
  OptionsFrame();
  EXPECT_EQ(optionsBuilt, 1);
  EXPECT_FLOAT_EQ(LightTable[0].constantAttenuation, 2);

  optionsScreen.brightnessBar.value = 0;
  optionsScreen.musicBar.value = 7;
  OptionsFrame();
  EXPECT_FLOAT_EQ(LightTable[0].constantAttenuation, 12);  // darkest
  EXPECT_EQ(game.musicVolume, 7);
  EXPECT_EQ(game.lightLevel, 100);  // the setting changes only through the file
}

TEST_F(OptionsTest, NothingRunsWhileTheScreenIsNotShown) {
  mainScreen.optionsShown = 0;
  const float attenuation = LightTable[0].constantAttenuation;
  OptionsFrame();
  EXPECT_EQ(optionsBuilt, 0);
  EXPECT_EQ(LightTable[0].constantAttenuation, attenuation);
}
