// What the drawing routines promise, read back from the picture: covering,
// depth, texture cells, alpha inheritance, frame order, mirroring, digits.
#include "game/Anim.h"
#include "gfx/Hud.h"
#include "tests/gl/GfxGlScene.h"

using gfxtest::GlScene;
using gfxtest::MakeJpg;
using gfxtest::MakeTga;
using gfxtest::Rgba;
using gfxtest::ScratchFolder;

namespace {

const Rgba kRed{255, 0, 0, 255};
const Rgba kGreen{0, 255, 0, 255};
const Rgba kBlue{0, 0, 255, 255};
const Rgba kWhite{255, 255, 255, 255};
const Rgba kBlack{0, 0, 0, 255};

using Drawing = GlScene;

// A unique colour for each cell of a 16 x 16 atlas of 16-pixel cells.
Rgba AtlasCell(int column, int row) {
  return {uint8_t(column * 16 + 8), uint8_t(row * 16 + 8), 200, 255};
}

// The digit strip: ten cells of 16 rows, a colour each, top to bottom.
Rgba StripCell(int cell) { return {uint8_t(20 + cell * 20), 100, uint8_t(250 - cell * 20), 255}; }

}  // namespace

TEST_F(Drawing, QuadLeavesNeitherColourNorDepthWhereItsTexelsAreTransparent) {
  DrawOverlay(Solid(kBlue), 0, 0, -1, 800, 600, 1);
  const float farDepth = Depth(150, 150);
  // Left half transparent, right half opaque red; drawn at half strength.
  const TextureName halfRed =
      Texture(8, 8, [](int x, int) { return x < 4 ? Rgba{255, 0, 0, 0} : kRed; });
  DrawQuad(halfRed, 100, 100, 0, 200, 100, 0.5);

  EXPECT_EQ(Pixel(150, 150), kBlue);
  EXPECT_EQ(Depth(150, 150), farDepth);
  EXPECT_TRUE(Near(Pixel(250, 150), {128, 0, 127, 255})) << Pixel(250, 150);
  EXPECT_LT(Depth(250, 150), farDepth);
}

TEST_F(Drawing, OverlayWithAlphaZeroShowsNothingButWritesDepthEverywhere) {
  DrawOverlay(Solid(kRed), 0, 0, -0.2, 800, 600, 0);
  EXPECT_EQ(Pixel(400, 300), kBlack);
  DrawOverlay(Solid(kGreen), 0, 0, -0.5, 800, 600, 1);  // behind it
  EXPECT_EQ(Pixel(400, 300), kBlack);
  EXPECT_EQ(Pixel(0, 0), kBlack);
  EXPECT_EQ(Pixel(799, 599), kBlack);
}

TEST_F(Drawing, LaterQuadsBehindEarlierOnesAreHidden) {
  DrawQuad(Solid(kRed), 100, 100, -0.1, 100, 100, 1);
  DrawQuad(Solid(kGreen), 150, 150, -0.7, 100, 100, 1);
  EXPECT_EQ(Pixel(175, 175), kRed);
  EXPECT_EQ(Pixel(225, 225), kGreen);
}

TEST_F(Drawing, TextCodeSixtyFiveSamplesColumnOneRowFourAndCoversItsSquare) {
  fontTex = Texture(256, 256, [](int x, int y) { return AtlasCell(x / 16, y / 16); });
  DrawOverlay(Solid(kBlack), 0, 0, -1, 800, 600, 1);
  DrawText(16, "A", fontTex, 10, 10);
  for (int y = 11; y <= 24; ++y)
    for (int x = 11; x <= 23; ++x)
      ASSERT_TRUE(Near(Pixel(x, y), AtlasCell(1, 4))) << x << "," << y << ": " << Pixel(x, y);
  for (int i = 10; i <= 25; ++i) {
    EXPECT_NE(Pixel(i, 10), kBlack) << i;
    EXPECT_NE(Pixel(10, i), kBlack) << i;
    EXPECT_EQ(Pixel(i, 9), kBlack) << i;
    EXPECT_EQ(Pixel(i, 26), kBlack) << i;
    EXPECT_EQ(Pixel(9, i), kBlack) << i;
    EXPECT_EQ(Pixel(26, i), kBlack) << i;
  }
}

