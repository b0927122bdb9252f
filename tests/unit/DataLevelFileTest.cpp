#include "data/LevelFile.h"

#include <bit>
#include <cmath>
#include <limits>
#include <map>

#include "DataTestFolder.h"
#include "data/LevelLoader.h"

namespace {

// A level file's numbers, with the index of each named number remembered.
class LevelNumbers {
 public:
  LevelNumbers& Add(std::initializer_list<float> values, const std::string& name = "") {
    if (!name.empty()) marks[name] = numbers.size();
    numbers.insert(numbers.end(), values);
    return *this;
  }
  size_t At(const std::string& name) const { return marks.at(name); }
  std::vector<float> numbers;

 private:
  std::map<std::string, size_t> marks;
};

std::vector<uint8_t> Bytes(const std::vector<float>& numbers) {
  std::vector<uint8_t> bytes;
  for (float value : numbers) {
    const uint32_t bits = std::bit_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(uint8_t(bits >> shift));
  }
  return bytes;
}

// A level of 2 x 3 screens using every list; counts are last indices.
LevelNumbers ValidLevel() {
  LevelNumbers level;
  level.Add({2}, "screensX").Add({3.9f}, "screensY");
  level.Add({1, 2, 3, 4, 5, 6}, "grid");
  level.Add({2}, "lineCountA").Add({0, 300, 800, 300.7f, 900, -250}).Add({0, 257, 0}, "breaksA");
  level.Add({-0.5f}, "lineCountB").Add({10, 20}).Add({1});
  level.Add({1}, "lineCountC").Add({1, 2, 3, 4}).Add({0, 0});
  level.Add({2}, "unitCount").Add({100, 450, 0, 1000, 450, 6}).Add({1200, 460}).Add({3}, "unitType2");
  for (int k = 0; k < 7; ++k) {
    level.Add({float(k % 2)}, "lastItem" + std::to_string(k));
    for (int j = 0; j <= k % 2; ++j) level.Add({10.7f * float(k + 1), -3.5f});
  }
  level.Add({1}, "blockCount").Add({500, 400, 1, 1}).Add({600, 380}).Add({0}, "permanent1").Add({7});
  return level;
}

// The last index of each list of a level.
struct ListSizes {
  int screensX, screensY, lines, units, items, blocks;
};

// A level whose every number is the largest its field takes (screen pictures
// 99, breaks, unit type 6, permanent blocks, solidNow 255) and whose points
// count up with their index, so that the last entry of each list is known.
LevelNumbers LevelOfSizes(const ListSizes& sizes) {
  LevelNumbers level;
  level.Add({float(sizes.screensX), float(sizes.screensY)});
  for (int cell = 0; cell < sizes.screensX * sizes.screensY; ++cell) level.Add({99});
  for (int list = 0; list < 3; ++list) {
    level.Add({float(sizes.lines)});
    for (int i = 0; i <= sizes.lines; ++i) level.Add({float(i), float(-i)});
    for (int i = 0; i <= sizes.lines; ++i) level.Add({1});
  }
  level.Add({float(sizes.units)});
  for (int i = 0; i <= sizes.units; ++i) level.Add({float(i), 450, 6});
  for (int k = 0; k < 7; ++k) {
    level.Add({float(sizes.items)});
    for (int j = 0; j <= sizes.items; ++j) level.Add({float(j), float(k)});
  }
  level.Add({float(sizes.blocks)});
  for (int i = 0; i <= sizes.blocks; ++i) level.Add({float(i), 400, 1, 255});
  return level;
}

class DataLevelFile : public DataFolderTest {
 protected:
  void Write(const std::vector<float>& numbers) { WriteBytes("level.vrk", Bytes(numbers)); }
  std::string Refusal(const std::string& reason) {
    return "VIRKO|" + kCannotLoad + "level.vrk: " + reason;
  }
  // Loads a file meant to be refused and checks that the state is as before.
  void ExpectRefused(const std::vector<float>& numbers, const std::string& reason) {
    SCOPED_TRACE(reason);
    Write(ValidLevel().numbers);
    ASSERT_TRUE(LoadLevelFile("level.vrk"));
    Write(numbers);
    messages().clear();
    EXPECT_FALSE(LoadLevelFile("level.vrk"));
    EXPECT_EQ(messages(), std::vector<std::string>{Refusal(reason)});
    EXPECT_EQ(game.screensX, 2);
    EXPECT_EQ(game.lineCountA, 2);
    EXPECT_EQ(game.lineA[1].x, 800);
    EXPECT_EQ(game.unitCount, 2);
    EXPECT_EQ(units[2].unitType, 3);
    EXPECT_EQ(pickupKinds[1].lastItem, 1);
    EXPECT_EQ(game.blockCount, 1);
    EXPECT_EQ(game.blocks[1].x, 600);
  }
  // "pozīcijā N" for the number with this index.
  static std::string At(size_t index) {
    return " poz\xEE" "cij\xE2 " + std::to_string(4 * index);
  }
};

}  // namespace

