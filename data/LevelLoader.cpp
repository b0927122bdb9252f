#include "data/LevelLoader.h"

#include <fnmatch.h>

#include <algorithm>
#include <map>

#include "audio/Sound.h"
#include "data/AnimTables.h"
#include "data/LevelFile.h"
#include "game/CollisionMap.h"
#include "game/Gameplay.h"
#include "game/Units.h"
#include "gfx/Draw.h"
#include "gfx/Hud.h"
#include "gfx/ScreenPictures.h"
#include "gfx/Texture.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "screens/Screens.h"

TextureName loadTitleTex;
TextureName screenTex[100];

namespace {

constexpr int kLastScreenTexture = 99;
constexpr int kLastPickupItem = 99;

// Step 4: the level file, then the tables it must fit.
bool ReadLevel(uint8_t n) {
  if (n >= kMaxLevels) return false;
  if (!LoadLevelFile(game.levelFile[n])) return false;  // reported by the reader
  std::string reason;
  if (LevelFitsTables(reason)) return true;
  ReportFileLoadFailure(game.levelFile[n], "Nevar iel\xE2\x64\xE7t " + game.levelFile[n] + ": " + reason);
  return false;
}

// Steps 6 to 11: pictures, sparkle and sounds. The screen pictures (step 5)
// stream once the camera is set (ScreenPictures.h).
void LoadLevelPictures() {
  LoadJPG("DATA\\levels\\d01.JPG", backdropTex);
  for (int k = 0; k < kPickupKinds; ++k)
    LoadTGA("DATA\\Items\\" + std::to_string(k) + ".tga", pickupKinds[k].texture);
  LoadHudTextures();
  LoadTGA("DATA\\Objects\\mstone.tga", stoneTex);
  LoadTGA("DATA\\veapons\\nut.tga", nutTex);

  sparkleSprite = cAnim{};
  sparkleSprite.fileName = "DATA\\FX\\sparkle128.tga";
  sparkleSprite.LoadSheet(sparkleSprite.fileName);
  sparkleSprite.drawWidth = sparkleSprite.drawHeight = 256;
  sparkleSprite.currentFrame = 1;

  sndPickup = cSound{};
  sndPickup.Load("DATA\\AUDIO\\ciekurs.wav");
  sndThrow = cSound{};
  sndThrow.Load("DATA\\AUDIO\\mest.wav");
  sndSparkle = cSound{};
  sndSparkle.Load("DATA\\AUDIO\\sparkle2.wav");
}

// Step 17.
void FinishLoad(uint8_t n) {
  game.loadProgress = 0;
  DeleteTexture(loadTitleTex);
  screenFlags.levelLoaded[n] = 1;
  mainScreen.newGameChosen = 0;
}

// Units of one type share one sheet: its frames are loaded once and the
// other sprites get the same textures (nothing frees them during the run).
class SheetLoader {
 public:
  void Load(int i, const tAnimData& anim) {
    cAnim& sprite = unitSprites[i];
    const auto found = firstSprite_.find(anim.fileName);
    if (found != firstSprite_.end()) {
      sprite = unitSprites[found->second];
    } else {
      sprite = cAnim{};
      sprite.LoadSheet(anim.fileName);
      firstSprite_.emplace(anim.fileName, i);
    }
    sprite.drawWidth = anim.width;
    sprite.drawHeight = anim.height;
  }

 private:
  std::map<std::string, int> firstSprite_;
};

// Polyline through points 0 .. count - 1, lifting the pen after a point
// marked as a break. Each step also draws a dot at its first point.
void DrawLineList(const TPoint points[], const uint8_t breaks[], int count) {
  count = std::min(count, kMaxLinePoint);
  CollisionMap.MoveTo(points[0].x, points[0].y);
  for (int i = 0; i + 2 <= count; ++i) {
    if (breaks[i] == 1) {
      CollisionMap.MoveTo(points[i + 1].x, points[i + 1].y);
    } else {
      CollisionMap.LineTo(points[i].x, points[i].y);
      CollisionMap.LineTo(points[i + 1].x, points[i + 1].y);
    }
  }
}

}  // namespace

void LoadLevel(uint8_t n) {
  if (!screenFlags.loadTitleLoaded) {
    LoadJPG("DATA\\LoadTitle\\l1_LoadTitle.jpg", loadTitleTex);
    screenFlags.loadTitleLoaded = 1;
  }
  DrawOverlay(loadTitleTex, 0, 0, 0, 800, 600, 1);
  game.loadProgress += frameFactor * 0.5 / 100;
  if (game.loadProgress <= 1) return;

  if (!ReadLevel(n)) return;
  LoadLevelPictures();
  SetUpLevel();
  const int found = CountFiles(game.levelDir[0], "*.tga");
  game.screenTexCount = uint16_t(std::min(found, kLastScreenTexture));
  StartScreenPictures(game.levelDir[0], game.screenTexCount);
  FinishLoad(n);
}

