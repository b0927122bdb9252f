// Subcommands of virko-tool. Each takes the arguments after its name and
// returns the process's exit status.
#pragma once

#include <string>
#include <vector>

using Args = std::vector<std::string>;

// Level toolchain.
int CompileCommand(const Args& args);
int DecompileCommand(const Args& args);
int CheckLevelCommand(const Args& args);
int RenderCommand(const Args& args);
// Content checker.
int CheckContentCommand(const Args& args);
int CheckFileCommand(const Args& args);
// Headless play simulator.
int SimulateCommand(const Args& args);
