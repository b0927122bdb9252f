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
// frame. Reports a wrong file on stderr and gives nothing.
std::optional<std::vector<InputSet>> ReadInputFile(const std::string& path);
