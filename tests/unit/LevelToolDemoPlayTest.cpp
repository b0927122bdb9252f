// The demo level played with the game's own control, blocks and physics by
// a scripted player: the route is passable from start to end, and the pits
// restart the level.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>

#include "app/GameState.h"
#include "app/Input.h"
#include "game/CollisionMap.h"
#include "game/Gameplay.h"
#include "game/Units.h"
#include "platform/MessageBox.h"
#include "tools/level/LevelBinary.h"
#include "tools/level/LevelCheck.h"
#include "tools/level/LevelRender.h"

namespace {

constexpr double kFrameFactor = 2;  // 100 frames a second
constexpr int kFramesPerSecond = 100;
constexpr int kJump = 10;   // Button 7
constexpr double kEndX = 7500;  // screensX x 800 - 500

InputSet held;
InputSet Held() { return held; }

class DemoPlay : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path source =
        std::filesystem::path(VIRKO_TEST_DATA).parent_path().parent_path() / "tools/levels/demo.level";
    std::ifstream in(source);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<LevelProblem> problems;
    const std::optional<LevelSource> level = ReadCheckedLevel(text.str(), problems);
    ASSERT_TRUE(level) << "cannot read " << source;
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("virko-demo-play-" + std::to_string(getpid()) + ".vrk")).string();
    std::string error;
    ASSERT_TRUE(WriteBinaryFile(path, LevelFileBytes(CompileLevel(*level)), error));

    ResetGameState();
    // The player's type as the content's unit statistics give it.
    unitTypes[0] = tUnitType{40, 100, 100, 60, 0, 2.0f, 1, {}};
    std::vector<std::string> messages;
    ASSERT_TRUE(LoadLevelForPicture(path, messages));
    std::filesystem::remove(path);
    held = InputSet{};
    SetInputSource(Held);
    frameFactor = kFrameFactor;
  }
  void TearDown() override { ResetGameState(); }

  tVirkoUnit& Player() { return units[0]; }

  // One frame of play as the frame handler runs it, with the states held.
  void Frame(std::initializer_list<int> states) {
    held = InputSet{};
    for (int state : states) held.Add(state);
    UpdatePlayerControl();
    UpdateBlocks(300);
    UpdatePlayerPhysics();
    if (Player().y > 2000) {
      RestartLevel();
      ++restarts_;
    }
    ++frames_;
  }

  bool Landed() { return !Player().jumping && !Player().falling; }

  void WalkTo(double x) {
    while (Player().x < x && frames_ < kMaxFrames) Frame({isRight});
  }
  // Lets go of every key until the player stands.
  void Settle() {
    Frame({});
    while (!Landed() && frames_ < kMaxFrames) Frame({});
  }
  // A full jump (the key held past 25 time units), walking right or not.
  void FullJump(bool walking) {
    for (int i = 0; i < 20; ++i) walking ? Frame({isRight, kJump}) : Frame({kJump});
    while (!Landed() && frames_ < kMaxFrames) walking ? Frame({isRight}) : Frame({});
  }
  void ClimbUp(int platforms) {
    for (int i = 0; i < platforms; ++i) {
      const double before = Player().y;
      FullJump(false);
      Settle();
      ASSERT_LT(Player().y, before - 100) << "platform " << i + 1 << " not reached at x " << Player().x;
    }
  }

  static constexpr int kMaxFrames = 300 * kFramesPerSecond;
  int frames_ = 0;
  int restarts_ = 0;
};

TEST_F(DemoPlay, AScriptedPlayerReachesTheEndWithoutARestart) {
  Settle();
  WalkTo(1885);  // the narrow pit
  FullJump(true);
  WalkTo(2860);  // under the first climb
  Settle();
  ClimbUp(4);
  EXPECT_LT(Player().y, 480);  // on the mesa's height
  WalkTo(4560);  // the boulder
  FullJump(true);
  WalkTo(7050);  // over the bridge, to the pillar's climb
  Settle();
  EXPECT_GT(Player().x, 6100);  // the bridge was crossed
  ClimbUp(5);
  WalkTo(7255);  // against the pillar
  FullJump(true);  // over it
  WalkTo(kEndX + 1);

  EXPECT_EQ(restarts_, 0);
  EXPECT_GT(Player().x, kEndX);
  // Without a stop, a detour or a miss; a first visit takes two or three
  // times as long.
  const double seconds = double(frames_) / kFramesPerSecond;
  EXPECT_GT(seconds, 30);
  EXPECT_LT(seconds, 60);
  RecordProperty("seconds", std::to_string(seconds));
}

TEST_F(DemoPlay, WalkingIntoTheNarrowPitRestartsTheLevel) {
  const TPoint start = game.unitStart[0];
  while (restarts_ == 0 && frames_ < 60 * kFramesPerSecond) Frame({isRight});
  EXPECT_EQ(restarts_, 1);
  EXPECT_EQ(Player().x, float(start.x));
  EXPECT_EQ(Player().y, double(start.y));
}

TEST_F(DemoPlay, StandingStillOnTheBridgeDropsThePlayerIntoThePit) {
  // Straight onto the first stone after the permanent one, then wait there.
  for (auto& block : game.blocks) block.armed = 0;
  units[0].x = 5600;
  units[0].y = 930;
  Settle();
  WalkTo(5690);
  ASSERT_EQ(restarts_, 0);
  for (int i = 0; i < 6 * kFramesPerSecond && restarts_ == 0; ++i) Frame({});
  EXPECT_EQ(restarts_, 1);
}

}  // namespace
