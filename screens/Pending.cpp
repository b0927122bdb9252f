// Screens not built yet.
#include "platform/MediaPlayer.h"
#include "screens/Screens.h"

tMainSCR mainScreen;
cMediaPlayer MediaPlayer1;
bool panelVisible;

void IntroFrame(float, float, float) {}
void MainMenuFrame() {}
void OptionsFrame() {}
void StatisticsFrame() {}
void ResetScreensState() {}
void cMediaPlayer::Open() {}
void cMediaPlayer::Play() {}
void cMediaPlayer::Stop() {}
int64_t cMediaPlayer::Position() const { return 0; }
int64_t cMediaPlayer::Length() const { return 0; }
void cMediaPlayer::Frame() {}