bool LoadLevelState(uint8_t n) {
  if (!ReadLevel(n)) return false;
  SetUpLevel();
  FinishLoad(n);
  return true;
}

int32_t CountFiles(const std::string& folder, const std::string& mask) {
  int32_t count = 0;
  for (const std::string& name : ListFolder(folder)) {
    if (!FileExists(folder + "\\" + name)) continue;  // folders are not counted
    if (fnmatch(mask.c_str(), name.c_str(), FNM_CASEFOLD) == 0) ++count;
  }
  return count;
}

namespace {

// "field = v (lielākais max)": above the largest the tables hold, in the
// level file's own words; "(mazākais 1)" for a size below 1.
std::string Beyond(const std::string& field, int value, int largest) {
  const std::string limit = value < 1 ? "maz\xE2kais 1" : "liel\xE2kais " + std::to_string(largest);
  return field + " = " + std::to_string(value) + " (" + limit + ")";
}

std::string Index(int i) { return "[" + std::to_string(i) + "]"; }

}  // namespace

bool LevelFitsTables(std::string& reason) {
  auto refuse = [&](const std::string& what) {
    reason = what;
    return false;
  };
  if (game.screensX < 1 || game.screensX > kGridColumns)
    return refuse(Beyond("screensX", game.screensX, kGridColumns));
  if (game.screensY < 1 || game.screensY > kGridRows)
    return refuse(Beyond("screensY", game.screensY, kGridRows));
  if (game.unitCount > kMaxUnits) return refuse(Beyond("unitCount", game.unitCount, kMaxUnits));
  if (game.blockCount > kMaxBlock) return refuse(Beyond("blockCount", game.blockCount, kMaxBlock));
  const std::pair<const char*, uint16_t> lineCounts[] = {
      {"lineCountA", game.lineCountA}, {"lineCountB", game.lineCountB}, {"lineCountC", game.lineCountC}};
  for (const auto& [field, count] : lineCounts) {
    if (count > kMaxLinePoint) return refuse(Beyond(field, count, kMaxLinePoint));
  }
  for (int i = 0; i <= game.unitCount; ++i) {
    if (units[i].unitType >= kUnitTypes)
      return refuse(Beyond("unitType" + Index(i), units[i].unitType, kUnitTypes - 1));
  }
  for (int c = 0; c < game.screensX; ++c) {
    for (int r = 0; r < game.screensY; ++r) {
      if (game.screenGrid[c][r] > kLastScreenTexture)
        return refuse(Beyond("screenGrid" + Index(c) + Index(r), game.screenGrid[c][r],
                             kLastScreenTexture));
    }
  }
  for (int k = 0; k < kPickupKinds; ++k) {
    if (pickupKinds[k].lastItem > kLastPickupItem)
      return refuse(Beyond("lastItem" + Index(k), pickupKinds[k].lastItem, kLastPickupItem));
  }
  return true;
}

void SetUpLevel() {
  SheetLoader sheets;
  SetUpUnit(0);
  sheets.Load(0, playerAnims[0]);
  for (int i = 1; i <= game.unitCount && i <= kMaxUnits; ++i) {
    SetUpUnit(i);
    if (units[i].unitType < kUnitTypes) sheets.Load(i, unitTypes[units[i].unitType].anim);
  }
  cameraX = 400.0 - game.unitStart[0].x;
  cameraY = 300.0 - game.unitStart[0].y;
  unitSprites[0].screenX = 400;
  unitSprites[0].screenY = 300;
  unitSprites[0].currentFrame = 1;
  BuildCollisionMap();
}

void BuildCollisionMap() {
  CollisionMap.Resize(game.screensX * kScreenWidth, game.screensY * kScreenHeight);
  CollisionMap.SetPen(PixelClass::solid);
  DrawLineList(game.lineA, game.lineBreakA, game.lineCountA);
  CollisionMap.SetPen(PixelClass::platform);
  DrawLineList(game.lineB, game.lineBreakB, game.lineCountB);
  const int lastBlock = std::min<int>(game.blockCount, kMaxBlock);
  for (int i = 0; i <= lastBlock; ++i) {
    const tBlock& b = game.blocks[i];
    if (b.permanent == 1) CollisionMap.DrawOutline(b.x, b.y, 70, 35, PixelClass::solid);
  }
  for (int i = 0; i <= lastBlock; ++i) game.blocks[i].solidNow = 0;
}
