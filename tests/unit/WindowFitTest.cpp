// Where the 800 x 600 scene lies in windows of every size, how mouse
// positions map into it and back, the size a window starts at, and the keys
// that switch between full screen and a window.
#include <SDL.h>
#include <gtest/gtest.h>

#include "gfx/Fit.h"
#include "platform/Window.h"

namespace {

tWindowSize Plain(int width, int height) { return tWindowSize{width, height, width, height}; }

void ExpectRect(const TRect& r, int left, int top, int width, int height) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.width, width);
  EXPECT_EQ(r.height, height);
}

}  // namespace

TEST(SceneRect, FitsCentredWithBarsAtTwoSides) {
  ExpectRect(SceneRectIn(800, 600), 0, 0, 800, 600);
  ExpectRect(SceneRectIn(1920, 1080), 240, 0, 1440, 1080);  // bars left and right
  ExpectRect(SceneRectIn(3840, 2160), 480, 0, 2880, 2160);
  ExpectRect(SceneRectIn(1280, 1024), 0, 32, 1280, 960);  // bars above and below
  ExpectRect(SceneRectIn(1600, 1200), 0, 0, 1600, 1200);
  // Tiny windows: never empty, never a division by zero.
  ExpectRect(SceneRectIn(1, 1), 0, 0, 1, 1);
  ExpectRect(SceneRectIn(1, 500), 0, 249, 1, 1);
  ExpectRect(SceneRectIn(0, 0), 0, 0, 0, 0);
}

TEST(SceneRect, WindowPositionsMapToScenePixelsAndBack) {
  const tWindowSize full = Plain(1920, 1080);
  int sx = 0, sy = 0;
  WindowToScene(full, 240, 0, sx, sy);
  EXPECT_EQ(sx, 0);
  EXPECT_EQ(sy, 0);
  WindowToScene(full, 1679, 1079, sx, sy);
  EXPECT_EQ(sx, 799);
  EXPECT_EQ(sy, 599);
  WindowToScene(full, 100, 500, sx, sy);  // on the left bar: left of the scene
  EXPECT_LT(sx, 0);
  // Every scene pixel comes back from the window position at its centre, at
  // every scale from 1 up.
  for (const tWindowSize& w :
       {Plain(800, 600), full, Plain(1280, 720), Plain(2560, 1440), Plain(3840, 2160),
        Plain(1000, 777), tWindowSize{1920, 1080, 3840, 2160},
        tWindowSize{1536, 864, 1920, 1080}}) {  // scaled desktops: 2 and 1.25
    for (int y = 0; y < 600; y += 7) {
      for (int x = 0; x < 800; x += 3) {
        int wx = 0, wy = 0;
        SceneToWindow(w, x, y, wx, wy);
        WindowToScene(w, wx, wy, sx, sy);
        ASSERT_EQ(sx, x) << w.width << " x " << w.height;
        ASSERT_EQ(sy, y) << w.width << " x " << w.height;
      }
    }
  }
  // A window with nothing in it maps nothing anywhere odd.
  WindowToScene(Plain(0, 0), 5, 6, sx, sy);
  EXPECT_EQ(sx, 5);
  EXPECT_EQ(sy, 6);
}

TEST(StartingWindow, LargestWholeMultipleWithinFourFifthsOfTheDesktop) {
  int w = 0, h = 0;
  StartingWindowSize(1920, 1080, w, h);  // 1536 x 864 of room: once
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  StartingWindowSize(3840, 2160, w, h);  // 3072 x 1728: twice
  EXPECT_EQ(w, 1600);
  EXPECT_EQ(h, 1200);
  StartingWindowSize(5120, 2880, w, h);  // 4096 x 2304: three times
  EXPECT_EQ(w, 2400);
  EXPECT_EQ(h, 1800);
  StartingWindowSize(800, 600, w, h);  // no room at 80 %, but it fits
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  StartingWindowSize(640, 480, w, h);  // it does not fit: the scene's shape in 80 %
  EXPECT_EQ(w, 512);
  EXPECT_EQ(h, 384);
}

TEST(FullScreenToggle, ElevenAndAltEnterOnlyWithoutRepeat) {
  SDL_KeyboardEvent key{};
  key.type = SDL_KEYDOWN;
  key.keysym.sym = SDLK_F11;
  EXPECT_TRUE(IsFullScreenToggle(key));
  key.repeat = 1;
  EXPECT_FALSE(IsFullScreenToggle(key));
  key.repeat = 0;
  key.keysym.sym = SDLK_RETURN;
  EXPECT_FALSE(IsFullScreenToggle(key));  // Enter alone skips, it does not switch
  key.keysym.mod = KMOD_LALT;
  EXPECT_TRUE(IsFullScreenToggle(key));
  key.keysym.sym = SDLK_KP_ENTER;
  key.keysym.mod = KMOD_RALT;
  EXPECT_TRUE(IsFullScreenToggle(key));
  key.type = SDL_KEYUP;
  EXPECT_FALSE(IsFullScreenToggle(key));
}
