// VIRKO: a 2D side-scrolling platform game.
#include "app/MainLoop.h"

int main() { return RunGame(); }
