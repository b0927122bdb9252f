#include "data/TgaSize.h"

#include "DataTestFolder.h"
#include "gfx/ImageDecode.h"
#include "tests/unit/GfxPictureFiles.h"

using DataTga = DataFolderTest;

TEST_F(DataTga, SizeComesFromTheHeaderAlone) {
  std::vector<uint8_t> header(18, 0);
  header[12] = 0x40;
  header[13] = 0x01;
  header[14] = 0x00;
  header[15] = 0x02;
  std::filesystem::create_directory("Sprites");
  WriteBytes("Sprites/Hero.tga", header);
  EXPECT_EQ(TgaWidth("sprites\\hero.TGA"), 320);
  EXPECT_EQ(TgaHeight("sprites\\hero.TGA"), 512);
  EXPECT_EQ(TgaWidth("sprites\\hero.TGA"), 320);

  header.pop_back();
  WriteBytes("short.tga", header);
  EXPECT_EQ(TgaWidth("short.tga"), std::nullopt);
  EXPECT_EQ(TgaHeight("missing.tga"), std::nullopt);
  EXPECT_TRUE(messages().empty());
}

TEST_F(DataTga, CompressedTwentyFourBitPicturesAreMeasuredAsTheLoaderDecodesThem) {
  // 300 x 5 at 24 bits, run-length encoded, top row first, with an ID field:
  // none of it moves the size fields, and the decoder agrees with them.
  std::vector<uint8_t> file =
      gfxtest::RunLengthTga(gfxtest::TwentyFourBitTga(gfxtest::MakeTga(300, 5, [](int x, int y) {
        return gfxtest::Rgba{uint8_t(x), uint8_t(y), 0, 0};
      })));
  file[17] = 0x20;
  file[0] = 3;
  file.insert(file.begin() + 18, {'i', 'd', '!'});
  WriteBytes("strip.tga", file);
  EXPECT_EQ(TgaWidth("strip.tga"), 300);
  EXPECT_EQ(TgaHeight("strip.tga"), 5);
  tImage image;
  ASSERT_EQ(DecodeTga(file, image), TgaStatus::ok);
  EXPECT_EQ(image.width, 300);
  EXPECT_EQ(image.height, 5);
  EXPECT_TRUE(messages().empty());
}
