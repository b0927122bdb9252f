#include <gtest/gtest.h>

#include "app/FrameClock.h"
#include "app/GameState.h"
#include "app/Startup.h"
#include "game/Units.h"

using namespace std::chrono_literals;
using Clock = cFrameClock::Clock;

namespace {

// Runs the loop's decisions over simulated time: each frame costs frameCost,
// and between events the loop sleeps exactly until its next wake-up.
struct LoopRun {
  int frames = 0;
  int seconds = 0;
};
LoopRun Simulate(Clock::duration length, Clock::duration frameCost, bool active) {
  const Clock::time_point start{};
  cFrameClock timers(start);
  LoopRun run;
  for (Clock::time_point now = start; now < start + length;) {
    if (timers.FrameDue(now, active)) {
      ++run.frames;
      now += frameCost;
    }
    if (timers.SecondDue(now)) ++run.seconds;
    now = std::max(now, timers.NextWake(active));
  }
  return run;
}

void TickWithFrames(int frames) {
  frameCount = uint16_t(frames);
  Timer1Timer();
}

}  // namespace

TEST(FrameClock, PacesFramesToAtMostOneEvery10Ms) {
  EXPECT_EQ(Simulate(1s, 1ms, true).frames, 100);
  EXPECT_EQ(Simulate(1s, 10ms, true).frames, 100);
  // A slow frame runs the next one at once, never two in a row to catch up.
  EXPECT_EQ(Simulate(1s, 25ms, true).frames, 40);
}

TEST(FrameClock, SecondsTickAlsoWhileInactiveButFramesStop) {
  const LoopRun inactive = Simulate(3500ms, 1ms, false);
  EXPECT_EQ(inactive.frames, 0);
  EXPECT_EQ(inactive.seconds, 3);
  EXPECT_EQ(Simulate(3500ms, 1ms, true).seconds, 3);
}

TEST(FrameClock, AStallDoesNotReplayMissedSeconds) {
  cFrameClock timers(Clock::time_point{});
  const Clock::time_point late = Clock::time_point{} + 5500ms;
  EXPECT_TRUE(timers.SecondDue(late));
  EXPECT_FALSE(timers.SecondDue(late));
  EXPECT_TRUE(timers.SecondDue(late + 1s));
}

TEST(OnceASecond, FrameFactorFollowsTheFrameRate) {
  ResetGameState();
  EXPECT_EQ(frameFactor, 0);  // nothing moves before the first tick
  TickWithFrames(100);
  EXPECT_DOUBLE_EQ(frameFactor, 2);
  EXPECT_EQ(fpsShown, 100);
  EXPECT_EQ(frameCount, 0);
  TickWithFrames(50);
  EXPECT_DOUBLE_EQ(frameFactor, 4);
  TickWithFrames(40);
  EXPECT_DOUBLE_EQ(frameFactor, 5);
  TickWithFrames(39);  // below 40 frames a second the game crawls
  EXPECT_DOUBLE_EQ(frameFactor, 0.1);
  TickWithFrames(80);
  EXPECT_DOUBLE_EQ(frameFactor, 2.5);
  TickWithFrames(0);  // a second without frames keeps the factor
  EXPECT_DOUBLE_EQ(frameFactor, 2.5);
  EXPECT_EQ(fpsShown, 0);
}

TEST(OnceASecond, PlayClockCountsOnlyWhileRunning) {
  ResetGameState();
  TickWithFrames(100);
  EXPECT_EQ(game.playSeconds, 0);
  game.clockRunning = 1;
  TickWithFrames(100);
  TickWithFrames(0);
  EXPECT_EQ(game.playSeconds, 2);
  game.playSeconds = 65535;  // a 16-bit counter
  TickWithFrames(100);
  EXPECT_EQ(game.playSeconds, 0);
}

TEST(FrameHandler, LevelEndsOnlyPastItsLastScreenBut500) {
  ResetGameState();
  game.screensX = 8;
  units[0].x = 8 * 800 - 500;
  CheckLevelEnd();  // level not loaded: nothing
  EXPECT_EQ(screenFlags.levelDone[0], 0);
  screenFlags.levelLoaded[0] = 1;
  CheckLevelEnd();
  EXPECT_EQ(screenFlags.levelDone[0], 0);
  units[0].x = 8 * 800 - 499.99f;
  CheckLevelEnd();
  EXPECT_EQ(screenFlags.levelDone[0], 1);
}
