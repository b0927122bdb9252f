#include "platform/X11Window.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include "platform/X11Errors.h"

namespace {

#if defined(SDL_VIDEO_DRIVER_X11)
bool X11Info(SDL_Window* window, SDL_SysWMinfo& info) {
  SDL_VERSION(&info.version);
  return window && SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11;
}

Window RootOf(const SDL_SysWMinfo& info) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &attributes)) return None;
  return attributes.root;
}

// The window a WINDOW property of `of` names; None if it names none, or
// `of` is gone.
Window NamedWindow(Display* display, Window of, Atom property) {
  Window named = None;
  WithoutXErrors(display, [&] {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, of, property, 0, 1, False, XA_WINDOW, &type, &format, &count,
                           &left, &data) == Success &&
        type == XA_WINDOW && format == 32 && count == 1)
      named = *reinterpret_cast<Window*>(data);  // format 32 comes as longs
    if (data) XFree(data);
  });
  return named;
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

bool X11ScreenSize(SDL_Window* window, int& width, int& height) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  if (!X11Info(window, info)) return false;
  XWindowAttributes root;
  XSync(info.info.x11.display, False);
  const Window rootWindow = RootOf(info);
  if (rootWindow == None || !XGetWindowAttributes(info.info.x11.display, rootWindow, &root))
    return false;
  width = root.width;
  height = root.height;
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
  // theirs in this property of the root window, and that window names
  // itself the same way. One that has exited may leave the root's property
  // behind, naming a window that is gone (or, later, another program's).
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return true;
  const Window named = NamedWindow(display, DefaultRootWindow(display), check);
  return named == None || NamedWindow(display, named, check) != named;
#else
  return false;
#endif
}

void WatchX11ScreenSize(SDL_Window* window, bool on) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  if (!X11Info(window, info)) return;
  Display* display = info.info.x11.display;
  const Window root = RootOf(info);
  XWindowAttributes attributes;
  if (root == None || !XGetWindowAttributes(display, root, &attributes)) return;
  // Added to what SDL itself asks of the root window.
  const long mask = on ? attributes.your_event_mask | StructureNotifyMask
                       : attributes.your_event_mask & ~StructureNotifyMask;
  XSelectInput(display, root, mask);
  XFlush(display);
  SDL_EventState(SDL_SYSWMEVENT, on ? SDL_ENABLE : SDL_DISABLE);
#endif
}

bool IsX11ScreenResize(const SDL_Event& event) {
#if defined(SDL_VIDEO_DRIVER_X11)
  if (event.type != SDL_SYSWMEVENT || event.syswm.msg->subsystem != SDL_SYSWM_X11) return false;
  const XEvent& x = event.syswm.msg->msg.x11.event;
  return x.type == ConfigureNotify && x.xconfigure.window == x.xconfigure.event &&
         x.xconfigure.window == DefaultRootWindow(x.xconfigure.display);
#else
  return false;
#endif
}
