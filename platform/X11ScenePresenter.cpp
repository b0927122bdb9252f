#include "platform/X11ScenePresenter.h"

#include <SDL.h>
#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xrender.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <vector>

#include "platform/X11Errors.h"

namespace {

constexpr size_t kPictureBytes = size_t(kScreenWidth) * kScreenHeight * 4;

struct tPresenter {
  Display* display = nullptr;
  Window window = 0;
  XShmSegmentInfo shared{};
  XImage* image = nullptr;  // the scene's pixels, in the shared memory
  Pixmap pixmap = 0;        // the server's copy of them
  GC gc = nullptr;
  Picture scene = 0, windowPicture = 0;
  TRect scaledTo{};  // the place the scene's transform is set for
  bool open = false;
};
tPresenter presenter;
bool failLastStep = false;  // for tests

// Makes one object on the server; it is kept only once the server has made
// it, so that a failed set-up frees nothing that does not exist.
template <typename Object, typename Maker>
bool Make(Display* display, Object& kept, Maker maker) {
  Object made{};
  if (!WithoutXErrors(display, [&] { made = maker(); })) return false;
  kept = made;
  return true;
}

bool ServerOffersWhatIsNeeded(Display* display) {
  int major = 0, minor = 0, eventBase = 0, errorBase = 0;
  Bool sharedPixmaps = False;
  if (!XShmQueryVersion(display, &major, &minor, &sharedPixmaps)) return false;
  // Pad repeat at the edges came with RENDER 0.10.
  return XRenderQueryExtension(display, &eventBase, &errorBase) &&
         XRenderQueryVersion(display, &major, &minor) && (major > 0 || minor >= 10);
}

// An image of 32-bit pixels, blue in the low byte, packed rows: the layout
// the scene is read back in.
bool ImageHasTheScenesLayout(const XImage* image) {
  return image->bits_per_pixel == 32 && image->byte_order == LSBFirst &&
         image->red_mask == 0xff0000 && image->green_mask == 0xff00 && image->blue_mask == 0xff &&
         size_t(image->bytes_per_line) * kScreenHeight == kPictureBytes;
}

bool ShareImage(tPresenter& p, Visual* visual) {
  p.image = XShmCreateImage(p.display, visual, 24, ZPixmap, nullptr, &p.shared, kScreenWidth,
                            kScreenHeight);
  if (!p.image || !ImageHasTheScenesLayout(p.image)) return false;
  p.shared.shmid = shmget(IPC_PRIVATE, kPictureBytes, IPC_CREAT | 0600);
  if (p.shared.shmid < 0) return false;
  void* memory = shmat(p.shared.shmid, nullptr, 0);
  shmctl(p.shared.shmid, IPC_RMID, nullptr);  // gone once both sides let go
  if (memory == reinterpret_cast<void*>(-1)) return false;
  p.shared.shmaddr = p.image->data = static_cast<char*>(memory);
  p.shared.readOnly = True;
  // A server elsewhere on the network cannot attach: an error, not a crash.
  if (!WithoutXErrors(p.display, [&] { XShmAttach(p.display, &p.shared); })) {
    p.shared.shmaddr = nullptr;
    shmdt(memory);
    p.image->data = nullptr;
    return false;
  }
  return true;
}

// Inside the error trap: an error here (the window gone first) must not
// reach SDL's handler, which would end the game.
void Release(tPresenter& p) {
  if (!p.display) return;
  WithoutXErrors(p.display, [&] {
    if (p.windowPicture) XRenderFreePicture(p.display, p.windowPicture);
    if (p.scene) XRenderFreePicture(p.display, p.scene);
    if (p.gc) XFreeGC(p.display, p.gc);
    if (p.pixmap) XFreePixmap(p.display, p.pixmap);
    if (p.shared.shmaddr) XShmDetach(p.display, &p.shared);
  });
  if (p.shared.shmaddr) shmdt(p.shared.shmaddr);
  if (p.image) {
    p.image->data = nullptr;  // the shared memory, not the image's own
    XDestroyImage(p.image);
  }
  p = tPresenter{};
}

// The bars beside the place: up to four rectangles of the window.
std::vector<XRectangle> Around(const TRect& place, int width, int height) {
  std::vector<XRectangle> bars;
  auto add = [&](int x, int y, int w, int h) {
    if (w > 0 && h > 0) bars.push_back(XRectangle{short(x), short(y), static_cast<unsigned short>(w),
                                static_cast<unsigned short>(h)});
  };
  add(0, 0, width, place.top);
  add(0, place.top + place.height, width, height - place.top - place.height);
  add(0, place.top, place.left, place.height);
  add(place.left + place.width, place.top, width - place.left - place.width, place.height);
  return bars;
}

// The source's transform maps window pixels to scene pixels; one to one
// the scene is copied as it is.
void ScaleTo(tPresenter& p, const TRect& place) {
  if (place.left == p.scaledTo.left && place.top == p.scaledTo.top &&
      place.width == p.scaledTo.width && place.height == p.scaledTo.height)
    return;
  p.scaledTo = place;
  XTransform transform = {{{XDoubleToFixed(double(kScreenWidth) / place.width), 0, 0},
                           {0, XDoubleToFixed(double(kScreenHeight) / place.height), 0},
                           {0, 0, XDoubleToFixed(1)}}};
  XRenderSetPictureTransform(p.display, p.scene, &transform);
  const bool oneToOne = place.width == kScreenWidth && place.height == kScreenHeight;
  XRenderSetPictureFilter(p.display, p.scene, oneToOne ? FilterNearest : FilterBilinear, nullptr,
                          0);
}

}  // namespace

