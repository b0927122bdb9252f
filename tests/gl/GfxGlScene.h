// A test fixture that draws with the real OpenGL back end into the game's
// window and reads the picture back.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/GameState.h"
#include "app/Startup.h"
#include "gfx/Draw.h"
#include "gfx/Render.h"
#include "gfx/Texture.h"
#include "platform/Window.h"
#include "tests/unit/GfxPictureFiles.h"

namespace gfxtest {

class GlScene : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    ASSERT_TRUE(CreateGameWindow(error)) << error;
    SetupContext(0, 0, 800, 600, 32, 100, 1);
  }
  static void TearDownTestSuite() { DestroyGameWindow(); }

  // At full brightness the light saturates everywhere, so a white quad shows
  // its texture's own colours.
  void SetUp() override {
    game.lightLevel = 100;
    SetupLights();
    BeginFrame();
  }

  // The start of the frame handler: clear, light, projection, no camera.
  static void BeginFrame() {
    RenderClear();
    RenderLoadIdentity();
    ApplyLight(0);
    RenderSetProjection();
    RenderSetCamera(0, 0);
  }

  // A texture from colourAt(x, y), y counted from the picture's top.
  static TextureName Texture(int width, int height,
                             const std::function<Rgba(int, int)>& colourAt) {
    std::vector<uint8_t> rgba(size_t(width) * height * 4);
    for (int row = 0; row < height; ++row) {
      for (int x = 0; x < width; ++x) {
        const Rgba c = colourAt(x, height - 1 - row);
        uint8_t* p = &rgba[(size_t(row) * width + x) * 4];
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
        p[3] = c.a;
      }
    }
    return BuildTexture(uint16_t(width), uint16_t(height), rgba.data());
  }
  static TextureName Solid(Rgba colour) {
    return Texture(4, 4, [=](int, int) { return colour; });
  }

  // The pixel at screen position (x, y), y downward as the game counts it.
  static Rgba Pixel(int x, int y) {
    uint8_t p[4];
    RenderReadScene(x, y, 1, 1, p);
    return {p[0], p[1], p[2], p[3]};
  }
  static float Depth(int x, int y) {
    float depth = 0;
    RenderReadSceneDepth(x, y, 1, 1, &depth);
    return depth;
  }
  static bool Near(Rgba a, Rgba b, int tolerance = 1) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
  }
};

inline std::ostream& operator<<(std::ostream& out, Rgba c) {
  return out << "(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ", " << int(c.a)
             << ")";
}

}  // namespace gfxtest
