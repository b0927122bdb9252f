#include <gtest/gtest.h>

#include "gfx/ImageDecode.h"
#include "tests/unit/GfxPictureFiles.h"

using gfxtest::HaveImageMagick;
using gfxtest::ImageMagick;
using gfxtest::JpgKind;
using gfxtest::MakeJpg;
using gfxtest::MakeTga;
using gfxtest::Rgba;
using gfxtest::RunLengthTga;
using gfxtest::ScratchFolder;
using gfxtest::TgaHeader;

namespace {

Rgba PixelAt(const tImage& image, int x, int row) {
  const uint8_t* p = &image.rgba[(size_t(row) * image.width + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

// Red on top, green at the bottom, x in the blue channel.
Rgba TopRedBottomGreen(int x, int y) {
  return y == 0 ? Rgba{200, 10, uint8_t(x), 255} : Rgba{10, 200, uint8_t(x), 128};
}

// Rows of one colour (long runs, longer than a packet holds, over row ends)
// above rows where every pixel differs, alpha included.
Rgba Patchy(int x, int y) {
  if (y < 3) return {uint8_t(40 * y), 90, 200, 255};
  return {uint8_t(x * 7), uint8_t(y * 31), uint8_t(x * y), uint8_t(255 - x % 50)};
}

// Few colours, for colour maps; grey ones for greyscale pictures.
Rgba FewColours(int x, int y) {
  static const Rgba colours[] = {{255, 0, 0, 255}, {0, 128, 0, 255}, {20, 30, 250, 255},
                                 {255, 255, 255, 255}, {0, 0, 0, 255}};
  return colours[(x / 3 + y) % 5];
}
Rgba Greys(int x, int y) {
  const uint8_t v = uint8_t(y < 2 ? 77 : x * 9 + y);
  return {v, v, v, 255};
}

tImage Decoded(const std::vector<uint8_t>& file) {
  tImage image;
  EXPECT_EQ(DecodeTga(file, image), TgaStatus::ok);
  return image;
}

// The picture with every alpha 255, as a file without alphas gives it.
tImage Opaque(tImage image) {
  for (size_t i = 3; i < image.rgba.size(); i += 4) image.rgba[i] = 255;
  return image;
}

void Append(std::vector<uint8_t>& file, std::initializer_list<uint8_t> bytes) {
  file.insert(file.end(), bytes);
}

}  // namespace

TEST(TgaDecode, SwapsToRgbaAndKeepsTheBottomRowFirst) {
  tImage image;
  ASSERT_EQ(DecodeTga(MakeTga(3, 2, TopRedBottomGreen), image), TgaStatus::ok);
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(PixelAt(image, 2, 0), (Rgba{10, 200, 2, 128}));  // bottom row
  EXPECT_EQ(PixelAt(image, 1, 1), (Rgba{200, 10, 1, 255}));  // top row
}

TEST(TgaDecode, SkipsTheImageIdAndTurnsTopFirstPictures) {
  std::vector<uint8_t> file = MakeTga(3, 2, TopRedBottomGreen);
  file[0] = 4;  // an ID field of four bytes before the pixels
  file.insert(file.begin() + 18, {'n', 'a', 'm', 'e'});
  tImage image;
  ASSERT_EQ(DecodeTga(file, image), TgaStatus::ok);
  EXPECT_EQ(PixelAt(image, 0, 0), (Rgba{10, 200, 0, 128}));

  // The same rows stored top first: the descriptor says so, the decoder
  // turns them back.
  std::vector<uint8_t> topFirst = MakeTga(3, 2, TopRedBottomGreen);
  std::swap_ranges(topFirst.begin() + 18, topFirst.begin() + 30, topFirst.begin() + 30);
  topFirst[17] = 0x20;
  ASSERT_EQ(DecodeTga(topFirst, image), TgaStatus::ok);
  EXPECT_EQ(PixelAt(image, 0, 0), (Rgba{10, 200, 0, 128}));
  EXPECT_EQ(PixelAt(image, 0, 1), (Rgba{200, 10, 0, 255}));
}

TEST(TgaDecode, MirrorsPicturesStoredRightToLeft) {
  auto colourAt = [](int x, int y) { return Rgba{uint8_t(x * 40), uint8_t(y * 60), 7, 255}; };
  const tImage expected = Decoded(MakeTga(5, 3, colourAt));
  for (uint8_t topFirst : {0x00, 0x20}) {
    // Each row stored from its right end, and top first where so marked.
    std::vector<uint8_t> file = MakeTga(5, 3, [&](int x, int y) {
      return colourAt(4 - x, topFirst ? 2 - y : y);
    });
    file[17] = uint8_t(0x10 | topFirst);
    tImage image;
    ASSERT_EQ(DecodeTga(file, image), TgaStatus::ok);
    EXPECT_EQ(image.rgba, expected.rgba) << int(topFirst);
  }
}

TEST(TgaDecode, SkipsAColourMapThatTrueColourDoesNotUse) {
  std::vector<uint8_t> file = MakeTga(3, 2, TopRedBottomGreen);
  file[1] = 1;  // a colour map of two 24-bit entries
  file[5] = 2;
  file[7] = 24;
  file.insert(file.begin() + 18, {1, 2, 3, 4, 5, 6});
  tImage image;
  ASSERT_EQ(DecodeTga(file, image), TgaStatus::ok);
  EXPECT_EQ(image.rgba, Decoded(MakeTga(3, 2, TopRedBottomGreen)).rgba);
}

TEST(TgaDecode, RefusesWhatItCannotReadSafely) {
  const std::vector<uint8_t> good = MakeTga(4, 4, TopRedBottomGreen);
  tImage image;
  image.width = 99;

  EXPECT_EQ(DecodeTga(std::span(good.data(), 17), image), TgaStatus::shortHeader);
  EXPECT_EQ(DecodeTga(std::span(good.data(), good.size() - 1), image), TgaStatus::shortPixels);

  std::vector<uint8_t> bad = good;
  bad[12] = bad[13] = 0;
  EXPECT_EQ(DecodeTga(bad, image), TgaStatus::badSize);
  bad = good;
  bad[15] = 0x41;  // 16644 rows
  EXPECT_EQ(DecodeTga(bad, image), TgaStatus::badSize);
  bad = good;
  bad[0] = 255;  // an ID field that eats the pixels
  EXPECT_EQ(DecodeTga(bad, image), TgaStatus::shortPixels);
  bad = good;
  bad[1] = 1;  // a colour map that eats them
  bad[6] = 1;
  bad[7] = 32;
  EXPECT_EQ(DecodeTga(bad, image), TgaStatus::shortPixels);
  // A header claiming more than the file holds is refused before anything
  // is allocated for it, compressed or not.
  bad = good;
  bad[12] = bad[14] = 0;
  bad[13] = bad[15] = 0x10;  // 4096 x 4096
  EXPECT_EQ(DecodeTga(bad, image), TgaStatus::shortPixels);
  bad[2] = 10;
  EXPECT_EQ(DecodeTga(bad, image), TgaStatus::packetsEndEarly);

  EXPECT_EQ(image.width, 99) << "a refused file leaves the image alone";
}

TEST(TgaDecode, RefusesKindsOfPictureItDoesNotRead) {
  const struct {
    uint8_t type, depth;
    TgaStatus status;
  } kinds[] = {
      {0, 32, TgaStatus::unsupportedType},  // no picture at all
      {32, 8, TgaStatus::unsupportedType},  // Huffman-coded colour-mapped
      {2, 16, TgaStatus::unsupportedDepth},  {10, 15, TgaStatus::unsupportedDepth},
      {2, 8, TgaStatus::unsupportedDepth},   {3, 24, TgaStatus::unsupportedDepth},
      {11, 32, TgaStatus::unsupportedDepth}, {1, 16, TgaStatus::unsupportedDepth},
      {9, 24, TgaStatus::unsupportedDepth},
  };
  for (const auto& kind : kinds) {
    std::vector<uint8_t> file = TgaHeader(kind.type, 2, 2, kind.depth);
    file.resize(file.size() + 64, 0);
    tImage image;
    EXPECT_EQ(DecodeTga(file, image), kind.status) << int(kind.type) << "/" << int(kind.depth);
    EXPECT_TRUE(image.rgba.empty());
  }
}

TEST(TgaDecode, RunLengthAndTwentyFourBitFilesGiveTheSamePixels) {
  // ImageMagick writes the picture in each way a paint program may save it,
  // and says what it holds: its own reading, turned upright and then bottom
  // row first. A file stored bottom row first is the picture it was made
  // from, less the alphas at 24 bits. (This ImageMagick turns the rows of a
  // file it makes top row first, so that one is compared with its reading
  // alone.)
  if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  ScratchFolder folder;
  const std::vector<uint8_t> plain = MakeTga(150, 6, Patchy);
  folder.Write("plain.tga", plain);
  const tImage expected = Decoded(plain);
  const struct {
    const char* options;
    uint8_t type, depth;
    bool topFirst;
  } ways[] = {
      {"-compress RLE", 10, 32, false},
      {"-compress RLE -orient TopLeft", 10, 32, true},
      {"-orient TopLeft", 2, 32, true},
      {"-alpha off -type TrueColor", 2, 24, false},
      {"-alpha off -type TrueColor -orient TopLeft", 2, 24, true},
      {"-alpha off -type TrueColor -compress RLE", 10, 24, false},
      {"-alpha off -type TrueColor -compress RLE -orient TopLeft", 10, 24, true},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.options);
    const std::vector<uint8_t> file =
        ImageMagick(folder, std::string("plain.tga ") + way.options + " out.tga", "out.tga");
    ASSERT_FALSE(file.empty()) << "convert failed";
    ASSERT_GE(file.size(), 18u);
    ASSERT_EQ(file[2], way.type);
    ASSERT_EQ(file[16], way.depth);
    ASSERT_EQ((file[17] & 0x20) != 0, way.topFirst);
    tImage image;
    ASSERT_EQ(DecodeTga(file, image), TgaStatus::ok);
    EXPECT_EQ(image.width, 150);
    EXPECT_EQ(image.height, 6);
    EXPECT_EQ(image.rgba, ImageMagick(folder, "out.tga -auto-orient -flip -depth 8 rgba:out.rgba",
                                      "out.rgba"));
    if (!way.topFirst) {
      EXPECT_EQ(image.rgba, way.depth == 24 ? Opaque(expected).rgba : expected.rgba);
    }
  }
}

TEST(TgaDecode, PacketsRunOnFromOneRowIntoTheNext) {
  // 3 x 2 at 24 bits, bottom row first: a raw packet of four pixels ends in
  // the top row, and a run of two finishes it.
  std::vector<uint8_t> file = TgaHeader(10, 3, 2, 24);
  Append(file, {0x03, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0x81, 20, 30, 40});
  tImage image;
  ASSERT_EQ(DecodeTga(file, image), TgaStatus::ok);
  EXPECT_EQ(PixelAt(image, 0, 0), (Rgba{3, 2, 1, 255}));
  EXPECT_EQ(PixelAt(image, 2, 0), (Rgba{9, 8, 7, 255}));
  EXPECT_EQ(PixelAt(image, 0, 1), (Rgba{12, 11, 10, 255}));
  EXPECT_EQ(PixelAt(image, 1, 1), (Rgba{40, 30, 20, 255}));
  EXPECT_EQ(PixelAt(image, 2, 1), (Rgba{40, 30, 20, 255}));

  // A run of four over the row end, then two raw pixels; 32 bits, top row
  // first, so the run fills the top row and starts the bottom one.
  file = TgaHeader(10, 3, 2, 32, 0x20);
  Append(file, {0x83, 1, 2, 3, 4, 0x01, 5, 6, 7, 8, 9, 10, 11, 12});
  ASSERT_EQ(DecodeTga(file, image), TgaStatus::ok);
  for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelAt(image, x, 1), (Rgba{3, 2, 1, 4})) << x;
  EXPECT_EQ(PixelAt(image, 0, 0), (Rgba{3, 2, 1, 4}));
  EXPECT_EQ(PixelAt(image, 1, 0), (Rgba{7, 6, 5, 8}));
  EXPECT_EQ(PixelAt(image, 2, 0), (Rgba{11, 10, 9, 12}));

  // Packets over row ends on a larger picture, and runs cut at 128 pixels.
  const std::vector<uint8_t> plain = MakeTga(150, 6, Patchy);
  EXPECT_EQ(Decoded(RunLengthTga(plain)).rgba, Decoded(plain).rgba);
}

TEST(TgaDecode, RefusesPacketsThatOverrunThePictureOrTheFile) {
  const std::vector<uint8_t> header = TgaHeader(10, 3, 2, 24);  // six pixels
  const struct {
    std::vector<uint8_t> packets;
    TgaStatus status;
    const char* what;
  } cases[] = {
      {{0x86, 1, 2, 3}, TgaStatus::packetsOverrun, "a run of seven"},
      {{0x03, 1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3, 0x02, 1, 2, 3, 1, 2, 3, 1, 2, 3},
       TgaStatus::packetsOverrun, "raw pixels past the last"},
      {{0xFF, 1, 2, 3}, TgaStatus::packetsOverrun, "a run of 128"},
      {{0x03, 1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3, 0x81, 1, 2},
       TgaStatus::packetsEndEarly, "the file ends inside a run's pixel"},
      {{0x04, 1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2}, TgaStatus::packetsEndEarly,
       "the file ends inside raw pixels"},
      {{0x03, 1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3}, TgaStatus::packetsEndEarly,
       "the file ends between packets"},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> file = header;
    file.insert(file.end(), c.packets.begin(), c.packets.end());
    tImage image;
    EXPECT_EQ(DecodeTga(file, image), c.status) << c.what;
    EXPECT_TRUE(image.rgba.empty()) << c.what;
  }

  // However it is cut short, a compressed file is refused.
  const std::vector<uint8_t> whole = RunLengthTga(MakeTga(150, 6, Patchy));
  for (size_t size = 18; size < whole.size(); ++size) {
    tImage image;
    ASSERT_EQ(DecodeTga(std::span(whole.data(), size), image), TgaStatus::packetsEndEarly)
        << size << " of " << whole.size() << " bytes";
  }
}

TEST(TgaDecode, ReadsGreyAlphaAndMapsThatStartPastIndexZero) {
  // Grey with alpha, two bytes a pixel.
  std::vector<uint8_t> file = TgaHeader(3, 2, 1, 16);
  Append(file, {10, 20, 200, 255});
  tImage image;
  ASSERT_EQ(DecodeTga(file, image), TgaStatus::ok);
  EXPECT_EQ(PixelAt(image, 0, 0), (Rgba{10, 10, 10, 20}));
  EXPECT_EQ(PixelAt(image, 1, 0), (Rgba{200, 200, 200, 255}));

  // A map of two 32-bit colours whose first entry is index 5.
  file = TgaHeader(9, 3, 1, 8);
  file[1] = 1;
  file[3] = 5;
  file[5] = 2;
  file[7] = 32;
  Append(file, {1, 2, 3, 4, 5, 6, 7, 8});
  Append(file, {0x00, 6, 0x81, 5});
  ASSERT_EQ(DecodeTga(file, image), TgaStatus::ok);
  EXPECT_EQ(PixelAt(image, 0, 0), (Rgba{7, 6, 5, 8}));
  EXPECT_EQ(PixelAt(image, 1, 0), (Rgba{3, 2, 1, 4}));
  EXPECT_EQ(PixelAt(image, 2, 0), (Rgba{3, 2, 1, 4}));
}

TEST(TgaDecode, ReadsGreyscaleAndColourMappedFilesAsImageMagickWritesThem) {
  if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  ScratchFolder folder;
  folder.Write("grey.tga", MakeTga(40, 7, Greys));
  folder.Write("few.tga", MakeTga(40, 7, FewColours));
  const struct {
    const char* args;
    uint8_t type;
    const std::vector<uint8_t> plain;
  } ways[] = {
      {"grey.tga -type Grayscale", 3, MakeTga(40, 7, Greys)},
      {"grey.tga -type Grayscale -compress RLE", 11, MakeTga(40, 7, Greys)},
      {"few.tga -type Palette", 1, MakeTga(40, 7, FewColours)},
      {"few.tga -type Palette -compress RLE", 9, MakeTga(40, 7, FewColours)},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.args);
    const std::vector<uint8_t> file =
        ImageMagick(folder, std::string(way.args) + " out.tga", "out.tga");
    ASSERT_FALSE(file.empty()) << "convert failed";
    ASSERT_GE(file.size(), 18u);
    ASSERT_EQ(file[2], way.type);
    ASSERT_EQ(file[16], 8);
    tImage image;
    ASSERT_EQ(DecodeTga(file, image), TgaStatus::ok);
    EXPECT_EQ(image.rgba, Decoded(way.plain).rgba);
  }
}

