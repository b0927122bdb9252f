// The content's TGA writer: run-length packets the game decodes to exactly the
// pixels given, each packet ending with its row.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "ContentTestFiles.h"
#include "gfx/ImageDecode.h"
#include "tools/content/ImageFiles.h"

using contenttest::ContentDir;
using contenttest::ReadBytes;

namespace {

using Rgba = std::array<uint8_t, 4>;

// A picture whose rows each exercise another packet boundary; rows bottom
// first, as the writer takes them.
std::vector<uint8_t> Awkward(int width, int height) {
  std::mt19937 random(7);
  std::vector<uint8_t> rgba;
  for (int row = 0; row < height; ++row)
    for (int x = 0; x < width; ++x) {
      Rgba p{};
      switch (row % 6) {
        case 0: p = {10, 20, 30, 255}; break;                                       // one long run
        case 1: p = {uint8_t(random()), uint8_t(random()), uint8_t(random()), 128}; break;  // no runs
        case 2: p = {uint8_t(x / 2), 0, 0, 255}; break;                             // pairs
        case 3: p = {0, 0, 0, uint8_t(x % 3 == 0 ? 0 : 1)}; break;                  // alpha alone differs
        case 4: p = {uint8_t(x == width - 1 ? 9 : x / 3), 5, 5, 5}; break;          // a lone pixel at the end
        case 5: p = {uint8_t(x < 3 ? x : 200), 1, 2, 3}; break;                     // raw then a run to the end
      }
      rgba.insert(rgba.end(), p.begin(), p.end());
    }
  return rgba;
}

// Walks the packets of a written file and gives the pixel count at which each
// packet ends.
std::vector<size_t> PacketEnds(const std::vector<uint8_t>& file) {
  std::vector<size_t> ends;
  size_t pixels = 0;
  for (size_t at = 18; at < file.size();) {
    const uint8_t packet = file[at++];
    const size_t length = (packet & 0x7F) + 1u;
    at += (packet & 0x80) ? 4 : length * 4;
    pixels += length;
    ends.push_back(pixels);
  }
  return ends;
}

}  // namespace

TEST(ContentTgaWriter, GameDecodesExactlyThePixelsWrittenWithPacketsEndingAtRows) {
  ContentDir dir;
  for (const int width : {1, 2, 3, 127, 128, 129, 300}) {
    SCOPED_TRACE("width " + std::to_string(width));
    const int height = 12;
    const std::vector<uint8_t> rgba = Awkward(width, height);
    const std::string path = dir.File("picture.tga");
    ASSERT_TRUE(WriteTga(path, width, height, rgba));
    const std::vector<uint8_t> file = ReadBytes(path);
    ASSERT_GE(file.size(), 18u);
    EXPECT_EQ(file[2], 10);  // run-length true colour
    tImage image;
    ASSERT_EQ(DecodeTga(file, image), TgaStatus::ok);
    EXPECT_EQ(image.width, width);
    EXPECT_EQ(image.height, height);
    EXPECT_EQ(image.rgba, rgba);
    // Other programs read packets row by row: none may run on into the next.
    std::vector<size_t> rowEnds;
    for (const size_t end : PacketEnds(file))
      if (end % size_t(width) == 0) rowEnds.push_back(end);
    std::vector<size_t> expected;
    for (int row = 1; row <= height; ++row) expected.push_back(size_t(row) * width);
    EXPECT_EQ(rowEnds, expected);
    EXPECT_EQ(PacketEnds(file).back(), size_t(width) * height);
  }
}

TEST(ContentTgaWriter, FlatAreasTakeAFractionOfTheUncompressedBytes) {
  ContentDir dir;
  const int width = 1024, height = 512;
  std::vector<uint8_t> rgba(size_t(width) * height * 4, 0);  // transparent, as above a level's scenery
  for (size_t i = size_t(width) * 100 * 4; i < rgba.size() / 2; i += 4) rgba[i] = uint8_t(i / 4 % 251);
  const std::string path = dir.File("screen.tga");
  ASSERT_TRUE(WriteTga(path, width, height, rgba));
  const std::vector<uint8_t> file = ReadBytes(path);
  EXPECT_LT(file.size(), rgba.size() / 2);
  tImage image;
  ASSERT_EQ(DecodeTga(file, image), TgaStatus::ok);
  EXPECT_EQ(image.rgba, rgba);
}
