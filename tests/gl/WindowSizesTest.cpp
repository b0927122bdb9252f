// The window on a 1920 x 1080 screen without a window manager: full screen
// really covers the screen, the scene is scaled into it with black bars and
// its corners where they belong (shown by the X server, and by OpenGL where
// there is none), and the switch to a window and resizes down to 1 x 1 keep
// the scene in whatever size the window has; the presenter and the check
// for a window manager.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL.h>

#include <cstring>
#include <vector>

#include "gfx/render_gl/RenderGlShared.h"
#include "platform/Window.h"
#include "platform/X11ScenePresenter.h"
#include "platform/X11Window.h"
#include "tests/gl/GfxGlScene.h"
// Xlib's macros (None, Bool, ...) after the test framework's headers.
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

using gfxtest::GlScene;
using gfxtest::Rgba;

namespace {

class WindowSizes : public GlScene {
 protected:
  // What the X server shows in the window, RGBA, rows from the bottom.
  static std::vector<uint8_t> ReadShown(int width, int height) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    std::vector<uint8_t> rgba(size_t(width) * height * 4);
    if (!SDL_GetWindowWMInfo(SDL_GL_GetCurrentWindow(), &info)) return rgba;
    XSync(info.info.x11.display, False);
    XImage* image = XGetImage(info.info.x11.display, info.info.x11.window, 0, 0, width, height,
                              AllPlanes, ZPixmap);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const unsigned long pixel = XGetPixel(image, x, y);
        uint8_t* p = &rgba[(size_t(height - 1 - y) * width + x) * 4];
        p[0] = uint8_t(pixel >> 16);
        p[1] = uint8_t(pixel >> 8);
        p[2] = uint8_t(pixel);
        p[3] = 255;
      }
    }
    XDestroyImage(image);
    return rgba;
  }
  // OpenGL's picture of the window, RGBA, rows from the bottom.
  static std::vector<uint8_t> ReadWindow(int width, int height) {
    std::vector<uint8_t> rgba(size_t(width) * height * 4);
    GLint scene = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &scene);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(scene));
    return rgba;
  }
  // A scene with a colour in each corner (100 x 100) on grey.
  static void DrawCorners() {
    static const TextureName grey = Solid({128, 128, 128, 255}), red = Solid({255, 0, 0, 255}),
                             green = Solid({0, 255, 0, 255}), blue = Solid({0, 0, 255, 255}),
                             white = Solid({255, 255, 255, 255});
    BeginFrame();
    DrawOverlay(grey, 0, 0, -0.5, 800, 600, 1);
    DrawQuad(red, 0, 0, 0, 100, 100, 1);
    DrawQuad(green, 700, 0, 0, 100, 100, 1);
    DrawQuad(blue, 0, 500, 0, 100, 100, 1);
    DrawQuad(white, 700, 500, 0, 100, 100, 1);
    SwapGameWindow();
  }
  static void Resize(int width, int height) {
    SDL_SetWindowSize(SDL_GL_GetCurrentWindow(), width, height);
    GameWindowChanged();
  }
};

Rgba At(const std::vector<uint8_t>& rgba, int width, int height, int x, int yFromTop) {
  const uint8_t* p = &rgba[(size_t(height - 1 - yFromTop) * width + x) * 4];
  return Rgba{p[0], p[1], p[2], 255};
}

}  // namespace

