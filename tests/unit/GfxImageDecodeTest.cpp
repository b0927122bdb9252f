#include <gtest/gtest.h>

#include "gfx/ImageDecode.h"
#include "tests/unit/GfxPictureFiles.h"

using gfxtest::MakeJpg;
using gfxtest::MakeTga;
using gfxtest::Rgba;

namespace {

Rgba PixelAt(const tImage& image, int x, int row) {
  const uint8_t* p = &image.rgba[(size_t(row) * image.width + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

// Red on top, green at the bottom, x in the blue channel.
Rgba TopRedBottomGreen(int x, int y) {
  return y == 0 ? Rgba{200, 10, uint8_t(x), 255} : Rgba{10, 200, uint8_t(x), 128};
}

}  // namespace

TEST(TgaDecode, SwapsToRgbaAndKeepsTheBottomRowFirst) {
  tImage image;
  ASSERT_EQ(DecodeTga(MakeTga(3, 2, TopRedBottomGreen), image), TgaStatus::ok);
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(PixelAt(image, 2, 0), (Rgba{10, 200, 2, 128}));  // bottom row
  EXPECT_EQ(PixelAt(image, 1, 1), (Rgba{200, 10, 1, 255}));  // top row
}

TEST(TgaDecode, SkipsTheImageIdAndTurnsTopFirstPictures) {
  std::vector<uint8_t> file = MakeTga(3, 2, TopRedBottomGreen);
  file[0] = 4;  // an ID field of four bytes before the pixels
  file.insert(file.begin() + 18, {'n', 'a', 'm', 'e'});
  tImage image;
  ASSERT_EQ(DecodeTga(file, image), TgaStatus::ok);
  EXPECT_EQ(PixelAt(image, 0, 0), (Rgba{10, 200, 0, 128}));

  // The same rows stored top first: the descriptor says so, the decoder
  // turns them back.
  std::vector<uint8_t> topFirst = MakeTga(3, 2, TopRedBottomGreen);
  std::swap_ranges(topFirst.begin() + 18, topFirst.begin() + 30, topFirst.begin() + 30);
  topFirst[17] = 0x20;
  ASSERT_EQ(DecodeTga(topFirst, image), TgaStatus::ok);
  EXPECT_EQ(PixelAt(image, 0, 0), (Rgba{10, 200, 0, 128}));
  EXPECT_EQ(PixelAt(image, 0, 1), (Rgba{200, 10, 0, 255}));
}

TEST(TgaDecode, RefusesWhatItCannotReadSafely) {
  const std::vector<uint8_t> good = MakeTga(4, 4, TopRedBottomGreen);
  tImage image;
  image.width = 99;

  EXPECT_EQ(DecodeTga(std::span(good.data(), 17), image), TgaStatus::shortHeader);
  EXPECT_EQ(DecodeTga(std::span(good.data(), good.size() - 1), image), TgaStatus::shortPixels);

  std::vector<uint8_t> bad = good;
  bad[2] = 10;  // run-length encoded
  EXPECT_EQ(DecodeTga(bad, image), TgaStatus::notTrueColour);
  bad = good;
  bad[16] = 24;
  EXPECT_EQ(DecodeTga(bad, image), TgaStatus::not32Bit);
  bad = good;
  bad[12] = bad[13] = 0;
  EXPECT_EQ(DecodeTga(bad, image), TgaStatus::badSize);
  bad = good;
  bad[15] = 0x41;  // 16644 rows
  EXPECT_EQ(DecodeTga(bad, image), TgaStatus::badSize);
  bad = good;
  bad[0] = 255;  // an ID field that eats the pixels
  EXPECT_EQ(DecodeTga(bad, image), TgaStatus::shortPixels);
  // A header claiming more than the file holds is refused before anything
  // is allocated for it.
  bad = good;
  bad[12] = bad[14] = 0;
  bad[13] = bad[15] = 0x10;  // 4096 x 4096
  EXPECT_EQ(DecodeTga(bad, image), TgaStatus::shortPixels);

  EXPECT_EQ(image.width, 99) << "a refused file leaves the image alone";
}

TEST(FrameStrip, CountsWholeFramesOnly) {
  EXPECT_EQ(CutFrameStrip(64, 256, 0).count, 4) << "frame height 0: square frames";
  EXPECT_EQ(CutFrameStrip(64, 256, 0).frameHeight, 64);
  EXPECT_EQ(CutFrameStrip(64, 256, 32).count, 8);
  EXPECT_EQ(CutFrameStrip(64, 200, 66).count, 0) << "not a whole number of frames";
  EXPECT_EQ(CutFrameStrip(64, 32, 0).count, 0) << "shorter than one frame";
  EXPECT_EQ(CutFrameStrip(64, 100, -10).count, 0);
  EXPECT_EQ(CutFrameStrip(1, 255, 1).count, 255);
  EXPECT_EQ(CutFrameStrip(1, 256, 1).count, 0) << "more frames than a sprite holds";
}

TEST(FrameStrip, FrameOneIsTheTopOfThePicture) {
  // Three 2 x 2 frames, each a colour of its own, top to bottom.
  const std::vector<uint8_t> file = MakeTga(2, 6, [](int, int y) {
    return Rgba{uint8_t(10 + y / 2), 0, 0, 255};
  });
  tImage strip;
  ASSERT_EQ(DecodeTga(file, strip), TgaStatus::ok);
  const tFrameStrip frames = CutFrameStrip(2, 6, 2);
  ASSERT_EQ(frames.count, 3);
  for (int i = 1; i <= 3; ++i) {
    const uint8_t* first = FramePixels(strip, frames, i);
    const uint8_t* last = first + 2 * 2 * 4 - 4;
    EXPECT_EQ(first[0], 10 + i - 1) << "frame " << i;
    EXPECT_EQ(last[0], 10 + i - 1) << "frame " << i;
  }
}

TEST(JpgDecode, GivesAnOpaquePictureBottomRowFirst) {
  const std::vector<uint8_t> file = MakeJpg(16, 16, [](int, int y) {
    return y < 8 ? Rgba{250, 250, 250, 0} : Rgba{0, 0, 0, 0};
  });
  tImage image;
  ASSERT_TRUE(DecodeJpg(file, image));
  ASSERT_EQ(image.width, 16);
  ASSERT_EQ(image.height, 16);
  for (size_t i = 3; i < image.rgba.size(); i += 4) ASSERT_EQ(image.rgba[i], 255);
  EXPECT_LT(PixelAt(image, 3, 0).r, 20) << "row 0 is the dark bottom";
  EXPECT_GT(PixelAt(image, 3, 15).r, 230) << "the last row is the light top";
}

TEST(JpgDecode, RefusesDamagedFiles) {
  const std::vector<uint8_t> file =
      MakeJpg(64, 64, [](int x, int y) { return Rgba{uint8_t(x * 4), uint8_t(y * 4), 9, 0}; });
  tImage image;
  image.width = 99;
  EXPECT_FALSE(DecodeJpg(std::span(file.data(), file.size() / 2), image)) << "truncated";
  EXPECT_FALSE(DecodeJpg(std::span(file.data(), 0), image)) << "empty";
  std::vector<uint8_t> garbage(500, 0x5A);
  EXPECT_FALSE(DecodeJpg(garbage, image));
  std::vector<uint8_t> huge = file;
  // The frame header's height and width (after FFC0, length, precision).
  for (size_t i = 0; i + 8 < huge.size(); ++i) {
    if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
      huge[i + 5] = huge[i + 7] = 0xFF;
      huge[i + 6] = huge[i + 8] = 0xF0;
      break;
    }
  }
  EXPECT_FALSE(DecodeJpg(huge, image)) << "65520 x 65520 announced";
  EXPECT_EQ(image.width, 99);
}