TEST(TgaDecode, RefusesColourMapsItCannotUse) {
  // Colour-mapped 2 x 1, indexes 0 and 1 into a map of two 24-bit colours.
  std::vector<uint8_t> good = TgaHeader(1, 2, 1, 8);
  good[1] = 1;
  good[5] = 2;
  good[7] = 24;
  Append(good, {1, 2, 3, 4, 5, 6, 0, 1});
  tImage image;
  ASSERT_EQ(DecodeTga(good, image), TgaStatus::ok);

  std::vector<uint8_t> bad = good;
  bad[1] = 0;
  EXPECT_EQ(DecodeTga(bad, image), TgaStatus::badColourMap) << "no map";
  bad = good;
  bad[7] = 16;
  EXPECT_EQ(DecodeTga(bad, image), TgaStatus::badColourMap) << "16-bit colours";
  bad = good;
  bad.back() = 2;
  EXPECT_EQ(DecodeTga(bad, image), TgaStatus::badColourIndex) << "past the map's end";
  bad = good;
  bad[3] = 1;  // the map now holds indexes 1 and 2
  EXPECT_EQ(DecodeTga(bad, image), TgaStatus::badColourIndex) << "before the map's start";
  bad = good;
  bad[2] = 9;
  bad.resize(bad.size() - 2);
  Append(bad, {0x81, 7});
  EXPECT_EQ(DecodeTga(bad, image), TgaStatus::badColourIndex) << "in a run";
  bad = good;
  bad[5] = 3;  // a map longer than the file has room for
  bad.resize(18 + 8);
  EXPECT_EQ(DecodeTga(bad, image), TgaStatus::shortPixels);
}