TEST_F(WindowSizes, FullScreenCoversTheScreenAndShowsTheSceneScaledBetweenBlackBars) {
  const tWindowSize size = GameWindowSize();
  ASSERT_EQ(size.width, 1920) << "the window must really cover the screen";
  ASSERT_EQ(size.height, 1080);
  int x = -1, y = -1;
  SDL_GetWindowPosition(SDL_GL_GetCurrentWindow(), &x, &y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);

  DrawCorners();
  ASSERT_TRUE(ScenePresenterOpen()) << "opened with the first picture, the scene kept apart";
  const std::vector<uint8_t> window = ReadShown(1920, 1080);
  auto at = [&](int px, int py) { return At(window, 1920, 1080, px, py); };
  const Rgba black{0, 0, 0, 255};
  // 1440 x 1080 in the middle: bars of 240 pixels at each side.
  for (int row : {0, 539, 1079}) {
    EXPECT_EQ(at(0, row), black);
    EXPECT_EQ(at(239, row), black);
    EXPECT_EQ(at(1680, row), black);
    EXPECT_EQ(at(1919, row), black);
  }
  EXPECT_EQ(at(240, 0), (Rgba{255, 0, 0, 255}));
  EXPECT_EQ(at(1679, 0), (Rgba{0, 255, 0, 255}));
  EXPECT_EQ(at(240, 1079), (Rgba{0, 0, 255, 255}));
  EXPECT_EQ(at(1679, 1079), (Rgba{255, 255, 255, 255}));
  EXPECT_EQ(at(960, 540), (Rgba{128, 128, 128, 255}));
  // Linear filtering: the red corner's edge (scene x 100 at window 420)
  // blends into the grey around it.
  const Rgba edge = at(420, 90);
  EXPECT_GT(edge.r, 128);
  EXPECT_LT(edge.r, 255);
  // The scene itself stays as drawn, 800 x 600.
  EXPECT_EQ(Pixel(99, 99), (Rgba{255, 0, 0, 255}));
  EXPECT_EQ(Pixel(100, 100), (Rgba{128, 128, 128, 255}));
}

TEST_F(WindowSizes, AWindowAndTinySizesKeepTheWholeSceneInWhatThereIs) {
  ToggleFullScreen();  // to a window: 800 x 600 fits in 80 % of 1920 x 1080
  tWindowSize size = GameWindowSize();
  EXPECT_EQ(size.width, 800);
  EXPECT_EQ(size.height, 600);
  DrawCorners();
  std::vector<uint8_t> window = ReadShown(800, 600);
  EXPECT_EQ(At(window, 800, 600, 0, 0), (Rgba{255, 0, 0, 255}));
  EXPECT_EQ(At(window, 800, 600, 799, 599), (Rgba{255, 255, 255, 255}));
  // One to one, the window shows the scene exactly.
  std::vector<uint8_t> scene(800 * 600 * 4);
  RenderReadScene(0, 0, 800, 600, scene.data());
  int differing = 0;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x)
      differing += std::memcmp(&scene[(size_t(y) * 800 + x) * 4],
                               &window[(size_t(599 - y) * 800 + x) * 4], 3) != 0;
  EXPECT_EQ(differing, 0);

  Resize(400, 600);  // narrower: bars above and below
  size = GameWindowSize();
  ASSERT_EQ(size.width, 400);
  DrawCorners();
  window = ReadShown(400, 600);
  EXPECT_EQ(At(window, 400, 600, 200, 10), (Rgba{0, 0, 0, 255}));
  EXPECT_EQ(At(window, 400, 600, 0, 150), (Rgba{255, 0, 0, 255}));
  EXPECT_EQ(At(window, 400, 600, 399, 449), (Rgba{255, 255, 255, 255}));

  Resize(1, 1);
  size = GameWindowSize();
  EXPECT_EQ(size.width, 1);
  EXPECT_EQ(size.height, 1);
  DrawCorners();  // no crash, nothing cut off: one pixel of the whole
  int sx = 0, sy = 0;
  WindowToScene(size, 0, 0, sx, sy);
  EXPECT_EQ(sx, 400);
  EXPECT_EQ(sy, 300);

  ToggleFullScreen();  // and back to the whole screen
  size = GameWindowSize();
  EXPECT_EQ(size.width, 1920);
  EXPECT_EQ(size.height, 1080);
  DrawCorners();
  window = ReadShown(1920, 1080);
  EXPECT_EQ(At(window, 1920, 1080, 240, 0), (Rgba{255, 0, 0, 255}));
}

