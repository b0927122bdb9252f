// The application icon the content builder writes into an icon theme folder.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "ContentTestFiles.h"
#include "tools/content/Content.h"

using contenttest::ContentDir;
using contenttest::Picture;
using contenttest::ReadBytes;

namespace {

constexpr int kSizes[] = {48, 64, 128, 256};
const char* const kName = "lv.virko.Virko";

std::string IconPath(const std::string& iconDir, int size) {
  const std::string folder = std::to_string(size) + "x" + std::to_string(size);
  return iconDir + "/hicolor/" + folder + "/apps/" + kName + ".png";
}

// A PNG decoded to 8-bit RGBA with libpng's simplified reader.
Picture ReadPng(const std::string& path) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  Picture picture;
  if (!png_image_begin_read_from_file(&png, path.c_str())) {
    ADD_FAILURE() << path << ": " << png.message;
    return picture;
  }
  png.format = PNG_FORMAT_RGBA;
  picture.rgba.resize(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, picture.rgba.data(), 0, nullptr)) {
    ADD_FAILURE() << path << ": " << png.message;
    return Picture{};
  }
  picture.width = int(png.width);
  picture.height = int(png.height);
  return picture;
}

TEST(ContentIcons, EachThemeSizeIsARoundedBadgeOfItsOwnSize) {
  ContentDir dir;
  ASSERT_TRUE(BuildIcons(dir.Path(), kName));
  for (int n : kSizes) {
    SCOPED_TRACE(n);
    const Picture icon = ReadPng(IconPath(dir.Path(), n));
    ASSERT_EQ(icon.width, n);
    ASSERT_EQ(icon.height, n);
    // Clear corners around the rounded square, a solid middle, and the badge
    // reaching close to every side.
    for (auto [x, y] : {std::pair{0, 0}, {n - 1, 0}, {0, n - 1}, {n - 1, n - 1}, {n / 20, n / 20}})
      EXPECT_EQ(icon.Alpha(x, y), 0) << x << ", " << y;
    EXPECT_EQ(icon.Alpha(n / 2, n / 2), 255);
    for (auto [x, y] : {std::pair{n / 2, n / 16}, {n / 2, n - 1 - n / 16}, {n / 16, n / 2}, {n - 1 - n / 16, n / 2}})
      EXPECT_EQ(icon.Alpha(x, y), 255) << x << ", " << y;
    // The soft outer edge is the dark rim at partial cover: one colour
    // whatever its alpha, as PNG's straight alpha wants (premultiplied
    // pixels would darken as they fade).
    int edge = 0;
    int off = 0;
    const uint8_t* rim = nullptr;
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x) {
        if (icon.Alpha(x, y) < 16 || icon.Alpha(x, y) == 255) continue;
        const uint8_t* p = icon.At(x, y);
        if (!rim) rim = p;
        ++edge;
        for (int c = 0; c < 3; ++c) off += std::abs(p[c] - rim[c]) > 4 ? 1 : 0;
      }
    EXPECT_EQ(off, 0);
    EXPECT_GT(edge, n);
  }
}

TEST(ContentIcons, TwoRunsWriteTheSameBytes) {
  ContentDir dir;
  ASSERT_TRUE(BuildIcons(dir.File("first"), kName));
  ASSERT_TRUE(BuildIcons(dir.File("second"), kName));
  for (int n : kSizes) {
    const std::vector<uint8_t> first = ReadBytes(IconPath(dir.File("first"), n));
    EXPECT_FALSE(first.empty()) << n;
    EXPECT_EQ(first, ReadBytes(IconPath(dir.File("second"), n))) << n;
  }
}

TEST(ContentIcons, FailsWhenTheFolderCannotBeMade) {
  ContentDir dir;
  std::ofstream(dir.File("hicolor")) << "a file where the theme folder goes";
  testing::internal::CaptureStderr();
  EXPECT_FALSE(BuildIcons(dir.Path(), kName));
  EXPECT_NE(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
