#include "GameTestSupport.h"
#include "app/Startup.h"
#include "data/AnimTables.h"

using gametest::GameTest;
using gametest::Hold;

namespace {

// Ground: a white line at y = 400 covering rows 389 to 411, from x = 0 to
// 300 (its round end reaches x = 311).
class PlayerTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    playerAnims[0] = tAnimData{};
    playerAnims[0].standA = {1, 5, 0.02f};
    playerAnims[0].standB = {5, 9, 0.02f};
    playerAnims[0].runA = {10, 20, 0.02f};
    playerAnims[0].runB = {20, 30, 0.02f};
    playerAnims[0].jump = {30, 35, 0.02f};
    playerAnims[0].fall = {35, 40, 0.02f};
    playerAnims[0].actA = {40, 43, 0.02f};
    Draw(PixelClass::solid, {{0, 400, 300, 400}});
  }
  void TearDown() override {
    playerAnims[0] = tAnimData{};
    GameTest::TearDown();
  }

  // The player standing on the ground: feet on its top row, 389.
  tVirkoUnit& StandOnGround(float x = 150) { return PlacePlayer(x, 364); }

  static void Frame() {
    UpdatePlayerControl();
    UpdatePlayerPhysics();
  }
  static void ExpectCameraOnPlayer() {
    EXPECT_DOUBLE_EQ(cameraX, 400.0 - units[0].x);
    EXPECT_DOUBLE_EQ(cameraY, 300.0 - units[0].y);
  }
};

TEST_F(PlayerTest, SupportLadderSlowsTheFallOverTheLastFivePixels) {
  // Feet at 383 leave row 388 (foot + 5) unsupported; at 388 all five rows
  // support. f = 2.
  const struct {
    double foot, move;
  } cases[] = {{383, 6}, {384, 5}, {385, 4}, {386, 3}, {387, 2}, {388, 0}, {389, 0}};
  for (const auto& c : cases) {
    tVirkoUnit& p = PlacePlayer(150, c.foot - 25);
    UpdatePlayerPhysics();
    EXPECT_DOUBLE_EQ(p.y, c.foot - 25 + c.move) << "feet at " << c.foot;
    EXPECT_EQ(p.falling, 0) << "feet at " << c.foot;
    ExpectCameraOnPlayer();
  }
}

TEST_F(PlayerTest, FallingPlayerComesToRestOnTheTopRowOfTheLine) {
  tVirkoUnit& p = PlacePlayer(150, 100);  // feet at 125
  for (int frame = 1; frame <= 44; ++frame) {
    UpdatePlayerPhysics();
    ASSERT_DOUBLE_EQ(Foot(p), 125 + 6 * frame);
  }
  for (int frame = 0; frame < 20; ++frame) UpdatePlayerPhysics();
  EXPECT_DOUBLE_EQ(Foot(p), 389);
  EXPECT_EQ(p.falling, 0);
  ExpectCameraOnPlayer();
}

TEST_F(PlayerTest, SunkPlayerIsLiftedByOnePixelPerTimeUnit) {
  tVirkoUnit& p = PlacePlayer(150, 400 - 25);  // feet on the line's centre row
  UpdatePlayerPhysics();
  EXPECT_DOUBLE_EQ(Foot(p), 398);
  for (int frame = 0; frame < 10; ++frame) UpdatePlayerPhysics();
  EXPECT_DOUBLE_EQ(Foot(p), 392);  // lifted while row foot - 5 is in the line
}

TEST_F(PlayerTest, WalkingOffAnEdgeSlidesDownTheRoundEndThenFalls) {
  tVirkoUnit& p = StandOnGround(290);
  Hold({isRight});
  // Over the round end the upper rows give way first, so the ladder lowers
  // him slowly; the first frame without support at foot + 5 drops him by
  // 3 x f, and he is falling once foot + 10 has no support.
  double lastY = p.y;
  bool slid = false, dropped = false;
  for (int frame = 0; frame < 20; ++frame) {
    const int column = int(p.x + 2), row = int(Foot(p)) + 5;
    const bool supportedAhead = CollisionMap.Supports(column, row);
    Frame();
    if (!supportedAhead) {
      EXPECT_DOUBLE_EQ(p.y - lastY, 6);
      EXPECT_EQ(p.falling, !CollisionMap.Supports(column, int(Foot(p)) + 10));
      dropped = true;
      break;
    }
    EXPECT_LE(p.y - lastY, 5);
    slid = slid || p.y > lastY;
    lastY = p.y;
  }
  EXPECT_TRUE(slid);
  EXPECT_TRUE(dropped);
  for (int frame = 0; frame < 10; ++frame) Frame();
  EXPECT_EQ(p.falling, 1);
  ExpectCameraOnPlayer();
}