TEST_F(DataLevelFile, ValidFileFillsEveryList) {
  Write(ValidLevel().numbers);
  ASSERT_TRUE(LoadLevelFile("LEVEL.VRK"));
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(game.screensX, 2);
  EXPECT_EQ(game.screensY, 3);  // 3.9 truncated
  // Column by column: all rows of column 0 first.
  EXPECT_EQ(game.screenGrid[0][0], 1);
  EXPECT_EQ(game.screenGrid[0][2], 3);
  EXPECT_EQ(game.screenGrid[1][0], 4);
  EXPECT_EQ(game.screenGrid[1][2], 6);
  EXPECT_EQ(game.lineCountA, 2);
  EXPECT_EQ(game.lineA[2].x, 900);
  EXPECT_EQ(game.lineA[1].y, 300);
  EXPECT_EQ(game.lineA[2].y, -250);
  EXPECT_EQ(game.lineBreakA[1], 1);  // 257 keeps its low 8 bits
  EXPECT_EQ(game.lineCountB, 0);     // -0.5 truncates to 0
  EXPECT_EQ(game.lineB[0].y, 20);
  EXPECT_EQ(game.lineBreakB[0], 1);
  EXPECT_EQ(game.lineC[1].y, 4);
  EXPECT_EQ(game.unitCount, 2);
  EXPECT_EQ(game.unitStart[1].x, 1000);
  EXPECT_EQ(units[0].unitType, 0);
  EXPECT_EQ(units[1].unitType, 6);
  EXPECT_EQ(units[2].unitType, 3);
  EXPECT_EQ(game.unitStart[2].y, 460);
  for (int k = 0; k < 7; ++k) {
    EXPECT_EQ(pickupKinds[k].lastItem, k % 2);
    EXPECT_EQ(pickupKinds[k].items[k % 2].x, std::trunc(10.7f * float(k + 1)));
    EXPECT_EQ(pickupKinds[k].items[k % 2].y, -3.0f);
  }
  EXPECT_EQ(game.blockCount, 1);
  EXPECT_EQ(game.blocks[0].permanent, 1);
  EXPECT_EQ(game.blocks[0].solidNow, 1);
  EXPECT_EQ(game.blocks[1].y, 380);
  EXPECT_EQ(game.blocks[1].permanent, 0);
  EXPECT_EQ(game.blocks[1].solidNow, 7);
}

