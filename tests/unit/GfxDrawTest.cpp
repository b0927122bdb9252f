// The background's drift (null back end).
#include <gtest/gtest.h>

#include <cmath>

#include "app/GameState.h"
#include "gfx/Draw.h"

TEST(BackgroundDrift, AtFactorOneTheCopyMovesEveryTwelfthFrame) {
  backgroundDrift = tBackgroundDrift{};
  frameFactor = 1;
  std::vector<int> moves;
  float lastX = 0, lastY = 0;
  for (int frame = 1; frame <= 40; ++frame) {
    DrawBackground(2);
    if (backgroundDrift.offsetX != lastX || backgroundDrift.offsetY != lastY) moves.push_back(frame);
    lastX = backgroundDrift.offsetX;
    lastY = backgroundDrift.offsetY;
  }
  EXPECT_EQ(moves, (std::vector<int>{12, 24, 36}));
  EXPECT_FLOAT_EQ(backgroundDrift.phase, 0.3f);
  // The first jump is to (5 sin 0, 5 cos 0); the third to phase 0.2.
  EXPECT_FLOAT_EQ(lastX, float(5 * std::sin(double(0.2f))));
  EXPECT_FLOAT_EQ(lastY, float(5 * std::cos(double(0.2f))));
  frameFactor = 0;
  backgroundDrift = tBackgroundDrift{};
}
