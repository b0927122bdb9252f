#include "gfx/ImageDecode.h"

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>  // the warnings' codes

namespace {

constexpr size_t kTgaHeaderSize = 18;
constexpr int kMaxJpgScans = 1000;  // a progressive file with more is hostile

bool SizeAccepted(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         size_t(width) * size_t(height) <= kMaxPicturePixels;
}

// How a TGA's stored pixels become R, G, B, A.
struct tTgaPixels {
  enum Kind { bgra, bgr, grey, greyAlpha, mapped } kind = bgra;
  size_t bytes = 4;  // per stored pixel
  // Colour-mapped pictures: the colour of each index, and which the map holds.
  std::array<uint8_t, 256 * 4> map{};
  std::array<bool, 256> inMap{};
};

// Turns count stored pixels into RGBA; false when a pixel names a colour the
// colour map does not hold.
bool ConvertTgaPixels(const tTgaPixels& pixels, const uint8_t* in, size_t count, uint8_t* out) {
  switch (pixels.kind) {
    case tTgaPixels::bgra:
      for (size_t i = 0; i < count; ++i, in += 4, out += 4) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
        out[3] = in[3];
      }
      return true;
    case tTgaPixels::bgr:
      for (size_t i = 0; i < count; ++i, in += 3, out += 4) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
        out[3] = 255;
      }
      return true;
    case tTgaPixels::grey:
      for (size_t i = 0; i < count; ++i, in += 1, out += 4) {
        out[0] = out[1] = out[2] = in[0];
        out[3] = 255;
      }
      return true;
    case tTgaPixels::greyAlpha:
      for (size_t i = 0; i < count; ++i, in += 2, out += 4) {
        out[0] = out[1] = out[2] = in[0];
        out[3] = in[1];
      }
      return true;
    case tTgaPixels::mapped:
      for (size_t i = 0; i < count; ++i, in += 1, out += 4) {
        if (!pixels.inMap[in[0]]) return false;
        std::memcpy(out, pixels.map.data() + size_t(in[0]) * 4, 4);
      }
      return true;
  }
  return false;
}

// Unpacks run-length packets into count pixels, in the order they are stored.
// Each packet is a byte n and then either one pixel repeated (n & 0x80) or
// (n & 0x7F) + 1 pixels; a packet may run on into the next row but not past
// the last pixel, nor past the end of the file.
TgaStatus UnpackTgaRuns(std::span<const uint8_t> stored, const tTgaPixels& pixels, size_t count,
                        uint8_t* out) {
  size_t at = 0;
  for (size_t done = 0; done < count;) {
    if (at == stored.size()) return TgaStatus::packetsEndEarly;
    const uint8_t packet = stored[at++];
    const size_t length = (packet & 0x7F) + 1u;
    const bool repeated = (packet & 0x80) != 0;
    if (length > count - done) return TgaStatus::packetsOverrun;
    const size_t bytes = repeated ? pixels.bytes : length * pixels.bytes;
    if (stored.size() - at < bytes) return TgaStatus::packetsEndEarly;
    uint8_t* first = out + done * 4;
    if (!ConvertTgaPixels(pixels, stored.data() + at, repeated ? 1 : length, first))
      return TgaStatus::badColourIndex;
    if (repeated)
      for (size_t i = 1; i < length; ++i) std::memcpy(first + i * 4, first, 4);
    at += bytes;
    done += length;
  }
  return TgaStatus::ok;
}

// Turns the picture upside down.
void FlipRows(std::vector<uint8_t>& rgba, int width, int height) {
  const size_t rowBytes = size_t(width) * 4;
  for (int r = 0; r < height / 2; ++r) {
    uint8_t* low = rgba.data() + rowBytes * r;
    std::swap_ranges(low, low + rowBytes, rgba.data() + rowBytes * (height - 1 - r));
  }
}

