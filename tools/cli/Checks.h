// The content checker and the simulator, writing their report to out (the
// commands of Commands.h pass stdout). Errors go to stderr. Each returns the
// process's exit status.
#pragma once

#include <cstdio>

#include "tools/cli/Commands.h"

int RunCheckContent(const Args& args, FILE* out);
int RunCheckFile(const Args& args, FILE* out);
int RunSimulate(const Args& args, FILE* out);
