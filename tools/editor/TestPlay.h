// Test plays: the level being edited, compiled into a folder of its own
// that plays it as the game's first level with the files of the content
// folder, run by the game program in a window, straight into play.
#pragma once

#include <sys/types.h>

#include <string>

#include "tools/level/LevelText.h"

class TestPlay {
 public:
  ~TestPlay();
  // contentDir: the absolute content folder; levelPath: catalogue entry 0's
  // level file relative to it. false, with the reason, if the game could not
  // be started (or the level has errors).
  bool Start(const LevelSource& level, const std::string& game, const std::string& contentDir,
             const std::string& levelPath, std::string& error);
  // Whether the game still runs; once it has ended, its exit status is in
  // status (the first call after the end only).
  bool Running(int& status);

 private:
  pid_t pid_ = 0;
  std::string folder_;
};
