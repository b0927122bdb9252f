// The shortcuts of the OpenGL back end must give the very picture and depth
// the plain drawing gives: a quad drawn in parts (skipping what cannot change
// a pixel) against the quad drawn whole, and the kept level background
// against the background drawn anew.
#include <GL/glu.h>

#include <chrono>
#include <cstring>
#include <random>
#include <thread>
#include <tuple>
#include <utility>

#include "game/Anim.h"
#include "gfx/Draw.h"
#include "gfx/PicturesAhead.h"
#include "gfx/render_gl/QuadParts.h"
#include "tests/gl/GfxGlScene.h"

using gfxtest::GlScene;
using gfxtest::MakeJpg;
using gfxtest::Rgba;
using gfxtest::ScratchFolder;

namespace {

const tViewport kScene{0, 0, 800, 600};
const tQuadStyle kOverlay{false, true};

// RGBA texels, row 0 at the bottom, from colourAt(x, y) with y from the top.
std::vector<uint8_t> Texels(int width, int height, const std::function<Rgba(int, int)>& colourAt) {
  std::vector<uint8_t> rgba(size_t(width) * height * 4);
  for (int row = 0; row < height; ++row)
    for (int x = 0; x < width; ++x) {
      const Rgba c = colourAt(x, height - 1 - row);
      std::memcpy(&rgba[(size_t(row) * width + x) * 4], &c, 4);
    }
  return rgba;
}

// A full-screen picture: dark, soft edges and a transparent middle.
Rgba Mask(int x, int y) {
  const int edge = std::min(std::min(x, 255 - x), std::min(y, 191 - y));
  return edge < 24 ? Rgba{20, 30, 40, uint8_t(250 - edge * 10)} : Rgba{0, 0, 0, 0};
}
// A figure: opaque body, soft rim, transparent around.
Rgba Figure(int x, int y) {
  const int d = std::abs(x - 40) + std::abs(y - 64);
  return d < 50 ? Rgba{200, uint8_t(x * 3), uint8_t(y * 2), 255}
                : d < 54 ? Rgba{250, 250, 0, 120} : Rgba{0, 0, 0, 0};
}

int PartsArea(const std::vector<tQuadPart>& parts) {
  int area = 0;
  for (const tQuadPart& p : parts) area += p.width * p.height;
  return area;
}

bool Overlap(const tQuadPart& a, const tQuadPart& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

}  // namespace

// Against the texels themselves, on pictures of odd sizes with scattered
// transparency: the visible bounds and "all opaque" exactly, and the cell
// queries never claiming a rectangle empty or opaque when a texel says not.
TEST(QuadParts, CoverageAgreesWithEveryTexel) {
  std::mt19937 random(7);
  for (const auto& [width, height] : {std::pair{1, 1}, {5, 3}, {67, 130}, {257, 65}, {800, 600}}) {
    for (int density : {0, 1, 50, 100}) {
      SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height) + " density " + std::to_string(density));
      std::vector<uint8_t> rgba(size_t(width) * height * 4, 255);
      for (size_t i = 3; i < rgba.size(); i += 4) {
        const int roll = int(random() % 100);
        rgba[i] = roll < density ? uint8_t(roll % 2 ? 0 : 128) : 255;
      }
      if (density == 0) std::fill(rgba.begin(), rgba.end(), 0);  // wholly transparent
      const auto alpha = [&](int x, int y) { return rgba[(size_t(y) * width + x) * 4 + 3]; };
      const tTexelCoverage coverage = MeasureCoverage(rgba.data(), width, height);
      int x0 = width, y0 = height, x1 = -1, y1 = -1;
      bool allOpaque = true;
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
          allOpaque &= alpha(x, y) == 255;
          if (alpha(x, y) == 0) continue;
          x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
        }
      EXPECT_EQ(coverage.allOpaque, allOpaque);
      EXPECT_EQ(std::tie(coverage.visibleX0, coverage.visibleY0, coverage.visibleX1, coverage.visibleY1),
                std::tie(x0, y0, x1, y1));
      for (int probe = 0; probe < 200; ++probe) {
        const int ax = int(random() % width), bx = int(random() % width);
        const int ay = int(random() % height), by = int(random() % height);
        bool anyVisible = false, opaque = true;
        for (int y = std::min(ay, by); y <= std::max(ay, by); ++y)
          for (int x = std::min(ax, bx); x <= std::max(ax, bx); ++x) {
            anyVisible |= alpha(x, y) > 0;
            opaque &= alpha(x, y) == 255;
          }
        const int rx0 = std::min(ax, bx), ry0 = std::min(ay, by), rx1 = std::max(ax, bx), ry1 = std::max(ay, by);
        if (anyVisible) {
          EXPECT_TRUE(coverage.AnyVisible(rx0, ry0, rx1, ry1));
        }
        if (!opaque) {
          EXPECT_FALSE(coverage.AllOpaque(rx0, ry0, rx1, ry1));
        }
      }
    }
  }
}

