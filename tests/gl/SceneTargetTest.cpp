// The offscreen target the scene is drawn into must hold exactly what the
// window shows when the scene is drawn straight into it at 800 x 600, colour
// and depth, for frames of play (with the kept background), of the menu and
// of a video. Run once more without framebuffer objects (see
// CMakeLists.txt): the scene then goes straight into the window.
#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "game/Anim.h"
#include "gfx/Hud.h"
#include "gfx/RenderVideo.h"
#include "gfx/render_gl/RenderGlShared.h"
#include "tests/gl/GfxGlScene.h"

using gfxtest::GlScene;
using gfxtest::Rgba;

namespace {

struct Frame {
  std::vector<uint8_t> colour;
  std::vector<float> depth;
  bool operator==(const Frame&) const = default;
};

Frame ReadFrame() {
  Frame f{std::vector<uint8_t>(800 * 600 * 4), std::vector<float>(800 * 600)};
  RenderReadScene(0, 0, 800, 600, f.colour.data());
  RenderReadSceneDepth(0, 0, 800, 600, f.depth.data());
  return f;
}

Rgba Mask(int x, int y) {
  const int edge = std::min(std::min(x, 255 - x), std::min(y, 191 - y));
  return edge < 40 ? Rgba{20, 30, 40, uint8_t(250 - edge * 6)} : Rgba{0, 0, 0, 0};
}
Rgba Figure(int x, int y) {
  const int d = std::abs(x - 40) + std::abs(y - 64);
  return d < 50 ? Rgba{200, uint8_t(x * 3), uint8_t(y * 2), 255}
                : d < 54 ? Rgba{250, 250, 0, 120} : Rgba{0, 0, 0, 0};
}
// A level screen: ground below a sky that is partly see-through.
Rgba Ground(int x, int y) {
  const int top = 300 + int(80 * std::sin(x * 0.02));
  return y > top ? Rgba{uint8_t(x), uint8_t(y), 60, 255}
                 : Rgba{90, 120, 200, uint8_t(y < 100 ? 0 : 128)};
}

class TargetAgainstWindow : public GlScene {
 protected:
  static void SetUpTestSuite() {
    GlScene::SetUpTestSuite();
    // Pictures of the sizes and kinds the game loads: not powers of two
    // (rescaled by GLU), JPGs (opaque, minified nearest), soft edges.
    std::vector<uint8_t> photo(800 * 600 * 4);
    for (size_t i = 0; i < photo.size(); i += 4) {
      photo[i] = uint8_t(i / 4 % 800);
      photo[i + 1] = uint8_t(i / 3200);
      photo[i + 2] = uint8_t(i * 7 / 4);
      photo[i + 3] = 255;
    }
    backdropTex = RenderUploadTexture(800, 600, photo.data(), true);
    mask = Texture(256, 192, Mask);
    figure = Texture(128, 128, Figure);
    ground = Texture(800, 600, Ground);
    fontTex = Texture(64, 64, [](int x, int y) {
      return Rgba{255, 255, 255, uint8_t((x / 2 + y / 2) % 2 ? 255 : 0)};
    });
    hudTextures.mask = mask;
    hudTextures.cone = figure;
    hudTextures.colon = figure;
    hudTextures.fontx2 = Texture(16, 160, [](int x, int y) {
      return Rgba{255, uint8_t(y), 0, uint8_t((x + y) % 3 ? 255 : 0)};
    });
  }

  // The frames of draw, first into the target, then into the window.
  template <typename Draw>
  static void ExpectSameBothWays(int frames, Draw draw) {
    std::vector<Frame> intoTarget, intoWindow;
    for (bool useTarget : {true, false}) {
      UseSceneTarget(useTarget);
      SetupContext(0, 0, 800, 600, 32, 100, 1);
      ASSERT_EQ(SceneTarget() != nullptr, useTarget);
      std::vector<Frame>& frameList = useTarget ? intoTarget : intoWindow;
      backgroundDrift = tBackgroundDrift{};
      for (int i = 0; i < frames; ++i) {
        BeginFrame();
        draw(i);
        frameList.push_back(ReadFrame());
        RenderPresent();
      }
    }
    UseSceneTarget(true);
    SetupContext(0, 0, 800, 600, 32, 100, 1);
    for (int i = 0; i < frames; ++i) ASSERT_TRUE(intoTarget[i] == intoWindow[i]) << "frame " << i;
  }

