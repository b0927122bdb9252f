// The loaders' messages and their promise to leave the caller's texture
// alone on failure. The null back end makes every texture 0, so a loader
// that succeeded sets the variable from its start value (77) to 0.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "game/Anim.h"
#include "gfx/PicturesAhead.h"
#include "gfx/Texture.h"
#include "platform/MessageBox.h"
#include "tests/unit/GfxPictureFiles.h"

using gfxtest::JpgKind;
using gfxtest::MakeJpg;
using gfxtest::MakeTga;
using gfxtest::Rgba;
using gfxtest::RunLengthTga;
using gfxtest::ScratchFolder;
using gfxtest::TgaHeader;
using gfxtest::TwentyFourBitTga;

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

TEST_F(Loaders, EveryTgaRefusalNamesTheFileAndWhy) {
  std::vector<uint8_t> noPicture = MakeTga(8, 8, Grey);
  noPicture[2] = 0;
  std::vector<uint8_t> sixteenBit = TgaHeader(2, 8, 8, 16);
  sixteenBit.resize(18 + 8 * 8 * 2);
  std::vector<uint8_t> flat = MakeTga(8, 8, Grey);
  flat[14] = flat[15] = 0;
  std::vector<uint8_t> noMap = TgaHeader(1, 8, 8, 8);
  noMap.resize(18 + 64);
  std::vector<uint8_t> offTheMap = TgaHeader(9, 8, 8, 8);
  offTheMap[1] = 1;
  offTheMap[5] = 1;
  offTheMap[7] = 24;
  offTheMap.insert(offTheMap.end(), {9, 9, 9, 0xBF, 3});  // a run of 64 of colour 3
  std::vector<uint8_t> overrun = TgaHeader(10, 8, 8, 24);
  overrun.insert(overrun.end(), {0xFF, 1, 2, 3});  // a run of 128
  std::vector<uint8_t> cut = RunLengthTga(MakeTga(8, 8, [](int x, int y) {
    return Rgba{uint8_t(x), uint8_t(y), 0, 255};
  }));
  cut.resize(cut.size() - 2);

  const struct {
    const char* name;
    const std::vector<uint8_t>& file;
    std::string says;  // after the file's name
  } cases[] = {
      {"none.tga", noPicture, "\": not a true-colour, greyscale or colour-mapped picture."},
      {"16bit.tga", sixteenBit,
       "\": not a pixel depth it is read at (true colour 24 or 32 bits, greyscale 8 or 16, "
       "colour-mapped 8)."},
      {"flat.tga", flat, "\": a side of 0 or a picture too large."},
      {"nomap.tga", noMap, "\": its colour map is missing or not of 24- or 32-bit colours."},
      {"offmap.tga", offTheMap, "\": a pixel's colour is not in its colour map."},
      {"overrun.tga", overrun, "\": its run-length packets run past the end of the picture."},
      {"cut.tga", cut, "\": the file ends inside its pixels."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder.Write(c.name, c.file);
    TextureName texture = 77;
    TextureName frames[256];
    std::fill(std::begin(frames), std::end(frames), 77u);
    shown.clear();
    EXPECT_EQ(LoadTGA(path, texture), 77u);
    EXPECT_EQ(LoadTGAFrames(path, frames, 0), 0);
    for (TextureName frame : frames) ASSERT_EQ(frame, 77u);
    ASSERT_EQ(shown.size(), 2u) << "the picture and the strip loader each say why";
    EXPECT_EQ(shown[0], shown[1]);
    const std::string start = "TGA File Error|";
    EXPECT_TRUE(shown[0] == start + "Unsupported TGA file \"" + path + c.says ||
                shown[0] == start + "Couldn't read file \"" + path + c.says)
        << shown[0];
  }
}

TEST_F(Loaders, RunLengthAndTwentyFourBitPicturesLoadLikeTheGamesOwn) {
  TextureName texture = 77;
  std::vector<uint8_t> topFirst = RunLengthTga(MakeTga(8, 8, Grey));
  topFirst[17] = 0x20;
  EXPECT_EQ(LoadTGA(folder.Write("rle.tga", topFirst), texture), 0u);
  texture = 77;
  EXPECT_EQ(LoadTGA(folder.Write("rgb.tga", TwentyFourBitTga(MakeTga(8, 8, Grey))), texture), 0u);

  TextureName frames[256];
  std::fill(std::begin(frames), std::end(frames), 77u);
  const std::string strip =
      folder.Write("strip.tga", RunLengthTga(TwentyFourBitTga(MakeTga(16, 64, Grey))));
  EXPECT_EQ(LoadTGAFrames(strip, frames, 16), 4);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(frames[i], 0u) << i;

  // The sprite sheet is measured from the header and cut into square
  // frames as it is decoded.
  cAnim sprite{};
  sprite.LoadSheet(strip);
  EXPECT_EQ(sprite.sheetWidth, 16);
  EXPECT_EQ(sprite.frameHeight, 16);
  EXPECT_EQ(sprite.heightRatio, 1);
  EXPECT_EQ(sprite.currentFrame, 1);
  EXPECT_TRUE(shown.empty());
}

TEST_F(Loaders, JpgLoadsOrNamesTheFileThatFailed) {
  TextureName texture = 77;
  const std::vector<uint8_t> jpg = MakeJpg(16, 16, Grey);
  EXPECT_EQ(LoadJPG(folder.Write("ok.jpg", jpg), texture), 0u);
  EXPECT_TRUE(shown.empty());

  texture = 77;
  EXPECT_EQ(LoadJPG("DATA\\nowhere\\gone.jpg", texture), 77u);
  const std::vector<uint8_t> detailed =
      MakeJpg(64, 64, [](int x, int y) { return Rgba{uint8_t(x * 4), uint8_t(y * 4), 9, 255}; });
  const std::string cut = folder.Write(
      "cut.jpg", std::vector<uint8_t>(detailed.begin(), detailed.end() - long(detailed.size() / 4)));
  EXPECT_EQ(LoadJPG(cut, texture), 77u);
  // The frame header announcing 16144 x 1808 pixels.
  std::vector<uint8_t> bomb = jpg;
  for (size_t i = 0; i + 8 < bomb.size(); ++i) {
    if (bomb[i] == 0xFF && bomb[i + 1] == 0xC0) {
      bomb[i + 5] = 0x07;
      bomb[i + 7] = 0x3F;
      break;
    }
  }
  const std::string huge = folder.Write("huge.jpg", bomb);
  EXPECT_EQ(LoadJPG(huge, texture), 77u);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0], "BMP Unit|Nevar iel\xE2" "d\xE7t JPG - \"DATA\\nowhere\\gone.jpg\"");
  // A file the decoder refused: why, after the game's words.
  const std::string cannotLoad = "BMP Unit|Nevar iel\xE2" "d\xE7t JPG - \"";
  EXPECT_EQ(shown[1], cannotLoad + cut + "\"\nCorrupt JPEG data: premature end of data segment");
  EXPECT_EQ(shown[2], cannotLoad + huge + "\"\nit announces more pixels than its data can hold");
}

