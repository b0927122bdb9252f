// Content checker and simulator not built yet.
#include <cstdio>

#include "tools/cli/Commands.h"

static int NotYet(const char* name) {
  std::fprintf(stderr, "virko-tool %s: not built yet\n", name);
  return 2;
}
int CheckContentCommand(const Args&) { return NotYet("check-content"); }
int CheckFileCommand(const Args&) { return NotYet("check-file"); }
int SimulateCommand(const Args&) { return NotYet("simulate"); }