bool OpenScenePresenter(SDL_Window* sdlWindow) {
  CloseScenePresenter();
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(sdlWindow, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  tPresenter& p = presenter;
  p.display = info.info.x11.display;
  p.window = info.info.x11.window;
  XWindowAttributes attributes;
  XVisualInfo trueColour;
  if (!ServerOffersWhatIsNeeded(p.display) ||
      !XGetWindowAttributes(p.display, p.window, &attributes) ||
      !XMatchVisualInfo(p.display, XScreenNumberOfScreen(attributes.screen), 24, TrueColor,
                        &trueColour)) {
    p = tPresenter{};
    return false;
  }
  XRenderPictFormat* sceneFormat = XRenderFindVisualFormat(p.display, trueColour.visual);
  XRenderPictFormat* windowFormat = XRenderFindVisualFormat(p.display, attributes.visual);
  XRenderPictureAttributes pad{};
  pad.repeat = RepeatPad;  // the edges' pixels reach out, not black
  const bool made =
      sceneFormat && windowFormat && ShareImage(p, trueColour.visual) &&
      Make(p.display, p.pixmap,
           [&] { return XCreatePixmap(p.display, p.window, kScreenWidth, kScreenHeight, 24); }) &&
      Make(p.display, p.gc, [&] { return XCreateGC(p.display, p.pixmap, 0, nullptr); }) &&
      Make(p.display, p.scene, [&] {
        return XRenderCreatePicture(p.display, p.pixmap, sceneFormat, CPRepeat, &pad);
      }) &&
      Make(p.display, p.windowPicture, [&] {
        return XRenderCreatePicture(p.display, failLastStep ? None : p.window, windowFormat, 0,
                                    nullptr);
      });
  if (!made) {
    Release(p);
    return false;
  }
  p.open = true;
  return true;
}

bool ScenePresenterOpen() { return presenter.open; }

uint32_t* ScenePresenterPixels() {
  if (!presenter.open) return nullptr;
  XSync(presenter.display, False);
  return reinterpret_cast<uint32_t*>(presenter.image->data);
}

void PresentScene(const TRect& place, int windowWidth, int windowHeight, bool clearAround) {
  tPresenter& p = presenter;
  if (!p.open) return;
  if (clearAround) {
    const std::vector<XRectangle> bars = Around(place, windowWidth, windowHeight);
    const XRenderColor black{0, 0, 0, 0xffff};
    if (!bars.empty())
      XRenderFillRectangles(p.display, PictOpSrc, p.windowPicture, &black, bars.data(),
                            int(bars.size()));
  }
  if (place.width > 0 && place.height > 0) {
    ScaleTo(p, place);
    XShmPutImage(p.display, p.pixmap, p.gc, p.image, 0, 0, 0, 0, kScreenWidth, kScreenHeight, False);
    XRenderComposite(p.display, PictOpSrc, p.scene, None, p.windowPicture, 0, 0, 0, 0, place.left,
                     place.top, place.width, place.height);
  }
  XFlush(p.display);
}

void CloseScenePresenter() { Release(presenter); }

void FailScenePresenterSetUp(bool fail) { failLastStep = fail; }

#else  // not built for X11: the drawing back end shows the scene

bool OpenScenePresenter(SDL_Window*) { return false; }
bool ScenePresenterOpen() { return false; }
uint32_t* ScenePresenterPixels() { return nullptr; }
void PresentScene(const TRect&, int, int, bool) {}
void CloseScenePresenter() {}
void FailScenePresenterSetUp(bool) {}

#endif
