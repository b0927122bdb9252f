// Pictures decoded ahead of the screen that loads them, on a thread of their
// own, while the screen before still shows: the frame that loads them then
// only uploads them, instead of decoding them too. Where the screen before
// has time to spare, it also makes their textures, one a frame, and the
// loading frame only takes them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/GameState.h"
#include "gfx/ImageDecode.h"

// A picture file as the loaders read and decode it.
struct tPreparedPicture {
  bool jpg = false;       // decoded as a JPG (LoadJPG), else as a TGA
  bool exists = false;    // (TGA) the file was there
  bool readable = false;  // its bytes could be read
  TgaStatus tgaStatus = TgaStatus::ok;
  bool jpgDecoded = false;
  std::string jpgRefusal;
  tImage image;  // its pixels are dropped once the texture is made
  // Made ahead (MakePreparedTexture), as the loader would have made it.
  bool textureMade = false;
  TextureName texture = 0;

  // Whether its loader makes a texture of it (else it reports the failure).
  bool Loads() const { return jpg ? readable && jpgDecoded : exists && tgaStatus == TgaStatus::ok; }
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
// Makes the texture of one decoded picture not yet taken; false when there
// was none to make.
bool MakePreparedTexture();
// Drops what was prepared and not taken (a screen that will not come),
// deleting the textures made of it.
void DropPreparedPictures();
// Drops everything and joins the thread; it starts again when needed. The
// textures made ahead are forgotten, not deleted: this is for a game whose
// window, and every texture with it, is gone.
void StopPreparingPictures();
