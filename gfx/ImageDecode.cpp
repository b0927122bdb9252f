#include "gfx/ImageDecode.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t first

#include <jpeglib.h>

namespace {

constexpr size_t kTgaHeaderSize = 18;
constexpr int kMaxJpgScans = 1000;  // a progressive file with more is hostile

bool SizeAccepted(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         size_t(width) * size_t(height) <= kMaxPicturePixels;
}

// libjpeg's error manager would end the process; this one jumps back to the
// decoder with the file refused.
struct tJpgErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf refuse;
};

[[noreturn]] void RefuseJpg(j_common_ptr info) {
  std::longjmp(reinterpret_cast<tJpgErrorManager*>(info->err)->refuse, 1);
}

// Warnings (level -1) mean damaged or missing data: a picture with holes in
// it is refused rather than shown half grey. Trace messages are ignored.
void JpgMessage(j_common_ptr info, int level) {
  if (level < 0) RefuseJpg(info);
}

void JpgProgress(j_common_ptr info) {
  const auto* decoder = reinterpret_cast<j_decompress_ptr>(info);
  if (decoder->is_decompressor && decoder->input_scan_number > kMaxJpgScans) RefuseJpg(info);
}

// The decoding proper. No C++ object with a destructor lives in this frame,
// so the jump back from libjpeg skips nothing that needs cleaning up; the
// pixel buffer belongs to the caller.
bool DecodeJpgPixels(std::span<const uint8_t> file, std::vector<uint8_t>& pixels, int& width,
                     int& height) {
  jpeg_decompress_struct decoder;
  tJpgErrorManager errors;
  jpeg_progress_mgr progress;
  decoder.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = RefuseJpg;
  errors.base.emit_message = JpgMessage;
  progress.progress_monitor = JpgProgress;
  if (setjmp(errors.refuse)) {
    jpeg_destroy_decompress(&decoder);
    return false;
  }
  jpeg_create_decompress(&decoder);
  decoder.progress = &progress;
  jpeg_mem_src(&decoder, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(&decoder, TRUE);
  decoder.out_color_space = JCS_EXT_RGBA;  // red, green, blue and an alpha of 255
  jpeg_calc_output_dimensions(&decoder);
  if (!SizeAccepted(int(decoder.output_width), int(decoder.output_height)) ||
      decoder.output_components != 4) {
    jpeg_destroy_decompress(&decoder);
    return false;
  }
  width = int(decoder.output_width);
  height = int(decoder.output_height);
  pixels.resize(size_t(width) * size_t(height) * 4);
  jpeg_start_decompress(&decoder);
  // Decoded rows come from the top down; buffer row 0 is the bottom.
  while (decoder.output_scanline < decoder.output_height) {
    JSAMPROW row = pixels.data() + size_t(height - 1 - int(decoder.output_scanline)) * width * 4;
    jpeg_read_scanlines(&decoder, &row, 1);
  }
  jpeg_finish_decompress(&decoder);
  jpeg_destroy_decompress(&decoder);
  return true;
}

}  // namespace

TgaStatus DecodeTga(std::span<const uint8_t> file, tImage& image) {
  if (file.size() < kTgaHeaderSize) return TgaStatus::shortHeader;
  if (file[2] != 2) return TgaStatus::notTrueColour;
  if (file[16] != 32) return TgaStatus::not32Bit;
  const int width = file[12] + 256 * file[13];
  const int height = file[14] + 256 * file[15];
  if (!SizeAccepted(width, height)) return TgaStatus::badSize;
  const size_t start = kTgaHeaderSize + file[0];  // after the image ID field
  const size_t rowBytes = size_t(width) * 4;
  if (file.size() < start || file.size() - start < rowBytes * height)
    return TgaStatus::shortPixels;

  const bool topRowFirst = (file[17] & 0x20) != 0;
  image.width = width;
  image.height = height;
  image.rgba.resize(rowBytes * height);
  for (int r = 0; r < height; ++r) {
    const uint8_t* in = file.data() + start + rowBytes * r;
    uint8_t* out = image.rgba.data() + rowBytes * (topRowFirst ? height - 1 - r : r);
    for (size_t p = 0; p < rowBytes; p += 4) {  // B, G, R, A to R, G, B, A
      out[p] = in[p + 2];
      out[p + 1] = in[p + 1];
      out[p + 2] = in[p];
      out[p + 3] = in[p + 3];
    }
  }
  return TgaStatus::ok;
}

tFrameStrip CutFrameStrip(int width, int height, int frameHeight) {
  if (frameHeight == 0) frameHeight = width;  // square frames
  if (frameHeight <= 0 || height <= 0 || height % frameHeight != 0) return {};
  const int count = height / frameHeight;
  if (count > kMaxFrames) return {};
  return {frameHeight, count};
}

const uint8_t* FramePixels(const tImage& strip, const tFrameStrip& frames, int i) {
  // Row 0 is the bottom of the picture, so the top frame comes last.
  const size_t firstRow = size_t(frames.count - i) * frames.frameHeight;
  return strip.rgba.data() + firstRow * strip.width * 4;
}

bool DecodeJpg(std::span<const uint8_t> file, tImage& image) {
  std::vector<uint8_t> pixels;
  int width = 0, height = 0;
  if (!DecodeJpgPixels(file, pixels, width, height)) return false;
  image.width = width;
  image.height = height;
  image.rgba = std::move(pixels);
  return true;
}
