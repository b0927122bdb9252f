#include "tools/content/VideoPictures.h"

#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "gfx/ImageDecode.h"

namespace {

// Decoded as the game decodes it, turned top row first.
std::optional<Picture> ReadTga(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  tImage image;
  if (DecodeTga(bytes, image) != TgaStatus::ok) return std::nullopt;
  Picture picture{image.width, image.height, std::vector<uint8_t>(image.rgba.size())};
  const size_t rowBytes = size_t(image.width) * 4;
  for (int row = 0; row < image.height; ++row)
    std::copy_n(&image.rgba[(size_t(image.height) - 1 - row) * rowBytes], rowBytes, &picture.rgba[row * rowBytes]);
  return picture;
}

struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1); }

std::optional<Picture> ReadJpg(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::nullopt;
  jpeg_decompress_struct info;
  JpegError error;
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = OnJpegError;
  Picture picture;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return std::nullopt;
  }
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
    const size_t y = info.output_scanline;
    JSAMPROW rows[1] = {row.data()};
    jpeg_read_scanlines(&info, rows, 1);
    for (int x = 0; x < picture.width; ++x) {
      uint8_t* out = &picture.rgba[(y * picture.width + x) * 4];
      std::copy_n(&row[size_t(x) * 3], 3, out);
      out[3] = 255;
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  std::fclose(file);
  return picture;
}

bool EndsWith(const std::string& text, const char* tail) {
  const std::string end(tail);
  if (text.size() < end.size()) return false;
  return std::equal(end.rbegin(), end.rend(), text.rbegin(),
                    [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

uint8_t ToByte(float value) { return uint8_t(std::clamp(value, 0.0f, 255.0f) + 0.5f); }

}  // namespace

std::optional<Picture> ReadPicture(const std::string& path) {
  if (EndsWith(path, ".tga")) return ReadTga(path);
  if (EndsWith(path, ".jpg")) return ReadJpg(path);
  return std::nullopt;
}

Frame::Frame(int width, int height) : width_(width), height_(height), rgb_(size_t(width) * height * 3) {}

void Frame::Clear(Colour colour) { VerticalGradient(colour, colour); }

void Frame::VerticalGradient(Colour top, Colour bottom) {
  for (int y = 0; y < height_; ++y) {
    const float t = height_ > 1 ? float(y) / float(height_ - 1) : 0.0f;
    const uint8_t r = ToByte(top.r + (bottom.r - top.r) * t), g = ToByte(top.g + (bottom.g - top.g) * t),
                  b = ToByte(top.b + (bottom.b - top.b) * t);
    for (int x = 0; x < width_; ++x) {
      uint8_t* p = &rgb_[(size_t(y) * width_ + x) * 3];
      p[0] = r;
      p[1] = g;
      p[2] = b;
    }
  }
}

void Frame::Blend(int x, int y, float r, float g, float b, float alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0.0f) return;
  uint8_t* p = &rgb_[(size_t(y) * width_ + x) * 3];
  p[0] = ToByte(p[0] + (r - p[0]) * alpha);
  p[1] = ToByte(p[1] + (g - p[1]) * alpha);
  p[2] = ToByte(p[2] + (b - p[2]) * alpha);
}

void Frame::Draw(const Picture& picture, int x, int y, float alpha) {
  const int left = std::max(0, x), right = std::min(width_, x + picture.width);
  const int top = std::max(0, y), bottom = std::min(height_, y + picture.height);
  const int level = int(alpha * 256.0f);
  for (int row = top; row < bottom; ++row) {
    const uint8_t* in = &picture.rgba[(size_t(row - y) * picture.width + (left - x)) * 4];
    uint8_t* out = &rgb_[(size_t(row) * width_ + left) * 3];
    for (int column = left; column < right; ++column, in += 4, out += 3) {
      const int a = in[3] * level >> 8;  // 0..255
      if (a == 0) continue;
      for (int c = 0; c < 3; ++c) out[c] = uint8_t(out[c] + ((in[c] - out[c]) * a + 127) / 255);
    }
  }
}

void Frame::DrawScaled(const Picture& picture, int srcX, int srcY, int srcW, int srcH, double x, double y,
                       double w, double h, Colour tint, float alpha, bool mirrored) {
  if (w <= 0 || h <= 0 || srcW <= 0 || srcH <= 0) return;
  const int left = std::max(0, int(std::floor(x))), right = std::min(width_, int(std::ceil(x + w)));
  const int top = std::max(0, int(std::floor(y))), bottom = std::min(height_, int(std::ceil(y + h)));
  auto texel = [&](int tx, int ty, int c) {
    tx = std::clamp(tx, srcX, srcX + srcW - 1);
    ty = std::clamp(ty, srcY, srcY + srcH - 1);
    return float(picture.rgba[(size_t(ty) * picture.width + tx) * 4 + c]);
  };
  for (int row = top; row < bottom; ++row) {
    const double v = (row + 0.5 - y) / h * srcH - 0.5 + srcY;
    const int ty = int(std::floor(v));
    const float fy = float(v - ty);
    for (int column = left; column < right; ++column) {
      double u = (column + 0.5 - x) / w * srcW - 0.5;
      if (mirrored) u = srcW - 1 - u;
      u += srcX;
      const int tx = int(std::floor(u));
      const float fx = float(u - tx);
      float sample[4];
      for (int c = 0; c < 4; ++c) {
        const float topRow = texel(tx, ty, c) * (1 - fx) + texel(tx + 1, ty, c) * fx;
        const float lowRow = texel(tx, ty + 1, c) * (1 - fx) + texel(tx + 1, ty + 1, c) * fx;
        sample[c] = topRow * (1 - fy) + lowRow * fy;
      }
      Blend(column, row, sample[0] * tint.r, sample[1] * tint.g, sample[2] * tint.b, sample[3] / 255.0f * alpha);
    }
  }
}

void Frame::FillRect(int x, int y, int w, int h, Colour colour, float alpha) {
  for (int row = std::max(0, y); row < std::min(height_, y + h); ++row)
    for (int column = std::max(0, x); column < std::min(width_, x + w); ++column)
      Blend(column, row, colour.r, colour.g, colour.b, alpha);
}

void Frame::Dim(float level) {
  for (uint8_t& value : rgb_) value = ToByte(value * level);
}
