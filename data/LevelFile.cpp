#include "data/LevelFile.h"

#include <bit>
#include <cmath>
#include <memory>
#include <vector>

#include "app/GameState.h"
#include "data/DataFile.h"
#include "game/Gameplay.h"
#include "game/Units.h"
#include "platform/MessageBox.h"

namespace {

// Why a level file was refused.
struct tLevelRefusal {
  std::string reason;
};

// "vairāk par 9001 skaitli": more numbers than the table of 9001 holds.
const std::string kTooManyNumbers = "vair\xE2k par 9001 skaitli";

// "pozīcijā N": at byte N of the file, where the number with this index starts.
std::string AtPosition(size_t index) {
  return " poz\xEE" "cij\xE2 " + std::to_string(4 * index);
}

// Takes the file's numbers one after the other, in the order of the format,
// and refuses every number that cannot be stored as the format says.
class cLevelReader {
 public:
  explicit cLevelReader(std::vector<float> numbers) : numbers(std::move(numbers)) {}

  // A byte or word field (bits 8 or 16): negative numbers are refused, others
  // keep their low bits, and the result must not exceed max.
  uint32_t Unsigned(int bits, const char* field, uint32_t max) {
    const double value = Next();
    if (value < 0) throw tLevelRefusal{"negat\xEEvs skaitlis" + AtPosition(taken)};
    const uint32_t stored = uint32_t(std::fmod(value, std::ldexp(1.0, bits)));
    if (stored > max) {
      // "field = v pozīcijā N (lielākais max)": above the largest allowed.
      throw tLevelRefusal{std::string(field) + " = " + std::to_string(stored) +
                          AtPosition(taken) + " (liel\xE2kais " + std::to_string(max) + ")"};
    }
    return stored;
  }
  uint8_t Byte(const char* field, uint32_t max = 255) { return uint8_t(Unsigned(8, field, max)); }
  uint16_t Word(const char* field, uint32_t max) { return uint16_t(Unsigned(16, field, max)); }

  int32_t Signed() {
    const double value = Next();
    if (value < -2147483648.0 || value > 2147483647.0) {
      // "skaitlis ārpus robežām": a number out of range.
      throw tLevelRefusal{"skaitlis \xE2rpus robe\xFE\xE2m" + AtPosition(taken)};
    }
    return int32_t(value);
  }

  // A pickup position: the truncated number, kept as a float.
  float Whole() { return float(Next()); }

 private:
  // The next number, truncated toward zero. Numbers past the end of a short
  // file read as 0; a walk needing more than the table holds is refused.
  double Next() {
    if (index >= kMaxLevelNumbers) throw tLevelRefusal{kTooManyNumbers};
    const float value = index < numbers.size() ? numbers[index] : 0.0f;
    taken = index++;
    if (!std::isfinite(value)) throw tLevelRefusal{"nav skaitlis" + AtPosition(taken)};
    return std::trunc(double(value));
  }