TEST(FrameStrip, CountsWholeFramesOnly) {
  EXPECT_EQ(CutFrameStrip(64, 256, 0).count, 4) << "frame height 0: square frames";
  EXPECT_EQ(CutFrameStrip(64, 256, 0).frameHeight, 64);
  EXPECT_EQ(CutFrameStrip(64, 256, 32).count, 8);
  EXPECT_EQ(CutFrameStrip(64, 200, 66).count, 0) << "not a whole number of frames";
  EXPECT_EQ(CutFrameStrip(64, 32, 0).count, 0) << "shorter than one frame";
  EXPECT_EQ(CutFrameStrip(64, 100, -10).count, 0);
  EXPECT_EQ(CutFrameStrip(1, 255, 1).count, 255);
  EXPECT_EQ(CutFrameStrip(1, 256, 1).count, 0) << "more frames than a sprite holds";
}

TEST(FrameStrip, FrameOneIsTheTopOfThePicture) {
  // Three 2 x 2 frames, each a colour of its own, top to bottom.
  const std::vector<uint8_t> file = MakeTga(2, 6, [](int, int y) {
    return Rgba{uint8_t(10 + y / 2), 0, 0, 255};
  });
  tImage strip;
  ASSERT_EQ(DecodeTga(file, strip), TgaStatus::ok);
  const tFrameStrip frames = CutFrameStrip(2, 6, 2);
  ASSERT_EQ(frames.count, 3);
  for (int i = 1; i <= 3; ++i) {
    const uint8_t* first = FramePixels(strip, frames, i);
    const uint8_t* last = first + 2 * 2 * 4 - 4;
    EXPECT_EQ(first[0], 10 + i - 1) << "frame " << i;
    EXPECT_EQ(last[0], 10 + i - 1) << "frame " << i;
  }
}

