// Pictures decoded ahead of the screen that loads them, on a thread of their
// own, while the screen before still shows: the frame that loads them then
// only uploads them, instead of decoding them too.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "gfx/ImageDecode.h"

// A picture file as the loaders read and decode it.
struct tPreparedPicture {
  bool jpg = false;       // decoded as a JPG (LoadJPG), else as a TGA
  bool exists = false;    // (TGA) the file was there
  bool readable = false;  // its bytes could be read
  TgaStatus tgaStatus = TgaStatus::ok;
  bool jpgDecoded = false;
  std::string jpgRefusal;
  tImage image;
};

// Reads and decodes the file now, as a JPG or a TGA; touches nothing shared.
tPreparedPicture DecodePicture(const std::string& fileName, bool jpg);

// Queues the files (a name given twice is decoded twice, for two loads), by
// their extension TGA or JPG, in the order given.
void PreparePictures(const std::vector<std::string>& fileNames);
// The loaders ask here first: the picture prepared for the file, waited for
// if its decoding is under way; otherwise (none prepared, or not started yet:
// it is then dropped) the file decoded now.
tPreparedPicture TakePreparedPicture(const std::string& fileName, bool jpg);
// Drops what was prepared and not taken (a screen that will not come).
void DropPreparedPictures();
// Drops everything and joins the thread; it starts again when needed.
void StopPreparingPictures();