// Turns every row end for end, pixel by pixel.
void MirrorRows(std::vector<uint8_t>& rgba, int width, int height) {
  const size_t rowBytes = size_t(width) * 4;
  for (int r = 0; r < height; ++r) {
    uint8_t* left = rgba.data() + rowBytes * r;
    for (uint8_t* right = left + rowBytes - 4; left < right; left += 4, right -= 4)
      std::swap_ranges(left, left + 4, right);
  }
}

// libjpeg's error manager would end the process; this one jumps back to the
// decoder with the file refused, keeping libjpeg's words for why.
struct tJpgErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf refuse;
  bool endedEarly;  // the data ran out before the end marker
  char reason[JMSG_LENGTH_MAX];
};

[[noreturn]] void RefuseJpg(j_common_ptr info) {
  auto* errors = reinterpret_cast<tJpgErrorManager*>(info->err);
  errors->base.format_message(info, errors->reason);
  std::longjmp(errors->refuse, 1);
}

// Refuses the file for a reason of our own.
[[noreturn]] void RefuseJpg(j_decompress_ptr decoder, const char* reason) {
  auto* errors = reinterpret_cast<tJpgErrorManager*>(decoder->err);
  std::snprintf(errors->reason, sizeof errors->reason, "%s", reason);
  std::longjmp(errors->refuse, 1);
}

// The most pixels a file of the given size is let announce. A sequential
// Huffman-coded file, as the content tool and most programs write them, packs
// at most 256 pixels into a byte (a grey 8 x 8 block in a 1-bit DC code and a
// 1-bit end of block), so no such file is refused for its size. Progressive
// end-of-block runs and arithmetic coding pack flat pictures far tighter;
// those are let announce up to 2048 x 2048 pixels whatever their size. Beyond
// that a few bytes would otherwise take up to 4 bytes of pixels and, in a
// progressive file, 6 of coefficients for every pixel they announce.
constexpr size_t kMaxJpgPixelsPerByte = 256;
constexpr size_t kJpgPixelsAnySize = size_t(2048) * 2048;

bool JpgDataCanFill(size_t pixels, size_t fileBytes) {
  return pixels <= kJpgPixelsAnySize || pixels / kMaxJpgPixelsPerByte <= fileBytes;
}

// Warnings (level -1) mostly mean damaged or missing data: a picture with
// holes in it is refused rather than shown half grey. Bytes skipped between
// markers and an unknown JFIF version lose nothing. Running out of data is
// also reported when only the end marker is missing; whether anything of the
// picture was lost then is judged once it is decoded (PictureComplete), as a
// cut through the compressed data also warns that it hit a marker. Trace
// messages are ignored.
void JpgMessage(j_common_ptr info, int level) {
  if (level >= 0) return;
  switch (info->err->msg_code) {
    case JWRN_EXTRANEOUS_DATA:
    case JWRN_JFIF_MAJOR:
      return;
    case JWRN_JPEG_EOF:
      reinterpret_cast<tJpgErrorManager*>(info->err)->endedEarly = true;
      return;
    default:
      RefuseJpg(info);
  }
}

void JpgProgress(j_common_ptr info) {
  const auto decoder = reinterpret_cast<j_decompress_ptr>(info);
  if (decoder->is_decompressor && decoder->input_scan_number > kMaxJpgScans)
    RefuseJpg(decoder, "more than 1000 scans");
}

// Whether every component of the picture came in a scan and, in a
// progressive file, every coefficient was refined to full precision: a file
// whose data stops between two scans still gives all its rows, some of them
// without a colour or detail. Asked before the decoder's per-picture memory
// goes at jpeg_finish_decompress.
bool PictureComplete(const jpeg_decompress_struct& decoder) {
  for (int c = 0; c < decoder.num_components; ++c) {
    if (decoder.comp_info[c].quant_table == nullptr) return false;  // set by its first scan
    if (!decoder.progressive_mode) continue;
    for (int k = 0; k < DCTSIZE2; ++k)
      if (decoder.coef_bits[c][k] != 0) return false;
  }
  return true;
}

