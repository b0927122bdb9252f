// Reading back what the content builder wrote: a fresh folder per test, the
// TGA and JPG pictures decoded to pixels, and small level files.
#pragma once

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gfx/ImageDecode.h"

namespace contenttest {

// An empty folder named after the running test, removed when it goes.
class ContentDir {
 public:
  ContentDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("virko-content-" + std::string(info->name()) + "-" + std::to_string(getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ContentDir() { std::filesystem::remove_all(path_); }
  std::string Path() const { return path_.string(); }
  std::string File(const std::string& relative) const { return (path_ / relative).string(); }

 private:
  std::filesystem::path path_;
};

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Pixels with row 0 at the top, four bytes R, G, B, A each.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
  const uint8_t* At(int x, int y) const { return &rgba[(size_t(y) * width + x) * 4]; }
  int Alpha(int x, int y) const { return At(x, y)[3]; }
};

// A TGA as the content writes it (32 bits, no image ID, rows stored bottom
// first, in run-length packets that end with their row), decoded by the
// game's own reader.
inline Picture ReadTga(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadBytes(path);
  Picture picture;
  if (bytes.size() < 18) {
    ADD_FAILURE() << path << ": no TGA header";
    return picture;
  }
  EXPECT_EQ(bytes[0], 0) << path << ": image ID field";
  EXPECT_EQ(bytes[2], 10) << path << ": image type";
  EXPECT_EQ(bytes[16], 32) << path << ": bits per pixel";
  EXPECT_EQ(bytes[17] & 0x20, 0) << path << ": rows must be stored bottom first";
  tImage image;
  const TgaStatus status = DecodeTga(bytes, image);
  if (status != TgaStatus::ok) {
    ADD_FAILURE() << path << ": refused by the game's reader (" << int(status) << ")";
    return picture;
  }
  picture.width = image.width;
  picture.height = image.height;
  picture.rgba.resize(image.rgba.size());
  const size_t rowBytes = size_t(image.width) * 4;
  for (int y = 0; y < image.height; ++y)
    std::copy_n(&image.rgba[size_t(image.height - 1 - y) * rowBytes], rowBytes, &picture.rgba[y * rowBytes]);
  return picture;
}

// A JPG decoded with libjpeg, as the game's loader does; opaque.
inline Picture ReadJpg(const std::string& path) {
  Picture picture;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    ADD_FAILURE() << path << ": missing";
    return picture;
  }
  jpeg_decompress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  picture.width = int(info.output_width);
  picture.height = int(info.output_height);
  picture.rgba.resize(size_t(picture.width) * picture.height * 4);
  std::vector<uint8_t> row(size_t(picture.width) * 3);
  while (info.output_scanline < info.output_height) {
    const int y = int(info.output_scanline);
    JSAMPROW rows[1] = {row.data()};
    jpeg_read_scanlines(&info, rows, 1);
    for (int x = 0; x < picture.width; ++x) {
      uint8_t* q = &picture.rgba[(size_t(y) * picture.width + x) * 4];
      q[0] = row[size_t(x) * 3];
      q[1] = row[size_t(x) * 3 + 1];
      q[2] = row[size_t(x) * 3 + 2];
      q[3] = 255;
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  std::fclose(file);
  return picture;
}

// Pixels of a rectangle of a picture whose alpha is above a threshold.
inline int CountOpaque(const Picture& p, int x0, int y0, int w, int h, int threshold = 0) {
  int count = 0;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) count += p.Alpha(x, y) > threshold;
  return count;
}

// Pixels that differ clearly between two equal rectangles of two pictures.
inline int CountDifferent(const Picture& a, int ay, const Picture& b, int by, int w, int h) {
  int count = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = a.At(x, ay + y);
      const uint8_t* q = b.At(x, by + y);
      int d = 0;
      for (int c = 0; c < 4; ++c) d += std::abs(int(p[c]) - int(q[c]));
      count += d > 60;
    }
  return count;
}

// A binary level file: the given numbers as little-endian 32-bit floats.
inline void WriteLevel(const std::string& path, const std::vector<float>& numbers) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(numbers.data()), std::streamsize(numbers.size() * 4));
}

}  // namespace contenttest
