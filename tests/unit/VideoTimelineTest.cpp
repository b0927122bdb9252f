// Where a video's pictures and sound fall on the player's clock, and where
// it ends, whatever the file's times do.
#include <gtest/gtest.h>

#include "platform/VideoTimeline.h"

namespace {

constexpr int64_t kStep = 40;

// `count` pictures a step apart from firstMs in the file, each given to the
// timeline; returns the clock time of the last.
int64_t Pictures(cVideoTimeline& timeline, int64_t firstMs, int count) {
  int64_t clockMs = 0;
  for (int i = 0; i < count; ++i) clockMs = timeline.Picture(firstMs + i * kStep);
  return clockMs;
}

}  // namespace

TEST(VideoTimeline, FollowsTheFileAndEndsOneStepAfterTheLastPicture) {
  cVideoTimeline timeline(kStep);
  EXPECT_EQ(Pictures(timeline, 0, 150), 149 * kStep);
  EXPECT_EQ(timeline.End(), 150 * kStep);
  EXPECT_EQ(timeline.Jumps(), 0);
  // Still scenes shorter than a gap are kept as the file times them.
  EXPECT_EQ(timeline.Picture(149 * kStep + 4000), 149 * kStep + 4000);
  EXPECT_EQ(timeline.Jumps(), 0);
}

TEST(VideoTimeline, SoundRunningOnAfterThePicturesMovesTheEnd) {
  cVideoTimeline timeline(kStep);
  Pictures(timeline, 0, 50);
  timeline.Sound(2000);
  EXPECT_EQ(timeline.End(), 2000);
  timeline.Sound(3500);
  EXPECT_EQ(timeline.End(), 3500);
  // Sound timed far beyond the pictures is damage: it does not hold the end.
  EXPECT_EQ(timeline.Sound(358353030), 358353030);
  EXPECT_EQ(timeline.End(), 3500);
  EXPECT_EQ(timeline.StraySounds(), 1);
}

// One damaged picture timed hours ahead, then the file goes on as before:
// shown one step after its neighbour, and the rest keeps its times.
TEST(VideoTimeline, APictureTimedFarAheadIsClosedUp) {
  cVideoTimeline timeline(kStep);
  Pictures(timeline, 0, 75);
  EXPECT_EQ(timeline.Picture(2181040076), 75 * kStep);
  EXPECT_EQ(timeline.Picture(76 * kStep), 76 * kStep);
  EXPECT_EQ(Pictures(timeline, 77 * kStep, 73), 149 * kStep);
  EXPECT_EQ(timeline.End(), 150 * kStep);
  EXPECT_EQ(timeline.Jumps(), 2);
}

// Every time after the damage shifted far ahead (or back): the rest plays
// on from where it was, and the end follows it.
TEST(VideoTimeline, AJumpOfEveryLaterTimeIsSkipped) {
  for (const int64_t jump : {int64_t(3600000), int64_t(-3600000)}) {
    SCOPED_TRACE(jump);
    cVideoTimeline timeline(kStep);
    Pictures(timeline, 0, 75);
    EXPECT_EQ(Pictures(timeline, 75 * kStep + jump, 75), 149 * kStep);
    EXPECT_EQ(timeline.Jumps(), 1);
    EXPECT_EQ(timeline.SkippedMs(), jump);
    // Sound read after the jump falls where its pictures do.
    EXPECT_EQ(timeline.Sound(150 * kStep + jump + 500), 150 * kStep + 500);
    EXPECT_EQ(timeline.End(), 150 * kStep + 500);
  }
}

TEST(VideoTimeline, AFirstPictureFarFromTheStartShowsAtOnce) {
  cVideoTimeline timeline(kStep);
  EXPECT_EQ(timeline.Picture(1000), 1000);  // a late start within a gap is kept
  cVideoTimeline late(kStep);
  EXPECT_EQ(late.Picture(7200000), 0);
  EXPECT_EQ(late.Picture(7200000 + kStep), kStep);
}
