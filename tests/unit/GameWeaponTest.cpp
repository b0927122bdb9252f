#include <cmath>

#include "GameTestSupport.h"
#include "data/AnimTables.h"

using gametest::GameTest;

namespace {

// The player at (400, 364), facing right, starting a throw; f = 2. The
// weapon's first position is then x = 404, y = 364 - 10 sin(2.04).
class WeaponTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    playerAnims[0] = tAnimData{};
    playerAnims[0].actA = {40, 43, 0.02f};
    PlacePlayer(400, 364);
    units[0].attacking = 1;
  }
  void TearDown() override {
    playerAnims[0] = tAnimData{};
    GameTest::TearDown();
  }

  static tVirkoUnit& Target(int i, int type, float x, double y, int health = 20) {
    tVirkoUnit& u = units[i];
    u.unitType = uint8_t(type);
    u.x = x;
    u.y = y;
    u.width = 30;
    u.height = 40;
    u.health = health;
    return u;
  }
  // Ends the throw as the player's sprite reaching its end frame does.
  static void EndThrow() {
    unitSprites[0].currentFrame = 42;
    UpdateThrownWeapon();
    unitSprites[0].currentFrame = 0;
  }
};

TEST_F(WeaponTest, FliesAnArcThatRisesPeaksAndThenFallsStraight) {
  UpdateThrownWeapon();
  ASSERT_EQ(WeaponState.inFlight, 1);
  EXPECT_DOUBLE_EQ(WeaponState.weaponX, 404);
  EXPECT_NEAR(WeaponState.weaponY, 364 - 10 * std::sin(2.04), 1e-4);
  double lastY = WeaponState.weaponY, lastX = WeaponState.weaponX;
  bool peaked = false;
  for (int frame = 2; frame <= 100 && WeaponState.inFlight; ++frame) {
    UpdateThrownWeapon();
    EXPECT_DOUBLE_EQ(WeaponState.weaponX - lastX, 4);
    if (throwAngle < M_PI) {
      EXPECT_LT(WeaponState.weaponY, lastY) << frame;
    }
    if (throwAngle > M_PI + 0.05) {
      EXPECT_GT(WeaponState.weaponY, lastY) << frame;
    }
    peaked = peaked || throwAngle > M_PI;
    lastX = WeaponState.weaponX;
    lastY = WeaponState.weaponY;
  }
  EXPECT_TRUE(peaked);
  // The angle stops at 5 radians: from there the weapon falls in a line.
  EXPECT_GE(throwAngle, 5.0f);
  EXPECT_LT(throwAngle, 5.04f);
  const float step = riseStep;
  UpdateThrownWeapon();
  EXPECT_FLOAT_EQ(riseStep, step);
  EXPECT_NEAR(riseStep, 10 * std::sin(throwAngle), 1e-5);
}

TEST_F(WeaponTest, FlyingLeftAndLeavingTheLevel) {
  units[0].facingLeft = 1;
  units[0].x = 5;
  UpdateThrownWeapon();
  EXPECT_DOUBLE_EQ(WeaponState.weaponX, 1);
  UpdateThrownWeapon();
  EXPECT_DOUBLE_EQ(WeaponState.weaponX, -3);
  EXPECT_EQ(WeaponState.inFlight, 0);
}

TEST_F(WeaponTest, WhiteStopsTheWeaponBlueDoesNot) {
  Draw(PixelClass::platform, {{420, 0, 420, 600}});  // columns 409 to 431
  for (int frame = 0; frame < 10; ++frame) UpdateThrownWeapon();
  EXPECT_EQ(WeaponState.inFlight, 1);

  EndThrow();
  WeaponState.inFlight = 0;
  units[0].attacking = 1;
  Draw(PixelClass::solid, {{420, 0, 420, 600}});
  UpdateThrownWeapon();  // 404
  UpdateThrownWeapon();  // 408
  EXPECT_EQ(WeaponState.inFlight, 1);
  UpdateThrownWeapon();  // 412: white
  EXPECT_EQ(WeaponState.inFlight, 0);
  EXPECT_DOUBLE_EQ(WeaponState.weaponX, 412);
}

