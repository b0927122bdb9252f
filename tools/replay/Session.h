// A run of the game driven item by item (replay, or a scripted player),
// made repeatable: the video clock counts frames and the random generator's
// seed is fixed. Writes state lines and screenshots at the stages.
#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tools/replay/Recording.h"

struct tSessionOptions {
  std::string screenshotDir;      // a PPM picture at every stage, if set
  std::FILE* stateOut = nullptr;  // a state line at every stage and at the end
  bool realtime = false;          // frames 10 ms apart, as the game runs them
  bool keepFactor = true;         // each frame gets the recorded factor
  std::function<void()> beforeFrame;  // runs before every frame, if set
  std::FILE* frameHashOut = nullptr;  // a hash of every frame's scene, if set
};

class cSession : public cLoopObserver {
 public:
  using Options = tSessionOptions;

  // Also puts the repeatable clock and seed in force for a recording run
  // of the real loop (record), which passes no options.
  explicit cSession(Options options = {});
  ~cSession() override;

  // The recorder to tell of what runs, or nullptr.
  void SetRecorder(cRecorder* recorder) { recorder_ = recorder; }

  bool Open();          // window and start-up
  void Execute(const tRecordItem& item);
  // An event through the window system's queue, as a real one would come:
  // the skip-key watch sees it; what is queued with it is handled too.
  void Send(const SDL_Event& event);
  bool Ended() const;   // the game asked to end
  int Close();          // the exit status

  // The device states the next refreshes return, and the input source
  // that returns them.
  void Hold(const InputSet& input);
  static InputSet HeldInput();
  int64_t FramesRun() const { return framesRun_; }

  void EventHandled(const SDL_Event& event) override;
  void FrameRun() override;
  void SecondTicked() override;

  // Which screen shows: splash, menu, options, menu-message, video,
  // loading, play, exit-prompt or statistics.
  static const char* ScreenName();
  // The state of the game in one line: screen, player, statistics, units.
  static std::string StateLine(const std::string& stage, int64_t frame);

 private:
  void Deliver(const tRecordItem& item);
  void Stage(const std::string& name);
  void Screenshot(const std::string& name);
  void WriteFrameHash();

  Options options_;
  cRecorder* recorder_ = nullptr;
  int64_t framesRun_ = 0;
  std::vector<uint8_t> frameScene_;  // the last frame read for its hash
  std::chrono::steady_clock::time_point nextFrame_;
};
