// The level text against the game's binary level file: the compiled layout,
// the round trip through the game's reader, the demo level, and the
// collision map the game draws from it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/GameState.h"
#include "game/CollisionMap.h"
#include "tools/level/LevelBinary.h"
#include "tools/level/LevelCheck.h"
#include "tools/level/LevelRender.h"
#include "tools/level/LevelText.h"

namespace {

// The demo level's source, beside this repository's tests.
std::string DemoLevelText() {
  const std::filesystem::path source = std::filesystem::path(VIRKO_TEST_DATA).parent_path().parent_path() / "tools/levels/demo.level";
  std::ifstream in(source);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_FALSE(text.str().empty()) << "cannot read " << source;
  return text.str();
}

LevelSource Parse(const std::string& text) {
  std::vector<LevelProblem> problems;
  LevelSource level = ParseLevelText(text, problems);
  EXPECT_TRUE(problems.empty());
  return level;
}

std::vector<uint8_t> Compile(const LevelSource& level) { return LevelFileBytes(CompileLevel(level)); }

TEST(LevelToolFile, CompilesEveryListInTheFileLayout) {
  const LevelSource level = Parse(R"(size 2 1
row 3 4
solid 0,500 100,500
solid 200,500
platform 10,20 30,40
player 100,430 type 0
unit 50,60 type 3
pickup 1,2 kind 0
pickup 1,1 kind 1
pickup 2,2 kind 2
pickup 3,3 kind 3
pickup 4,4 kind 4
pickup 5,5 kind 5
pickup 6,6 kind 6
pickup 5,6 kind 0
block 300,500 permanent
block 400,500 solidnow 1
)");
  const std::vector<float> expected = {
      2, 1, 3, 4,                                          // size, grid column by column
      3, 0, 500, 100, 500, 200, 500, 0, 0, 0, 1, 1, 0,     // A: last index, points, breaks
      2, 10, 20, 30, 40, 0, 0, 0, 1, 0,                    // B
      0, 0, 0, 0,                                          // C: no stroke, the closing point
      1, 100, 430, 0, 50, 60, 3,                           // units, the player first
      1, 1, 2, 5, 6, 0, 1, 1, 0, 2, 2, 0, 3, 3, 0, 4, 4,   // pickups by kind
      0, 5, 5, 0, 6, 6,                                    //
      1, 300, 500, 1, 0, 400, 500, 0, 1};                  // blocks
  EXPECT_EQ(CompileLevel(level), expected);
  EXPECT_EQ(CompiledNumberCount(level), expected.size());
  const std::vector<uint8_t> bytes = Compile(level);
  ASSERT_EQ(bytes.size(), expected.size() * 4);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4),
            (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x40}));  // 2.0f, little-endian
}

TEST(LevelToolFile, DemoLevelRoundTripsThroughTheGameReader) {
  const std::vector<uint8_t> bytes = Compile(Parse(DemoLevelText()));
  std::vector<std::string> messages;
  const std::optional<LevelSource> read = DecompileLevelBytes(bytes, messages);
  ASSERT_TRUE(read) << (messages.empty() ? "" : messages[0]);
  const std::string text = WriteLevelText(*read, {"demo"});
  const LevelSource reread = Parse(text);
  EXPECT_EQ(Compile(reread), bytes);
  EXPECT_EQ(WriteLevelText(reread, {"demo"}), text);
}

