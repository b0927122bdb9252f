#include <filesystem>
#include <fstream>
#include <functional>

#include "GameTestSupport.h"
#include "data/AnimTables.h"
#include "data/LevelLoader.h"

using gametest::GameTest;
using gametest::messages;

namespace {

// A level of 2 x 1 screens whose player (type 1) starts at (1000, 450) and
// whose single unit (type 2) starts at (300, 200).
class LevelLoaderTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    CollisionMap.Free();
    game.screensX = 2;
    game.screensY = 1;
    game.unitCount = 1;
    game.unitStart[0] = {1000, 450};
    game.unitStart[1] = {300, 200};
    units[0].unitType = 1;
    units[1].unitType = 2;
    unitTypes[1] = tUnitType{40, 50, 100, 60, 1.5f, 0, 1, {}};
    unitTypes[2] = tUnitType{30, 20, 40, 0, 0, 2.5f, 1, {}};
    unitTypes[2].anim.width = 64;
    unitTypes[2].anim.height = 32;
    playerAnims[0] = tAnimData{};
    playerAnims[0].width = 128;
    playerAnims[0].height = 96;
  }
  void TearDown() override {
    playerAnims[0] = tAnimData{};
    GameTest::TearDown();
  }
};

// A field the tables limit, as the refusal names it, and the largest they hold.
struct TableLimit {
  std::string field;
  int largest;
  std::function<void(int)> set;
};

// Each field at its largest fits, one more is refused by its name; the fields
// stay at their largest, so that the last ones are tried with every table full.
TEST_F(LevelLoaderTest, EachFieldFitsAtItsLargestAndIsRefusedByNameAbove) {
  const TableLimit limits[] = {
      {"screensX", 31, [](int v) { game.screensX = uint8_t(v); }},
      {"screensY", 11, [](int v) { game.screensY = uint8_t(v); }},
      {"unitCount", 500, [](int v) { game.unitCount = uint16_t(v); }},
      {"blockCount", 500, [](int v) { game.blockCount = uint16_t(v); }},
      {"lineCountA", 511, [](int v) { game.lineCountA = uint16_t(v); }},
      {"lineCountB", 511, [](int v) { game.lineCountB = uint16_t(v); }},
      {"lineCountC", 511, [](int v) { game.lineCountC = uint16_t(v); }},
      {"unitType[500]", 6, [](int v) { units[500].unitType = uint8_t(v); }},
      {"screenGrid[30][10]", 99, [](int v) { game.screenGrid[30][10] = uint8_t(v); }},
      {"lastItem[6]", 99, [](int v) { pickupKinds[6].lastItem = uint16_t(v); }},
  };
  for (const TableLimit& limit : limits) {
    SCOPED_TRACE(limit.field);
    std::string reason;
    limit.set(limit.largest);
    EXPECT_TRUE(LevelFitsTables(reason)) << reason;
    limit.set(limit.largest + 1);
    EXPECT_FALSE(LevelFitsTables(reason));
    EXPECT_EQ(reason, limit.field + " = " + std::to_string(limit.largest + 1) + " (liel\xE2kais " +
                          std::to_string(limit.largest) + ")");
    limit.set(limit.largest);
  }
}

TEST_F(LevelLoaderTest, NoScreensAcrossOrDownAndUnitsNotInPlay) {
  std::string reason;
  game.screensX = 0;
  EXPECT_FALSE(LevelFitsTables(reason));
  EXPECT_EQ(reason, "screensX = 0 (maz\xE2kais 1)");
  game.screensX = 2;
  game.screensY = 0;
  EXPECT_FALSE(LevelFitsTables(reason));
  EXPECT_EQ(reason, "screensY = 0 (maz\xE2kais 1)");
  game.screensY = 1;
  units[2].unitType = 9;  // above the unit count: ignored
  EXPECT_TRUE(LevelFitsTables(reason)) << reason;
}

TEST_F(LevelLoaderTest, TitleShowsFor200CallsAtFrameFactorOne) {
  frameFactor = 1;
  game.screensX = 0;  // a level that cannot be played, whatever the file holds
  game.levelFile[0] = "DATA\\no such level.lvl";
  for (int call = 1; call <= 199; ++call) LoadLevel(0);
  EXPECT_EQ(screenFlags.loadTitleLoaded, 1);
  // The loading title's picture is not in the test's folder: its loader
  // says so once.
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "BMP Unit|Nevar iel\xE2\x64\xE7t JPG - \"DATA\\LoadTitle\\l1_LoadTitle.jpg\"");
  EXPECT_LE(game.loadProgress, 1.0);
  LoadLevel(0);
  // The 200th call loads: here the level file is missing, with one "VIRKO" box.
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1], "VIRKO|Nevar iel\xE2\x64\xE7t VRK");
  EXPECT_TRUE(TerminateRequested());
  EXPECT_EQ(screenFlags.levelLoaded[0], 0);
}

