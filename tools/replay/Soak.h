// A long run of the whole game under random input, for the sanitizers and
// valgrind: keys, mouse moves and clicks anywhere, focus changes, window
// resizes and full-screen switches, and the once-a-second handler at random
// frame rates. Phases of steering take it through every screen; whenever the
// game asks to end, it starts again in the same process. The seed is printed
// first, so that a failing run can be repeated.
#pragma once

#include <cstdint>

// Runs the game for frames frames in the current folder; the exit status.
int RunSoak(int64_t frames, uint32_t seed);