// Adobe's programs store CMYK inverted (255 is no ink), which is what libjpeg
// hands out for CMYK and YCCK files alike: each colour is its inverted ink
// times the inverted black.
void CmykToRgba(uint8_t* row, size_t width) {
  for (size_t x = 0; x < width; ++x, row += 4) {
    const unsigned k = row[3];
    row[0] = uint8_t((row[0] * k + 127) / 255);
    row[1] = uint8_t((row[1] * k + 127) / 255);
    row[2] = uint8_t((row[2] * k + 127) / 255);
    row[3] = 255;
  }
}

// The decoding proper. No C++ object with a destructor lives in this frame,
// so the jump back from libjpeg skips nothing that needs cleaning up; the
// pixel buffer belongs to the caller.
bool DecodeJpgPixels(std::span<const uint8_t> file, std::vector<uint8_t>& pixels, int& width,
                     int& height, char (&reason)[JMSG_LENGTH_MAX]) {
  jpeg_decompress_struct decoder;
  tJpgErrorManager errors;
  jpeg_progress_mgr progress;
  decoder.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = RefuseJpg;
  errors.base.emit_message = JpgMessage;
  errors.endedEarly = false;
  progress.progress_monitor = JpgProgress;
  if (setjmp(errors.refuse)) {
    std::memcpy(reason, errors.reason, sizeof reason);
    jpeg_destroy_decompress(&decoder);
    return false;
  }
  jpeg_create_decompress(&decoder);
  decoder.progress = &progress;
  jpeg_mem_src(&decoder, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(&decoder, TRUE);
  // libjpeg does not turn CMYK into RGB; it hands it out as it is, and the
  // rows are turned here. Anything else comes out as red, green, blue and an
  // alpha of 255.
  const bool cmyk = decoder.jpeg_color_space == JCS_CMYK || decoder.jpeg_color_space == JCS_YCCK;
  decoder.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
  jpeg_calc_output_dimensions(&decoder);
  if (!SizeAccepted(int(decoder.output_width), int(decoder.output_height)))
    RefuseJpg(&decoder, "a side of 0 or a picture too large");
  if (decoder.output_components != 4) RefuseJpg(&decoder, "a colour layout it is not read in");
  width = int(decoder.output_width);
  height = int(decoder.output_height);
  if (!JpgDataCanFill(size_t(width) * size_t(height), file.size()))
    RefuseJpg(&decoder, "it announces more pixels than its data can hold");
  pixels.resize(size_t(width) * size_t(height) * 4);
  jpeg_start_decompress(&decoder);
  // Decoded rows come from the top down; buffer row 0 is the bottom.
  while (decoder.output_scanline < decoder.output_height) {
    JSAMPROW row = pixels.data() + size_t(height - 1 - int(decoder.output_scanline)) * width * 4;
    if (jpeg_read_scanlines(&decoder, &row, 1) != 1) break;
    if (cmyk) CmykToRgba(row, size_t(width));
  }
  if (decoder.output_scanline != decoder.output_height ||
      (errors.endedEarly && !PictureComplete(decoder)))
    RefuseJpg(&decoder, "the file ends before the picture is complete");
  // A single-scan file's missing end marker is noticed only here, where the
  // decoder looks for it.
  jpeg_finish_decompress(&decoder);
  // Arithmetic-coded data may run into a marker, and the decoder then goes on
  // with zeros: without its end marker such a file may have lost any part of
  // its picture unnoticed.
  if (errors.endedEarly && decoder.arith_code)
    RefuseJpg(&decoder, "arithmetic-coded data without its end marker");
  jpeg_destroy_decompress(&decoder);
  return true;
}

}  // namespace