TEST(QuadParts, MaskSplitsIntoEdgesAndAnEmptyMiddleThatTileTheQuad) {
  const std::vector<uint8_t> texels = Texels(256, 192, Mask);
  const tTexelCoverage coverage = MeasureCoverage(texels.data(), 256, 192);
  std::vector<tQuadPart> parts;
  ASSERT_TRUE(PlanQuadParts(coverage, {0, 0, 800, 600, 0, 1, 1, 0}, kScene, kOverlay, parts));
  EXPECT_EQ(PartsArea(parts), 800 * 600);
  for (size_t i = 0; i < parts.size(); ++i)
    for (size_t j = i + 1; j < parts.size(); ++j) EXPECT_FALSE(Overlap(parts[i], parts[j]));
  const auto middle = std::find_if(parts.begin(), parts.end(), [](const tQuadPart& p) {
    return p.kind == tPartKind::nothing;
  });
  ASSERT_NE(middle, parts.end());
  EXPECT_GT(middle->width * middle->height, 500 * 300);
  EXPECT_LE(parts.size(), 6u);
}

TEST(QuadParts, LargeOpaquePartsOnlyAtAlphaOne) {
  // An opaque square on a transparent ground.
  const std::vector<uint8_t> texels = Texels(128, 128, [](int x, int y) {
    return x >= 16 && x < 112 && y >= 16 && y < 112 ? Rgba{9, 9, 9, 255} : Rgba{0, 0, 0, 0};
  });
  const tTexelCoverage coverage = MeasureCoverage(texels.data(), 128, 128);
  std::vector<tQuadPart> parts;
  const tQuadOnScreen sprite{100, 50, 612, 562, 0, 1, 1, 0};
  ASSERT_TRUE(PlanQuadParts(coverage, sprite, kScene, {true, true}, parts));
  EXPECT_TRUE(std::any_of(parts.begin(), parts.end(),
                          [](const tQuadPart& p) { return p.kind == tPartKind::opaque; }));
  ASSERT_TRUE(PlanQuadParts(coverage, sprite, kScene, {true, false}, parts));
  EXPECT_TRUE(std::none_of(parts.begin(), parts.end(),
                           [](const tQuadPart& p) { return p.kind == tPartKind::opaque; }));
}

TEST(QuadParts, AlphaTestedQuadIsCutDownToItsVisibleTexels) {
  // A 16-texel square in the middle of 64: on a 128-pixel quad, pixels 48
  // to 80 from the quad's corner (window y counts upward).
  const std::vector<uint8_t> texels = Texels(64, 64, [](int x, int y) {
    return x >= 24 && x < 40 && y >= 24 && y < 40 ? Rgba{9, 9, 9, 200} : Rgba{0, 0, 0, 0};
  });
  const tTexelCoverage coverage = MeasureCoverage(texels.data(), 64, 64);
  std::vector<tQuadPart> parts;
  ASSERT_TRUE(PlanQuadParts(coverage, {300, 299, 428, 427, 0, 1, 1, 0}, kScene, {true, true}, parts));
  ASSERT_EQ(parts.size(), 1u);
  const tQuadPart& p = parts[0];
  EXPECT_LE(p.x, 348);
  EXPECT_GE(p.x + p.width, 382);
  EXPECT_LE(p.y, 600 - 379);
  EXPECT_GE(p.y + p.height, 600 - 347);
  EXPECT_LT(p.width * p.height, 50 * 50);

  const std::vector<uint8_t> clear = Texels(8, 8, [](int, int) { return Rgba{0, 0, 0, 0}; });
  EXPECT_TRUE(PlanQuadParts(MeasureCoverage(clear.data(), 8, 8), {0, 0, 800, 600, 0, 1, 1, 0},
                            kScene, {true, true}, parts));
  EXPECT_TRUE(parts.empty()) << "nothing to draw";
}

