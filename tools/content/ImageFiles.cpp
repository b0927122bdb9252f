#include "tools/content/ImageFiles.h"

#include <jpeglib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
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

constexpr int kMaxTgaPacket = 128;

// The run-length packets of one row of B, G, R, A pixels: a run of 2 to 128
// equal pixels as one packet, the pixels between runs in raw packets of up to
// 128.
std::vector<uint8_t> TgaRunPackets(const uint8_t* bgra, int width) {
  std::vector<uint8_t> packets;
  const auto same = [bgra](int a, int b) { return std::memcmp(bgra + size_t(a) * 4, bgra + size_t(b) * 4, 4) == 0; };
  for (int x = 0; x < width;) {
    int run = 1;
    while (x + run < width && run < kMaxTgaPacket && same(x, x + run)) ++run;
    if (run > 1) {
      packets.push_back(uint8_t(0x80 | (run - 1)));
      packets.insert(packets.end(), bgra + size_t(x) * 4, bgra + size_t(x) * 4 + 4);
      x += run;
      continue;
    }
    // Raw pixels up to the next pair of equal ones, which a run stores in less.
    int raw = 1;
    while (x + raw < width && raw < kMaxTgaPacket && !(x + raw + 1 < width && same(x + raw, x + raw + 1))) ++raw;
    packets.push_back(uint8_t(raw - 1));
    packets.insert(packets.end(), bgra + size_t(x) * 4, bgra + size_t(x + raw) * 4);
    x += raw;
  }
  return packets;
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
  std::vector<uint8_t> bytes(18, 0);
  bytes[2] = 10;  // run-length encoded true colour
  bytes[12] = uint8_t(w & 255);
  bytes[13] = uint8_t(w >> 8);
  bytes[14] = uint8_t(h & 255);
  bytes[15] = uint8_t(h >> 8);
  bytes[16] = 32;
  bytes[17] = 8;  // 8 alpha bits, origin bottom left
  std::vector<uint8_t> bgra(size_t(w) * 4);
  for (int row = 0; row < h; ++row) {
    const uint8_t* p = &rgba[size_t(row) * w * 4];
    for (size_t i = 0; i < bgra.size(); i += 4) {
      bgra[i] = p[i + 2];
      bgra[i + 1] = p[i + 1];
      bgra[i + 2] = p[i];
      bgra[i + 3] = p[i + 3];
    }
    const std::vector<uint8_t> packets = TgaRunPackets(bgra.data(), w);
    bytes.insert(bytes.end(), packets.begin(), packets.end());
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
