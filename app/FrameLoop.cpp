#include <string>

#include "app/GameState.h"
#include "app/Input.h"
#include "app/Startup.h"
#include "audio/Sound.h"
#include "data/LevelLoader.h"
#include "game/Gameplay.h"
#include "game/Units.h"
#include "gfx/Draw.h"
#include "gfx/Hud.h"
#include "gfx/Render.h"
#include "gfx/ScreenPictures.h"
#include "gfx/Texture.h"
#include "gfx/Widgets.h"
#include "platform/MediaPlayer.h"
#include "platform/Window.h"
#include "screens/Screens.h"

namespace {

bool LevelLoaded() { return screenFlags.levelLoaded[game.currentLevel] == 1; }
bool LevelDone() { return screenFlags.levelDone[game.currentLevel] == 1; }

// Step 8: the intro video, then the level loader, while a new game starts.
void RunIntroVideoAndLevelStart() {
  if (!videoStarted) {
    StartVideo(kIntroVideo);
    videoStarted = 1;
  }
  if (StopVideoAtEnd()) videoDone = 1;
  if (!LevelLoaded() && videoDone) LoadLevel(0);
}

void DrawBackgroundScreens() {
  for (int c = 0; c < game.screensX && c < kGridColumns; ++c) {
    for (int r = 0; r < game.screensY && r < kGridRows; ++r) {
      const uint8_t v = game.screenGrid[c][r];
      if (v != 0 && v < 100) DrawQuad(screenTex[v], c * 800 + cameraX, r * 600 + cameraY, -0.7, 800, 600, 1);
    }
  }
}

void DrawSolidBlocks() {
  for (int i = 0; i <= game.blockCount && i <= kMaxBlock; ++i) {
    const tBlock& block = game.blocks[i];
    if (block.solidNow == 1)
      DrawOverlay(stoneTex, block.x + cameraX, block.y + cameraY, -0.5, 70, 35, 1);
  }
}

void RunExitPrompt() {
  if (InputTest(Button(8))) {
    InputTake(Button(8));
    exitPromptOpen = 1;
  }
  if (exitPromptOpen == 1) {
    DrawOverlay(exitPromptTex, 0, 0, -0.01, 800, 600, 0.5);
    if (backButton.Run(290, 500)) exitPromptOpen = 0;
    if (exitButton.Run(410, 500)) QuitGame();
  }
}

void FreeLevelTextures() {
  StopScreenPictures();
  DeleteTexture(backdropTex);
  screenFlags.levelTexturesFreed = 1;
}

// A screen's width before the end line the summary is made ready: a few
// seconds of play, so its first frame does not decode or upload pictures.
void PrepareStatisticsNearTheEnd() {
  if (LevelLoaded() && !LevelDone() && units[0].x > game.screensX * 800 - 500 - kScreenWidth)
    PrepareStatistics();
}

}  // namespace

void RunPlayBlock() {
  game.clockRunning = 1;
  UpdatePlayerControl();
  DrawBackground(2);
  ScreenPicturesFrame();
  DrawBackgroundScreens();
  if (game.currentLevel == 0 || game.currentLevel == 1)
    DrawOverlay(cloudTex, cameraX, 1150 + cameraY, -0.6, game.screensX * 800, 1200, 1);
  UpdatePickups();
  UpdateBlocks(300);
  DrawSolidBlocks();
  UpdatePlayerPhysics();
  unitSprites[0].Draw(unitSprites[0].screenX, unitSprites[0].screenY, -0.2);
  UpdateThrownWeapon();
  for (int i = 1; i <= game.unitCount && i <= kMaxUnits; ++i) {
    if (units[i].health > 0) {
      UpdateUnitBehaviour(i);
      UpdateUnitPhysics(i);
      unitSprites[i].Draw(units[i].x + cameraX, units[i].y + cameraY, -0.1);
    }
  }
  DrawHud();
  RunExitPrompt();
}

void CheckLevelEnd() {
  if (LevelLoaded() && units[0].x > game.screensX * 800 - 500)
    screenFlags.levelDone[game.currentLevel] = 1;
}

void CheckFallOut() {
  if (units[0].y > 2000) RestartLevel();
}

void DXTimer1Timer() {
  RenderClear();
  RenderLoadIdentity();
  ApplyLight(0);
  RenderSetProjection();
  RenderSetCamera(cameraX, cameraY);

  IntroFrame(1, 3, 1);
  MainMenuFrame();
  OptionsFrame();
  if (mainScreen.newGameChosen == 1) RunIntroVideoAndLevelStart();
  if (LevelLoaded() && !LevelDone()) RunPlayBlock();
  PrepareStatisticsNearTheEnd();
  CheckLevelEnd();
  if (LevelDone()) {
    if (screenFlags.levelTexturesFreed == 0) FreeLevelTextures();
    StatisticsFrame();
  }
  CheckFallOut();

  ++frameCount;
  DrawText(16, "FPS: " + std::to_string(fpsShown), fontTex, 10, 10);
  MediaPlayer1.Frame();
  SwapGameWindow();
}

void Timer1Timer() {
  fpsShown = frameCount;
  if (fpsShown != 0) msPerFrame = 1000.0 / fpsShown;
  frameCount = 0;
  frameFactor = msPerFrame * 200 / 1000;
  if (frameFactor > 5) frameFactor = 0.1;
  MusicTick();
  if (game.clockRunning == 1) ++game.playSeconds;
}

void FormMouseMove(int32_t x, int32_t y) {
  mouseX = x;
  mouseY = y;
}
void FormClick() { screenFlags.clicked = 1; }
void FormMouseDown() { screenFlags.mouseDown = 1; }
void FormMouseUp() { screenFlags.mouseDown = 0; }