TEST(QuadParts, SmallOrUniformQuadsAreDrawnWhole) {
  const std::vector<uint8_t> texels = Texels(128, 128, Figure);
  const tTexelCoverage coverage = MeasureCoverage(texels.data(), 128, 128);
  std::vector<tQuadPart> parts;
  EXPECT_FALSE(PlanQuadParts(coverage, {10, 10, 60, 60, 0, 1, 1, 0}, kScene, kOverlay, parts));
  const std::vector<uint8_t> flat = Texels(64, 64, [](int, int) { return Rgba{1, 2, 3, 100}; });
  EXPECT_FALSE(PlanQuadParts(MeasureCoverage(flat.data(), 64, 64), {0, 0, 800, 600, 0, 1, 1, 0},
                             kScene, kOverlay, parts));
}

namespace {

// Twice the same scene, once with textures the back end knows (drawn in
// parts) and once with the same textures made behind its back (drawn whole).
class PartsAgainstWhole : public GlScene {
 protected:
  static TextureName Unknown(int width, int height, const std::vector<uint8_t>& texels,
                             bool nearestMin = false) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, nearestMin ? GL_NEAREST : GL_LINEAR);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, width, height, GL_RGBA, GL_UNSIGNED_BYTE,
                      texels.data());
    return name;
  }
  struct Frame {
    std::vector<uint8_t> colour;
    std::vector<float> depth;
  };
  static Frame Read() {
    Frame f{std::vector<uint8_t>(800 * 600 * 4), std::vector<float>(800 * 600)};
    RenderReadScene(0, 0, 800, 600, f.colour.data());
    RenderReadSceneDepth(0, 0, 800, 600, f.depth.data());
    return f;
  }
};

}  // namespace

TEST_F(PartsAgainstWhole, SameColourAndDepthToTheBit) {
  game.lightLevel = 40;  // the light varies across the screen
  SetupLights();
  const std::vector<uint8_t> mask = Texels(256, 192, Mask);
  const std::vector<uint8_t> figure = Texels(128, 128, Figure);
  const std::vector<uint8_t> ground =
      Texels(64, 64, [](int x, int y) { return Rgba{uint8_t(x * 4), uint8_t(y * 4), 60, 255}; });
  const std::vector<uint8_t> photo =
      Texels(200, 150, [](int x, int y) { return Rgba{uint8_t(x), uint8_t(y), uint8_t(x ^ y), 255}; });
  const TextureName known[4] = {Texture(256, 192, Mask), Texture(128, 128, Figure),
                                Texture(64, 64, [&](int x, int y) {
                                  return Rgba{uint8_t(x * 4), uint8_t(y * 4), 60, 255};
                                }),
                                RenderUploadTexture(200, 150, photo.data(), true)};
  const TextureName unknown[4] = {Unknown(256, 192, mask), Unknown(128, 128, figure),
                                  Unknown(64, 64, ground), Unknown(200, 150, photo, true)};

  auto scene = [](const TextureName t[4], auto afterBegin) {
    BeginFrame();
    afterBegin();
    DrawOverlay(t[2], 0, 0, -1, 800, 600, 1);
    DrawQuad(t[1], 30.5, 40.25, -0.7, 300, 280, 1);
    DrawQuad(t[1], 420, 60, -0.5, 256, 256, 0.6);
    DrawOverlay(t[1], 200, 300, -0.3, 256, 256, 1);
    cAnim sprite{};
    sprite.textures[1] = t[1];
    sprite.SetAnimRange(tAnimSeq{1, 2, 100});
    sprite.drawWidth = 128;
    sprite.drawHeight = 128;
    sprite.mirrored = 1;
    sprite.Draw(400, 300, -0.2);  // the same depth as the mask: the mask loses there
    // A photograph (minification nearest) magnified, minified, and nearly
    // one to one, where either filter might apply.
    DrawOverlay(t[3], 0, 0, -0.4, 800, 600, 0.5);
    DrawQuad(t[3], 600, 20, -0.1, 150, 100, 1);
    DrawQuad(t[3], 500, 400, -0.1, 200, 150, 1);
    DrawQuad(t[3], 10, 400, -0.1, 201, 151, 1);
    DrawOverlay(t[0], 0, 0, -0.2, 800, 600, 1);
    DrawOverlay(t[0], -3, 2, -0.9, 806, 597, 0.4);  // behind nearly everything
    // Hidden wherever the mask wrote its depth, its transparent middle too.
    DrawOverlay(t[2], 0, 0, -0.25, 800, 600, 0.7);
    return Read();
  };
  // As the frame handler sets it up; in part of the window (the viewport of
  // a display without an 800 x 600 mode); under a projection of someone
  // else's making.
  auto sameBothWays = [&](auto afterBegin) {
    const Frame inParts = scene(known, afterBegin);
    const Frame whole = scene(unknown, afterBegin);
    glViewport(0, 0, 800, 600);
    return inParts.colour == whole.colour && inParts.depth == whole.depth;
  };
  EXPECT_TRUE(sameBothWays([] {}));
  EXPECT_TRUE(sameBothWays([] { glViewport(100, 75, 600, 450); }));
  EXPECT_TRUE(sameBothWays([] {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-200, 599, 799, 0, 0, -10);
  }));
}

