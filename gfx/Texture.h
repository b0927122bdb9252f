// Texture loading: TGA, JPG and TGA frame strips become OpenGL
// textures whose row 0 is the picture's bottom row.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/GameState.h"
#include "gfx/ImageDecode.h"
#include "platform/Files.h"

// A picture file's bytes as the loaders read them (no more than the largest
// accepted picture can need); nullopt when it is missing or cannot be read.
std::optional<std::vector<uint8_t>> ReadPictureFile(const std::string& fileName);
std::optional<std::vector<uint8_t>> ReadPictureFile(const cHeldFile& file);

TextureName BuildTexture(uint16_t width, uint16_t height, const uint8_t* rgba);
// The texture LoadJPG (jpg) or LoadTGA makes of a picture it decoded.
TextureName MakeLoadedTexture(const tImage& image, bool jpg);
// On failure these report it and return texture unchanged.
TextureName LoadTGA(const std::string& fileName, TextureName& texture);
TextureName LoadJPG(const std::string& fileName, TextureName& texture);
// Cuts a strip into frames[1..n], frame 1 the top of the picture.
// Returns the number of frames made (0 when the strip was refused).
int LoadTGAFrames(const std::string& fileName, TextureName frames[256], int frameHeight);
// LoadTGA in three steps, for a picture read now and decoded later, perhaps
// on another thread: the file's bytes, the decoding (touches nothing but its
// arguments), and the texture or the message LoadTGA would give.
struct tTgaFile {
  bool exists = false;
  std::optional<std::vector<uint8_t>> bytes;  // nullopt: could not be read
};
tTgaFile ReadTgaFile(const std::string& fileName);
TgaStatus DecodeTgaFile(const tTgaFile& file, tImage& image);
TextureName FinishTga(const std::string& fileName, bool exists, TgaStatus status, const tImage& image,
                      TextureName& texture);
// Deletes the texture and sets the variable to 0 (no texture).
void DeleteTexture(TextureName& texture);

// The frame-strip messages, shared with the sprite sheets' measuring.
void ReportMissingSheet(const std::string& fileName);
void ReportBadFrameStrip(const std::string& fileName);
