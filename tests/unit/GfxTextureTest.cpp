// The loaders' messages and their promise to leave the caller's texture
// alone on failure. The null back end makes every texture 0, so a loader
// that succeeded sets the variable from its start value (77) to 0.
#include <gtest/gtest.h>

#include "game/Anim.h"
#include "gfx/Texture.h"
#include "platform/MessageBox.h"
#include "tests/unit/GfxPictureFiles.h"

using gfxtest::MakeJpg;
using gfxtest::MakeTga;
using gfxtest::Rgba;
using gfxtest::ScratchFolder;

namespace {

std::vector<std::string> shown;
void Collect(const std::string& caption, const std::string& text) {
  shown.push_back(caption + "|" + text);
}

Rgba Grey(int, int) { return {128, 128, 128, 255}; }

class Loaders : public ::testing::Test {
 protected:
  void SetUp() override {
    shown.clear();
    SetMessageBoxHandler(Collect);
  }
  void TearDown() override { SetMessageBoxHandler(nullptr); }
  ScratchFolder folder;
};

}  // namespace

TEST_F(Loaders, TgaLoadsAndReportsInTheGamesWords) {
  TextureName texture = 77;
  EXPECT_EQ(LoadTGA(folder.Write("ok.tga", MakeTga(8, 8, Grey)), texture), 0u);
  EXPECT_EQ(texture, 0u);
  EXPECT_TRUE(shown.empty());

  texture = 77;
  EXPECT_EQ(LoadTGA("DATA\\nowhere\\missing.tga", texture), 77u);
  std::vector<uint8_t> shortFile = MakeTga(8, 8, Grey);
  shortFile.resize(shortFile.size() - 4);
  const std::string shortName = folder.Write("short.tga", shortFile);
  EXPECT_EQ(LoadTGA(shortName, texture), 77u);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], "Load unit|Nevar iel\xE2" "d\xE7t TGA ") << "no file name";
  EXPECT_EQ(shown[1], "TGA File Error|Couldn't read file \"" + shortName + "\".");
}

TEST_F(Loaders, TgaOfAnotherTypeIsPassedOverSilently) {
  std::vector<uint8_t> file = MakeTga(8, 8, Grey);
  file[2] = 10;
  TextureName texture = 77;
  EXPECT_EQ(LoadTGA(folder.Write("rle.tga", file), texture), 77u);
  EXPECT_TRUE(shown.empty());
}

TEST_F(Loaders, TgaThatCannotBeDrawnSafelyIsRefusedWithAMessage) {
  TextureName texture = 77;
  std::vector<uint8_t> file = MakeTga(8, 8, Grey);
  file[16] = 24;
  LoadTGA(folder.Write("rgb.tga", file), texture);
  file = MakeTga(8, 8, Grey);
  file[14] = file[15] = 0;
  LoadTGA(folder.Write("flat.tga", file), texture);
  EXPECT_EQ(texture, 77u);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_NE(shown[0].find("TGA File Error|Unsupported TGA file \""), std::string::npos);
  EXPECT_NE(shown[0].find("rgb.tga\": not 32 bits per pixel."), std::string::npos);
  EXPECT_NE(shown[1].find("flat.tga\""), std::string::npos);
}

TEST_F(Loaders, JpgLoadsOrNamesTheFileThatFailed) {
  TextureName texture = 77;
  const std::vector<uint8_t> jpg = MakeJpg(16, 16, Grey);
  EXPECT_EQ(LoadJPG(folder.Write("ok.jpg", jpg), texture), 0u);
  EXPECT_TRUE(shown.empty());

  texture = 77;
  EXPECT_EQ(LoadJPG("DATA\\nowhere\\gone.jpg", texture), 77u);
  const std::string cut =
      folder.Write("cut.jpg", std::vector<uint8_t>(jpg.begin(), jpg.begin() + long(jpg.size() / 2)));
  EXPECT_EQ(LoadJPG(cut, texture), 77u);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], "BMP Unit|Nevar iel\xE2" "d\xE7t JPG - \"DATA\\nowhere\\gone.jpg\"");
  EXPECT_EQ(shown[1], "BMP Unit|Nevar iel\xE2" "d\xE7t JPG - \"" + cut + "\"");
}

TEST_F(Loaders, FramesFillSlotsFromOneAndLeaveSlotZero) {
  TextureName frames[256];
  std::fill(std::begin(frames), std::end(frames), 77u);
  EXPECT_EQ(LoadTGAFrames(folder.Write("strip.tga", MakeTga(16, 64, Grey)), frames, 0), 4);
  EXPECT_EQ(frames[0], 77u);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(frames[i], 0u) << i;
  EXPECT_EQ(frames[5], 77u);
  EXPECT_TRUE(shown.empty());
}

TEST_F(Loaders, BadStripsAreRefusedAndTouchNoSlot) {
  TextureName frames[256];
  std::fill(std::begin(frames), std::end(frames), 77u);
  const std::string uneven = folder.Write("uneven.tga", MakeTga(16, 60, Grey));
  EXPECT_EQ(LoadTGAFrames(uneven, frames, 16), 0);
  EXPECT_EQ(LoadTGAFrames(folder.Write("many.tga", MakeTga(1, 256, Grey)), frames, 1), 0);
  EXPECT_EQ(LoadTGAFrames("DATA\\nowhere\\sheet.tga", frames, 0), 0);
  for (TextureName frame : frames) ASSERT_EQ(frame, 77u);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0], "TGA File Error|Unsupported TGA file \"" + uneven +
                          "\": not a strip of 1 to 255 whole frames.");
  EXPECT_EQ(shown[2], "Load unit|Nevar iel\xE2" "d\xE7t TGA \"DATA\\nowhere\\sheet.tga\"");
}

TEST_F(Loaders, SpriteSheetIsMeasuredAndCutIntoSquareFrames) {
  cAnim sprite{};
  sprite.LoadSheet(folder.Write("sheet.tga", MakeTga(64, 256, Grey)));
  EXPECT_EQ(sprite.sheetWidth, 64);
  EXPECT_EQ(sprite.frameHeight, 64);
  EXPECT_EQ(sprite.heightRatio, 1);
  EXPECT_EQ(sprite.currentFrame, 1);
  EXPECT_TRUE(shown.empty());
}

TEST_F(Loaders, MissingOrFramelessSheetIsReportedAndLeavesTheSpriteEmpty) {
  cAnim sprite{};
  sprite.LoadSheet("DATA\\nowhere\\player.tga");
  sprite.LoadSheet(folder.Write("wide.tga", MakeTga(64, 32, Grey)));
  EXPECT_EQ(sprite.sheetWidth, 0);
  EXPECT_EQ(sprite.currentFrame, 0);
  for (TextureName frame : sprite.textures) ASSERT_EQ(frame, 0u);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], "Load unit|Nevar iel\xE2" "d\xE7t TGA \"DATA\\nowhere\\player.tga\"");
  EXPECT_NE(shown[1].find("wide.tga\": not a strip of 1 to 255 whole frames."), std::string::npos);

  sprite.SetAnimRange(tAnimSeq{1, 3, 0});
  sprite.Draw(400, 300, -0.2);  // steps, draws nothing, does not fail
  EXPECT_EQ(sprite.currentFrame, 2);
}
