// What SDL does not tell of a window on an X server: its real size (SDL
// reports the size it asked for, which the server keeps only when a window
// manager grants it), and whether a window manager runs at all.
#pragma once

struct SDL_Window;

// false when the window is not on an X server (sizes left as they are).
bool X11WindowSize(SDL_Window* window, int& width, int& height);
// The window is on an X server where no window manager has announced itself:
// nobody else places or sizes it. false on every other window system (a
// Wayland compositor always places and sizes its windows).
bool OnBareXServer(SDL_Window* window);
