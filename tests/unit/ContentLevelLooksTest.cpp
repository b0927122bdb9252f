// The looks of a level's screen pictures: sections told apart, walls drawn
// as cliffs, nothing cut off at a screen's edge, the finish marked.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "ContentTestFiles.h"
#include "app/GameState.h"
#include "data/LevelFile.h"
#include "data/LevelLoader.h"
#include "game/CollisionMap.h"
#include "platform/MessageBox.h"
#include "tools/content/Catalogue.h"
#include "tools/content/LevelThemes.h"
#include "tools/content/PictureGroups.h"
#include "tools/level/LevelBinary.h"
#include "tools/level/LevelText.h"

using contenttest::ContentDir;
using contenttest::Picture;
using contenttest::ReadTga;

namespace {

float Difference(Rgba a, Rgba b) { return std::fabs(a.r - b.r) + std::fabs(a.g - b.g) + std::fabs(a.b - b.b); }

TEST(LevelThemes, NeighbouringSectionsDifferAndMeetWithoutASeam) {
  std::set<LandmarkKind> landmarks;
  for (int k = 0; k < kSectionCount; ++k) {
    landmarks.insert(SectionTheme(k).landmark);
    if (k == 0) continue;
    const Theme& before = SectionTheme(k - 1);
    const Theme& after = SectionTheme(k);
    EXPECT_GT(Difference(before.grass, after.grass) + Difference(before.earth, after.earth), 0.15f) << "section " << k;
  }
  EXPECT_EQ(landmarks.size(), size_t(kSectionCount)) << "every section has a landmark of its own";
  EXPECT_EQ(SectionTheme(kSectionCount - 1).landmark, LandmarkKind::finishGate);
  // The finish's theme holds to the end of the widest level.
  EXPECT_EQ(SectionAt(31 * 800 - 1), kSectionCount - 1);
  EXPECT_EQ(SectionAt(-10), 0);
  // From one pixel to the next the ground's colours hardly change, across
  // the boundaries too.
  for (Rgba Theme::*colour : {&Theme::grass, &Theme::earth, &Theme::rock})
    for (float x = 0; x < 31 * 800; x += 1)
      ASSERT_LT(Difference(ThemeColour(x, colour), ThemeColour(x + 1, colour)), 0.02f) << "at x " << x;
}

// Four screens across, two down; the top-left screen has no picture. The
// ground lies at y 640, just under the top of the lower row, from edge to
// edge of the level; a wall stands free on it at x 1200 up to y 250. The
// level ends at x 2700.
constexpr const char* kLevel = R"(size 4 2
row 0 1 2 3
row 4 5 6 7
solid 0,1200 0,640 3200,640 3200,1200 0,1200
solid 1200,640 1200,250
player 300,570
pickup -5000,-5000 kind 0
pickup -5000,-5000 kind 1
pickup -5000,-5000 kind 2
pickup -5000,-5000 kind 3
pickup -5000,-5000 kind 4
pickup -5000,-5000 kind 5
pickup -5000,-5000 kind 6
block -5000,-5000
)";

// Texels of a screen picture (stored at 1024 x 512) and world pixels.
constexpr int kTexW = 1024, kTexH = 512;
int WorldX(int column, int u) { return column * 800 + int((u + 0.5) * 800 / kTexW); }
int WorldY(int row, int v) { return row * 600 + int((v + 0.5) * 600 / kTexH); }
int TexelU(int column, int x) { return int((x - column * 800) * double(kTexW) / 800); }
int TexelV(int row, int y) { return int((y - row * 600) * double(kTexH) / 600); }

class LevelLooksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<LevelProblem> problems;
    const LevelSource source = ParseLevelText(kLevel, problems);
    ASSERT_FALSE(HasErrors(problems));
    contenttest::WriteLevel(OnDisk(dir_.Path(), level_.file), CompileLevel(source));
    ASSERT_TRUE(BuildLevelScreens(dir_.Path(), level_));
    // The game's own map of the level, to tell what is solid.
    ResetGameState();
    ASSERT_TRUE(LoadLevelFile(OnDisk(dir_.Path(), level_.file)));
    BuildCollisionMap();
  }
  void TearDown() override {
    SetMessageBoxHandler(nullptr);
    ClearTerminateRequest();
    ResetGameState();
  }
  // The picture of the screen in a grid cell (every cell but the top-left
  // one has one).
  Picture Screen(int column, int row) const {
    const int slot = game.screenGrid[column][row];
    return ReadTga(OnDisk(dir_.Path(), level_.dir) + "/" + std::to_string(slot - 1) + ".tga");
  }
  static bool HasPicture(int column, int row) {
    return column >= 0 && row >= 0 && column < game.screensX && row < game.screensY &&
           game.screenGrid[column][row] != 0;
  }
  static bool NearLine(int x, int y) {
    for (int dy = -3; dy <= 3; ++dy)
      for (int dx = -3; dx <= 3; ++dx)
        if (CollisionMap.Supports(x + dx, y + dy)) return true;
    return false;
  }

  ContentDir dir_;
  const LevelEntry level_ = LevelEntryNamed(kDefaultLevel);
};

// A texel on a screen's edge shows something only where the level's lines
// themselves run on into the next screen: scenery (trees, plants,
// landmarks) would be cut off there wherever the next screen has no picture
// (the top-left screen, and beyond the level's edges).
TEST_F(LevelLooksTest, NothingButTheLinesReachesAScreenWithoutAPicture) {
  for (int column = 0; column < 4; ++column)
    for (int row = 0; row < 2; ++row) {
      if (!HasPicture(column, row)) continue;
      const Picture picture = Screen(column, row);
      ASSERT_EQ(picture.width, kTexW);
      int cut = 0;
      auto check = [&](int u, int v) {
        if (picture.Alpha(u, v) > 0 && !NearLine(WorldX(column, u), WorldY(row, v))) ++cut;
      };
      for (int u = 0; u < kTexW; ++u) {
        if (!HasPicture(column, row - 1)) check(u, 0);
        if (!HasPicture(column, row + 1)) check(u, kTexH - 1);
      }
      for (int v = 0; v < kTexH; ++v) {
        if (!HasPicture(column - 1, row)) check(0, v);
        if (!HasPicture(column + 1, row)) check(kTexW - 1, v);
      }
      EXPECT_EQ(cut, 0) << "screen " << column << "," << row << ": texels of scenery on an edge with no picture beyond";
    }
}

TEST_F(LevelLooksTest, WallsAreDrawnAsCliffs) {
  // The wall standing free is drawn as a crag, far wider than its line
  // (23 pixels): halfway up, in the top row.
  const Picture top = Screen(1, 0);
  const int v = TexelV(0, 450);
  int wide = 0;
  for (int u = TexelU(1, 1080); u < TexelU(1, 1320); ++u) wide += top.Alpha(u, v) == 255;
  constexpr int kWorldWide = 60;
  EXPECT_GT(wide, kWorldWide * kTexW / 800) << "opaque texels across the wall";

  // Behind the island's steep left side the inside is rock (the first
  // section's: grey, blue as much as red); far from it, earth (brown, far
  // more red than blue).
  auto blueOverRed = [](const Picture& p, int u0, int v0) {
    double sum = 0;
    for (int v = v0; v < v0 + 8; ++v)
      for (int u = u0; u < u0 + 8; ++u) sum += double(p.At(u, v)[2]) - p.At(u, v)[0];
    return sum / 64;
  };
  const Picture left = Screen(0, 1);
  const Picture middle = Screen(2, 1);
  const double rock = blueOverRed(left, TexelU(0, 60), TexelV(1, 1000));
  const double earth = blueOverRed(middle, TexelU(2, 1960), TexelV(1, 1000));
  EXPECT_GT(rock - earth, 30) << "rock " << rock << ", earth " << earth;
}

// The checkered banner of the finish gate shows within 400 pixels before
// the level's end (x 2700), above the ground: the player sees it from there.
TEST_F(LevelLooksTest, FinishGateStandsJustBeforeTheEnd) {
  int white = 0;
  for (int column : {2, 3}) {
    const Picture picture = Screen(column, 0);
    for (int v = TexelV(0, 640 - 200); v < TexelV(0, 640 - 60); ++v)
      for (int u = 0; u < kTexW; ++u) {
        const int x = WorldX(column, u);
        if (x < 2700 - 400 || x > 2700) continue;
        const uint8_t* c = picture.At(u, v);
        white += c[0] > 240 && c[1] > 240 && c[2] > 240 && c[3] == 255;
      }
  }
  EXPECT_GT(white, 400);
}

}  // namespace