TEST_F(PlayerTest, HalfAndFullJumpsRiseThreeTimesHalfOrAllOfJumpMax) {
  tVirkoUnit& p = StandOnGround();
  Hold({Button(7)});
  Frame();
  Hold({});  // released after one frame: a half jump
  double top = p.y;
  for (int frame = 0; frame < 60; ++frame) {
    Frame();
    top = std::min(top, p.y);
  }
  EXPECT_DOUBLE_EQ(top, 364 - 90);
  EXPECT_DOUBLE_EQ(p.y, 364);
  EXPECT_EQ(p.jumping, 0);

  Hold({Button(7)});  // held: past 25 time units the jump becomes a full one
  top = p.y;
  for (int frame = 0; frame < 100; ++frame) {
    Frame();
    top = std::min(top, p.y);
  }
  EXPECT_DOUBLE_EQ(top, 364 - 180);
  EXPECT_DOUBLE_EQ(p.y, 364);
  // Still held: the jump key was taken when the jump ended, so no new jump.
  EXPECT_EQ(p.jumping, 0);
  EXPECT_FALSE(InputTest(Button(7)));
  Hold({});
  Frame();
  Hold({Button(7)});
  Frame();
  EXPECT_EQ(p.jumping, 1);
  ExpectCameraOnPlayer();
}

TEST_F(PlayerTest, HoldOfExactly25KeepsThePreviousJumpLimit) {
  tVirkoUnit& p = StandOnGround();
  frameFactor = 25;  // one frame of holding gives exactly 25
  Hold({Button(7)});
  Frame();
  // The limit is still 0 from the start of the run: the jump ends at once.
  EXPECT_EQ(p.jumping, 0);
  EXPECT_DOUBLE_EQ(p.y, 364);
  EXPECT_FALSE(InputTest(Button(7)));

  Hold({});
  Frame();
  p.jumpLimit = 60;  // as a previous full jump left it
  Hold({Button(7)});
  Frame();
  EXPECT_EQ(p.jumping, 1);
  EXPECT_DOUBLE_EQ(p.y, 364 - 75);
  EXPECT_FLOAT_EQ(p.jumpLimit, 60);
}

TEST_F(PlayerTest, WhiteCeilingEndsTheJumpBlueOneIsClimbedOnto) {
  Draw(PixelClass::solid, {{0, 250, 300, 250}});  // rows 239 to 261
  tVirkoUnit& p = StandOnGround();
  Hold({Button(7)});
  double top = p.y;
  for (int frame = 0; frame < 60; ++frame) {
    Frame();
    top = std::min(top, p.y);
  }
  EXPECT_DOUBLE_EQ(top, 286);  // the head reached row 261
  EXPECT_DOUBLE_EQ(p.y, 364);

  Draw(PixelClass::platform, {{0, 250, 300, 250}});
  Hold({});
  Frame();
  Hold({Button(7)});
  for (int frame = 0; frame < 100; ++frame) Frame();
  EXPECT_GE(Foot(p), 239);
  EXPECT_LT(Foot(p), 244);
  EXPECT_EQ(p.falling, 0);
  EXPECT_FLOAT_EQ(p.x, 150);  // the blue pushes on both sides cancel out
  ExpectCameraOnPlayer();
}

TEST_F(PlayerTest, WallPushesBackByExactlyTheWalkingStep) {
  Draw(PixelClass::solid, {{200, 0, 200, 400}});  // columns 189 to 211
  tVirkoUnit& p = StandOnGround(160);
  Hold({isRight});
  for (int frame = 0; frame < 10; ++frame) Frame();
  EXPECT_FLOAT_EQ(p.x, 168);  // at 170 the right side probes column 190
  ExpectCameraOnPlayer();
  Draw(PixelClass::platform, {{200, 0, 200, 400}});  // blue walls stop him too
  for (int frame = 0; frame < 10; ++frame) Frame();
  EXPECT_FLOAT_EQ(p.x, 168);
}