TEST(JpgDecode, GivesAnOpaquePictureBottomRowFirst) {
  const std::vector<uint8_t> file = MakeJpg(16, 16, [](int, int y) {
    return y < 8 ? Rgba{250, 250, 250, 0} : Rgba{0, 0, 0, 0};
  });
  tImage image;
  ASSERT_TRUE(DecodeJpg(file, image));
  ASSERT_EQ(image.width, 16);
  ASSERT_EQ(image.height, 16);
  for (size_t i = 3; i < image.rgba.size(); i += 4) ASSERT_EQ(image.rgba[i], 255);
  EXPECT_LT(PixelAt(image, 3, 0).r, 20) << "row 0 is the dark bottom";
  EXPECT_GT(PixelAt(image, 3, 15).r, 230) << "the last row is the light top";
}

TEST(JpgDecode, RefusesDamagedFiles) {
  const std::vector<uint8_t> file =
      MakeJpg(64, 64, [](int x, int y) { return Rgba{uint8_t(x * 4), uint8_t(y * 4), 9, 0}; });
  tImage image;
  image.width = 99;
  EXPECT_FALSE(DecodeJpg(std::span(file.data(), file.size() / 2), image)) << "truncated";
  EXPECT_FALSE(DecodeJpg(std::span(file.data(), 0), image)) << "empty";
  std::vector<uint8_t> garbage(500, 0x5A);
  EXPECT_FALSE(DecodeJpg(garbage, image));
  std::vector<uint8_t> huge = file;
  // The frame header's height and width (after FFC0, length, precision).
  for (size_t i = 0; i + 8 < huge.size(); ++i) {
    if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
      huge[i + 5] = huge[i + 7] = 0xFF;
      huge[i + 6] = huge[i + 8] = 0xF0;
      break;
    }
  }
  EXPECT_FALSE(DecodeJpg(huge, image)) << "65520 x 65520 announced";
  EXPECT_EQ(image.width, 99);
}

