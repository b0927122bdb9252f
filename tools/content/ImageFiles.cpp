#include "tools/content/ImageFiles.h"

#include <jpeglib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

bool MakeFolderFor(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
  if (error) std::fprintf(stderr, "cannot make the folder of %s: %s\n", path.c_str(), error.message().c_str());
  return !error;
}

}  // namespace

std::vector<uint8_t> BottomRowFirst(const Image& image) {
  const std::vector<uint8_t> topFirst = image.ToRgba8();
  std::vector<uint8_t> bottomFirst(topFirst.size());
  const size_t rowBytes = size_t(image.Width()) * 4;
  const int h = image.Height();
  for (int row = 0; row < h; ++row)
    std::copy_n(&topFirst[size_t(h - 1 - row) * rowBytes], rowBytes, &bottomFirst[size_t(row) * rowBytes]);
  return bottomFirst;
}

bool WriteTga(const std::string& path, const Image& image) {
  return WriteTga(path, image.Width(), image.Height(), BottomRowFirst(image));
}

bool WriteTga(const std::string& path, int w, int h, const std::vector<uint8_t>& rgba) {
  if (!MakeFolderFor(path)) return false;
  std::vector<uint8_t> bytes(18 + size_t(w) * h * 4, 0);
  bytes[2] = 2;  // uncompressed true colour
  bytes[12] = uint8_t(w & 255);
  bytes[13] = uint8_t(w >> 8);
  bytes[14] = uint8_t(h & 255);
  bytes[15] = uint8_t(h >> 8);
  bytes[16] = 32;
  bytes[17] = 8;  // 8 alpha bits, origin bottom left
  size_t out = 18;
  for (int row = 0; row < h; ++row) {
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = &rgba[(size_t(row) * w + x) * 4];
      bytes[out++] = p[2];
      bytes[out++] = p[1];
      bytes[out++] = p[0];
      bytes[out++] = p[3];
    }
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!file) std::fprintf(stderr, "cannot write %s\n", path.c_str());
  return bool(file);
}

bool WriteJpg(const std::string& path, const Image& image, int quality) {
  if (!MakeFolderFor(path)) return false;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return false;
  }
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = JDIMENSION(image.Width());
  info.image_height = JDIMENSION(image.Height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  for (int i = 0; i < info.num_components; ++i) {
    info.comp_info[i].h_samp_factor = 1;
    info.comp_info[i].v_samp_factor = 1;
  }
  jpeg_start_compress(&info, TRUE);
  const std::vector<uint8_t> rgba = image.ToRgba8();
  std::vector<uint8_t> row(size_t(image.Width()) * 3);
  while (info.next_scanline < info.image_height) {
    const uint8_t* src = &rgba[size_t(info.next_scanline) * image.Width() * 4];
    for (int x = 0; x < image.Width(); ++x)
      for (int c = 0; c < 3; ++c) row[size_t(x) * 3 + c] = src[x * 4 + c];
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  const bool ok = std::fclose(file) == 0;
  if (!ok) std::fprintf(stderr, "cannot write %s\n", path.c_str());
  return ok;
}