// Without the X server's help OpenGL scales the scene into the window.
TEST_F(WindowSizes, OpenGlShowsTheSceneTheSameWay) {
  CloseScenePresenter();
  ShowFirstPicture();  // as start-up shows one where OpenGL shows the scene
  DrawCorners();
  const std::vector<uint8_t> window = ReadWindow(1920, 1080);
  auto at = [&](int px, int py) { return At(window, 1920, 1080, px, py); };
  EXPECT_EQ(at(100, 540), (Rgba{0, 0, 0, 255}));
  EXPECT_EQ(at(1800, 540), (Rgba{0, 0, 0, 255}));
  EXPECT_EQ(at(240, 0), (Rgba{255, 0, 0, 255}));
  EXPECT_EQ(at(1679, 0), (Rgba{0, 255, 0, 255}));
  EXPECT_EQ(at(240, 1079), (Rgba{0, 0, 255, 255}));
  EXPECT_EQ(at(1679, 1079), (Rgba{255, 255, 255, 255}));
  EXPECT_EQ(at(960, 540), (Rgba{128, 128, 128, 255}));
  const Rgba edge = at(420, 90);
  EXPECT_GT(edge.r, 128);
  EXPECT_LT(edge.r, 255);

  // Resized, it shows the last frame again at the new size without a new
  // one; so it does when exposed.
  Resize(1000, 750);
  std::vector<uint8_t> shown = ReadShown(1000, 750);
  EXPECT_EQ(At(shown, 1000, 750, 0, 0), (Rgba{255, 0, 0, 255}));
  EXPECT_EQ(At(shown, 1000, 750, 999, 749), (Rgba{255, 255, 255, 255}));
  EXPECT_EQ(At(shown, 1000, 750, 500, 375), (Rgba{128, 128, 128, 255}));
  GameWindowExposed();
  shown = ReadShown(1000, 750);
  EXPECT_EQ(At(shown, 1000, 750, 999, 0), (Rgba{0, 255, 0, 255}));
}

// The X server shows the scene only where the renderer keeps it apart from
// the window; drawn straight into the window, OpenGL shows it. A set-up the
// server refuses costs nothing but the presenter.
TEST_F(WindowSizes, PresenterNeedsTheSceneTargetAndFailsQuietly) {
  const auto centreIsTheScenes = [] {
    const tWindowSize size = GameWindowSize();
    const std::vector<uint8_t> shown = ReadShown(size.width, size.height);
    return At(shown, size.width, size.height, size.width / 2, size.height / 2) ==
           (Rgba{128, 128, 128, 255});
  };
  UseSceneTarget(false);
  SetupContext(0, 0, 800, 600, 32, 100, 1);
  DrawCorners();
  EXPECT_FALSE(ScenePresenterOpen());
  EXPECT_TRUE(centreIsTheScenes());

  UseSceneTarget(true);
  SetupContext(0, 0, 800, 600, 32, 100, 1);
  DrawCorners();
  EXPECT_TRUE(ScenePresenterOpen()) << "the target back, the server shows the scene again";
  EXPECT_TRUE(centreIsTheScenes());

  FailScenePresenterSetUp(true);
  EXPECT_FALSE(OpenScenePresenter(SDL_GL_GetCurrentWindow()));
  FailScenePresenterSetUp(false);
  EXPECT_FALSE(ScenePresenterOpen());
  DrawCorners();  // the game goes on, OpenGL showing the scene
  EXPECT_TRUE(centreIsTheScenes());
}

// A window manager counts only while the window it names in the root
// window's _NET_SUPPORTING_WM_CHECK exists and names itself there too: one
// that has exited may leave the root's property behind.
TEST_F(WindowSizes, WindowManagerCountsOnlyWhileItsCheckWindowNamesItself) {
  SDL_Window* game = SDL_GL_GetCurrentWindow();
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  ASSERT_TRUE(SDL_GetWindowWMInfo(game, &info));
  Display* display = info.info.x11.display;
  const Window root = DefaultRootWindow(display);
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
  const auto name = [&](Window of, Window named) {
    XChangeProperty(display, of, check, XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&named), 1);
    XSync(display, False);
  };
  EXPECT_TRUE(OnBareXServer(game));
  const Window manager = XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0);
  name(root, manager);
  EXPECT_TRUE(OnBareXServer(game)) << "the window named does not name itself";
  name(manager, manager);
  EXPECT_FALSE(OnBareXServer(game));
  XDestroyWindow(display, manager);
  XSync(display, False);
  EXPECT_TRUE(OnBareXServer(game)) << "the window manager has gone, its property left behind";
  XDeleteProperty(display, root, check);
  XSync(display, False);
}