// Every list at its largest does not fit the table of numbers (see the
// refusals below): the grid, line and unit lists full in one file, the pickup
// and block lists in another. Each loads and fits the game's tables.
TEST_F(DataLevelFile, FilesWithEveryListAtItsLargestLoad) {
  const LevelNumbers gridLinesUnits = LevelOfSizes({31, 11, 511, 500, 0, 0});
  ASSERT_LE(gridLinesUnits.numbers.size(), kMaxLevelNumbers);
  Write(gridLinesUnits.numbers);
  ASSERT_TRUE(LoadLevelFile("level.vrk"));
  EXPECT_TRUE(messages().empty());
  std::string reason;
  EXPECT_TRUE(LevelFitsTables(reason)) << reason;
  EXPECT_EQ(game.screensX, 31);
  EXPECT_EQ(game.screensY, 11);
  EXPECT_EQ(game.screenGrid[30][10], 99);
  EXPECT_EQ(game.lineCountA, 511);
  EXPECT_EQ(game.lineCountB, 511);
  EXPECT_EQ(game.lineCountC, 511);
  EXPECT_EQ(game.lineC[511].y, -511);
  EXPECT_EQ(game.lineBreakC[511], 1);
  EXPECT_EQ(game.unitCount, 500);
  EXPECT_EQ(game.unitStart[500].x, 500);
  EXPECT_EQ(units[500].unitType, 6);

  const LevelNumbers itemsBlocks = LevelOfSizes({1, 1, 0, 0, 99, 500});
  ASSERT_LE(itemsBlocks.numbers.size(), kMaxLevelNumbers);
  Write(itemsBlocks.numbers);
  ASSERT_TRUE(LoadLevelFile("level.vrk"));
  EXPECT_TRUE(messages().empty());
  EXPECT_TRUE(LevelFitsTables(reason)) << reason;
  for (int k = 0; k < 7; ++k) {
    EXPECT_EQ(pickupKinds[k].lastItem, 99);
    EXPECT_EQ(pickupKinds[k].items[99].x, 99.0f);
    EXPECT_EQ(pickupKinds[k].items[99].y, float(k));
  }
  EXPECT_EQ(game.blockCount, 500);
  EXPECT_EQ(game.blocks[500].x, 500);
  EXPECT_EQ(game.blocks[500].permanent, 1);
  EXPECT_EQ(game.blocks[500].solidNow, 255);
}

TEST_F(DataLevelFile, ShortFileReadsZerosAndEntriesAboveACountKeepOlderValues) {
  Write(ValidLevel().numbers);
  ASSERT_TRUE(LoadLevelFile("level.vrk"));
  Write({2, 0, 0, 11, 12});  // no grid with 0 rows: the third number is lineCountA
  ASSERT_TRUE(LoadLevelFile("level.vrk"));
  EXPECT_EQ(game.screensY, 0);
  EXPECT_EQ(game.screenGrid[1][2], 6);
  EXPECT_EQ(game.lineCountA, 0);
  EXPECT_EQ(game.lineA[0].x, 11);
  EXPECT_EQ(game.lineA[0].y, 12);
  EXPECT_EQ(game.lineA[1].x, 800);  // above the count: kept
  EXPECT_EQ(game.lineBreakA[0], 0);
  EXPECT_EQ(game.lineBreakA[1], 1);
  EXPECT_EQ(game.unitCount, 0);
  EXPECT_EQ(units[0].unitType, 0);
  EXPECT_EQ(units[2].unitType, 3);
  EXPECT_EQ(pickupKinds[1].lastItem, 0);
  EXPECT_EQ(pickupKinds[1].items[0].x, 0.0f);
  EXPECT_EQ(pickupKinds[1].items[1].x, 21.0f);
  EXPECT_EQ(game.blocks[0].permanent, 0);
  EXPECT_EQ(game.blocks[1].x, 600);
}

TEST_F(DataLevelFile, CountsKeepTheirLowBitsAndNumbersAfterTheLastBlockAreNotRead) {
  LevelNumbers level = ValidLevel();
  level.numbers[level.At("unitCount")] = 65536 + 2;
  level.Add({std::numeric_limits<float>::quiet_NaN()});
  level.numbers.resize(kMaxLevelNumbers);
  Write(level.numbers);
  ASSERT_TRUE(LoadLevelFile("level.vrk"));
  EXPECT_EQ(game.unitCount, 2);
  EXPECT_TRUE(messages().empty());
}