TEST_F(PlayerTest, LeftAndRightTogetherCancelAndFaceLeft) {
  tVirkoUnit& p = StandOnGround();
  Hold({isLeft, isRight});
  Frame();
  EXPECT_FLOAT_EQ(p.x, 150);
  EXPECT_EQ(p.facingLeft, 1);
  EXPECT_EQ(p.moving, 1);
  EXPECT_EQ(p.idle, 0);
  EXPECT_EQ(unitSprites[0].rangeStart, 10);  // walk
  EXPECT_EQ(unitSprites[0].mirrored, 1);
}

TEST_F(PlayerTest, AnimationFollowsUpIdleAndFalling) {
  tVirkoUnit& p = StandOnGround();
  Hold({isUp});
  Frame();
  EXPECT_EQ(unitSprites[0].rangeStart, 5);  // idle with Up
  Hold({isUp, isRight});
  Frame();
  EXPECT_EQ(unitSprites[0].rangeStart, 20);  // walk with Up
  EXPECT_FLOAT_EQ(p.x, 152);
  Hold({});
  Frame();
  EXPECT_EQ(unitSprites[0].rangeStart, 1);
  EXPECT_EQ(p.moving, 0);
  PlacePlayer(150, 100);
  UpdatePlayerPhysics();  // now falling
  Hold({isUp});
  Frame();
  EXPECT_EQ(unitSprites[0].rangeStart, 35);
  EXPECT_EQ(unitSprites[0].looping, 1);
}

TEST_F(PlayerTest, HeldThrowKeyThrowsOnceAndBlocksWalking) {
  tVirkoUnit& p = StandOnGround();
  Hold({Button(3)});
  Frame();
  EXPECT_EQ(p.attacking, 1);
  EXPECT_FALSE(InputTest(Button(3)));

  // During the throw nothing moves the player or changes his animation.
  unitSprites[0].rangeStart = 40;
  Hold({Button(3), isRight});
  Frame();
  EXPECT_FLOAT_EQ(p.x, 150);
  EXPECT_EQ(unitSprites[0].rangeStart, 40);

  // A new press while the weapon is still in the air waits in the states,
  // and keeps the player from walking.
  p.attacking = 0;
  WeaponState.inFlight = 1;
  Hold({isRight});
  Frame();
  Hold({Button(3), isRight});
  Frame();
  EXPECT_EQ(p.attacking, 0);
  EXPECT_TRUE(InputTest(Button(3)));
  const float x = p.x;
  Frame();
  EXPECT_FLOAT_EQ(p.x, x);
  WeaponState.inFlight = 0;
  Frame();
  EXPECT_EQ(p.attacking, 1);
}

TEST_F(PlayerTest, JumpHeldWhileFallingStartsOnLanding) {
  tVirkoUnit& p = PlacePlayer(150, 330);
  UpdatePlayerPhysics();
  ASSERT_EQ(p.falling, 1);
  Hold({Button(7)});
  int framesToLanding = 0;
  while (p.jumping == 0 && framesToLanding < 20) {
    Frame();
    ++framesToLanding;
  }
  EXPECT_EQ(p.jumping, 1);
  EXPECT_DOUBLE_EQ(p.jumpHold, 2);
}

TEST_F(PlayerTest, FallOutRestartsPlayerAndUnitsAndClearsPoints) {
  game.unitCount = 2;
  game.unitStart[0] = {100, 200};
  game.unitStart[1] = {500, 300};
  game.unitStart[2] = {600, 300};
  unitTypes[1].health = 40;
  units[1].unitType = 1;
  units[2].unitType = 1;
  units[1].health = -20;
  units[1].active = 1;
  units[1].x = 50;
  stats.points = 70;
  stats.kills = 3;
  WeaponState.inFlight = 1;

  PlacePlayer(150, 2000);
  CheckFallOut();
  EXPECT_DOUBLE_EQ(units[0].y, 2000);  // not beyond 2000 yet

  PlacePlayer(150, 2000.5);
  CheckFallOut();
  EXPECT_FLOAT_EQ(units[0].x, 100);
  EXPECT_DOUBLE_EQ(units[0].y, 200);
  ExpectCameraOnPlayer();
  EXPECT_EQ(stats.points, 0);
  EXPECT_EQ(stats.kills, 3);
  EXPECT_EQ(WeaponState.inFlight, 0);
  EXPECT_FLOAT_EQ(units[1].x, 500);
  EXPECT_EQ(units[1].health, 40);
  EXPECT_EQ(units[1].active, 1);
  EXPECT_EQ(units[2].health, 40);
}

}  // namespace