// Numbers the text does not keep: a fraction, a break flag of 2 (no break),
// another closing point and numbers after the last block.
TEST(LevelToolFile, AFileMadeElsewhereDecompilesToTheLevelTheGameReads) {
  std::vector<float> numbers = CompileLevel(Parse(R"(size 1 1
row 1
solid 0,500 100,500 200,400
player 100,430 type 0
pickup 1,2 kind 0
pickup 1,1 kind 1
pickup 2,2 kind 2
pickup 3,3 kind 3
pickup 4,4 kind 4
pickup 5,5 kind 5
pickup 6,6 kind 6
block 300,500 permanent
)"));
  std::vector<float> odd = numbers;
  odd[2] = 1.9f;   // the grid cell
  odd[10] = 77;    // the closing point of list A
  odd[12] = 2;     // break flag of point 0
  odd.insert(odd.end(), {5, 6, 7});
  std::vector<std::string> messages;
  const std::optional<LevelSource> read = DecompileLevelBytes(LevelFileBytes(odd), messages);
  ASSERT_TRUE(read);
  EXPECT_EQ(CompileLevel(*read), numbers);
}

TEST(LevelToolFile, AFileTheGameRefusesIsNotDecompiled) {
  std::vector<float> numbers = CompileLevel(Parse(DemoLevelText()));
  // The player's unit type follows the player's start position.
  const LevelSource demo = Parse(DemoLevelText());
  const float start[2] = {float(demo.player->at.x), float(demo.player->at.y)};
  const auto at = std::search(numbers.begin(), numbers.end(), start, start + 2);
  ASSERT_NE(at, numbers.end());
  *(at + 2) = 9;
  std::vector<std::string> messages;
  EXPECT_FALSE(DecompileLevelBytes(LevelFileBytes(numbers), messages));
  EXPECT_FALSE(messages.empty());
}

TEST(LevelToolFile, DemoLevelPassesCheckAndHasWhatTheDemoNeeds) {
  const LevelSource level = Parse(DemoLevelText());
  for (const LevelProblem& problem : CheckLevel(level)) ADD_FAILURE() << FormatProblem("demo", problem);

  EXPECT_GE(level.screensX, 8);
  EXPECT_GE(level.screensY, 2);
  bool kinds[7] = {}, types[7] = {};
  for (const LevelPickup& pickup : level.pickups) kinds[pickup.kind] = true;
  for (const LevelUnit& unit : level.units) types[unit.type] = true;
  for (int k = 0; k < 7; ++k) EXPECT_TRUE(kinds[k]) << "pickup kind " << k;
  for (int t = 1; t <= 6; ++t) EXPECT_TRUE(types[t]) << "unit type " << t;
  EXPECT_FALSE(level.lines[kSolidLines].empty());
  EXPECT_GE(level.lines[kPlatformLines].size(), 2u);

  // A permanent block followed by at least four that are not.
  size_t longestPath = 0;
  for (size_t i = 0; i < level.blocks.size(); ++i) {
    if (!level.blocks[i].permanent) continue;
    size_t run = 0;
    while (i + 1 + run < level.blocks.size() && !level.blocks[i + 1 + run].permanent) ++run;
    longestPath = std::max(longestPath, run);
  }
  EXPECT_GE(longestPath, 4u);
}

// The distance from a pixel to a segment, as the map's pen measures it.
double Distance(double px, double py, const LevelPoint& a, const LevelPoint& b) {
  const double dx = double(b.x - a.x), dy = double(b.y - a.y);
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - a.x) * dx + (py - a.y) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(a.x + t * dx - px, a.y + t * dy - py);
}

using Segments = std::vector<std::pair<LevelPoint, LevelPoint>>;

Segments SegmentsOf(const std::vector<LevelStroke>& strokes) {
  Segments segments;
  for (const LevelStroke& stroke : strokes)
    for (size_t i = 1; i < stroke.points.size(); ++i) segments.push_back({stroke.points[i - 1], stroke.points[i]});
  return segments;
}

Segments PermanentBlockOutlines(const LevelSource& level) {
  Segments segments;
  for (const LevelBlock& block : level.blocks) {
    if (!block.permanent) continue;
    const LevelPoint corners[5] = {block.at, {block.at.x + 70, block.at.y}, {block.at.x + 70, block.at.y + 35},
                                   {block.at.x, block.at.y + 35}, block.at};
    for (int i = 0; i < 4; ++i) segments.push_back({corners[i], corners[i + 1]});
  }
  return segments;
}

