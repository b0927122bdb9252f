#include "app/GameState.h"

#include "app/Input.h"
#include "app/KeyPointer.h"
#include "app/Startup.h"
#include "data/AnimTables.h"
#include "game/Gameplay.h"
#include "gfx/Draw.h"
#include "screens/Screens.h"

tGame game;
tStat stats;
tScreenFlags screenFlags;

double cameraX;
double cameraY;
double frameFactor;
double msPerFrame;
uint16_t frameCount;
uint16_t fpsShown;
int32_t mouseX;
int32_t mouseY;
uint8_t exitPromptOpen;
uint8_t videoStarted;
uint8_t videoDone;
TRect videoRect;
TextureName exitPromptTex;
TextureName fontTex;
TextureName cloudTex;
std::string levelMusicFile;
uint32_t musicStreams[3];

void ResetGameState() {
  game = tGame{};
  stats = tStat{};
  screenFlags = tScreenFlags{};
  cameraX = cameraY = 0;
  frameFactor = msPerFrame = 0;
  frameCount = fpsShown = 0;
  mouseX = mouseY = 0;
  exitPromptOpen = videoStarted = videoDone = 0;
  videoRect = TRect{};
  exitPromptTex = fontTex = cloudTex = 0;
  levelMusicFile.clear();
  for (uint32_t& stream : musicStreams) stream = 0;
  for (tAnimData& anims : playerAnims) anims = tAnimData{};
  ResetInput();
  ResetKeyPointer();
  ResetStartup();
  ResetDrawingState();
  ResetGameplayState();
  ResetScreensState();
}
