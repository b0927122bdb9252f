// Writing pictures in the two formats the game reads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/content/Raster.h"

// Run-length encoded 32-bit true-colour TGA (image type 10), no image ID,
// bottom row first, pixels stored B, G, R, A; packets end with their row, as
// other programs expect. The game decodes it to the same pixels as an
// uncompressed one, in a quarter of the bytes or less for the level screens.
// Creates the file's folder. False (reported on stderr) on failure.
bool WriteTga(const std::string& path, const Image& image);
// 8-bit RGBA rows of the image, bottom row first.
std::vector<uint8_t> BottomRowFirst(const Image& image);
// WriteTga from 8-bit RGBA rows, bottom row first (the order of the file and
// of the game's textures).
bool WriteTga(const std::string& path, int width, int height, const std::vector<uint8_t>& rgbaBottomFirst);
// Baseline JPG through libjpeg, no chroma subsampling; alpha is dropped.
bool WriteJpg(const std::string& path, const Image& image, int quality = 92);
