// The content builder's configuration files, read back with the game's own
// readers from the folder the game would start in.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ContentTestFiles.h"
#include "app/GameState.h"
#include "data/AnimTables.h"
#include "data/MainScreenConfig.h"
#include "data/Settings.h"
#include "data/TgaSize.h"
#include "data/UnitStats.h"
#include "game/Units.h"
#include "platform/MessageBox.h"
#include "screens/Screens.h"
#include "tools/content/Catalogue.h"
#include "tools/content/Content.h"

using contenttest::ContentDir;
using contenttest::ReadBytes;

namespace {

std::vector<std::string> messages;
void Collect(const std::string& caption, const std::string& text) { messages.push_back(caption + "|" + text); }

// Runs the start-up readers with the content folder as the working folder.
class ContentConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(BuildConfigFiles(dir_.Path()));
    ResetGameState();
    for (tAnimData& set : playerAnims) set = tAnimData{};
    for (tUnitType& type : unitTypes) type = tUnitType{};
    mainScreen = tMainSCR{};
    messages.clear();
    SetMessageBoxHandler(Collect);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.Path());
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    SetMessageBoxHandler(nullptr);
    ClearTerminateRequest();
    ResetGameState();
  }

  ContentDir dir_;
  std::filesystem::path previous_;
};

void ExpectRange(const tAnimSeq& seq, FrameRange range, const char* what) {
  EXPECT_EQ(seq.start, range.start) << what;
  EXPECT_EQ(seq.stop, range.stop) << what;
  EXPECT_FLOAT_EQ(seq.delay, range.delay) << what;
}

TEST_F(ContentConfigTest, StartUpReadsEveryFileWithoutAMessage) {
  gameSettings.LoadSettings();
  LoadLevelAndAnimTables();
  LoadUnitStats();
  LoadMainScreenConfig();
  EXPECT_TRUE(messages.empty()) << messages.front();
  EXPECT_FALSE(TerminateRequested());

  EXPECT_EQ(game.musicVolume, kStartMusic);
  EXPECT_EQ(game.soundVolume, kStartSound);
  EXPECT_EQ(game.lightLevel, kStartLight);
  EXPECT_EQ(game.levelFile[0], "DATA\\levels\\pine-isles.vrk");
  EXPECT_EQ(game.levelDir[0], "DATA\\levels\\pine-isles");
  EXPECT_EQ(game.levelFile[1], "");

  const tAnimData& player = playerAnims[0];
  EXPECT_EQ(player.fileName, kPlayerSheet);
  EXPECT_EQ(player.width, kPlayerDrawn);
  EXPECT_EQ(player.height, kPlayerDrawn);
  ExpectRange(player.standA, kPlayerStandA, "standA");
  ExpectRange(player.standB, kPlayerStandB, "standB");
  ExpectRange(player.runA, kPlayerRunA, "runA");
  ExpectRange(player.runB, kPlayerRunB, "runB");
  ExpectRange(player.jump, kPlayerJump, "jump");
  ExpectRange(player.fall, kPlayerFall, "fall");
  ExpectRange(player.actA, kPlayerThrow, "actA");
  // The throw ends when frame 42 shows, so the sequence must reach it.
  EXPECT_LE(player.actA.start, 42);
  EXPECT_GE(player.actA.stop - 1, 42);

  for (size_t type = 0; type < kUnitKinds.size(); ++type) {
    const UnitKind& kind = kUnitKinds[type];
    const tUnitType& read = unitTypes[type];
    EXPECT_EQ(read.width, kind.boxWidth) << "type " << type;
    EXPECT_EQ(read.height, kind.boxHeight) << "type " << type;
    EXPECT_EQ(read.health, kind.health) << "type " << type;
    EXPECT_EQ(read.jumpMax, kind.jumpMax) << "type " << type;
    EXPECT_FLOAT_EQ(read.fallSpeed, kind.fallSpeed) << "type " << type;
    EXPECT_EQ(read.collides, kind.collides) << "type " << type;
    if (type == 0) continue;
    EXPECT_EQ(read.anim.fileName, kind.sheet) << "type " << type;
    EXPECT_EQ(read.anim.width, kind.drawn) << "type " << type;
    ExpectRange(read.anim.runA, kind.move, "runA");
    ExpectRange(read.anim.actA, kind.attack, "actA");
  }
  // A full jump of the player is long enough to become one.
  EXPECT_GE(unitTypes[0].jumpMax, 60);
  // Fliers and the cloud ignore the collision map; walkers keep to it.
  for (int type : {3, 4, 5, 6}) EXPECT_EQ(unitTypes[type].collides, 0) << "type " << type;
  for (int type : {0, 1, 2}) EXPECT_EQ(unitTypes[type].collides, 1) << "type " << type;

  for (size_t i = 0; i < kMenuItems.size(); ++i) {
    const tMenuItem& read = mainScreen.items[i];
    const MenuItem& item = kMenuItems[i];
    EXPECT_EQ(read.left, item.left) << item.label;
    EXPECT_EQ(read.top, item.top) << item.label;
    EXPECT_EQ(read.right, item.right) << item.label;
    EXPECT_EQ(read.bottom, item.bottom) << item.label;
    EXPECT_EQ(read.drawX, item.left - kMenuGlow) << item.label;
    EXPECT_EQ(read.drawY, item.top - kMenuGlow) << item.label;
  }
  EXPECT_EQ(mainScreen.items[5].right, 0);
}

// What the readers above would not notice: the settings file's length and a
// unit record beyond the table. (The shifted files would not read at all if
// they were stored otherwise.)
TEST_F(ContentConfigTest, FilesHaveTheStoredForm) {
  EXPECT_EQ(ReadBytes(dir_.File("settings.cfg")), (std::vector<uint8_t>{kStartMusic, kStartSound, kStartLight}));
  const std::vector<uint8_t> stats = ReadBytes(dir_.File("UStats.cfg"));
  EXPECT_EQ(std::count(stats.begin(), stats.end(), '<'), 7);
}

}  // namespace
