// Where a video's pictures and sound fall on the player's clock, and where
// the video ends. The file's own times are followed, except where they jump:
// a damaged or badly cut file can time a picture hours away (and a header
// can claim any length), and following it would hold one picture on screen
// for as long. Such a jump is closed up, and the end comes with the last
// picture or sound actually read.
#pragma once

#include <cstdint>

class cVideoTimeline {
 public:
  // Pictures further apart than this (either way) are taken as a jump in the
  // file's times: a still scene this long without a single picture is taken
  // for damage.
  static constexpr int64_t kMaxGapMs = 5000;

  explicit cVideoTimeline(int64_t frameStepMs) : frameStepMs_(frameStepMs) {}

  // The clock time of a picture the file times at fileMs. Called for each
  // picture in the order they are shown.
  int64_t Picture(int64_t fileMs);
  // The clock time of sound that ends at fileEndMs in the file; sound ending
  // within a gap of the last picture counts towards the end.
  int64_t Sound(int64_t fileEndMs);
  // Once everything has been read: the end of the last picture, or of the
  // sound if it runs on after it.
  int64_t End() const;
  // Time left out where the file's times jumped ahead (negative where they
  // went back).
  int64_t SkippedMs() const { return shiftMs_; }
  int Jumps() const { return jumps_; }
  // Sound frames timed too far beyond the pictures to count towards the end.
  int StraySounds() const { return straySounds_; }

 private:
  int64_t frameStepMs_;
  int64_t shiftMs_ = 0;  // file time minus clock time
  int64_t lastPictureMs_ = -1;  // clock time of the last picture; -1 before the first
  int64_t soundEndMs_ = 0;
  int jumps_ = 0;
  int straySounds_ = 0;
};
