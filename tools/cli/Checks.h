// The content checker and the simulator, writing their report to out (the
// commands of Commands.h pass stdout). Errors go to stderr. Each returns the
// process's exit status.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/Input.h"

#include "tools/cli/Commands.h"

int RunCheckContent(const Args& args, FILE* out);
int RunCheckFile(const Args& args, FILE* out);
int RunSimulate(const Args& args, FILE* out);

// The input file of simulate: the states held in each frame, one line a
// frame or a count of frames alike. Reports a wrong file on stderr and
// gives nothing.
struct InputRun {
  int frames;
  InputSet held;
};
constexpr int kMaxInputRun = 1000000;
constexpr int kMaxInputFrames = 10000000;  // 100,000 seconds of play
std::optional<std::vector<InputRun>> ReadInputRuns(const std::string& path);
std::vector<InputSet> ExpandInputRuns(const std::vector<InputRun>& runs);
std::optional<std::vector<InputSet>> ReadInputFile(const std::string& path);

// One frame of simulate's play, with the frame time factor given: the
// game's play block, end-of-level test and fall-out restart.
void PlaySimulatedFrame(double factor);
