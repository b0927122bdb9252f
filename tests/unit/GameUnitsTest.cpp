#include <cmath>

#include "GameTestSupport.h"
#include "app/Random.h"
#include "app/Startup.h"

using gametest::GameTest;

namespace {

int drawsAsked = 0;
int FixedDraw(int range) {
  EXPECT_EQ(range, 100);
  ++drawsAsked;
  return 42;
}

// The player 40 x 50 at (400, 364) on a white ground line at y = 400;
// units 30 x 40 of the type under test.
class UnitTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    Draw(PixelClass::solid, {{0, 400, 1600, 400}});
    PlacePlayer(400, 364);
    for (tUnitType& type : unitTypes) {
      type.anim.runA = {10, 20, 0.02f};
      type.anim.actA = {40, 44, 0.02f};
    }
    drawsAsked = 0;
  }
  void TearDown() override {
    SetRandomSource(nullptr);
    GameTest::TearDown();
  }

  static tVirkoUnit& Place(int i, int type, float x, double y) {
    tVirkoUnit& u = units[i];
    u.unitType = uint8_t(type);
    u.x = x;
    u.y = y;
    u.width = 30;
    u.height = 40;
    u.health = 20;
    u.active = 1;
    game.unitCount = uint16_t(std::max<int>(game.unitCount, i));
    return u;
  }
};

TEST_F(UnitTest, WalkerFollowsThePlayerAtHalfHisSpeed) {
  tVirkoUnit& left = Place(1, 1, 300, 370);
  tVirkoUnit& right = Place(2, 1, 500, 370);
  UpdateUnitBehaviour(1);
  UpdateUnitBehaviour(2);
  EXPECT_FLOAT_EQ(left.x, 301);
  EXPECT_EQ(left.facingLeft, 1);  // the flag is set while it walks right
  EXPECT_EQ(unitSprites[1].mirrored, 1);
  EXPECT_EQ(unitSprites[1].rangeStart, 10);
  EXPECT_EQ(unitSprites[1].looping, 1);
  EXPECT_FLOAT_EQ(right.x, 499);
  EXPECT_EQ(right.facingLeft, 0);
  EXPECT_EQ(unitSprites[2].mirrored, 0);
  EXPECT_EQ(left.attacking, 0);

  // Above the player it still walks toward him but cannot touch him.
  tVirkoUnit& above = Place(3, 1, 300, 300);
  UpdateUnitBehaviour(3);
  EXPECT_FLOAT_EQ(above.x, 301);
  above.x = 410;
  UpdateUnitBehaviour(3);
  EXPECT_FLOAT_EQ(above.x, 410);
  EXPECT_EQ(above.attacking, 0);
}

TEST_F(UnitTest, WalkerAttacksWithinFivePixelsAtThePlayersHeight) {
  tVirkoUnit& u = Place(1, 1, 430, 370);  // boxes overlap: it stands
  UpdateUnitBehaviour(1);
  EXPECT_FLOAT_EQ(u.x, 430);
  EXPECT_EQ(u.attacking, 1);
  EXPECT_EQ(unitSprites[1].rangeStart, 40);

  u.x = 441;  // steps to 440: its widened box ends at 420, the player's too
  UpdateUnitBehaviour(1);
  EXPECT_FLOAT_EQ(u.x, 440);
  EXPECT_EQ(u.attacking, 0);
  EXPECT_EQ(unitSprites[1].rangeStart, 10);
  UpdateUnitBehaviour(1);
  EXPECT_FLOAT_EQ(u.x, 439);
  EXPECT_EQ(u.attacking, 1);
}

TEST_F(UnitTest, UnitsWakeWhenLessThan500PixelsToThePlayersRight) {
  tVirkoUnit& atLimit = Place(1, 2, 900, 370);
  tVirkoUnit& inside = Place(2, 2, 899.5f, 370);
  tVirkoUnit& farLeft = Place(3, 2, -5000, 370);
  for (int i = 1; i <= 3; ++i) units[i].active = 0;
  for (int i = 1; i <= 3; ++i) UpdateUnitBehaviour(i);
  EXPECT_EQ(atLimit.active, 0);
  EXPECT_FLOAT_EQ(atLimit.x, 900);
  EXPECT_EQ(inside.active, 1);
  EXPECT_EQ(farLeft.active, 1);
  units[0].x = -10000;  // once awake, always awake
  UpdateUnitBehaviour(2);
  EXPECT_EQ(inside.active, 1);
}

