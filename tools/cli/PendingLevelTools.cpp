// Level toolchain not built yet.
#include <cstdio>

#include "tools/cli/Commands.h"

static int NotYet(const char* name) {
  std::fprintf(stderr, "virko-tool %s: not built yet\n", name);
  return 2;
}
int CompileCommand(const Args&) { return NotYet("compile"); }
int DecompileCommand(const Args&) { return NotYet("decompile"); }
int CheckLevelCommand(const Args&) { return NotYet("check"); }
int RenderCommand(const Args&) { return NotYet("render"); }