// Covered, clear, or too near the pen's edge to say.
enum class Cover { inside, outside, edge };
Cover CoverOf(double x, double y, const Segments& segments) {
  double nearest = 1e9;
  for (const auto& [a, b] : segments) nearest = std::min(nearest, Distance(x, y, a, b));
  return nearest < 10.5 ? Cover::inside : nearest > 12.5 ? Cover::outside : Cover::edge;
}

// Loads the level with the game's loader and compares every fifth pixel of
// the rendered map with the level's lines, drawn in the game's order: solid
// lines, then platforms over them, then permanent blocks.
void ExpectRenderedMapAgreesWithLines(const LevelSource& level) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("virko-map-test-" + std::to_string(getpid()) + ".vrk")).string();
  std::string error;
  ASSERT_TRUE(WriteBinaryFile(path, Compile(level), error));
  ResetGameState();
  std::vector<std::string> messages;
  ASSERT_TRUE(LoadLevelForPicture(path, messages));
  std::filesystem::remove(path);
  const RgbImage image = RenderCollisionMap(CollisionMap, 1);
  ASSERT_EQ(image.width, level.screensX * 800);
  ASSERT_EQ(image.height, level.screensY * 600);

  const Segments solid = SegmentsOf(level.lines[kSolidLines]);
  const Segments platform = SegmentsOf(level.lines[kPlatformLines]);
  const Segments blocks = PermanentBlockOutlines(level);
  int compared = 0, lit = 0;
  for (int y = 0; y < image.height; y += 5) {
    for (int x = 0; x < image.width; x += 5) {
      const Cover overSolid = CoverOf(x, y, solid), overPlatform = CoverOf(x, y, platform),
                  overBlock = CoverOf(x, y, blocks);
      RgbColour expected = kEmptyColour;
      if (overBlock == Cover::inside) {
        expected = kSolidColour;
      } else if (overBlock == Cover::edge) {
        continue;
      } else if (overPlatform == Cover::inside) {
        expected = kPlatformColour;
      } else if (overPlatform == Cover::edge) {
        continue;
      } else if (overSolid == Cover::inside) {
        expected = kSolidColour;
      } else if (overSolid == Cover::edge) {
        continue;
      }
      ++compared;
      lit += !(expected == kEmptyColour);
      const RgbColour got = image.At(x, y);
      ASSERT_TRUE(got == expected) << "map pixel " << x << "," << y;
    }
  }
  EXPECT_GT(lit, 100);
  EXPECT_GT(compared, image.width * image.height / 30);
}

TEST(LevelToolFile, RenderedMapOfTheDemoLevelAgreesWithItsLines) {
  ExpectRenderedMapAgreesWithLines(Parse(DemoLevelText()));
}

TEST(LevelToolFile, RenderedMapShowsBreaksOverlapsAndTheLayout) {
  const LevelSource level = Parse(R"(size 1 1
row 1
solid 0,500 300,500
solid 400,500 800,500 800,100
platform 100,450 700,450
player 200,400 type 0
pickup 10,10 kind 0
pickup 20,10 kind 1
pickup 30,10 kind 2
pickup 40,10 kind 3
pickup 50,10 kind 4
pickup 60,10 kind 5
pickup 70,10 kind 6
block 200,100 permanent
block 330,480
)");
  ExpectRenderedMapAgreesWithLines(level);
  // The break leaves the gap between x 311.5 and 388.5 empty; the dormant
  // block over it is not in the map.
  EXPECT_EQ(CollisionMap.Get(350, 500), PixelClass::empty);
  EXPECT_EQ(CollisionMap.Get(350, 515), PixelClass::empty);

  RgbImage image = RenderCollisionMap(CollisionMap, 2);
  EXPECT_EQ(image.width, 400);
  EXPECT_TRUE(image.At(100, 250) == kSolidColour);  // thin lines survive the shrink
  DrawLevelLayout(image, 2);
  EXPECT_FALSE(image.At(90, 200) == kEmptyColour);  // the player's box, left edge
}

}  // namespace
