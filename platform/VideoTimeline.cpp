#include "platform/VideoTimeline.h"

#include <algorithm>

int64_t cVideoTimeline::Picture(int64_t fileMs) {
  // The first picture is measured from the start, so a file that starts far
  // from 0 starts at once.
  const int64_t previous = lastPictureMs_ < 0 ? -frameStepMs_ : lastPictureMs_;
  int64_t clockMs = fileMs - shiftMs_;
  if (clockMs > previous + kMaxGapMs || clockMs < previous - kMaxGapMs) {
    clockMs = previous + frameStepMs_;
    shiftMs_ = fileMs - clockMs;
    ++jumps_;
  }
  lastPictureMs_ = clockMs;
  return clockMs;
}

int64_t cVideoTimeline::Sound(int64_t fileEndMs) {
  const int64_t clockMs = fileEndMs - shiftMs_;
  if (clockMs <= std::max<int64_t>(lastPictureMs_, 0) + kMaxGapMs)
    soundEndMs_ = std::max(soundEndMs_, clockMs);
  else
    ++straySounds_;
  return clockMs;
}

int64_t cVideoTimeline::End() const {
  return std::max(lastPictureMs_ + frameStepMs_, soundEndMs_);
}