TEST_F(UnitTest, StraightMoversAndTypeZero) {
  frameFactor = 3;
  tVirkoUnit& type2 = Place(1, 2, 600, 370);
  tVirkoUnit& type6 = Place(2, 6, 600, 370);
  tVirkoUnit& type0 = Place(3, 0, 600, 370);
  for (int i = 1; i <= 3; ++i) UpdateUnitBehaviour(i);
  EXPECT_FLOAT_EQ(type2.x, 599);
  EXPECT_FLOAT_EQ(type6.x, 599.4f);
  EXPECT_FLOAT_EQ(type0.x, 600);
  EXPECT_EQ(unitSprites[3].rangeStart, 0);
}

TEST_F(UnitTest, FlierDriftsOnASineWhoseAmplitudeIsDrawnEveryThreeTimeUnits) {
  SetRandomSource(FixedDraw);
  tVirkoUnit& u = Place(1, 4, 600, 200);
  // No amplitude until the timer first reaches 3 (0.1 per frame at f = 2).
  int frames = 0;
  while (u.amplitude == 0 && frames < 40) {
    UpdateUnitBehaviour(1);
    ++frames;
    if (u.amplitude == 0) {
      ASSERT_DOUBLE_EQ(u.y, 200);
    }
  }
  EXPECT_GE(frames, 30);
  EXPECT_LE(frames, 32);
  EXPECT_EQ(drawsAsked, 1);
  EXPECT_FLOAT_EQ(u.amplitude, 42);
  EXPECT_FLOAT_EQ(u.phaseTimer, 0);
  EXPECT_NEAR(u.x, 600 - 0.4 * frames, 1e-3);

  // The phase advances 0.01 per frame whatever the frame time.
  frameFactor = 0;
  u.phase = 1.5f;
  const double y = u.y;
  const float x = u.x;
  UpdateUnitBehaviour(1);
  EXPECT_FLOAT_EQ(u.phase, 1.51f);
  EXPECT_NEAR(u.y - y, std::sin(1.51) * 0.42, 1e-6);
  EXPECT_FLOAT_EQ(u.x, x);
  u.phase = 6.295f;
  UpdateUnitBehaviour(1);
  EXPECT_FLOAT_EQ(u.phase, 0);
}

TEST_F(UnitTest, PhysicsFallsStandsAndStopsAtWhiteWallsOnly) {
  tVirkoUnit& u = Place(1, 2, 600, 200);
  u.collides = 1;
  u.fallSpeed = 1.5f;
  UpdateUnitPhysics(1);
  EXPECT_DOUBLE_EQ(u.y, 203);
  EXPECT_EQ(u.falling, 1);

  u.y = 375;  // feet at 395: row 400 is ground
  UpdateUnitPhysics(1);
  EXPECT_DOUBLE_EQ(u.y, 365);  // row 390 is in the line too: lifted by 5 x f
  EXPECT_EQ(u.falling, 0);

  Draw(PixelClass::solid, {{620, 0, 620, 380}});     // right side probe hits
  Draw(PixelClass::platform, {{580, 0, 580, 380}});  // left side passes
  u.y = 355;
  UpdateUnitPhysics(1);
  EXPECT_FLOAT_EQ(u.x, 598);
}

TEST_F(UnitTest, UnitThatDoesNotCollideIgnoresTheMap) {
  tVirkoUnit& u = Place(1, 3, 600, 200);
  u.collides = 0;
  u.fallSpeed = 1.5f;
  UpdateUnitPhysics(1);
  EXPECT_DOUBLE_EQ(u.y, 200);
  EXPECT_EQ(u.falling, 0);
  u.y = 400;  // inside the ground and between two walls
  Draw(PixelClass::solid, {{615, 0, 615, 500}});
  UpdateUnitPhysics(1);
  EXPECT_DOUBLE_EQ(u.y, 400);
  EXPECT_FLOAT_EQ(u.x, 600);
}

TEST_F(UnitTest, PlayBlockMovesLivingUnitsOnly) {
  tVirkoUnit& alive = Place(1, 2, 600, 370);
  tVirkoUnit& dead = Place(2, 2, 700, 370);
  dead.health = 0;
  RunPlayBlock();
  EXPECT_LT(alive.x, 600);
  EXPECT_FLOAT_EQ(dead.x, 700);
  game.unitCount = 0;
  RunPlayBlock();
  EXPECT_FLOAT_EQ(alive.x, 600 - 2 / 3.0f);
}

}  // namespace