// A texture keeps only level 0, which must be GLU's: the picture itself, or
// GLU's rescaled copy when a side is not a power of two (made without GLU,
// so sizes of every kind are compared: growing, shrinking, one side a power
// of two, one pixel wide).
TEST_F(PartsAgainstWhole, UploadKeepsExactlyGlusLevelZero) {
  std::mt19937 random(7);
  std::vector<std::pair<int, int>> sizes = {{800, 600}, {100, 35}, {3, 5},  {7, 1},  {1, 7},
                                            {64, 42},   {128, 64}, {1, 1},  {1500, 1100}};
  for (int i = 0; i < 60; ++i) sizes.emplace_back(1 + random() % 700, 1 + random() % 700);
  for (const auto& [width, height] : sizes) {
    std::vector<uint8_t> texels(size_t(width) * height * 4);
    for (uint8_t& t : texels) t = uint8_t(random());
    for (size_t i = 3; i < texels.size(); i += 40) texels[i] = 255;
    auto levelZero = [](GLuint name, GLint& w, GLint& h) {
      glBindTexture(GL_TEXTURE_2D, name);
      glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
      glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
      std::vector<uint8_t> rgba(size_t(w) * h * 4);
      glPixelStorei(GL_PACK_ALIGNMENT, 4);
      glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
      return rgba;
    };
    GLint ourWidth = 0, ourHeight = 0, gluWidth = 0, gluHeight = 0, levelOne = -1;
    const GLuint ours = RenderUploadTexture(width, height, texels.data(), false);
    const std::vector<uint8_t> ourTexels = levelZero(ours, ourWidth, ourHeight);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &levelOne);
    const std::vector<uint8_t> gluTexels =
        levelZero(Unknown(width, height, texels), gluWidth, gluHeight);
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
    EXPECT_EQ(ourWidth, gluWidth);
    EXPECT_EQ(ourHeight, gluHeight);
    EXPECT_TRUE(ourTexels == gluTexels);
    EXPECT_EQ(levelOne, 0) << "no chain below level 0";
  }
}

// Sides that are powers of two but larger than the renderer holds: shrunk
// as GLU shrinks them, not lost.
TEST_F(PartsAgainstWhole, PowersOfTwoBeyondTheLargestTextureAreShrunk) {
  const int largest = RenderLargestTextureSide();
  const int width = largest * 2, height = 4;
  const std::vector<uint8_t> texels(size_t(width) * height * 4, 200);
  const GLuint ours = RenderUploadTexture(width, height, texels.data(), false);
  GLint ourWidth = 0, ourHeight = 0, gluWidth = 0, gluHeight = 0;
  glBindTexture(GL_TEXTURE_2D, ours);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &ourWidth);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &ourHeight);
  glBindTexture(GL_TEXTURE_2D, Unknown(width, height, texels));
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &gluWidth);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &gluHeight);
  EXPECT_GT(ourWidth, 0);
  EXPECT_LE(ourWidth, largest);
  EXPECT_EQ(ourWidth, gluWidth);
  EXPECT_EQ(ourHeight, gluHeight);
}

