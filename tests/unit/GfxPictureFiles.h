// Picture files made on the fly for the texture tests: TGA bytes with any
// header, JPG bytes from libjpeg, ImageMagick's files where another program's
// way of writing them matters, and a scratch folder to write them into.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
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

// The same picture run-length encoded (type 10), at the TGA's own depth: a
// run packet wherever a pixel repeats, raw packets between, packets running
// on from row to row as the pixels come.
inline std::vector<uint8_t> RunLengthTga(const std::vector<uint8_t>& plain) {
  const size_t bytes = plain[16] / 8u;
  const size_t count = size_t(plain[12] + 256 * plain[13]) * (plain[14] + 256 * plain[15]);
  std::vector<uint8_t> file(plain.begin(), plain.begin() + 18);
  file[2] = 10;
  const uint8_t* pixels = plain.data() + 18;
  auto same = [&](size_t a, size_t b) {
    return std::equal(pixels + a * bytes, pixels + (a + 1) * bytes, pixels + b * bytes);
  };
  for (size_t i = 0; i < count;) {
    size_t n = 1;
    if (i + 1 < count && same(i, i + 1)) {
      while (n < 128 && i + n < count && same(i, i + n)) ++n;
      file.push_back(uint8_t(0x80 | (n - 1)));
      file.insert(file.end(), pixels + i * bytes, pixels + (i + 1) * bytes);
    } else {
      while (n < 128 && i + n < count && !(i + n + 1 < count && same(i + n, i + n + 1))) ++n;
      file.push_back(uint8_t(n - 1));
      file.insert(file.end(), pixels + i * bytes, pixels + (i + n) * bytes);
    }
    i += n;
  }
  return file;
}

// The same picture at 24 bits, its alphas dropped.
inline std::vector<uint8_t> TwentyFourBitTga(const std::vector<uint8_t>& plain) {
  std::vector<uint8_t> file(plain.begin(), plain.begin() + 18);
  file[16] = 24;
  for (size_t i = 18; i + 4 <= plain.size(); i += 4)
    file.insert(file.end(), plain.begin() + long(i), plain.begin() + long(i) + 3);
  return file;
}

// A TGA header alone: image type, size, bits per pixel and descriptor byte.
inline std::vector<uint8_t> TgaHeader(uint8_t type, int width, int height, uint8_t depth,
                                      uint8_t descriptor = 0) {
  std::vector<uint8_t> header(18);
  header[2] = type;
  header[12] = uint8_t(width);
  header[13] = uint8_t(width >> 8);
  header[14] = uint8_t(height);
  header[15] = uint8_t(height >> 8);
  header[16] = depth;
  header[17] = descriptor;
  return header;
}

enum class JpgKind {
  baseline,
  progressive,
  separateScans,  // sequential, a scan for each component
  grey,
  cmyk,  // inverted inks with Adobe's marker, as Photoshop writes them
  ycck,  // the same inks, stored as YCCK
  arithmetic,  // sequential, arithmetic-coded
  arithmeticProgressive,
};

// A JPG of quality 100; colourAt as for MakeTga (alpha ignored).
inline std::vector<uint8_t> MakeJpg(int width, int height,
                                    const std::function<Rgba(int, int)>& colourAt,
                                    JpgKind kind = JpgKind::baseline) {
  jpeg_compress_struct encoder;
  jpeg_error_mgr errors;
  encoder.err = jpeg_std_error(&errors);
  jpeg_create_compress(&encoder);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&encoder, &out, &size);
  encoder.image_width = JDIMENSION(width);
  encoder.image_height = JDIMENSION(height);
  const bool inks = kind == JpgKind::cmyk || kind == JpgKind::ycck;
  encoder.input_components = inks ? 4 : kind == JpgKind::grey ? 1 : 3;
  encoder.in_color_space = inks ? JCS_CMYK : kind == JpgKind::grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&encoder);
  if (kind == JpgKind::ycck) jpeg_set_colorspace(&encoder, JCS_YCCK);
  if (kind == JpgKind::progressive || kind == JpgKind::arithmeticProgressive)
    jpeg_simple_progression(&encoder);
  encoder.arith_code = kind == JpgKind::arithmetic || kind == JpgKind::arithmeticProgressive;
  static const jpeg_scan_info kScanEach[] = {
      {1, {0}, 0, 63, 0, 0}, {1, {1}, 0, 63, 0, 0}, {1, {2}, 0, 63, 0, 0}};
  if (kind == JpgKind::separateScans) {
    encoder.scan_info = kScanEach;
    encoder.num_scans = 3;
  }
  jpeg_set_quality(&encoder, 100, TRUE);
  jpeg_start_compress(&encoder, TRUE);
  std::vector<uint8_t> row(size_t(width) * 4);
  while (encoder.next_scanline < encoder.image_height) {
    uint8_t* p = row.data();
    for (int x = 0; x < width; ++x) {
      const Rgba c = colourAt(x, int(encoder.next_scanline));
      if (kind == JpgKind::grey) {
        *p++ = c.r;
      } else if (inks) {
        // Black takes what the brightest channel leaves; an ink, stored
        // inverted, what its channel lacks of the brightest.
        const int brightest = std::max({c.r, c.g, c.b});
        for (int channel : {c.r, c.g, c.b})
          *p++ = uint8_t(brightest == 0 ? 0 : (channel * 255 + brightest / 2) / brightest);
        *p++ = uint8_t(brightest);
      } else {
        *p++ = c.r;
        *p++ = c.g;
        *p++ = c.b;
      }
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
  std::string Path(const std::string& name) const { return (path_ / name).string(); }
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

// Whether ImageMagick's convert is there to run (the setup script installs it).
inline bool HaveImageMagick() {
  static const bool there = std::system("command -v convert >/dev/null 2>&1") == 0;
  return there;
}

// Runs ImageMagick's convert in the folder, as in "in.tga -compress RLE
// out.tga", and returns the file it wrote: empty when convert failed.
inline std::vector<uint8_t> ImageMagick(const ScratchFolder& folder, const std::string& args,
                                        const std::string& written) {
  const std::string command = "cd '" + folder.Path("") + "' && convert " + args + " 2>/dev/null";
  if (std::system(command.c_str()) != 0) return {};
  std::ifstream in(folder.Path(written), std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace gfxtest
