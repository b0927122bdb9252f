#include "app/Startup.h"

#include "app/GameState.h"
#include "app/Input.h"
#include "app/Random.h"
#include "audio/AudioLibrary.h"
#include "data/AnimTables.h"
#include "data/MainScreenConfig.h"
#include "data/Settings.h"
#include "data/UnitStats.h"
#include "game/CollisionMap.h"
#include "game/Gameplay.h"
#include "gfx/Draw.h"
#include "gfx/Render.h"
#include "gfx/Texture.h"
#include "gfx/Widgets.h"
#include "platform/MediaPlayer.h"
#include "platform/MessageBox.h"
#include "platform/Window.h"
#include "screens/Screens.h"

namespace {

bool formCreated = false;
bool startAtFirstLevel = false;

void StartFirstLevelAtOnce() {
  SkipIntro();
  mainScreen.newGameChosen = 1;
  mainScreen.menuHidden = 1;
  mainScreen.titleMusicOn = 0;
  videoStarted = 1;
  videoDone = 1;
  game.loadProgress = 2;  // past 1: the level loads in the first frame
}

}  // namespace

void SetupContext(int left, int top, int width, int height, int bits, int frequency,
                  int fullScreen) {
  // The window and its context already exist (CreateGameWindow); what is
  // left is the display mode (full screen, or the window the player chose)
  // and the fixed state of the context. The viewport is the scene's: the
  // drawing back end shows the scene in whatever size the window has.
  if (fullScreen == 1) RestoreDisplayMode();
  RenderSetupContext(left, top, width, height);
}

void ReadConfigurationFiles() {
  gameSettings.LoadSettings();
  LoadLevelAndAnimTables();
  LoadUnitStats();
  LoadMainScreenConfig();
}

void SetUpPickupKinds() {
  for (PickupKind& kind : pickupKinds) {
    kind.boxWidth = 50;
    kind.size = 50;
  }
}

void FormCreate() {
  if (formCreated) {
    // Focus gained: only the display mode and the context come back.
    SetupContext(0, 0, 800, 600, 32, 100, 1);
    return;
  }
  formCreated = true;

  RefreshInput();  // the input component reads its devices once when it is loaded
  SetupContext(0, 0, 800, 600, 32, 100, 1);
  AudioInit(44100);
  ReadConfigurationFiles();
  SetupLights();
  Randomize();
  LoadTGA("HTX\\lvFont.tga", fontTex);
  LoadTGA("DATA\\levels\\LielaisMakonis.tga", cloudTex);
  SetStartupKeyAssignments();
  CollisionMap.Resize(0, 0);
  SetUpPickupKinds();
  levelMusicFile = "DATA\\AUDIO\\hev.mp3";
  musicStreams[2] = AudioStreamCreateFile(levelMusicFile.c_str());
  MediaPlayer1.displayRect = TRect{0, 0, 800, 600};
  CreateButton(exitButton, 100, 35, "DATA\\Message\\exit_R.tga", "DATA\\Message\\exit_P.tga");
  CreateButton(backButton, 100, 35, "DATA\\Message\\back_R.tga", "DATA\\Message\\back_P.tga");
  LoadJPG("DATA\\Message\\exit.jpg", exitPromptTex);
  if (startAtFirstLevel) StartFirstLevelAtOnce();
}

void SetStartAtFirstLevel(bool atOnce) { startAtFirstLevel = atOnce; }

void ResetStartup() { formCreated = false; }

void QuitGame() {
  CollisionMap.Free();
  AudioFree();
  RequestTerminate();
}

void FormClose() { QuitGame(); }