// A texture made ahead while an earlier screen shows (PicturesAhead.h) is
// the one its loader would have made: the same level 0 and filters, for
// JPGs and for TGAs with and without transparency.
TEST_F(PartsAgainstWhole, TexturesMadeAheadAreTheLoadersOwn) {
  ScratchFolder folder;
  const std::vector<std::string> names = {
      folder.Write("photo.jpg", MakeJpg(800, 600, [](int x, int y) {
        return Rgba{uint8_t(x), uint8_t(y), uint8_t(x ^ y), 255};
      })),
      folder.Write("figure.tga", gfxtest::MakeTga(90, 130, Figure)),
      folder.Write("opaque.tga", gfxtest::MakeTga(37, 5, [](int x, int y) {
        return Rgba{uint8_t(x * 7), 90, uint8_t(y * 40), 255};
      }))};
  struct Made {
    std::vector<uint8_t> texels;
    GLint width, height, minFilter;
  };
  const auto load = [](const std::string& name) {
    TextureName texture = 0;
    if (name.ends_with(".jpg"))
      LoadJPG(name, texture);
    else
      LoadTGA(name, texture);
    Made made{};
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &made.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &made.height);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &made.minFilter);
    made.texels.resize(size_t(made.width) * made.height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, made.texels.data());
    return made;
  };
  std::vector<Made> byLoader;
  for (const std::string& name : names) byLoader.push_back(load(name));

  PreparePictures(names);
  int madeAhead = 0;
  for (int wait = 0; wait < 500 && madeAhead < int(names.size()); ++wait) {
    if (MakePreparedTexture())
      ++madeAhead;
    else
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_EQ(madeAhead, int(names.size()));
  for (size_t i = 0; i < names.size(); ++i) {
    SCOPED_TRACE(names[i]);
    const Made ahead = load(names[i]);
    EXPECT_EQ(ahead.width, byLoader[i].width);
    EXPECT_EQ(ahead.height, byLoader[i].height);
    EXPECT_EQ(ahead.minFilter, byLoader[i].minFilter);
    EXPECT_TRUE(ahead.texels == byLoader[i].texels);
  }
  EXPECT_FALSE(MakePreparedTexture()) << "each made once, and taken";
  StopPreparingPictures();
}

namespace {

class KeptBackground : public PartsAgainstWhole {
 protected:
  static void BackgroundFrame() {
    BeginFrame();
    DrawBackground(2);
    DrawQuad(fontTex, 100, 100, -0.5, 64, 64, 1);  // something after it
  }
  static void DrawnAnew() {
    BeginFrame();
    DrawOverlay(backdropTex, 0, 0, -1, 800, 600, 1);
    DrawOverlay(backdropTex, backgroundDrift.offsetX, backgroundDrift.offsetY, -0.99, 800, 600,
                0.3);
    DrawQuad(fontTex, 100, 100, -0.5, 64, 64, 1);
  }
};

}  // namespace

TEST_F(KeptBackground, SameColourDepthAndStateAsTheTwoOverlays) {
  game.lightLevel = 40;
  SetupLights();
  ScratchFolder folder;
  const std::string photo = folder.Write("d01.jpg", MakeJpg(800, 600, [](int x, int y) {
    return Rgba{uint8_t(x), uint8_t(y), uint8_t(x * y), 0};
  }));
  ASSERT_NE(LoadJPG(photo, backdropTex), 0u);
  fontTex = Texture(8, 8, [](int x, int) { return Rgba{200, 0, 0, uint8_t(x * 30)}; });
  frameFactor = 2;
  Frame anew;
  // Frames of play: the copy jumps every sixth frame, to each side in turn
  // (right and up, right and down, ...); the frames between put back kept
  // pixels, including those drawn ahead.
  for (float phase : {1.3f, 2.5f, 4.0f, 5.5f, 0.0f}) {
    backgroundDrift = tBackgroundDrift{0.06f, 0, 0, phase};  // jumps at the next frame
    for (int frame = 0; frame < 14; ++frame) {
      BackgroundFrame();
      const Frame played = Read();
      DrawnAnew();
      anew = Read();
      ASSERT_TRUE(played.colour == anew.colour) << phase << ", frame " << frame;
      ASSERT_TRUE(played.depth == anew.depth) << phase << ", frame " << frame;
    }
  }

  // What the second overlay leaves behind, the kept background leaves too.
  BeginFrame();
  DrawBackground(2);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  GLint bound = 0, mode = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
  EXPECT_EQ(GLuint(bound), backdropTex);
  EXPECT_EQ(mode, GL_MODULATE);
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(colour[3], 0.3f);

  // A changed light is not served from the kept pixels.
  game.lightLevel = 90;
  SetupLights();
  BackgroundFrame();
  const Frame brighter = Read();
  DrawnAnew();
  EXPECT_TRUE(brighter.colour == Read().colour);
  EXPECT_FALSE(brighter.colour == anew.colour);

  // Nor is a frame in which something was drawn before the background.
  BeginFrame();
  DrawQuad(fontTex, 300, 300, 0, 64, 64, 1);
  DrawBackground(2);
  const Frame covered = Read();
  BeginFrame();
  DrawQuad(fontTex, 300, 300, 0, 64, 64, 1);
  DrawOverlay(backdropTex, 0, 0, -1, 800, 600, 1);
  DrawOverlay(backdropTex, backgroundDrift.offsetX, backgroundDrift.offsetY, -0.99, 800, 600, 0.3);
  EXPECT_TRUE(covered.colour == Read().colour);
  frameFactor = 0;
}
