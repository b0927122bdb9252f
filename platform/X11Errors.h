// Requests to an X server whose errors are expected (a window that may be
// gone, a server that refuses an extension's object): the error handler SDL
// installs would end the program.
#pragma once

#include <SDL.h>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlib.h>

#include <functional>

// Runs requests and waits for the server to answer them; false if any of
// them failed.
bool WithoutXErrors(Display* display, const std::function<void()>& requests);
#endif
