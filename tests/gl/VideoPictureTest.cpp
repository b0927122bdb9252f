// The video picture on real OpenGL: drawn over the scene, aspect kept with
// black bands, and the drawing state left as the scene had it.
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/GameState.h"
#include "gfx/Render.h"
#include "platform/MediaPlayer.h"
#include "platform/Window.h"

namespace {

int64_t fakeNow = 0;
int64_t FakeClock() { return fakeNow; }

// A 16:9 clip of a white picture: in the 4:3 scene it leaves bands above
// and below.
std::string WideWhiteVideo() {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("virko-wide-" + std::to_string(getpid()) + ".wmv");
  const std::string command =
      "ffmpeg -v error -y -f lavfi -i color=c=white:size=640x360:rate=25:duration=1 "
      "-c:v wmv2 -b:v 1M -f asf '" + file.string() + "'";
  return std::system(command.c_str()) == 0 ? file.string() : std::string();
}

struct Pixel {
  int r, g, b;
};

Pixel ReadPixel(int x, int y) {  // scene pixels, y downward
  unsigned char rgba[4] = {};
  RenderReadScene(x, y, 1, 1, rgba);
  return Pixel{rgba[0], rgba[1], rgba[2]};
}

}  // namespace

TEST(VideoPicture, CoversTheSceneWithItsAspectKept) {
  const std::string video = WideWhiteVideo();
  if (video.empty()) GTEST_SKIP() << "the ffmpeg command is needed to make the test video";
  std::string error;
  ASSERT_TRUE(CreateGameWindow(error)) << error;
  RenderSetupContext(0, 0, 800, 600);
  glDisable(GL_LIGHTING);
  glEnable(GL_ALPHA_TEST);
  SetMediaClock(FakeClock);

  cMediaPlayer player;
  player.fileName = video;
  player.Open();
  player.Play();
  panelVisible = true;
  for (int i = 0; i < 20; ++i) {
    fakeNow += 10;
    glClearColor(0, 0, 1, 1);  // a blue scene under the video
    RenderClear();
    RenderSetProjection();
    RenderSetCamera(-123, 45);  // the camera must not move the video
    player.Frame();
  }
  glFinish();

  const Pixel band = ReadPixel(400, 30);  // 16:9 in 800 x 600: 450 high, 75 above
  EXPECT_LT(band.r + band.g + band.b, 10);
  const Pixel middle = ReadPixel(400, 300);
  EXPECT_GT(middle.r, 230);
  EXPECT_GT(middle.b, 230);
  const Pixel corner = ReadPixel(5, 80);  // inside the picture, near its edge
  EXPECT_GT(corner.g, 200);
  const Pixel below = ReadPixel(400, 560);
  EXPECT_LT(below.r + below.g + below.b, 10);

  // The scene's state comes back after the video.
  EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  GLint matrixMode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
  EXPECT_EQ(matrixMode, GL_MODELVIEW);
  GLdouble modelView[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
  EXPECT_EQ(modelView[12], -123);

  // Hidden, it draws nothing.
  panelVisible = false;
  RenderClear();
  player.Frame();
  glFinish();
  EXPECT_GT(ReadPixel(400, 300).b, 230);
  EXPECT_LT(ReadPixel(400, 300).r, 10);

  player.Stop();
  SetMediaClock(nullptr);
  std::filesystem::remove(video);
  DestroyGameWindow();
}