  std::vector<float> numbers;
  size_t index = 0;  // of the next number
  size_t taken = 0;  // of the number last taken, for the messages
};

// Everything a level file sets, parsed apart from the game state so that a
// refused file leaves it untouched. It starts as a copy of the current state:
// entries above a list's count keep their older values.
struct tLevelScratch {
  tGame game;
  uint8_t unitType[kMaxUnits + 1];
  PickupKind pickupKinds[kPickupKinds];
};

// A line list: its last index, the points, then the break flags.
void ReadLineList(cLevelReader& in, const char* countName, uint16_t& count, TPoint points[],
                  uint8_t breaks[]) {
  count = in.Word(countName, kMaxLinePoint);
  for (int i = 0; i <= count; ++i) points[i] = TPoint{in.Signed(), in.Signed()};
  for (int i = 0; i <= count; ++i) breaks[i] = in.Byte("lineBreak");
}

// The walk over the numbers, in the order of the format. Counts are last
// indices: a count N announces N + 1 entries.
void ReadLevel(cLevelReader& in, tLevelScratch& level) {
  tGame& g = level.game;
  g.screensX = in.Byte("screensX", kGridColumns);
  g.screensY = in.Byte("screensY", kGridRows);
  if (g.screensX != 0 && g.screensY != 0) {
    // Column by column; a cell holds a screen texture slot, 0 to 99.
    for (int c = 0; c < g.screensX; ++c) {
      for (int r = 0; r < g.screensY; ++r) g.screenGrid[c][r] = in.Byte("screenGrid", 99);
    }
  }
  ReadLineList(in, "lineCountA", g.lineCountA, g.lineA, g.lineBreakA);
  ReadLineList(in, "lineCountB", g.lineCountB, g.lineB, g.lineBreakB);
  ReadLineList(in, "lineCountC", g.lineCountC, g.lineC, g.lineBreakC);

  g.unitCount = in.Word("unitCount", kMaxUnits);
  for (int i = 0; i <= g.unitCount; ++i) {
    g.unitStart[i] = TPoint{in.Signed(), in.Signed()};
    level.unitType[i] = in.Byte("unitType", kUnitTypes - 1);
  }

  for (PickupKind& kind : level.pickupKinds) {
    kind.lastItem = in.Word("lastItem", 99);
    for (int j = 0; j <= kind.lastItem; ++j) {
      kind.items[j].x = in.Whole();
      kind.items[j].y = in.Whole();
    }
  }

  g.blockCount = in.Word("blockCount", kMaxBlock);
  for (int i = 0; i <= g.blockCount; ++i) {
    tBlock& block = g.blocks[i];
    block.x = in.Signed();
    block.y = in.Signed();
    block.permanent = in.Byte("permanent", 1);
    block.solidNow = in.Byte("solidNow");
  }
}

// The file's numbers; refuses a file that is not a whole number of floats or
// holds more than the table of numbers.
std::vector<float> NumbersOf(const std::vector<uint8_t>& bytes) {
  if (bytes.size() > 4 * kMaxLevelNumbers) throw tLevelRefusal{kTooManyNumbers};
  // "garums nav 4 baitu daudzkārtnis": the length is not a multiple of 4.
  if (bytes.size() % 4 != 0) throw tLevelRefusal{"garums nav 4 baitu daudzk\xE2rtnis"};
  std::vector<float> numbers(bytes.size() / 4);
  for (size_t i = 0; i < numbers.size(); ++i) {
    const uint8_t* b = &bytes[4 * i];
    numbers[i] = std::bit_cast<float>(uint32_t(b[0] | b[1] << 8 | b[2] << 16 | uint32_t(b[3]) << 24));
  }
  return numbers;
}

}  // namespace

bool LoadLevelFile(const std::string& path) {
  // One byte more than the table tells a longer file without reading it all.
  const std::optional<std::vector<uint8_t>> bytes = ReadPlainFile(path, 4 * kMaxLevelNumbers + 1);
  if (!bytes) {
    ReportFileLoadFailure(path, CannotLoadMessage("VRK"));
    return false;
  }
  auto level = std::make_unique<tLevelScratch>();
  level->game = game;
  for (int i = 0; i <= kMaxUnits; ++i) level->unitType[i] = units[i].unitType;
  std::copy(std::begin(pickupKinds), std::end(pickupKinds), level->pickupKinds);
  try {
    cLevelReader reader(NumbersOf(*bytes));
    ReadLevel(reader, *level);
  } catch (const tLevelRefusal& refusal) {
    ReportFileLoadFailure(path, CannotLoadMessage(path + ": " + refusal.reason));
    return false;
  }
  game = level->game;
  for (int i = 0; i <= kMaxUnits; ++i) units[i].unitType = level->unitType[i];
  std::copy(std::begin(level->pickupKinds), std::end(level->pickupKinds), pickupKinds);
  return true;
}