TEST_F(Loaders, JpgWithHarmlessFlawsOrInCmykLoads) {
  const std::vector<uint8_t> jpg = MakeJpg(16, 16, Grey);
  std::vector<uint8_t> stray = jpg;
  stray.insert(stray.end() - 2, {0, 0, 0});  // before the end marker
  const std::vector<uint8_t> endless(jpg.begin(), jpg.end() - 2);
  const std::pair<const char*, std::vector<uint8_t>> files[] = {
      {"stray.jpg", stray},
      {"endless.jpg", endless},
      {"cmyk.jpg", MakeJpg(16, 16, Grey, JpgKind::cmyk)}};
  for (const auto& [name, file] : files) {
    TextureName texture = 77;
    EXPECT_EQ(LoadJPG(folder.Write(name, file), texture), 0u) << name;
  }
  EXPECT_TRUE(shown.empty());
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
  EXPECT_EQ(LoadTGAFrames("DATA\\nowhere\\sheet.tga", frames, 0), 0);
  for (TextureName frame : frames) ASSERT_EQ(frame, 77u);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], "TGA File Error|Unsupported TGA file \"" + uneven +
                          "\": not a strip of 1 to 255 whole frames.");
  EXPECT_EQ(shown[1], "Load unit|Nevar iel\xE2" "d\xE7t TGA \"DATA\\nowhere\\sheet.tga\"");
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

// Pictures decoded ahead (PicturesAhead.h) load as the same pixels and fail
// with the same messages as pictures decoded by the loader, however far the
// preparing thread has got; a name prepared twice serves two loads.
TEST_F(Loaders, PicturesDecodedAheadLoadAndFailAsTheLoadersOwn) {
  std::vector<uint8_t> damaged = MakeTga(8, 8, Grey);
  damaged.resize(damaged.size() - 4);
  const std::vector<std::string> names = {
      folder.Write("ok.tga", MakeTga(8, 8, Grey)), folder.Write("damaged.tga", damaged),
      "DATA\\nowhere\\missing.tga", folder.Write("ok.jpg", MakeJpg(16, 16, Grey)),
      folder.Write("bad.jpg", std::vector<uint8_t>(40, 0xFF)), "DATA\\nowhere\\missing.jpg"};
  const auto loadAll = [&] {
    shown.clear();
    for (const std::string& name : names) {
      TextureName texture = 77;
      if (name.ends_with(".jpg"))
        LoadJPG(name, texture);
      else
        LoadTGA(name, texture);
    }
    return shown;
  };
  const std::vector<std::string> unprepared = loadAll();
  ASSERT_EQ(unprepared.size(), 4u);
  for (int round = 0; round < 20; ++round) {
    std::vector<std::string> twice = names;
    twice.insert(twice.end(), names.begin(), names.end());
    PreparePictures(twice);
    if (round % 2) std::this_thread::sleep_for(std::chrono::milliseconds(round));
    EXPECT_EQ(loadAll(), unprepared) << "round " << round;
    EXPECT_EQ(loadAll(), unprepared) << "round " << round;
    for (const std::string& name : names) {
      const bool jpg = name.ends_with(".jpg");
      const tPreparedPicture now = DecodePicture(name, jpg), taken = TakePreparedPicture(name, jpg);
      EXPECT_EQ(taken.image.rgba, now.image.rgba) << name;
    }
  }
  StopPreparingPictures();
}
