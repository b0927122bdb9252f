// VIRKO: a 2D side-scrolling platform game.
#include <cstdio>
#include <cstring>

#include "app/MainLoop.h"
#include "platform/Window.h"

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--window") == 0) {
      SetStartFullScreen(false);
    } else {
      std::fprintf(stderr, "virko: unknown option %s (usage: virko [--window])\n", argv[i]);
      return 64;
    }
  }
  return RunGame();
}
