#include "platform/Window.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "gfx/Fit.h"
#include "gfx/Render.h"
#include "platform/X11ScenePresenter.h"
#include "platform/X11Window.h"

namespace {

SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
bool wantFullScreen = true;

// How full screen was reached: through the window system (a display mode,
// or the desktop), or by making the window cover the display itself where
// no window manager is there to do it.
enum class tFullScreen { off, displayMode, desktop, coverDisplay };
tFullScreen fullScreen = tFullScreen::off;

tWindowSize size{kScreenWidth, kScreenHeight, kScreenWidth, kScreenHeight};
bool sizeChanged = true;  // what the scene leaves of the window is to be cleared
bool frameShown = false;  // a picture of the scene is on the window
bool presenterTried = false;  // asked the X server once to show the scene

// Reads the window's size from the window system itself: SDL reports the
// size it asked for, which an X server without a window manager may never
// have applied. true when the drawable's size is not the one read before.
bool ReadWindowSize() {
  const tWindowSize before = size;
  SDL_GetWindowSize(window, &size.width, &size.height);
  SDL_GL_GetDrawableSize(window, &size.drawableWidth, &size.drawableHeight);
  if (X11WindowSize(window, size.width, size.height)) {
    size.drawableWidth = size.width;  // X11 has no scaled desktops of its own
    size.drawableHeight = size.height;
  }
  RenderSetWindowSize(size.drawableWidth, size.drawableHeight);
  const bool changed =
      size.drawableWidth != before.drawableWidth || size.drawableHeight != before.drawableHeight;
  if (changed) sizeChanged = true;
  return changed;
}

// The frame shown last, once more; nothing before the first picture.
void ShowLastFrame() {
  if (!frameShown) return;
  if (ScenePresenterOpen()) {
    // The server still holds the picture: composited again, bars and all.
    PresentScene(SceneRectIn(size.drawableWidth, size.drawableHeight), size.drawableWidth,
                 size.drawableHeight, true);
    sizeChanged = false;
  } else if (RenderKeepsScene()) {
    RenderPresent();
    SDL_GL_SwapWindow(window);
  }
}

// Is the drawable's size changed, the frame shown last goes up again at the
// new size. Where OpenGL shows the scene, twice: Mesa's software renderer
// takes a new window size only at a swap (on X), so the first picture still
// goes to a buffer of the old size; and the swap must follow a drawing, as a
// swap with nothing drawn since the size changed crashes it (on Wayland).
void ShowLastFrameIfResized() {
  if (!ReadWindowSize()) return;
  ShowLastFrame();
  if (!ScenePresenterOpen()) ShowLastFrame();
}

// The X server shows the scene only where the renderer keeps it apart from
// the window (its offscreen target): drawn straight into the window, the
// read-back would fail every frame after a wait for the server.
void FollowSceneTarget() {
  if (!RenderKeepsScene()) {
    CloseScenePresenter();
    presenterTried = false;  // tried again if a target comes
  } else if (!presenterTried) {
    presenterTried = true;
    OpenScenePresenter(window);
  }
}

int WindowDisplay() { return std::max(0, SDL_GetWindowDisplayIndex(window)); }

// The display's 800 x 600 mode (32 bits, 100 Hz preferred), if it has one.
bool FindSceneMode(SDL_DisplayMode& mode) {
  SDL_DisplayMode wanted{SDL_PIXELFORMAT_RGB888, kScreenWidth, kScreenHeight, 100, nullptr};
  if (!SDL_GetClosestDisplayMode(WindowDisplay(), &wanted, &mode)) return false;
  return mode.w == kScreenWidth && mode.h == kScreenHeight;
}

void CoverDisplay() {
  SDL_Rect bounds;
  if (SDL_GetDisplayBounds(WindowDisplay(), &bounds) != 0) return;
  // One display is the whole X screen, whose size SDL may not have followed
  // (a mode changed with xrandr).
  if (SDL_GetNumVideoDisplays() == 1 && X11ScreenSize(window, bounds.w, bounds.h))
    bounds.x = bounds.y = 0;
  SDL_SetWindowBordered(window, SDL_FALSE);
  SDL_SetWindowPosition(window, bounds.x, bounds.y);
  SDL_SetWindowSize(window, bounds.w, bounds.h);
  SDL_RaiseWindow(window);
}

// Only an X server really changes the display's mode. A Wayland compositor
// has none to change: SDL stretches the picture of a "mode" over the whole
// output instead, which would lose the scene's shape.
bool ChangesDisplayModes() { return std::string_view(SDL_GetCurrentVideoDriver()) == "x11"; }

void AskForFullScreen(uint32_t flags) {
  if (SDL_SetWindowFullscreen(window, flags) != 0)
    std::fprintf(stderr, "virko: full screen refused (%s); the scene is shown in the window\n",
                 SDL_GetError());
}

void EnterFullScreen() {
  SDL_DisplayMode mode;
  if (OnBareXServer(window)) {
    fullScreen = tFullScreen::coverDisplay;
    WatchX11ScreenSize(window, true);  // nobody else follows a new mode
    CoverDisplay();
  } else if (ChangesDisplayModes() && FindSceneMode(mode)) {
    fullScreen = tFullScreen::displayMode;
    SDL_SetWindowDisplayMode(window, &mode);
    AskForFullScreen(SDL_WINDOW_FULLSCREEN);
  } else {
    fullScreen = tFullScreen::desktop;
    AskForFullScreen(SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
}

void PlaceWindowed() {
  SDL_DisplayMode desktop;
  int width = kScreenWidth, height = kScreenHeight;
  if (SDL_GetDesktopDisplayMode(WindowDisplay(), &desktop) == 0)
    StartingWindowSize(desktop.w, desktop.h, width, height);
  SDL_SetWindowSize(window, width, height);
  const int centred = int(SDL_WINDOWPOS_CENTERED_DISPLAY(WindowDisplay()));
  SDL_SetWindowPosition(window, centred, centred);
}

void LeaveFullScreen() {
  if (fullScreen == tFullScreen::coverDisplay) {
    WatchX11ScreenSize(window, false);
    SDL_SetWindowBordered(window, SDL_TRUE);
    PlaceWindowed();
  } else if (SDL_SetWindowFullscreen(window, 0) != 0) {
    std::fprintf(stderr, "virko: the window cannot leave full screen: %s\n", SDL_GetError());
  }
  fullScreen = tFullScreen::off;
}

void ApplyDisplayChoice() {
  if (wantFullScreen)
    EnterFullScreen();
  else if (fullScreen != tFullScreen::off)
    LeaveFullScreen();
  ShowLastFrameIfResized();
}

bool CreateWithDepth(int depthBits) {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, 0);
  // Hidden until it has its place, so that it does not show at the wrong
  // size first. On a scaled desktop the drawable has the output's real
  // pixels (the scene is scaled into them once, not twice).
  window = SDL_CreateWindow("VIRKO", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kScreenWidth,
                            kScreenHeight,
                            SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN |
                                SDL_WINDOW_ALLOW_HIGHDPI);
  if (!window) return false;
  context = SDL_GL_CreateContext(window);
  if (!context) {
    SDL_DestroyWindow(window);
    window = nullptr;
    return false;
  }
  return true;
}

}  // namespace

void SetStartFullScreen(bool on) { wantFullScreen = on; }

bool CreateGameWindow(std::string& error) {
  if (!SDL_getenv("DISPLAY") && !SDL_getenv("WAYLAND_DISPLAY") && !SDL_getenv("SDL_VIDEODRIVER")) {
    error = "no display (neither DISPLAY nor WAYLAND_DISPLAY names one)";
    return false;
  }
  // The window's class (X) and app id (Wayland) name the desktop entry, so
  // that docks and task bars show its name and icon.
  SDL_setenv("SDL_VIDEO_X11_WMCLASS", VIRKO_APP_ID, 0);
  SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", VIRKO_APP_ID, 0);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    error = std::string("no display: ") + SDL_GetError();
    return false;
  }
  // Without a display SDL falls back to drivers that show nothing; the game
  // takes those only when they are asked for by name.
  const std::string driver = SDL_GetCurrentVideoDriver();
  if ((driver == "offscreen" || driver == "dummy") && !SDL_getenv("SDL_VIDEODRIVER")) {
    error = "no display: the display that DISPLAY or WAYLAND_DISPLAY names cannot be opened";
    return false;
  }
  if (!CreateWithDepth(32) && !CreateWithDepth(24)) {
    error = std::string("no OpenGL context: ") + SDL_GetError();
    return false;
  }
  SDL_GL_MakeCurrent(window, context);
  SDL_GL_SetSwapInterval(0);  // our own timer paces the frames
  if (wantFullScreen)
    EnterFullScreen();
  else
    PlaceWindowed();
  SDL_ShowWindow(window);
  ReadWindowSize();
  return true;
}

