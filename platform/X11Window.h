// What SDL does not tell of a window on an X server: its real size (SDL
// reports the size it asked for, which the server keeps only when a window
// manager grants it), whether a window manager runs at all, and when the
// screen's size changes (a new display mode) with nobody there to follow it.
#pragma once

union SDL_Event;
struct SDL_Window;

// false when the window is not on an X server (sizes left as they are).
bool X11WindowSize(SDL_Window* window, int& width, int& height);
// The size of the X screen the window is on; false when not on an X server.
bool X11ScreenSize(SDL_Window* window, int& width, int& height);
// The window is on an X server where no running window manager has
// announced itself: nobody else places or sizes it. false on every other
// window system (a Wayland compositor always places and sizes its windows).
bool OnBareXServer(SDL_Window* window);
// While on, the X screen's size changes reach the event queue (as window
// system events) for IsX11ScreenResize.
void WatchX11ScreenSize(SDL_Window* window, bool on);
bool IsX11ScreenResize(const SDL_Event& event);
