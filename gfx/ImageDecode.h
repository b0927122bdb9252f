// Decoding of the game's picture files into RGBA pixel buffers, without
// OpenGL: the texture loaders upload what these produce. Every input is
// treated as hostile: sizes are checked against the bytes that are there
// before anything is allocated or copied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A picture as the textures want it: width x height pixels of R, G, B, A,
// rows contiguous, row 0 the bottom row of the picture.
struct tImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
};

// The largest picture side accepted, and the largest picture in pixels (a
// few bytes of JPG can announce a huge picture).
constexpr int kMaxPictureSide = 16384;
constexpr size_t kMaxPicturePixels = size_t(1) << 25;

enum class TgaStatus {
  ok,
  shortHeader,       // fewer than the 18 header bytes
  unsupportedType,   // not a true-colour, greyscale or colour-mapped picture
  unsupportedDepth,  // a pixel depth its type is not read at (see DecodeTga)
  badColourMap,      // colour-mapped, without a colour map of 24- or 32-bit colours
  badSize,           // a side of 0 or above kMaxPictureSide
  shortPixels,       // the file holds fewer pixel (or colour map) bytes than the header promises
  packetsEndEarly,   // run-length packets: the file ends before the picture is complete
  packetsOverrun,    // run-length packets: a packet runs past the picture's last pixel
  badColourIndex,    // a pixel names a colour its colour map does not hold
};

// Decodes a TGA file held in memory. Read are true colour at 24 or 32 bits
// (24-bit pixels are opaque), greyscale at 8 bits or 16 (grey, then alpha) and
// colour-mapped pictures of 8-bit indexes into 24- or 32-bit colours, each
// uncompressed (types 2, 3, 1) or run-length encoded (10, 11, 9); packets may
// run on from one row into the next. The image ID field, and a colour map on a
// picture that does not use one, are skipped; a picture stored top row first
// is turned so that row 0 is its bottom row, and one stored right to left is
// mirrored back. image is filled only when the result is ok.
TgaStatus DecodeTga(std::span<const uint8_t> file, tImage& image);

// A frame strip: frames stacked vertically, each as wide as the strip.
struct tFrameStrip {
  int frameHeight = 0;
  int count = 0;
};
constexpr int kMaxFrames = 255;

// Cuts a strip of the given size into frames of frameHeight rows (0: square
// frames, as tall as the strip is wide). Refused (count 0) unless the height
// is a whole number, 1 to kMaxFrames, of frames.
tFrameStrip CutFrameStrip(int width, int height, int frameHeight);
// The first pixel of frame i (1 = the top of the picture) of a decoded strip.
const uint8_t* FramePixels(const tImage& strip, const tFrameStrip& frames, int i);

// Decodes a JPG file held in memory into an opaque picture (alpha 255);
// greyscale pictures come out grey, CMYK and YCCK ones (stored inverted, as
// Adobe's programs write them) are turned into RGB. Warnings that lose nothing
// are let pass: stray bytes before a marker, or an end marker missing after
// the last of the picture's Huffman-coded data. Anything else the decoder
// reports (damaged or missing data), an arithmetic-coded file without its end
// marker, and a file that announces far more pixels than its bytes could
// describe are refused: the result is then false, image untouched, and
// refusal (where given) says why.
bool DecodeJpg(std::span<const uint8_t> file, tImage& image, std::string* refusal = nullptr);
