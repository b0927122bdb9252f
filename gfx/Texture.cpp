#include "gfx/Texture.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "gfx/ImageDecode.h"
#include "gfx/PicturesAhead.h"
#include "gfx/Render.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"

namespace {

// Captions and texts of the loaders' message boxes (Windows-1257 bytes).
const char* const kLoadUnitCaption = "Load unit";
const char* const kTgaErrorCaption = "TGA File Error";
const char* const kJpgCaption = "BMP Unit";
const char* const kCannotLoadTga = "Nevar iel\xE2" "d\xE7t TGA ";
const char* const kCannotLoadJpg = "Nevar iel\xE2" "d\xE7t JPG - ";

std::string Quoted(const std::string& fileName) { return "\"" + fileName + "\""; }

// The largest picture file worth reading: a TGA of the largest accepted
// picture with the longest image ID field and colour map, its pixels stored
// in the longest way run-length packets allow (a packet byte for every 32-bit
// pixel). Bytes beyond it are never needed (a JPG that long is cut short and
// refused as damaged).
constexpr std::streamoff kMaxPictureFileBytes =
    18 + 255 + 65535 * 4 + std::streamoff(kMaxPicturePixels) * 5;

}  // namespace

std::optional<std::vector<uint8_t>> ReadPictureFile(const std::string& fileName) {
  const std::optional<std::string> path = ResolvePath(fileName);
  if (!path) return std::nullopt;
  std::ifstream in(*path, std::ios::binary | std::ios::ate);
  const std::streamoff size = std::min(std::streamoff(in.tellg()), kMaxPictureFileBytes);
  if (!in || size < 0) return std::nullopt;
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), size);
  if (in.gcount() != size) return std::nullopt;
  return bytes;
}

std::optional<std::vector<uint8_t>> ReadPictureFile(const cHeldFile& file) {
  return file.Read(size_t(kMaxPictureFileBytes));
}

namespace {

// Every refusal names the file and, where the file is not simply cut short,
// why it was refused.
std::string TgaProblem(const std::string& fileName, TgaStatus status) {
  const std::string unsupported = "Unsupported TGA file " + Quoted(fileName) + ": ";
  const std::string damaged = "Couldn't read file " + Quoted(fileName) + ": ";
  switch (status) {
    case TgaStatus::ok:
    case TgaStatus::shortHeader:
    case TgaStatus::shortPixels:
      break;
    case TgaStatus::unsupportedType:
      return unsupported + "not a true-colour, greyscale or colour-mapped picture.";
    case TgaStatus::unsupportedDepth:
      return unsupported +
             "not a pixel depth it is read at (true colour 24 or 32 bits, greyscale 8 or 16, "
             "colour-mapped 8).";
    case TgaStatus::badColourMap:
      return unsupported + "its colour map is missing or not of 24- or 32-bit colours.";
    case TgaStatus::badSize:
      return unsupported + "a side of 0 or a picture too large.";
    case TgaStatus::packetsEndEarly:
      return damaged + "the file ends inside its pixels.";
    case TgaStatus::packetsOverrun:
      return damaged + "its run-length packets run past the end of the picture.";
    case TgaStatus::badColourIndex:
      return damaged + "a pixel's colour is not in its colour map.";
  }
  return "Couldn't read file " + Quoted(fileName) + ".";
}

void ReportTgaProblem(const std::string& fileName, TgaStatus status) {
  ShowFileMessage(fileName, kTgaErrorCaption, TgaProblem(fileName, status));
}

// The renderer shows a picture it cannot hold at full size shrunk; the
// player hears of it on stderr, and the tools (which assume
// kPortableTextureSide) among the file's problems.
void NoteIfShrunk(const std::string& fileName, int width, int height) {
  const int largest = RenderLargestTextureSide();
  if (width <= largest && height <= largest) return;
  WarnAboutFile(fileName, std::to_string(width) + " x " + std::to_string(height) +
                              " pixels: a side above " + std::to_string(largest) +
                              ", the largest texture of the renderer; shown shrunk");
}

}  // namespace

void ReportMissingSheet(const std::string& fileName) {
  ShowFileMessage(fileName, kLoadUnitCaption, kCannotLoadTga + Quoted(fileName));
}