namespace {

Rgba Gradient(int x, int y) { return {uint8_t(x * 8), uint8_t(y * 10), uint8_t(200 - x * 3), 0}; }

std::vector<uint8_t> DecodedJpg(const std::vector<uint8_t>& file) {
  tImage image;
  EXPECT_TRUE(DecodeJpg(file, image));
  return image.rgba;
}

// The file with bytes put in just before its first marker of the given code.
std::vector<uint8_t> InsertBeforeMarker(std::vector<uint8_t> file, uint8_t code,
                                        std::initializer_list<uint8_t> bytes) {
  for (size_t i = 2; i + 1 < file.size(); ++i) {
    if (file[i] == 0xFF && file[i + 1] == code) {
      file.insert(file.begin() + long(i), bytes);
      return file;
    }
  }
  ADD_FAILURE() << "no marker " << int(code);
  return file;
}

bool Near(Rgba a, Rgba b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance && a.a == b.a;
}

}  // namespace

TEST(JpgDecode, WarningsThatLoseNothingAreLetPass) {
  for (JpgKind kind : {JpgKind::baseline, JpgKind::progressive, JpgKind::separateScans}) {
    const std::vector<uint8_t> clean = MakeJpg(32, 24, Gradient, kind);
    const std::vector<uint8_t> expected = DecodedJpg(clean);
    ASSERT_EQ(clean[clean.size() - 2], 0xFF);
    ASSERT_EQ(clean.back(), 0xD9);
    const struct {
      std::vector<uint8_t> file;
      const char* what;
    } files[] = {
        {InsertBeforeMarker(clean, 0xDB, {0, 0, 0, 0x42}), "stray bytes before the tables"},
        {InsertBeforeMarker(clean, 0xD9, {0, 0, 0}), "stray bytes before the end marker"},
        {std::vector<uint8_t>(clean.begin(), clean.end() - 2), "no end marker"},
        {std::vector<uint8_t>(clean.begin(), clean.end() - 1), "half an end marker"},
    };
    for (const auto& f : files) {
      tImage image;
      ASSERT_TRUE(DecodeJpg(f.file, image)) << f.what << ", kind " << int(kind);
      EXPECT_EQ(image.rgba, expected) << f.what;
    }
  }
}

