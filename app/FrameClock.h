// When the frame handler and the once-a-second handler are due: a frame at
// most every 10 ms and only while the window is active; a tick every second
// of the clock, active or not.
#pragma once

#include <chrono>

class cFrameClock {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration kFrameInterval = std::chrono::milliseconds(10);
  static constexpr Clock::duration kSecond = std::chrono::seconds(1);

  explicit cFrameClock(Clock::time_point start)
      : lastFrame_(start - kFrameInterval), nextSecond_(start + kSecond) {}

  // True when a frame is due; the frame then counts as started at now.
  bool FrameDue(Clock::time_point now, bool active) {
    if (!active || now - lastFrame_ < kFrameInterval) return false;
    lastFrame_ = now;
    return true;
  }

  // True when a second has passed; a long stall does not make the missed
  // ticks catch up.
  bool SecondDue(Clock::time_point now) {
    if (now < nextSecond_) return false;
    nextSecond_ += kSecond;
    if (nextSecond_ <= now) nextSecond_ = now + kSecond;
    return true;
  }

  // The moment the loop must wake up next.
  Clock::time_point NextWake(bool active) const {
    const Clock::time_point frame = lastFrame_ + kFrameInterval;
    return active && frame < nextSecond_ ? frame : nextSecond_;
  }

 private:
  Clock::time_point lastFrame_;
  Clock::time_point nextSecond_;
};
