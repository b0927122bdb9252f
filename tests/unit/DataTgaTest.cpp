#include "data/TgaSize.h"

#include "DataTestFolder.h"

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
