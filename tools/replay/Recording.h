// An input recording: what the loop fed the game, item by item, in order.
// One item a line; see README.md for the text format.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Input.h"
#include "app/MainLoop.h"

struct tRecordItem {
  enum Kind : char {
    Input = 'I',   // the device states the refreshes that follow return
    Frames = 'F',  // count frames run, each with the frame time factor
    Second = 'T',  // the once-a-second handler ran
    Move = 'M',    // mouse moved to (x, y), scene pixels
    Down = 'D',    // mouse button went down at (x, y)
    Up = 'U',      // mouse button went up at (x, y)
    Key = 'K',     // a key went down (an SDL key code); the keyboard reaches
                   // play through the Input items, this is for the skip keys
    Close = 'Q',   // the window was closed
    Stage = 'S',   // a named point to check: state line and screenshot
  };
  Kind kind = Frames;
  InputSet input{};
  int count = 0;
  double factor = 0;
  int x = 0, y = 0, button = 0;
  int32_t key = 0;
  std::string name;

  static tRecordItem Of(Kind kind) {
    tRecordItem item;
    item.kind = kind;
    return item;
  }
};

// Reads a recording; false with the line and the reason in error.
bool ReadRecording(const std::string& path, std::vector<tRecordItem>& items, std::string& error);
std::string ItemLine(const tRecordItem& item);
std::string InputHex(const InputSet& input);

// Writes what the loop does to a recording as it happens. The device
// states are caught by putting itself in front of the input source.
class cRecorder : public cLoopObserver {
 public:
  // Takes over the input source; the states still come from source
  // (nullptr: the real devices).
  cRecorder(std::FILE* out, InputSource source);
  ~cRecorder() override;
  void EventHandled(const SDL_Event& event) override;
  void FrameRun() override;
  void SecondTicked() override;
  void Stage(const std::string& name);
  // Writes what is still pending; the file stays open.
  void Flush();

 private:
  void Write(const tRecordItem& item);
  void FlushFrames();
  void FlushInput();

  std::FILE* out_;
  InputSet written_{};
  int pendingFrames_ = 0;
  double pendingFactor_ = 0;
};