void RestoreDisplayMode() {
  if (!window) return;
  if (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(window);
  ApplyDisplayChoice();
  SDL_GL_MakeCurrent(window, context);
}

bool ToggleFullScreen() {
  if (!window) return wantFullScreen;
  wantFullScreen = !wantFullScreen;
  ApplyDisplayChoice();
  return wantFullScreen;
}

bool IsFullScreenToggle(const SDL_KeyboardEvent& key) {
  if (key.type != SDL_KEYDOWN || key.repeat) return false;
  const SDL_Keycode code = key.keysym.sym;
  return code == SDLK_F11 ||
         ((code == SDLK_RETURN || code == SDLK_KP_ENTER) && (key.keysym.mod & KMOD_ALT));
}

void GameWindowChanged() {
  if (window) ShowLastFrameIfResized();
}

void GameScreenResized() {
  if (!window || fullScreen != tFullScreen::coverDisplay) return;
  CoverDisplay();
  ShowLastFrameIfResized();
}

void GameWindowExposed() {
  if (!window) return;
  ReadWindowSize();
  ShowLastFrame();
}

// On an X server the server scales and shows the scene; elsewhere, or
// where the scene is drawn straight into the window, OpenGL does.
void SwapGameWindow() {
  if (!window) return;
  FollowSceneTarget();
  uint32_t* pixels = ScenePresenterPixels();
  if (pixels && RenderReadSceneForWindow(pixels)) {
    PresentScene(SceneRectIn(size.drawableWidth, size.drawableHeight), size.drawableWidth,
                 size.drawableHeight, sizeChanged);
    sizeChanged = false;
  } else {
    RenderPresent();
    SDL_GL_SwapWindow(window);
  }
  frameShown = true;
}

void ShowFirstPicture() {
  RenderClear();
  SwapGameWindow();
}

void DestroyGameWindow() {
  if (fullScreen == tFullScreen::coverDisplay) WatchX11ScreenSize(window, false);
  CloseScenePresenter();
  if (context) {
    RenderReleaseContext();
    SDL_GL_DeleteContext(context);
  }
  if (window) SDL_DestroyWindow(window);
  context = nullptr;
  window = nullptr;
  fullScreen = tFullScreen::off;
  size = tWindowSize{kScreenWidth, kScreenHeight, kScreenWidth, kScreenHeight};
  sizeChanged = true;
  frameShown = false;
  presenterTried = false;
}

void ShowSystemPointer(bool shown) { SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE); }