TEST_F(LevelLoaderTest, UnitsCameraAndSpritesAreSetUpFromTheirTypes) {
  SetUpLevel();
  const tVirkoUnit& p = units[0];
  EXPECT_FLOAT_EQ(p.x, 1000);
  EXPECT_DOUBLE_EQ(p.y, 450);
  EXPECT_EQ(p.width, 40);
  EXPECT_EQ(p.height, 50);
  EXPECT_EQ(p.health, 100);
  EXPECT_EQ(p.jumpMax, 60);
  EXPECT_FLOAT_EQ(p.typeParam, 1.5f);
  EXPECT_EQ(p.collides, 1);
  EXPECT_DOUBLE_EQ(cameraX, -600);
  EXPECT_DOUBLE_EQ(cameraY, -150);
  EXPECT_FLOAT_EQ(unitSprites[0].screenX, 400);
  EXPECT_FLOAT_EQ(unitSprites[0].screenY, 300);
  EXPECT_EQ(unitSprites[0].currentFrame, 1);
  EXPECT_EQ(unitSprites[0].drawWidth, 128);
  EXPECT_EQ(unitSprites[0].drawHeight, 96);

  const tVirkoUnit& u = units[1];
  EXPECT_FLOAT_EQ(u.x, 300);
  EXPECT_EQ(u.health, 40);
  EXPECT_FLOAT_EQ(u.fallSpeed, 2.5f);
  EXPECT_EQ(u.active, 0);
  EXPECT_EQ(unitSprites[1].drawWidth, 64);
  EXPECT_EQ(unitSprites[1].drawHeight, 32);

  game.unitStart[0] = {0, 0};
  game.unitCount = 0;
  SetUpLevel();
  EXPECT_DOUBLE_EQ(cameraX, 400);
  EXPECT_DOUBLE_EQ(cameraY, 300);
  EXPECT_EQ(CollisionMap.Width(), 1600);
  EXPECT_EQ(CollisionMap.Height(), 600);
}

TEST_F(LevelLoaderTest, CollisionMapDrawsListsABAndPermanentBlocksOnly) {
  // List A: 0 -> 1, break, 2 -> 3; point 4 (the count) is not drawn.
  game.lineCountA = 4;
  game.lineA[0] = {100, 100};
  game.lineA[1] = {300, 100};
  game.lineBreakA[1] = 1;
  game.lineA[2] = {500, 100};
  game.lineA[3] = {700, 100};
  game.lineA[4] = {700, 500};
  game.lineCountB = 2;
  game.lineB[0] = {100, 300};
  game.lineB[1] = {300, 300};
  game.lineB[2] = {300, 500};
  game.lineCountC = 2;
  game.lineC[0] = {900, 300};
  game.lineC[1] = {1100, 300};
  game.blockCount = 1;
  game.blocks[0] = {1000, 400, 1, 1, 0, 0, 0};
  game.blocks[1] = {1200, 400, 1, 0, 0, 1, 0};
  BuildCollisionMap();

  EXPECT_TRUE(CollisionMap.IsSolid(200, 100));
  EXPECT_FALSE(CollisionMap.Supports(400, 100));  // the break
  EXPECT_TRUE(CollisionMap.IsSolid(600, 100));
  EXPECT_FALSE(CollisionMap.Supports(700, 300));  // up to the last point
  EXPECT_EQ(CollisionMap.Get(200, 300), PixelClass::platform);
  EXPECT_FALSE(CollisionMap.Supports(300, 400));
  EXPECT_FALSE(CollisionMap.Supports(1000, 300));  // list C
  EXPECT_TRUE(CollisionMap.IsSolid(1035, 400));
  EXPECT_TRUE(CollisionMap.IsSolid(1000, 417));
  EXPECT_FALSE(CollisionMap.Supports(1035, 417));
  EXPECT_FALSE(CollisionMap.Supports(1235, 400));  // not permanent
  EXPECT_EQ(game.blocks[0].solidNow, 0);
  EXPECT_EQ(game.blocks[1].solidNow, 0);

  // A count of 1 or 0 only moves the pen.
  game.lineCountA = 1;
  game.lineCountB = 0;
  BuildCollisionMap();
  EXPECT_FALSE(CollisionMap.Supports(200, 100));
  EXPECT_FALSE(CollisionMap.Supports(100, 100));
  EXPECT_FALSE(CollisionMap.Supports(100, 300));
}

TEST(LevelFolder, CountFilesMatchesTheMaskWithoutRegardToCase) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / ("virko-count-" + std::to_string(getpid()));
  fs::create_directories(folder / "Tex" / "sub.tga");
  for (const char* name : {"0.tga", "1.TGA", "2.tga", "notes.txt", "3.tga.bak"})
    std::ofstream(folder / "Tex" / name) << "x";
  const std::string gamePath = folder.string() + "\\tex";
  EXPECT_EQ(CountFiles(gamePath, "*.tga"), 3);
  EXPECT_EQ(CountFiles(gamePath, "*"), 5);
  EXPECT_EQ(CountFiles(folder.string() + "\\missing", "*.tga"), 0);
  fs::remove_all(folder);
}

}  // namespace