TEST_F(DataLevelFile, FilesBreakingTheFormatAreRefusedWithTheStateUntouched) {
  const LevelNumbers valid = ValidLevel();
  auto with = [&](const std::string& name, float value, size_t offset = 0) {
    std::vector<float> numbers = valid.numbers;
    numbers[valid.At(name) + offset] = value;
    return numbers;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float infinity = std::numeric_limits<float>::infinity();

  ExpectRefused(with("screensX", 32), "screensX = 32" + At(0) + " (liel\xE2kais 31)");
  ExpectRefused(with("screensY", 12), "screensY = 12" + At(1) + " (liel\xE2kais 11)");
  ExpectRefused(with("grid", 100, 5), "screenGrid = 100" + At(7) + " (liel\xE2kais 99)");
  for (const char* list : {"lineCountA", "lineCountB", "lineCountC"}) {
    ExpectRefused(with(list, 512), list + (" = 512" + At(valid.At(list))) + " (liel\xE2kais 511)");
  }
  ExpectRefused(with("unitCount", 501), "unitCount = 501" + At(29) + " (liel\xE2kais 500)");
  ExpectRefused(with("unitType2", 7), "unitType = 7" + At(valid.At("unitType2")) +
                                          " (liel\xE2kais 6)");
  ExpectRefused(with("lastItem6", 100), "lastItem = 100" + At(valid.At("lastItem6")) +
                                            " (liel\xE2kais 99)");
  ExpectRefused(with("blockCount", 501), "blockCount = 501" + At(valid.At("blockCount")) +
                                             " (liel\xE2kais 500)");
  ExpectRefused(with("permanent1", 2), "permanent = 2" + At(valid.At("permanent1")) +
                                           " (liel\xE2kais 1)");
  ExpectRefused(with("lineCountC", -1), "negat\xEEvs skaitlis" + At(valid.At("lineCountC")));
  ExpectRefused(with("breaksA", -1.5f, 2), "negat\xEEvs skaitlis" + At(17));
  ExpectRefused(with("lineCountA", 3e9f, 1), "skaitlis \xE2rpus robe\xFE\xE2m" + At(9));
  ExpectRefused(with("blockCount", nan, 1), "nav skaitlis" + At(valid.At("blockCount") + 1));
  ExpectRefused(with("screensY", -infinity), "nav skaitlis" + At(1));

  std::vector<float> tooMany = valid.numbers;
  tooMany.resize(kMaxLevelNumbers + 1);
  ExpectRefused(tooMany, "vair\xE2k par 9001 skaitli");
  // Every list full: the block list would end past the table of numbers. The
  // file is cut to the table, so that the walk, not the length, refuses it.
  LevelNumbers full = LevelOfSizes({0, 0, 511, 500, 99, 500});
  ASSERT_GT(full.numbers.size(), kMaxLevelNumbers);
  full.numbers.resize(kMaxLevelNumbers);
  ExpectRefused(full.numbers, "vair\xE2k par 9001 skaitli");
}

TEST_F(DataLevelFile, TruncatedNumberOrMissingFileIsReported) {
  std::vector<uint8_t> bytes = Bytes(ValidLevel().numbers);
  bytes.push_back(0);
  WriteBytes("level.vrk", bytes);
  EXPECT_FALSE(LoadLevelFile("level.vrk"));
  EXPECT_EQ(messages(), std::vector<std::string>{Refusal("garums nav 4 baitu daudzk\xE2rtnis")});
  EXPECT_EQ(game.screensX, 0);

  messages().clear();
  EXPECT_FALSE(LoadLevelFile("DATA\\levels\\missing.vrk"));
  EXPECT_EQ(messages(), std::vector<std::string>{"VIRKO|" + kCannotLoad + "VRK"});
  EXPECT_TRUE(TerminateRequested());
}
