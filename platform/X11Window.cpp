#include "platform/X11Window.h"

#include <SDL.h>
#include <SDL_syswm.h>

namespace {

#if defined(SDL_VIDEO_DRIVER_X11)
bool X11Info(SDL_Window* window, SDL_SysWMinfo& info) {
  SDL_VERSION(&info.version);
  return window && SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11;
}
#endif

}  // namespace

bool X11WindowSize(SDL_Window* window, int& width, int& height) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  if (!X11Info(window, info)) return false;
  XWindowAttributes attributes;
  XSync(info.info.x11.display, False);  // requests made so far are in force
  if (!XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &attributes)) return false;
  width = attributes.width;
  height = attributes.height;
  return true;
#else
  return false;
#endif
}

bool OnBareXServer(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  if (!X11Info(window, info)) return false;
  Display* display = info.info.x11.display;
  // Window managers that follow the desktop conventions name a window of
  // theirs in this property of the root window.
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return true;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, left = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                        XA_WINDOW, &type, &format, &count, &left, &data);
  const bool managed = status == Success && type == XA_WINDOW && count == 1;
  if (data) XFree(data);
  return !managed;
#else
  return false;
#endif
}