TEST(JpgDecode, RefusesEveryCutThatLosesPixels) {
  // A file cut anywhere is either refused or, when what was cut off held
  // nothing of the picture, decodes to the whole file's pixels. That holds
  // for cuts between the scans of a progressive file too, which leave every
  // row there but some of them without their detail, and between the scans
  // of a file that has one for each colour component.
  for (JpgKind kind : {JpgKind::baseline, JpgKind::progressive, JpgKind::separateScans}) {
    const std::vector<uint8_t> whole = MakeJpg(24, 16, Gradient, kind);
    const std::vector<uint8_t> expected = DecodedJpg(whole);
    size_t refused = 0;
    for (size_t size = 0; size < whole.size(); ++size) {
      tImage image;
      if (!DecodeJpg(std::span(whole.data(), size), image)) {
        ++refused;
        continue;
      }
      ASSERT_EQ(image.rgba, expected)
          << "cut to " << size << " of " << whole.size() << " bytes, kind " << int(kind);
    }
    EXPECT_GE(refused, whole.size() - 2) << "only the end marker may go";
  }
}

TEST(JpgDecode, ArithmeticCodedFilesAreRefusedWhereverCut) {
  // Arithmetic-coded data may run into a marker (the decoder goes on with
  // zeros), so a cut loses pixels without a warning: only the whole file,
  // end marker and all, is read.
  for (JpgKind kind : {JpgKind::arithmetic, JpgKind::arithmeticProgressive}) {
    const std::vector<uint8_t> whole = MakeJpg(24, 16, Gradient, kind);
    tImage image;
    ASSERT_TRUE(DecodeJpg(whole, image)) << int(kind);
    for (size_t size = 0; size < whole.size(); ++size) {
      std::string refusal;
      ASSERT_FALSE(DecodeJpg(std::span(whole.data(), size), image, &refusal))
          << "cut to " << size << " of " << whole.size() << " bytes, kind " << int(kind);
      EXPECT_FALSE(refusal.empty());
    }
  }
}

