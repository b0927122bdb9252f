#include "ScreensTestSupport.h"
#include "screens/Screens.h"

using StatisticsTest = ScreensTest;

TEST_F(StatisticsTest, TheLevelIsFoldedIntoTheTotalsOnce) {
  game.clockRunning = 1;
  game.pointsTotal = 1000;
  game.conesTotal = 65530;
  game.puffsTotal = 3;
  game.bullets = 5;
  game.fuel = 10;
  game.grenades = 1;
  stats.points = 250;
  stats.cones = 10;
  stats.puffs = 65536 + 2;  // only the low 16 bits count
  stats.bulletsUsed = 7;
  stats.fuelUsed = 4;
  stats.grenadesUsed = 1;
  for (int frame = 0; frame < 3; ++frame) StatisticsFrame();
  EXPECT_EQ(game.clockRunning, 0);
  EXPECT_TRUE(stats.initialised);
  EXPECT_EQ(game.pointsTotal, 1250);
  EXPECT_EQ(game.conesTotal, 4);  // 16-bit: wraps
  EXPECT_EQ(game.puffsTotal, 5);
  EXPECT_EQ(game.bullets, -2);  // used more than in stock: not guarded
  EXPECT_EQ(game.fuel, 6);
  EXPECT_EQ(game.grenades, 0);
  EXPECT_EQ(stats.points, 250);  // the level's own counters stay for the table
  EXPECT_EQ(statisticsButton.width, 75);
  EXPECT_FALSE(TerminateRequested());
}

TEST_F(StatisticsTest, AClosedScreenDoesNothing) {
  stats.closed = 1;
  stats.points = 5;
  game.clockRunning = 1;
  StatisticsFrame();
  EXPECT_EQ(game.pointsTotal, 0);
  EXPECT_EQ(game.clockRunning, 1);
  EXPECT_FALSE(stats.initialised);
}

TEST(StatisticsTime, MinutesAndSecondsUnpadded) {
  EXPECT_EQ(PlayTimeText(125), "2:5");
  EXPECT_EQ(PlayTimeText(59), "0:59");
  EXPECT_EQ(PlayTimeText(60), "1:0");
  EXPECT_EQ(PlayTimeText(0), "0:0");
  EXPECT_EQ(PlayTimeText(65535), "1092:15");
}