TEST_F(Drawing, TextAdvancesByTheGlyphSizeAndTakesTheLastQuadsAlpha) {
  const TextureName blackInk = Solid(kBlack);
  DrawOverlay(Solid(kWhite), 0, 0, -1, 800, 600, 1);
  DrawQuad(Solid(kRed), 700, 500, 0, 10, 10, 0.3);
  DrawText(20, "ab", blackInk, 100, 100);
  EXPECT_TRUE(Near(Pixel(110, 110), {179, 179, 179, 255})) << Pixel(110, 110);
  EXPECT_TRUE(Near(Pixel(130, 110), {179, 179, 179, 255})) << Pixel(130, 110);
  EXPECT_EQ(Pixel(141, 110), kWhite);
}

TEST_F(Drawing, FrameOneOfAStripIsItsTopFrame) {
  ScratchFolder folder;
  const Rgba frameColours[4] = {kRed, kGreen, kBlue, kWhite};
  const std::string strip = folder.Write(
      "strip.tga", MakeTga(16, 64, [&](int, int y) { return frameColours[y / 16]; }));
  TextureName frames[256] = {};
  ASSERT_EQ(LoadTGAFrames(strip, frames, 0), 4);
  for (int i = 1; i <= 4; ++i) {
    DrawOverlay(frames[i], 100.0 * i, 100, 0, 50, 50, 1);
    EXPECT_EQ(Pixel(100 * i + 25, 125), frameColours[i - 1]) << "frame " << i;
  }
}

TEST_F(Drawing, MirroredSpriteSwapsLeftAndRightOnly) {
  cAnim sprite{};
  sprite.textures[1] = Texture(8, 8, [](int x, int y) {
    return y < 4 ? (x < 4 ? kRed : kGreen) : (x < 4 ? kBlue : kWhite);
  });
  sprite.SetAnimRange(tAnimSeq{1, 2, 100});
  sprite.currentFrame = 1;
  sprite.drawWidth = 100;
  sprite.drawHeight = 60;
  sprite.Draw(200, 200, 0);
  EXPECT_EQ(Pixel(170, 180), kRed);
  EXPECT_EQ(Pixel(230, 180), kGreen);
  EXPECT_EQ(Pixel(170, 220), kBlue);
  EXPECT_EQ(Pixel(230, 220), kWhite);
  EXPECT_EQ(Pixel(149, 200), kBlack) << "centred: 100 wide";
  EXPECT_EQ(Pixel(200, 169), kBlack) << "centred: 60 high";

  sprite.mirrored = 1;
  sprite.Draw(500, 200, 0);
  EXPECT_EQ(Pixel(470, 180), kGreen);
  EXPECT_EQ(Pixel(530, 180), kRed);
  EXPECT_EQ(Pixel(470, 220), kWhite);
  EXPECT_EQ(Pixel(530, 220), kBlue);
  EXPECT_EQ(Pixel(449, 200), kBlack);
}

TEST_F(Drawing, DigitZeroComesFromTheBottomCellOfTheStrip) {
  hudTextures.fontx2 = Texture(16, 160, [](int, int y) { return StripCell(y / 16); });
  DrawOverlay(Solid(kBlack), 0, 0, -1, 800, 600, 1);  // white, opaque: what digits inherit
  DrawDigits("0123456789", 0, 100, 50);
  EXPECT_TRUE(Near(Pixel(25, 125), StripCell(9), 2)) << Pixel(25, 125);
  for (int d = 1; d <= 9; ++d)
    EXPECT_TRUE(Near(Pixel(50 * d + 25, 125), StripCell(d - 1), 2)) << d;
}

TEST_F(Drawing, HudWritesTimeAsMinutesColonSecondsAndTheDigitsHideTheColon) {
  hudTextures.fontx2 = Texture(16, 160, [](int, int y) { return StripCell(y / 16); });
  hudTextures.mask = Solid({0, 0, 0, 0});
  hudTextures.cone = Solid(kRed);
  hudTextures.colon = Solid(kWhite);
  stats.cones = 0;
  stats.points = 7;
  game.playSeconds = 65;
  DrawHud();
  EXPECT_EQ(Pixel(50, 40), kRed) << "cone icon";
  EXPECT_TRUE(Near(Pixel(92, 42), StripCell(9), 2)) << "no cones: digit 0";
  EXPECT_TRUE(Near(Pixel(357, 32), StripCell(0), 2)) << "one minute";
  EXPECT_EQ(Pixel(393, 33), kWhite) << "colon";
  EXPECT_TRUE(Near(Pixel(412, 32), StripCell(4), 2)) << "five seconds";
  EXPECT_EQ(Pixel(430, 32), kBlack);

  BeginFrame();
  game.playSeconds = 600;  // "10" reaches x = 395, over the colon's square
  DrawHud();
  EXPECT_TRUE(Near(Pixel(390, 32), StripCell(9), 2)) << Pixel(390, 32);
  EXPECT_EQ(Pixel(398, 33), kWhite);
  game.playSeconds = 0;
  stats = tStat{};
}

