// virko-tool: the level toolchain, the content checker and the simulator.
#include <cstdio>
#include <cstring>

#include "tools/cli/Commands.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const Args&);
  const char* summary;
};

constexpr Command kCommands[] = {
    {"compile", CompileCommand, "compile a text level into a binary level file"},
    {"decompile", DecompileCommand, "turn a binary level file back into text"},
    {"check", CheckLevelCommand, "check a level against every limit of the game"},
    {"render", RenderCommand, "draw a level's collision map and layout to a PNG"},
    {"check-content", CheckContentCommand, "read a content folder as the game does"},
    {"check-file", CheckFileCommand, "read one file with its reader"},
    {"simulate", SimulateCommand, "play a level without a window, one trace line a frame"},
};

void PrintUsage(FILE* out) {
  std::fprintf(out, "usage: virko-tool COMMAND [ARGS...]\n\ncommands:\n");
  for (const Command& command : kCommands)
    std::fprintf(out, "  %-14s %s\n", command.name, command.summary);
  std::fprintf(out, "\n'virko-tool COMMAND --help' describes one command.\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
    PrintUsage(argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  for (const Command& command : kCommands) {
    if (!std::strcmp(argv[1], command.name)) return command.run(Args(argv + 2, argv + argc));
  }
  std::fprintf(stderr, "virko-tool: unknown command '%s'\n", argv[1]);
  PrintUsage(stderr);
  return 2;
}
