// The screens around the level. Each runs every frame and decides from its
// own flags whether it shows anything.
#pragma once

#include <cstdint>
#include <string>

#include "app/GameState.h"
#include "gfx/Widgets.h"

// Splash pictures.
struct tIntroState {
  uint8_t loaded;
  float clock;
  float brightness;
  uint8_t pictureIndex;
  TextureName pictures[2];
  uint8_t finished;
};
extern tIntroState IntroState;
// Ends the intro before it has shown anything (test plays).
void SkipIntro();
void IntroFrame(float delay, float fade, float hold);

// Main menu.
struct tMenuItem {
  int32_t left, top, right, bottom, drawX, drawY;
};
struct tMainSCR {
  tMenuItem items[10];
  TextureName itemTextures[5];
  TextureName panelTextures[6];
  TextureName frameTexture;
  TextureName unusedTextures[3];
  TextureName symbolTextures[10];
  uint32_t menuSound;  // audio handle of the hover sound
  uint8_t menuLoaded;
  uint8_t menuHidden;
  uint8_t titleMusicOn;
  uint8_t newGameChosen;
  uint8_t loadMessageShown;
  uint8_t optionsShown;
  uint8_t bonusShown;
  uint8_t exitChosen;
};
extern tMainSCR mainScreen;

// The rest of the menu's state: item picture sizes, the shake of this frame,
// the hover time, the message screens' buttons and pictures.
struct tMenuState {
  uint16_t itemWidth[5];
  uint16_t itemHeight[5];
  int32_t shakeX;
  int32_t shakeY;
  float hoverTime;
  cButton backButton;
  cButton creditsButton;
  TextureName loadMessageTex;
  TextureName bonusMessageTex;
  // A sub-screen's button closed it on the press of a mouse button: the
  // release of that press is not a click on the menu that shows again.
  uint8_t closingPress;
  // The menu's pictures are being decoded ahead (PicturesAhead.h).
  uint8_t picturesPrepared;
};
extern tMenuState menuState;

void MainMenuFrame();
// The intro video, played when a new game starts; opened ahead while the
// menu shows.
constexpr const char* kIntroVideo = "DATA\\FMV\\intro.WMV";
// The pointer is strictly inside item index's rectangle.
bool ItemHit(const tMenuItem items[], int index);
// The pointer is inside none of the first count items.
bool NoItemHit(const tMenuItem items[], int count);
void CloseMainMenu();
// A sub-screen closes on a button's press: the menu shows again, and the
// release of that press is no click on it.
void ShowMenuAgain();

// The menu's animated backdrop: two sliding, fading panels and eight
// drifting symbols.
struct tBackdropPanel {
  uint8_t picture;  // 0..5, into the menu's panel pictures
  float alpha;
  float x;
  float time;  // seconds into the panel's 25-second cycle
};
struct tBackdropSymbol {
  float x, y;
  float dirX, dirY;
  float speedX, speedY;
};
struct tMenuBackdrop {
  tBackdropPanel panels[2];
  tBackdropSymbol symbols[8];
};
extern tMenuBackdrop menuBackdrop;
extern const tMenuBackdrop kBackdropStart;  // where it stands when the program starts
void DrawMenuBackdrop();

// Options.
struct tOptionsScreen {
  cTrackBar musicBar;
  cTrackBar soundBar;
  cTrackBar brightnessBar;
  cButton backButton;
  TextureName titleTex;
};
extern tOptionsScreen optionsScreen;
extern uint8_t optionsBuilt;
extern uint8_t optionsPrepared;  // its pictures are being decoded ahead
void OptionsFrame();
void CloseOptions();
// While the menu shows: the options screen's pictures decoded ahead, once
// for each time it opens.
void PrepareOptions();

// Statistics.
extern cButton statisticsButton;
extern uint8_t statisticsPrepared;  // its pictures are being made ready ahead
void StatisticsFrame();
// While the player nears the level's end: the summary's pictures decoded
// ahead, and their textures made one a frame, so that its first frame only
// takes them.
void PrepareStatistics();
// Play time as the statistics show it: minutes, a colon, seconds, unpadded.
std::string PlayTimeText(uint16_t seconds);

// Sets every screen's state back to its start-of-run value.
void ResetScreensState();
