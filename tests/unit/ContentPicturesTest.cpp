// The content builder's pictures, read back as the game reads them.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "ContentTestFiles.h"
#include "app/GameState.h"
#include "data/LevelFile.h"
#include "data/LevelLoader.h"
#include "data/TgaSize.h"
#include "game/CollisionMap.h"
#include "game/Units.h"
#include "gfx/Texture.h"
#include "platform/MessageBox.h"
#include "tools/content/Catalogue.h"
#include "tools/content/Content.h"
#include "tools/content/PictureGroups.h"

using contenttest::ContentDir;
using contenttest::CountDifferent;
using contenttest::CountOpaque;
using contenttest::Picture;
using contenttest::ReadJpg;
using contenttest::ReadTga;

namespace {

std::vector<std::string> messages;
void Collect(const std::string& caption, const std::string& text) { messages.push_back(caption + "|" + text); }

// Loads a picture with the game's own loader and expects no message.
void ExpectLoads(const ContentDir& dir, const std::string& gamePath) {
  messages.clear();
  SetMessageBoxHandler(Collect);
  TextureName texture = 0;
  const std::string path = OnDisk(dir.Path(), gamePath);
  if (path.substr(path.size() - 4) == ".tga" || path.substr(path.size() - 4) == ".TGA")
    LoadTGA(path, texture);
  else
    LoadJPG(path, texture);
  SetMessageBoxHandler(nullptr);
  ClearTerminateRequest();
  EXPECT_TRUE(messages.empty()) << gamePath << ": " << (messages.empty() ? "" : messages[0]);
}

TEST(ContentPictures, FontHoldsEachWindows1257CharacterInsideItsCell) {
  ContentDir dir;
  ASSERT_TRUE(BuildFont(dir.Path()));
  const Picture font = ReadTga(OnDisk(dir.Path(), "HTX\\lvFont.tga"));
  ASSERT_EQ(font.width, 512);
  ASSERT_EQ(font.height, 512);
  auto inkOf = [&](int code) { return CountOpaque(font, (code % 16) * 32, (code / 16) * 32, 32, 32); };
  for (int code : {int('A'), int('g'), int('0'), int(':'), 0xE2 /* a with macron */, 0xD0 /* S with caron */, 0x80 /* euro */})
    EXPECT_GT(inkOf(code), 40) << "byte " << code;
  for (int code : {int(' '), 0x00, 0x1F, 0x81 /* undefined in Windows-1257 */, 0xA0 /* no-break space */})
    EXPECT_EQ(inkOf(code), 0) << "byte " << code;
  // Text samples a little of the next cell to the right: the first columns
  // and the last of every cell stay empty.
  for (int cell = 0; cell < 256; ++cell)
    for (int column : {0, 1, 31})
      EXPECT_EQ(CountOpaque(font, (cell % 16) * 32 + column, (cell / 16) * 32, 1, 32), 0)
          << "byte " << cell << ", column " << column;
  ExpectLoads(dir, "HTX\\lvFont.tga");
}

TEST(ContentPictures, SpriteSheetsHoldEverySequenceAndMoveFrameByFrame) {
  ContentDir dir;
  ASSERT_TRUE(BuildSpriteSheets(dir.Path()));
  const std::string playerPath = OnDisk(dir.Path(), kPlayerSheet);
  ASSERT_EQ(TgaWidth(playerPath), kFramePixels);
  ASSERT_EQ(TgaHeight(playerPath), kFramePixels * kPlayerFrames);
  const Picture player = ReadTga(playerPath);
  // The throw shows frame 42, the frame that ends it.
  EXPECT_GE(player.height / kFramePixels, 42);
  EXPECT_GE(kPlayerThrow.stop - 1, 42);
  EXPECT_LE(kPlayerThrow.start, 42);
  auto frameTop = [](int frame) { return (frame - 1) * kFramePixels; };
  for (int f = 1; f <= kPlayerFrames; ++f)
    EXPECT_GT(CountOpaque(player, 0, frameTop(f), kFramePixels, kFramePixels, 200), 1500) << "frame " << f;
  // Each step of the walk moves the limbs.
  for (int f = kPlayerRunA.start; f + 1 < kPlayerRunA.stop; ++f)
    EXPECT_GT(CountDifferent(player, frameTop(f), player, frameTop(f + 1), kFramePixels, kFramePixels), 150)
        << "frames " << f << " and " << f + 1;
  // The feet stand on the bottom edge of the player's collision box.
  int lowest = 0;
  for (int y = 0; y < kFramePixels; ++y)
    if (CountOpaque(player, 0, frameTop(1) + y, kFramePixels, 1, 250) > 0) lowest = y;
  EXPECT_NEAR(lowest, FeetRow(kUnitKinds[0]), 2);

  std::map<int, Picture> sheets;
  for (int type = 1; type <= 6; ++type) {
    const UnitKind& kind = kUnitKinds[size_t(type)];
    const Picture sheet = ReadTga(OnDisk(dir.Path(), kind.sheet));
    ASSERT_EQ(sheet.width, kFramePixels) << kind.sheet;
    const int frames = sheet.height / kFramePixels;
    EXPECT_GE(frames, kind.move.stop - 1) << kind.sheet;
    EXPECT_GE(frames, kind.attack.stop - 1) << kind.sheet;
    for (int f = kind.move.start; f + 1 < kind.move.stop; ++f)
      EXPECT_GT(CountDifferent(sheet, frameTop(f), sheet, frameTop(f + 1), kFramePixels, kFramePixels), 60)
          << kind.sheet << " frames " << f << " and " << f + 1;
    sheets[type] = sheet;
  }
  // Every enemy looks different from every other.
  for (int a = 1; a <= 6; ++a)
    for (int b = a + 1; b <= 6; ++b)
      EXPECT_GT(CountDifferent(sheets[a], 0, sheets[b], 0, kFramePixels, kFramePixels), 1500) << a << " and " << b;

  const Picture sparkle = ReadTga(OnDisk(dir.Path(), "DATA\\FX\\sparkle128.tga"));
  EXPECT_EQ(sparkle.width, 128);
  EXPECT_GE(sparkle.height / sparkle.width, 16);
  ExpectLoads(dir, kPlayerSheet);
}

TEST(ContentPictures, PlayPicturesAreTransparentWhereNothingIsDrawn) {
  ContentDir dir;
  ASSERT_TRUE(BuildPlayPictures(dir.Path()));
  for (int k = 0; k < 7; ++k) {
    const std::string name = "DATA\\Items\\" + std::to_string(k) + ".tga";
    const Picture item = ReadTga(OnDisk(dir.Path(), name));
    ASSERT_EQ(item.width, 64) << name;
    EXPECT_EQ(item.Alpha(0, 0), 0) << name;
    EXPECT_EQ(item.Alpha(32, 32), 255) << name;
    ExpectLoads(dir, name);
  }
  // Digits 1 to 9 then 0 from the top, one square cell each.
  const Picture digits = ReadTga(OnDisk(dir.Path(), "DATA\\onscreen\\fontx2.tga"));
  ASSERT_EQ(digits.height, digits.width * 10);
  for (int cell = 0; cell < 10; ++cell)
    EXPECT_GT(CountOpaque(digits, 0, cell * digits.width, digits.width, digits.width, 128), 300) << "cell " << cell;
  EXPECT_GT(CountDifferent(digits, 0, digits, digits.width * 9, digits.width, digits.width), 200) << "1 and 0";
  // The mask darkens the edges only.
  const Picture mask = ReadTga(OnDisk(dir.Path(), "DATA\\onscreen\\RareVozazu.tga"));
  EXPECT_EQ(mask.Alpha(mask.width / 2, mask.height / 2), 0);
  EXPECT_EQ(mask.Alpha(mask.width / 3, mask.height / 2), 0);
  EXPECT_GT(mask.Alpha(0, 0), 120);
  EXPECT_GT(mask.Alpha(0, mask.height / 2), 100);
  EXPECT_GT(mask.Alpha(mask.width / 2, mask.height - 1), 100);
  for (const char* name : {"DATA\\onscreen\\cone.tga", "DATA\\onscreen\\fontx1.tga", "DATA\\onscreen\\Nut.tga",
                           "DATA\\onscreen\\Sem.tga", "DATA\\Objects\\mstone.tga", "DATA\\veapons\\nut.tga"}) {
    const Picture picture = ReadTga(OnDisk(dir.Path(), name));
    EXPECT_GT(CountOpaque(picture, 0, 0, picture.width, picture.height, 200), picture.width * picture.height / 8) << name;
    ExpectLoads(dir, name);
  }
}

TEST(ContentPictures, MenuItemsAreDrawnWhereTheirHitRectanglesLie) {
  ContentDir dir;
  ASSERT_TRUE(BuildMainMenu(dir.Path()));
  const Picture frame = ReadTga(OnDisk(dir.Path(), "DATA\\MainScreen\\MainScreen.TGA"));
  ASSERT_EQ(frame.width, 800);
  ASSERT_EQ(frame.height, 600);
  EXPECT_EQ(frame.Alpha(480, 330), 0) << "the backdrop shows through the middle";
  EXPECT_EQ(frame.Alpha(4, 300), 255) << "the frame";
  for (const MenuItem& item : kMenuItems) {
    const std::string path = OnDisk(dir.Path(), item.picture);
    // The menu measures the options picture by its lower-case name.
    EXPECT_EQ(TgaWidth(path), item.right - item.left + 2 * kMenuGlow) << item.label;
    EXPECT_EQ(TgaHeight(path), item.bottom - item.top + 2 * kMenuGlow) << item.label;
    const Picture lit = ReadTga(path);
    // The board fills its hit rectangle, both in the frame and when lit.
    for (int y = item.top + 8; y < item.bottom - 8; y += 6)
      for (int x = item.left + 8; x < item.right - 24; x += 10) {
        EXPECT_EQ(frame.Alpha(x, y), 255) << item.label << " at " << x << "," << y;
        EXPECT_EQ(lit.Alpha(x - item.left + kMenuGlow, y - item.top + kMenuGlow), 255) << item.label;
      }
  }
  EXPECT_TRUE(TgaWidth(OnDisk(dir.Path(), "DATA\\MainScreen\\options.tga")).has_value() ||
              TgaWidth(OnDisk(dir.Path(), "DATA\\MainScreen\\Options.tga")).has_value());
  for (int i = 0; i < 6; ++i) {
    const Picture panel = ReadJpg(OnDisk(dir.Path(), "DATA\\MainScreen\\b0" + std::to_string(i) + ".jpg"));
    EXPECT_EQ(panel.width, 800);
    EXPECT_EQ(panel.height, 600);
  }
  for (int i = 0; i < 10; ++i) {
    const Picture symbol = ReadTga(OnDisk(dir.Path(), "DATA\\MainScreen\\symb" + std::to_string(i) + ".tga"));
    EXPECT_GT(CountOpaque(symbol, 0, 0, symbol.width, symbol.height, 200), 2000) << "symbol " << i;
  }
}

TEST(ContentPictures, ScreenPicturesAndButtonsHaveTheirSizes) {
  ContentDir dir;
  ASSERT_TRUE(BuildSplashAndTitles(dir.Path()));
  ASSERT_TRUE(BuildMessages(dir.Path()));
  ASSERT_TRUE(BuildOptionsAndStatistics(dir.Path()));
  ASSERT_TRUE(BuildBackdrop(dir.Path()));
  ASSERT_TRUE(BuildCloudBand(dir.Path(), LevelEntryNamed(kDefaultLevel)));
  for (const char* name : {"DATA\\intro\\kesmar.jpg", "DATA\\intro\\LUMO.jpg", "DATA\\LoadTitle\\l1_LoadTitle.jpg",
                           "DATA\\Message\\exit.jpg", "DATA\\Message\\load.jpg", "DATA\\Message\\bonus.jpg",
                           "DATA\\Options\\title.jpg", "DATA\\Statistics\\Stat_title.jpg", "DATA\\levels\\d01.JPG"}) {
    const Picture picture = ReadJpg(OnDisk(dir.Path(), name));
    EXPECT_EQ(picture.width, 800) << name;
    EXPECT_EQ(picture.height, 600) << name;
    ExpectLoads(dir, name);
  }
  for (const char* name : {"back", "exit", "Credit"})
    for (const char* state : {"_R.tga", "_P.tga"}) {
      const std::string path = OnDisk(dir.Path(), std::string("DATA\\Message\\") + name + state);
      EXPECT_EQ(TgaWidth(path), 100) << path;
      EXPECT_EQ(TgaHeight(path), 35) << path;
    }
  for (const char* name : {"DATA\\Options\\button_back_0.tga", "DATA\\Options\\button_back_1.tga",
                           "DATA\\Statistics\\butR.tga", "DATA\\Statistics\\butP.tga"}) {
    EXPECT_EQ(TgaWidth(OnDisk(dir.Path(), name)), 75) << name;
    EXPECT_EQ(TgaHeight(OnDisk(dir.Path(), name)), 35) << name;
  }
  // Released and pressed buttons look different.
  const Picture released = ReadTga(OnDisk(dir.Path(), "DATA\\Message\\exit_R.tga"));
  const Picture pressed = ReadTga(OnDisk(dir.Path(), "DATA\\Message\\exit_P.tga"));
  EXPECT_GT(CountDifferent(released, 0, pressed, 0, 100, 35), 1000);
  EXPECT_GT(ReadJpg(OnDisk(dir.Path(), "DATA\\Options\\trackbar.jpg")).width, 0);
  ExpectLoads(dir, "DATA\\Options\\nut.tga");
  // The cloud band: open sky above its cloud tops, cloud below. The game
  // draws it from y 1150, 1200 high; from y 1200, where the screen pictures
  // above it end, it hides what is behind it, in every row the texture's
  // filter reads there.
  const Picture clouds = ReadTga(OnDisk(dir.Path(), "DATA\\levels\\LielaisMakonis.tga"));
  EXPECT_EQ(CountOpaque(clouds, 0, 0, clouds.width, 2), 0);
  const int picturesEnd = (1200 - 1150) * clouds.height / 1200 - 1;
  EXPECT_EQ(CountOpaque(clouds, 0, picturesEnd, clouds.width, clouds.height - picturesEnd, 254),
            clouds.width * (clouds.height - picturesEnd));
}

// ---- The level's screens ----

// Two screens across, one down, pictures 1 and 2 (or as given). Ground from
// (0, 450) to (700, 450); a wall at x 1000 from y 450 up to 150; a closed
// box from (1400, 400) to (1600, 550); a walkway from (200, 250) to
// (500, 250); a permanent block at (1300, 200) and one that is not at
// (1300, 500).
std::vector<float> TestLevel(float firstSlot = 1, float secondSlot = 2) {
  std::vector<float> n{2, 1, firstSlot, secondSlot};
  // The last point of a list is never drawn.
  n.insert(n.end(), {9, 0, 450, 700, 450, 1000, 450, 1000, 150, 1400, 400, 1600, 400, 1600, 550, 1400, 550,
                     1400, 400, 0, 0});
  n.insert(n.end(), {0, 1, 0, 1, 0, 0, 0, 0, 0, 0});
  n.insert(n.end(), {2, 200, 250, 500, 250, 0, 0, 0, 0, 0});
  n.insert(n.end(), {0, 0, 0, 0});
  n.insert(n.end(), {0, 100, 400, 0});
  for (int k = 0; k < 7; ++k) n.insert(n.end(), {0, 100.0f + 60 * k, 300});
  n.insert(n.end(), {1, 1300, 200, 1, 0, 1300, 500, 0, 0});
  return n;
}

class LevelScreensTest : public ::testing::Test {
 protected:
  static LevelEntry Level() { return LevelEntryNamed(kDefaultLevel); }
  void TearDown() override {
    SetMessageBoxHandler(nullptr);
    ClearTerminateRequest();
    ResetGameState();
  }
};

TEST_F(LevelScreensTest, SolidLooksSolidExactlyWhereTheCollisionMapIsOnEveryRun) {
  ContentDir dir;
  contenttest::WriteLevel(OnDisk(dir.Path(), Level().file), TestLevel());
  // A picture left from an earlier level would be loaded as a screen.
  contenttest::WriteLevel(OnDisk(dir.Path(), Level().dir + "\\7.tga"), {0});
  ASSERT_TRUE(BuildLevelScreens(dir.Path()));
  const std::string folder = OnDisk(dir.Path(), Level().dir);
  EXPECT_EQ(CountFiles(folder, "*.tga"), 2);

  // The map the game draws from the same file.
  messages.clear();
  SetMessageBoxHandler(Collect);
  ResetGameState();
  ASSERT_TRUE(LoadLevelFile(OnDisk(dir.Path(), Level().file)));
  BuildCollisionMap();
  // A screen is stored at its texture's size, 1024 x 512: texel (u, v)
  // shows world point ((u + 0.5) x 800 / 1024, (v + 0.5) x 600 / 512) of its
  // screen. Texels whose box reaches only one class of pixels are checked.
  constexpr int kTexW = 1024, kTexH = 512;
  auto worldX = [](int u) { return int((u + 0.5) * 800 / kTexW); };
  auto worldY = [](int v) { return int((v + 0.5) * 600 / kTexH); };
  auto uniform = [](int x, int y) {
    const PixelClass c = CollisionMap.Get(x, y);
    for (int dy = -2; dy <= 2; ++dy)
      for (int dx = -2; dx <= 2; ++dx)
        if (CollisionMap.Get(x + dx, y + dy) != c) return false;
    return true;
  };
  long sums[3][3] = {};
  long counts[3] = {};
  for (int screen = 0; screen < 2; ++screen) {
    const Picture picture = ReadTga(folder + "/" + std::to_string(screen) + ".tga");
    ASSERT_EQ(picture.width, kTexW);
    ASSERT_EQ(picture.height, kTexH);
    for (int v = 0; v < kTexH; ++v)
      for (int u = 0; u < kTexW; ++u) {
        const int x = screen * 800 + worldX(u);
        const int y = worldY(v);
        const PixelClass c = CollisionMap.Get(x, y);
        if (c == PixelClass::empty || !uniform(x, y)) continue;
        ASSERT_EQ(picture.Alpha(u, v), 255) << "world " << x << "," << y;
        for (int k = 0; k < 3; ++k) sums[int(c)][k] += picture.At(u, v)[k];
        ++counts[int(c)];
      }
    // Open sky, far from every line, stays clear.
    EXPECT_EQ(picture.Alpha(512, 68), 0);
  }
  const Picture second = ReadTga(folder + "/1.tga");
  // World rectangles of the second screen, in texels.
  EXPECT_EQ(CountOpaque(second, 614, 401, 128, 85), 0) << "the block that is not permanent is not drawn";
  EXPECT_EQ(second.Alpha(640, 162), 255) << "the permanent block's outline is drawn";
  EXPECT_EQ(second.Alpha(896, 410), 255) << "the inside of a closed outline is drawn as earth";
  // Walkways (blue lines) and ground (white lines) look clearly different.
  ASSERT_GT(counts[1], 0);
  ASSERT_GT(counts[2], 0);
  double difference = 0;
  for (int k = 0; k < 3; ++k) difference += std::fabs(double(sums[1][k]) / counts[1] - double(sums[2][k]) / counts[2]);
  EXPECT_GT(difference, 40);
  EXPECT_TRUE(messages.empty());

  // Built again, the screens come out byte for byte the same.
  const std::vector<uint8_t> first = contenttest::ReadBytes(folder + "/0.tga");
  ASSERT_TRUE(BuildLevelScreens(dir.Path()));
  EXPECT_TRUE(first == contenttest::ReadBytes(folder + "/0.tga"));
}

TEST_F(LevelScreensTest, ScreenSharedByTwoPlacesIsRefused) {
  ContentDir dir;
  contenttest::WriteLevel(OnDisk(dir.Path(), Level().file), TestLevel(1, 1));
  EXPECT_FALSE(BuildLevelScreens(dir.Path()));
  EXPECT_FALSE(BuildLevelScreens(dir.Path() + "/no-such-folder"));
}

TEST(ContentPictures, PicturesAreTheSameOnEveryRun) {
  ContentDir dir;
  ASSERT_TRUE(BuildSpriteSheets(dir.Path()));
  ASSERT_TRUE(BuildPlayPictures(dir.Path()));
  const std::vector<uint8_t> sheet = contenttest::ReadBytes(OnDisk(dir.Path(), kUnitKinds[4].sheet));
  const std::vector<uint8_t> digits = contenttest::ReadBytes(OnDisk(dir.Path(), "DATA\\onscreen\\fontx2.tga"));
  ASSERT_TRUE(BuildSpriteSheets(dir.Path()));
  ASSERT_TRUE(BuildPlayPictures(dir.Path()));
  EXPECT_TRUE(sheet == contenttest::ReadBytes(OnDisk(dir.Path(), kUnitKinds[4].sheet)));
  EXPECT_TRUE(digits == contenttest::ReadBytes(OnDisk(dir.Path(), "DATA\\onscreen\\fontx2.tga")));
}

}  // namespace