TEST_F(Drawing, JpgTexturesAreOpaque) {
  ScratchFolder folder;
  const std::string name = folder.Write(
      "photo.jpg", MakeJpg(32, 32, [](int x, int y) { return Rgba{uint8_t(x * 8), uint8_t(y * 8), 90, 0}; }));
  TextureName photo = 0;
  ASSERT_NE(LoadJPG(name, photo), 0u);
  // The same picture over red and over green: no texel lets either through.
  auto drawnOver = [&](Rgba ground) {
    BeginFrame();
    DrawOverlay(Solid(ground), 0, 0, -1, 800, 600, 1);
    DrawQuad(photo, 100, 100, 0, 64, 64, 1);
    std::vector<Rgba> pixels;
    for (int y = 100; y < 164; ++y)
      for (int x = 100; x < 164; ++x) pixels.push_back(Pixel(x, y));
    return pixels;
  };
  EXPECT_EQ(drawnOver(kRed), drawnOver(kGreen));
}

TEST_F(Drawing, MissingTextureDrawsNothing) {
  DrawOverlay(Solid(kBlue), 0, 0, -1, 800, 600, 1);
  const float farDepth = Depth(400, 300);
  DrawQuad(0, 0, 0, 0, 800, 600, 1);
  DrawOverlay(0, 0, 0, 0, 800, 600, 1);
  cAnim empty{};
  empty.drawWidth = empty.drawHeight = 200;
  empty.Draw(400, 300, 0);
  EXPECT_EQ(Pixel(400, 300), kBlue);
  EXPECT_EQ(Depth(400, 300), farDepth);
}

// The state each routine leaves behind is what later routines draw with.
TEST_F(Drawing, EachRoutineLeavesTheStateTheOthersRelyOn) {
  const TextureName picture = Solid(kRed);
  fontTex = Solid(kWhite);
  auto wrapOf = [](TextureName texture) {
    GLint s = 0, t = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &s);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &t);
    return std::pair{s, t};
  };
  auto alphaRef = [] {
    GLfloat ref = -1;
    glGetFloatv(GL_ALPHA_TEST_REF, &ref);
    return ref;
  };
  const std::pair clamped{GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE};

  // Off the view, on it, and without a texture: the same state afterwards.
  for (double x : {100.0, -5000.0}) {
    for (TextureName texture : {picture, TextureName(0)}) {
      DrawOverlay(texture, x, 0, 0, 100, 100, 1);
      EXPECT_FALSE(glIsEnabled(GL_BLEND));
      EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
      DrawQuad(texture, x, 0, 0, 100, 100, 0.5);
      EXPECT_TRUE(glIsEnabled(GL_BLEND));
      EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
      EXPECT_EQ(alphaRef(), 0);
      GLfloat colour[4];
      glGetFloatv(GL_CURRENT_COLOR, colour);
      EXPECT_FLOAT_EQ(colour[3], 0.5f);
    }
  }
  EXPECT_EQ(wrapOf(picture), clamped);

  DrawText(16, "Hi", fontTex, 10, 10);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_EQ(wrapOf(fontTex), (std::pair{GL_REPEAT, GL_REPEAT})) << "the font keeps repeat";

  cAnim sprite{};
  sprite.textures[1] = picture;
  sprite.SetAnimRange(tAnimSeq{1, 2, 100});
  sprite.drawWidth = sprite.drawHeight = 64;
  sprite.Draw(400, 300, 0);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
  GLint source = 0, destination = 0;
  glGetIntegerv(GL_BLEND_SRC, &source);
  glGetIntegerv(GL_BLEND_DST, &destination);
  EXPECT_EQ(source, GL_SRC_ALPHA);
  EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);
}

TEST_F(Drawing, QuadsOutsideTheSceneAreDrawnUnderAProjectionThatShowsThem) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-200, 599, 599, 0, 0, -10);  // x from -200: scene x -150 is window x 50
  DrawQuad(Solid(kRed), -150, 250, 0, 50, 100, 1);
  EXPECT_EQ(Pixel(75, 300), kRed);
  BeginFrame();
  DrawQuad(Solid(kRed), -150, 250, 0, 50, 100, 1);  // under the scene's own, nothing
  EXPECT_EQ(Pixel(75, 300), kBlack);
}
