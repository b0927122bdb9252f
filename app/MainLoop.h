// The program's message loop: events, the 10 ms frame timer and the
// once-a-second timer.
#pragma once

// Creates the window, runs start-up and then the loop until the program is
// asked to end. Returns the process's exit status.
int RunGame();