TEST(JpgDecode, RefusesFilesAnnouncingMorePixelsThanTheirDataCanHold) {
  auto flat = [](int, int) { return Rgba{90, 90, 90, 255}; };
  auto announce = [](std::vector<uint8_t> file, int width, int height) {
    // The frame header's height and width (after FFCx, length, precision).
    for (size_t i = 0; i + 8 < file.size(); ++i) {
      if (file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC2 || file[i + 1] == 0xC9)) {
        file[i + 5] = uint8_t(height >> 8);
        file[i + 6] = uint8_t(height);
        file[i + 7] = uint8_t(width >> 8);
        file[i + 8] = uint8_t(width);
        break;
      }
    }
    return file;
  };
  for (JpgKind kind : {JpgKind::baseline, JpgKind::progressive, JpgKind::arithmetic}) {
    tImage image;
    std::string refusal;
    EXPECT_FALSE(DecodeJpg(announce(MakeJpg(16, 16, flat, kind), 16384, 2048), image, &refusal))
        << int(kind);
    EXPECT_EQ(refusal, "it announces more pixels than its data can hold");
  }
  tImage image;
  // Tightly packed but honest: a flat grey Huffman-coded picture above the
  // size every file may announce, and a flat arithmetic-coded one of a few
  // hundred bytes within it.
  EXPECT_TRUE(DecodeJpg(MakeJpg(4096, 1088, flat, JpgKind::grey), image));
  EXPECT_TRUE(DecodeJpg(MakeJpg(2048, 2048, flat, JpgKind::arithmetic), image));
  // Beyond it, arithmetic coding packs more than a Huffman-coded file could.
  std::string refusal;
  EXPECT_FALSE(DecodeJpg(MakeJpg(4096, 1088, flat, JpgKind::arithmetic), image, &refusal));
  EXPECT_EQ(refusal, "it announces more pixels than its data can hold");
}

TEST(JpgDecode, GreyAndCmykPicturesComeOutInRgb) {
  // Blocks of 8 x 8: red, green, blue, white, black, and a mid orange.
  const Rgba blocks[] = {{255, 0, 0, 255},     {0, 255, 0, 255}, {0, 0, 255, 255},
                         {255, 255, 255, 255}, {0, 0, 0, 255},   {200, 120, 40, 255}};
  auto colourAt = [&](int x, int) { return blocks[x / 8]; };
  for (JpgKind kind : {JpgKind::baseline, JpgKind::cmyk, JpgKind::ycck}) {
    tImage image;
    ASSERT_TRUE(DecodeJpg(MakeJpg(48, 8, colourAt, kind), image)) << int(kind);
    for (int i = 0; i < 6; ++i)
      EXPECT_TRUE(Near(PixelAt(image, i * 8 + 4, 4), blocks[i], 8)) << int(kind) << " block " << i;
  }

  auto shade = [](int x, int) {
    const uint8_t v = uint8_t(x * 15);
    return Rgba{v, v, v, 255};
  };
  tImage grey;
  ASSERT_TRUE(DecodeJpg(MakeJpg(16, 8, shade, JpgKind::grey), grey));
  for (int x = 0; x < 16; ++x) EXPECT_TRUE(Near(PixelAt(grey, x, 3), shade(x, 0), 2)) << x;

  // CMYK as ImageMagick writes it.
  if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  ScratchFolder folder;
  const std::vector<uint8_t> file = ImageMagick(
      folder, "-size 8x8 xc:red xc:'rgb(0,0,255)' xc:white +append -colorspace CMYK cmyk.jpg",
      "cmyk.jpg");
  ASSERT_FALSE(file.empty()) << "convert failed";
  tImage image;
  ASSERT_TRUE(DecodeJpg(file, image));
  EXPECT_TRUE(Near(PixelAt(image, 4, 4), blocks[0], 8));
  EXPECT_TRUE(Near(PixelAt(image, 12, 4), blocks[2], 8));
  EXPECT_TRUE(Near(PixelAt(image, 20, 4), blocks[3], 8));
}
