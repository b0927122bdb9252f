#include "tools/cli/ReaderSession.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <system_error>

#include "app/GameState.h"
#include "data/AnimTables.h"
#include "game/Units.h"
#include "platform/MessageBox.h"

namespace {

ReaderSession* activeSession = nullptr;

// Sends file descriptor 2 into a temporary file while it lives, and hands
// back the lines written there.
class StderrCapture {
 public:
  StderrCapture() {
    std::fflush(stderr);
    sink_ = std::tmpfile();
    saved_ = dup(2);
    if (sink_ && saved_ >= 0) dup2(fileno(sink_), 2);
  }
  ~StderrCapture() { Restore(); }

  std::vector<std::string> Lines() {
    Restore();
    std::vector<std::string> lines;
    if (!sink_) return lines;
    std::rewind(sink_);
    std::string line;
    for (int c; (c = std::fgetc(sink_)) != EOF;) {
      if (c == '\n') {
        lines.push_back(line);
        line.clear();
      } else {
        line += char(c);
      }
    }
    if (!line.empty()) lines.push_back(line);
    std::fclose(sink_);
    sink_ = nullptr;
    return lines;
  }

 private:
  void Restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    std::cerr.flush();
    dup2(saved_, 2);
    close(saved_);
    saved_ = -1;
  }

  FILE* sink_ = nullptr;
  int saved_ = -1;
};

}  // namespace

void ResetAllTables() {
  ResetGameState();
  for (tAnimData& anim : playerAnims) anim = tAnimData{};
  for (tUnitType& type : unitTypes) type = tUnitType{};
  ClearTerminateRequest();
}

ReaderSession::ReaderSession(const std::filesystem::path& folder) {
  std::error_code error;
  previousFolder_ = std::filesystem::current_path(error);
  std::filesystem::current_path(folder, error);
  entered_ = !error;
  ResetAllTables();
  activeSession = this;
  SetMessageBoxHandler(Collect);
}

ReaderSession::~ReaderSession() {
  SetMessageBoxHandler(nullptr);
  activeSession = nullptr;
  ClearTerminateRequest();
  std::error_code error;
  if (entered_) std::filesystem::current_path(previousFolder_, error);
}

// Kept as the box shows it, wrapped to fit the screen.
void ReaderSession::Collect(const std::string& caption, const std::string& text) {
  if (activeSession) activeSession->messages_.push_back({caption, WrapMessageText(text)});
}

void ReaderSession::Run(const std::function<void()>& step) {
  StderrCapture capture;
  step();
  for (std::string& line : capture.Lines()) warnings_.push_back(std::move(line));
}