TgaStatus DecodeTga(std::span<const uint8_t> file, tImage& image) {
  if (file.size() < kTgaHeaderSize) return TgaStatus::shortHeader;
  const uint8_t type = file[2];
  if (type != 1 && type != 2 && type != 3 && type != 9 && type != 10 && type != 11)
    return TgaStatus::unsupportedType;
  const bool runLength = type >= 9;
  const int depth = file[16];
  tTgaPixels pixels;
  switch (type & 7) {
    case 2:
      if (depth != 32 && depth != 24) return TgaStatus::unsupportedDepth;
      pixels.kind = depth == 32 ? tTgaPixels::bgra : tTgaPixels::bgr;
      break;
    case 3:
      if (depth != 8 && depth != 16) return TgaStatus::unsupportedDepth;
      pixels.kind = depth == 8 ? tTgaPixels::grey : tTgaPixels::greyAlpha;
      break;
    default:
      if (depth != 8) return TgaStatus::unsupportedDepth;
      pixels.kind = tTgaPixels::mapped;
      break;
  }
  pixels.bytes = size_t(depth) / 8;
  const int width = file[12] + 256 * file[13];
  const int height = file[14] + 256 * file[15];
  if (!SizeAccepted(width, height)) return TgaStatus::badSize;

  // The colour map lies between the image ID field and the pixels.
  const bool hasMap = file[1] == 1;
  const size_t mapFirst = file[3] + 256 * file[4];
  const size_t mapLength = file[5] + 256 * file[6];
  const int mapDepth = file[7];
  if (pixels.kind == tTgaPixels::mapped && (!hasMap || (mapDepth != 24 && mapDepth != 32)))
    return TgaStatus::badColourMap;
  const size_t mapStart = kTgaHeaderSize + file[0];
  const size_t mapBytes = hasMap ? mapLength * ((mapDepth + 7) / 8) : 0;
  if (file.size() < mapStart + mapBytes) return TgaStatus::shortPixels;
  if (pixels.kind == tTgaPixels::mapped) {
    const size_t entryBytes = size_t(mapDepth) / 8;
    // Only the entries an 8-bit index can reach are kept.
    for (size_t i = mapFirst; i < mapFirst + mapLength && i < 256; ++i) {
      const uint8_t* in = file.data() + mapStart + (i - mapFirst) * entryBytes;
      uint8_t* out = pixels.map.data() + i * 4;
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
      out[3] = entryBytes == 4 ? in[3] : 255;
      pixels.inMap[i] = true;
    }
  }

  // Enough bytes for the pixels must be there before any memory is taken for
  // them; run-length packets hold at most 128 pixels each.
  const std::span<const uint8_t> stored = file.subspan(mapStart + mapBytes);
  const size_t count = size_t(width) * size_t(height);
  if (!runLength && stored.size() < count * pixels.bytes) return TgaStatus::shortPixels;
  if (runLength && stored.size() < (count + 127) / 128 * (1 + pixels.bytes))
    return TgaStatus::packetsEndEarly;
  std::vector<uint8_t> rgba(count * 4);
  if (runLength) {
    const TgaStatus status = UnpackTgaRuns(stored, pixels, count, rgba.data());
    if (status != TgaStatus::ok) return status;
  } else if (!ConvertTgaPixels(pixels, stored.data(), count, rgba.data())) {
    return TgaStatus::badColourIndex;
  }

  if ((file[17] & 0x20) != 0) FlipRows(rgba, width, height);    // stored top row first
  if ((file[17] & 0x10) != 0) MirrorRows(rgba, width, height);  // stored right to left
  image.width = width;
  image.height = height;
  image.rgba = std::move(rgba);
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

bool DecodeJpg(std::span<const uint8_t> file, tImage& image, std::string* refusal) {
  std::vector<uint8_t> pixels;
  int width = 0, height = 0;
  char reason[JMSG_LENGTH_MAX] = "";
  if (!DecodeJpgPixels(file, pixels, width, height, reason)) {
    if (refusal) *refusal = reason;
    return false;
  }
  image.width = width;
  image.height = height;
  image.rgba = std::move(pixels);
  return true;
}
