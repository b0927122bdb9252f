// Writing pictures in the two formats the game reads.
#pragma once

#include <string>

#include "tools/content/Raster.h"

// Uncompressed 32-bit true-colour TGA (image type 2), no image ID, bottom row
// first, pixels stored B, G, R, A. Creates the file's folder. False (reported
// on stderr) on failure.
bool WriteTga(const std::string& path, const Image& image);
// Baseline JPG through libjpeg, no chroma subsampling; alpha is dropped.
bool WriteJpg(const std::string& path, const Image& image, int quality = 92);
