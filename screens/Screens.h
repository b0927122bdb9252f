// The screens around the level. Each runs every frame and decides from its
// own flags whether it shows anything.
#pragma once

#include <cstdint>

#include "app/GameState.h"

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
void MainMenuFrame();
bool ItemHit(const tMenuItem items[], int index);
bool NoItemHit(const tMenuItem items[], int count);
void CloseMainMenu();
void DrawMenuBackdrop();

// Options.
extern uint8_t optionsBuilt;
void OptionsFrame();
void CloseOptions();

// Statistics.
void StatisticsFrame();

// Sets every screen's state back to its start-of-run value.
void ResetScreensState();
