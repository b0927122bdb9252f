#include "platform/X11Errors.h"

#if defined(SDL_VIDEO_DRIVER_X11)

namespace {

bool errorSeen = false;

int NoteError(Display*, XErrorEvent*) {
  errorSeen = true;
  return 0;
}

}  // namespace

bool WithoutXErrors(Display* display, const std::function<void()>& requests) {
  XSync(display, False);  // earlier requests' errors are not these
  errorSeen = false;
  const auto previous = XSetErrorHandler(NoteError);
  requests();
  XSync(display, False);
  XSetErrorHandler(previous);
  return !errorSeen;
}

#endif
