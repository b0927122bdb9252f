#include "platform/Window.h"

#include <SDL.h>

#include <algorithm>

namespace {

SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
bool exactMode = false;  // the display gave 800 x 600: no scaling

// The scene's rectangle in window pixels: scaled to fit, centred, aspect kept.
SDL_Rect SceneRect() {
  int w = 800, h = 600;
  if (window) SDL_GL_GetDrawableSize(window, &w, &h);
  if (exactMode || (w == 800 && h == 600)) return SDL_Rect{0, 0, 800, 600};
  const double scale = std::min(w / 800.0, h / 600.0);
  const int sw = int(800 * scale), sh = int(600 * scale);
  return SDL_Rect{(w - sw) / 2, (h - sh) / 2, sw, sh};
}

// 800 x 600 at 32 bits and 100 Hz, or the nearest mode the display has.
bool FindSceneMode(SDL_DisplayMode& mode) {
  SDL_DisplayMode wanted{SDL_PIXELFORMAT_RGB888, 800, 600, 100, nullptr};
  if (!SDL_GetClosestDisplayMode(0, &wanted, &mode)) return false;
  return mode.w == 800 && mode.h == 600;
}

void ApplyFullScreen() {
  SDL_DisplayMode mode;
  exactMode = FindSceneMode(mode);
  if (exactMode) {
    SDL_SetWindowDisplayMode(window, &mode);
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN);
  } else {
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
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
  window = SDL_CreateWindow("VIRKO", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 800, 600,
                            SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS);
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

bool CreateGameWindow(std::string& error) {
  if (!SDL_getenv("DISPLAY") && !SDL_getenv("WAYLAND_DISPLAY") && !SDL_getenv("SDL_VIDEODRIVER")) {
    error = "no display (neither DISPLAY nor WAYLAND_DISPLAY names one)";
    return false;
  }
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
  ApplyFullScreen();
  return true;
}

void RestoreDisplayMode() {
  if (!window) return;
  if (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(window);
  ApplyFullScreen();
  SDL_GL_MakeCurrent(window, context);
}

void SwapGameWindow() {
  if (window) SDL_GL_SwapWindow(window);
}

void DestroyGameWindow() {
  if (context) SDL_GL_DeleteContext(context);
  if (window) SDL_DestroyWindow(window);
  context = nullptr;
  window = nullptr;
}

bool GameWindowHasFocus() {
  return window && (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS);
}

void WindowToScene(int wx, int wy, int& sx, int& sy) {
  const SDL_Rect r = SceneRect();
  int ww = 800, wh = 600, dw = 800, dh = 600;
  if (window) {
    SDL_GetWindowSize(window, &ww, &wh);
    SDL_GL_GetDrawableSize(window, &dw, &dh);
  }
  // Window coordinates may differ from drawable pixels on scaled desktops.
  const double px = ww ? wx * double(dw) / ww : wx;
  const double py = wh ? wy * double(dh) / wh : wy;
  sx = int((px - r.x) * 800.0 / r.w);
  sy = int((py - r.y) * 600.0 / r.h);
}

void SceneViewport(int& left, int& bottom, int& width, int& height) {
  const SDL_Rect r = SceneRect();
  int w = 800, h = 600;
  if (window) SDL_GL_GetDrawableSize(window, &w, &h);
  left = r.x;
  bottom = h - r.y - r.h;
  width = r.w;
  height = r.h;
}
