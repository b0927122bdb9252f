#include "tools/editor/TestPlay.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "tools/editor/EditCheck.h"
#include "tools/level/LevelBinary.h"
#include "tools/level/PlayFolder.h"

extern char** environ;

TestPlay::~TestPlay() {
  // The game goes on if the editor ends first; its folder stays for it.
  if (pid_ == 0 && !folder_.empty()) {
    std::error_code error;
    std::filesystem::remove_all(folder_, error);
  }
}

bool TestPlay::Start(const LevelSource& level, const std::string& game, const std::string& contentDir,
                     const std::string& levelPath, std::string& error) {
  int unused;
  if (Running(unused)) {
    error = "a test play is running already";
    return false;
  }
  if (LevelHasErrors(level)) {
    error = "the level has errors (see Problems): the game would refuse it";
    return false;
  }
  folder_ = (std::filesystem::temp_directory_path() / ("virko-edit-play-" + std::to_string(::getpid()))).string();
  if (!MakePlayFolder(folder_, contentDir, levelPath, LevelFileBytes(CompileLevel(level)), error)) return false;
  std::vector<std::string> args{game, "--data", folder_, "--window", "--play-level"};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const int result = posix_spawn(&pid_, game.c_str(), nullptr, nullptr, argv.data(), environ);
  if (result != 0) {
    pid_ = 0;
    error = "cannot start " + game + ": " + std::strerror(result);
    return false;
  }
  return true;
}

bool TestPlay::Running(int& status) {
  if (pid_ == 0) return false;
  int waited = 0;
  const pid_t done = waitpid(pid_, &waited, WNOHANG);
  if (done == 0) return true;
  status = WIFEXITED(waited) ? WEXITSTATUS(waited) : 128 + (WIFSIGNALED(waited) ? WTERMSIG(waited) : 0);
  pid_ = 0;
  return false;
}