  static inline TextureName mask = 0, figure = 0, ground = 0;
};

}  // namespace

TEST_F(TargetAgainstWindow, PlayFramesWithTheKeptBackgroundAreTheWindowsToTheBit) {
  game.lightLevel = 40;  // the light varies across the screen
  SetupLights();
  frameFactor = 2;
  cAnim sprite{};
  sprite.textures[1] = figure;
  sprite.SetAnimRange(tAnimSeq{1, 2, 100});
  sprite.drawWidth = 128;
  sprite.drawHeight = 128;
  // Fourteen frames: the copy of the backdrop jumps twice, the frames
  // between put back the kept background, and the camera moves by
  // fractions of a pixel.
  ExpectSameBothWays(14, [&](int i) {
    const double camera = -123.37 - 3.1 * i;
    DrawBackground(2);
    DrawQuad(ground, camera, -20.5, -0.7, 800, 600, 1);
    DrawQuad(ground, camera + 800, -20.5, -0.7, 800, 600, 1);
    DrawOverlay(mask, camera, 450, -0.6, 1600, 1200, 1);  // the cloud band
    DrawOverlay(figure, 300.25 + i, 420, -0.5, 70, 35, 1);
    sprite.mirrored = uint8_t(i % 2);
    sprite.Draw(400, 300, -0.2);
    sprite.Draw(610.5 - i, 330, -0.1);
    stats.points = 1234 + i;
    DrawHud();
    DrawText(16, "FPS: 97", fontTex, 10, 10);
  });
  frameFactor = 0;
}

TEST_F(TargetAgainstWindow, MenuFramesAreTheWindowsToTheBit) {
  game.lightLevel = 80;
  SetupLights();
  ExpectSameBothWays(3, [&](int i) {
    DrawOverlay(ground, -200.5 + 40 * i, 0, -0.5, 800, 600, 1);  // sliding panels
    DrawOverlay(backdropTex, 600 - 40 * i, 0, -0.4, 800, 600, 1);
    DrawQuad(figure, 100.3 * i, 50, -0.21, 200, 200, 0.7);  // drifting symbols
    DrawQuad(mask, 0, 0, -0.1, 800, 600, 1);                // the title frame
    DrawQuad(figure, 140 + i, 230, 0, 100, 35, 1);          // a hovered item
    DrawText(16, "FPS: 100", fontTex, 10, 10);
  });
}

TEST_F(TargetAgainstWindow, VideoFramesAreTheWindowsToTheBit) {
  std::vector<uint8_t> picture(320 * 180 * 4);
  for (size_t i = 0; i < picture.size(); ++i) picture[i] = uint8_t(i * 5 + i / 1280);
  const VideoTexture video = RenderCreateVideoTexture(320, 180);
  RenderUpdateVideoTexture(video, 320, 180, picture.data());
  ExpectSameBothWays(2, [&](int i) {
    DrawOverlay(ground, 0, 0, -1, 800, 600, 1);
    RenderDrawVideo(video, 320, 180, TRect{0, 0, 800, 600}, TRect{0, 75 + i, 800, 450});
    DrawText(16, "FPS: 100", fontTex, 10, 10);
  });
  VideoTexture done = video;
  RenderDeleteVideoTexture(done);
}

// Run with the framebuffer objects switched off in the renderer (see
// CMakeLists.txt): one line on stderr, and the scene in the window.
TEST_F(TargetAgainstWindow, WithoutFramebufferObjectsTheSceneGoesIntoTheWindow) {
  if (std::getenv("VIRKO_TEST_NO_FRAMEBUFFERS") == nullptr)
    GTEST_SKIP() << "only where the renderer is told to have no framebuffer objects";
  testing::internal::CaptureStderr();
  UseSceneTarget(true);
  SetupContext(0, 0, 800, 600, 32, 100, 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "virko: the renderer has no framebuffer objects; the scene is drawn straight into "
            "the window\n");
  EXPECT_EQ(SceneTarget(), nullptr);
  GLint drawBuffer = 0;
  glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
  EXPECT_EQ(drawBuffer, GL_BACK);
  BeginFrame();
  DrawBackground(2);
  DrawQuad(ground, 0, 0, -0.5, 800, 600, 1);
  RenderPresent();
  EXPECT_GT(Pixel(400, 590).r, 100);  // the ground
}