void ReportBadFrameStrip(const std::string& fileName) {
  ShowFileMessage(fileName, kTgaErrorCaption,
                  "Unsupported TGA file " + Quoted(fileName) +
                      ": not a strip of 1 to 255 whole frames.");
}

TextureName BuildTexture(uint16_t width, uint16_t height, const uint8_t* rgba) {
  return RenderUploadTexture(width, height, rgba, false);
}

// Minification nearest for JPGs, unlike TGAs.
TextureName MakeLoadedTexture(const tImage& image, bool jpg) {
  return RenderUploadTexture(image.width, image.height, image.rgba.data(), jpg);
}

tTgaFile ReadTgaFile(const std::string& fileName) {
  if (!FileExists(fileName)) return {};
  return {true, ReadPictureFile(fileName)};
}

TgaStatus DecodeTgaFile(const tTgaFile& file, tImage& image) {
  return file.bytes ? DecodeTga(*file.bytes, image) : TgaStatus::shortHeader;
}

TextureName FinishTga(const std::string& fileName, bool exists, TgaStatus status, const tImage& image,
                      TextureName& texture) {
  if (!exists) {
    ShowFileMessage(fileName, kLoadUnitCaption, kCannotLoadTga);  // the box gives no name
    return texture;
  }
  if (status != TgaStatus::ok) {
    ReportTgaProblem(fileName, status);
    return texture;
  }
  NoteIfShrunk(fileName, image.width, image.height);
  texture = MakeLoadedTexture(image, false);
  return texture;
}

namespace {

TextureName TakeTextureMadeAhead(const std::string& fileName, const tPreparedPicture& picture,
                                 TextureName& texture) {
  NoteIfShrunk(fileName, picture.image.width, picture.image.height);
  texture = picture.texture;
  return texture;
}

}  // namespace

// Both loaders take the picture decoded ahead where a screen prepared it
// (PicturesAhead.h), or even its texture, and decode it now otherwise.
TextureName LoadTGA(const std::string& fileName, TextureName& texture) {
  const tPreparedPicture picture = TakePreparedPicture(fileName, false);
  if (picture.textureMade) return TakeTextureMadeAhead(fileName, picture, texture);
  return FinishTga(fileName, picture.exists, picture.tgaStatus, picture.image, texture);
}

TextureName LoadJPG(const std::string& fileName, TextureName& texture) {
  const tPreparedPicture picture = TakePreparedPicture(fileName, true);
  if (picture.textureMade) return TakeTextureMadeAhead(fileName, picture, texture);
  if (!picture.readable) {
    ShowFileMessage(fileName, kJpgCaption, kCannotLoadJpg + Quoted(fileName));
    return texture;
  }
  if (!picture.jpgDecoded) {
    // The reason goes on a line of its own after the usual text.
    ShowFileMessage(fileName, kJpgCaption, kCannotLoadJpg + Quoted(fileName) + "\n" + picture.jpgRefusal);
    return texture;
  }
  NoteIfShrunk(fileName, picture.image.width, picture.image.height);
  texture = MakeLoadedTexture(picture.image, true);
  return texture;
}

int LoadTGAFrames(const std::string& fileName, TextureName frames[256], int frameHeight) {
  const std::optional<std::vector<uint8_t>> file = ReadPictureFile(fileName);
  if (!file) {
    ReportMissingSheet(fileName);
    return 0;
  }
  tImage strip;
  const TgaStatus status = DecodeTga(*file, strip);
  if (status != TgaStatus::ok) {
    ReportTgaProblem(fileName, status);
    return 0;
  }
  const tFrameStrip cut = CutFrameStrip(strip.width, strip.height, frameHeight);
  if (cut.count == 0) {
    ReportBadFrameStrip(fileName);
    return 0;
  }
  NoteIfShrunk(fileName, strip.width, cut.frameHeight);
  for (int i = 1; i <= cut.count; ++i)
    frames[i] = BuildTexture(uint16_t(strip.width), uint16_t(cut.frameHeight),
                             FramePixels(strip, cut, i));
  return cut.count;
}

void DeleteTexture(TextureName& texture) {
  RenderDeleteTexture(texture);
  texture = 0;
}