TEST_F(WeaponTest, LaunchedOncePerThrowEvenAfterItStopped) {
  Draw(PixelClass::solid, {{400, 300, 400, 500}});  // thrown from inside white
  UpdateThrownWeapon();
  EXPECT_EQ(WeaponState.inFlight, 0);
  for (int frame = 0; frame < 20; ++frame) {
    UpdateThrownWeapon();
    ASSERT_EQ(WeaponState.inFlight, 0);
  }
  EXPECT_EQ(unitSprites[0].rangeStart, 40);  // the throw still plays
  EXPECT_EQ(unitSprites[0].looping, 1);
  EndThrow();
  EXPECT_EQ(units[0].attacking, 0);
  units[0].attacking = 1;  // the next throw launches again
  UpdateThrownWeapon();
  EXPECT_DOUBLE_EQ(WeaponState.weaponX, 404);
}

TEST_F(WeaponTest, LowerIndexIsHitFirstAndEachHitCounts) {
  tVirkoUnit& first = Target(3, 4, 420, 355, 50);
  tVirkoUnit& second = Target(5, 5, 420, 355);
  UpdateThrownWeapon();
  EXPECT_EQ(WeaponState.inFlight, 0);
  EXPECT_EQ(first.health, 30);
  EXPECT_EQ(second.health, 20);
  EXPECT_EQ(stats.kills, 1);
  EXPECT_EQ(stats.points, 15);
  EXPECT_EQ(hitUnit, 3);
  EXPECT_EQ(hitEffectOn, 1);
  EXPECT_EQ(WeaponState.damage, 20);

  for (int hit = 0; hit < 3; ++hit) {
    EndThrow();
    units[0].attacking = 1;
    UpdateThrownWeapon();
  }
  EXPECT_EQ(first.health, -10);  // dead after the second of these
  EXPECT_EQ(second.health, 0);   // then the next unit takes the hits
  EXPECT_EQ(stats.kills, 4);
  EXPECT_EQ(stats.points, 15 * 3 + 20);
}

TEST_F(WeaponTest, PointsByTypeAndUnitsBeyond499AreNotHit) {
  const int expected[] = {0, 0, 0, 10, 15, 20, 0};
  for (int type = 0; type <= 6; ++type) {
    stats.points = 0;
    Target(1, type, 420, 355);
    EndThrow();
    units[0].attacking = 1;
    UpdateThrownWeapon();
    EXPECT_EQ(stats.points, expected[type]) << "type " << type;
    EXPECT_EQ(units[1].health, 0);
  }
  Target(500, 5, 420, 355);
  EndThrow();
  units[0].attacking = 1;
  UpdateThrownWeapon();
  EXPECT_EQ(WeaponState.inFlight, 1);
  EXPECT_EQ(units[500].health, 20);
}

TEST_F(WeaponTest, SparkleMovesToANewUnitWithoutRestartingAndEndsOnFrame16) {
  Target(1, 3, 420, 355, 100);
  UpdateThrownWeapon();
  ASSERT_EQ(hitUnit, 1);
  EXPECT_EQ(sparkleSprite.rangeStart, 1);
  EXPECT_EQ(sparkleSprite.rangeLength, 16);
  EXPECT_FLOAT_EQ(sparkleSprite.frameDelay, 0.02f);
  EXPECT_EQ(sparkleSprite.looping, 1);

  // The sparkle is at frame 7 when the next throw hits another unit.
  units[1].health = 0;
  Target(2, 3, 420, 355);
  EndThrow();
  units[0].attacking = 1;
  sparkleSprite.currentFrame = 7;
  sparkleSprite.frameClock = 0;
  UpdateThrownWeapon();
  EXPECT_EQ(hitUnit, 2);
  EXPECT_EQ(hitEffectOn, 1);
  EXPECT_EQ(sparkleSprite.currentFrame, 7);

  sparkleSprite.currentFrame = 16;
  sparkleSprite.frameClock = 0;
  UpdateThrownWeapon();
  EXPECT_EQ(hitEffectOn, 0);
  EXPECT_EQ(sparkleSprite.currentFrame, 1);
}

}  // namespace
