#include "gfx/PicturesAhead.h"
#include "platform/MediaPlayer.h"
#include "screens/Screens.h"

void ResetScreensState() {
  IntroState = tIntroState{};
  mainScreen = tMainSCR{};
  menuState = tMenuState{};
  menuBackdrop = kBackdropStart;
  optionsScreen = tOptionsScreen{};
  optionsBuilt = 0;
  optionsPrepared = 0;
  StopPreparingPictures();
  statisticsButton = cButton{};
  statisticsPrepared = 0;
  MediaPlayer1 = cMediaPlayer{};
  DropPreparedVideo();
  panelVisible = false;
}
