// Picture files made on the fly for the texture tests: TGA bytes with any
// header, JPG bytes from libjpeg, and a scratch folder to write them into.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace gfxtest {

struct Rgba {
  uint8_t r, g, b, a;
  bool operator==(const Rgba&) const = default;
};

// A 32-bit uncompressed TGA, rows stored bottom first as the game's files
// are; colourAt(x, y) gives the pixel with y counted from the picture's top.
inline std::vector<uint8_t> MakeTga(int width, int height,
                                    const std::function<Rgba(int, int)>& colourAt) {
  std::vector<uint8_t> file(18 + size_t(width) * height * 4);
  file[2] = 2;
  file[12] = uint8_t(width);
  file[13] = uint8_t(width >> 8);
  file[14] = uint8_t(height);
  file[15] = uint8_t(height >> 8);
  file[16] = 32;
  for (int row = 0; row < height; ++row) {
    for (int x = 0; x < width; ++x) {
      const Rgba c = colourAt(x, height - 1 - row);
      uint8_t* p = &file[18 + (size_t(row) * width + x) * 4];
      p[0] = c.b;
      p[1] = c.g;
      p[2] = c.r;
      p[3] = c.a;
    }
  }
  return file;
}

// A baseline JPG of quality 100; colourAt as for MakeTga (alpha ignored).
inline std::vector<uint8_t> MakeJpg(int width, int height,
                                    const std::function<Rgba(int, int)>& colourAt) {
  jpeg_compress_struct encoder;
  jpeg_error_mgr errors;
  encoder.err = jpeg_std_error(&errors);
  jpeg_create_compress(&encoder);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&encoder, &out, &size);
  encoder.image_width = JDIMENSION(width);
  encoder.image_height = JDIMENSION(height);
  encoder.input_components = 3;
  encoder.in_color_space = JCS_RGB;
  jpeg_set_defaults(&encoder);
  jpeg_set_quality(&encoder, 100, TRUE);
  jpeg_start_compress(&encoder, TRUE);
  std::vector<uint8_t> row(size_t(width) * 3);
  while (encoder.next_scanline < encoder.image_height) {
    for (int x = 0; x < width; ++x) {
      const Rgba c = colourAt(x, int(encoder.next_scanline));
      row[size_t(x) * 3] = c.r;
      row[size_t(x) * 3 + 1] = c.g;
      row[size_t(x) * 3 + 2] = c.b;
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&encoder, rows, 1);
  }
  jpeg_finish_compress(&encoder);
  jpeg_destroy_compress(&encoder);
  std::vector<uint8_t> bytes(out, out + size);
  std::free(out);
  return bytes;
}

// A folder of its own under the system's temporary folder, removed again
// when the test ends.
class ScratchFolder {
 public:
  ScratchFolder() {
    static int serial = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("virko_gfx_" + std::to_string(getpid()) + "_" + std::to_string(serial++));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  // Writes the bytes and returns the file's full path.
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    const std::filesystem::path file = path_ / name;
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return file.string();
  }

 private:
  std::filesystem::path path_;
};

}  // namespace gfxtest
