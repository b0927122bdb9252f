// What SDL does not tell of a window on an X server: its real size (SDL
// reports the size it asked for, which the server keeps only when a window
// manager grants it), and whether a window manager runs at all.
#pragma once

struct SDL_Window;

// false when the window is not on an X server (sizes left as they are).
bool X11WindowSize(SDL_Window* window, int& width, int& height);
// A window manager has announced itself on the window's screen.
bool X11WindowManagerRuns(SDL_Window* window);