bool GameWindowHasFocus() {
  return window && (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS);
}

tWindowSize GameWindowSize() { return size; }

void WindowToScene(const tWindowSize& w, int wx, int wy, int& sx, int& sy) {
  const TRect r = SceneRectIn(w.drawableWidth, w.drawableHeight);
  if (r.width <= 0 || r.height <= 0 || w.width <= 0 || w.height <= 0) {
    sx = wx;
    sy = wy;
    return;
  }
  // The scene at the centre of the window pixel.
  const double px = (wx + 0.5) * w.drawableWidth / w.width;
  const double py = (wy + 0.5) * w.drawableHeight / w.height;
  sx = int(std::floor((px - r.left) * kScreenWidth / r.width));
  sy = int(std::floor((py - r.top) * kScreenHeight / r.height));
}

void SceneToWindow(const tWindowSize& w, int sx, int sy, int& wx, int& wy) {
  const TRect r = SceneRectIn(w.drawableWidth, w.drawableHeight);
  if (r.width <= 0 || r.height <= 0 || w.drawableWidth <= 0 || w.drawableHeight <= 0) {
    wx = sx;
    wy = sy;
    return;
  }
  const double px = r.left + (sx + 0.5) * r.width / kScreenWidth;
  const double py = r.top + (sy + 0.5) * r.height / kScreenHeight;
  wx = int(std::floor(px * w.width / w.drawableWidth));
  wy = int(std::floor(py * w.height / w.drawableHeight));
}

void StartingWindowSize(int desktopWidth, int desktopHeight, int& width, int& height) {
  const int roomWidth = desktopWidth * 4 / 5, roomHeight = desktopHeight * 4 / 5;
  const int multiple = std::min(roomWidth / kScreenWidth, roomHeight / kScreenHeight);
  if (multiple >= 1 || (desktopWidth >= kScreenWidth && desktopHeight >= kScreenHeight)) {
    width = kScreenWidth * std::max(1, multiple);
    height = kScreenHeight * std::max(1, multiple);
    return;
  }
  const TRect room = SceneRectIn(std::max(1, roomWidth), std::max(1, roomHeight));
  width = room.width;
  height = room.height;
}
