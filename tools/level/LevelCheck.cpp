#include "tools/level/LevelCheck.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "app/GameState.h"
#include "game/Gameplay.h"
#include "game/Units.h"
#include "tools/level/LevelBinary.h"

namespace {

// The level file's limits (its reader refuses anything beyond them).
constexpr int64_t kMaxScreenPicture = 99;  // picture slots 1..99
constexpr size_t kMaxNumbers = 9001;
constexpr int64_t kMaxItemsPerKind = 100;
constexpr int kMaxUnitType = kUnitTypes - 1;
// Where the game ends the level and where it restarts a falling player.
constexpr int64_t kEndMargin = 500;
constexpr int64_t kFallOutY = 2000;

const char* const kListNames[kLineLists] = {"solid (A)", "platform (B)", "unused (C)"};

class Checker {
 public:
  explicit Checker(const LevelSource& level) : level_(level) {}

  std::vector<LevelProblem> Run() {
    CheckSize();
    CheckGrid();
    for (int list = 0; list < kLineLists; ++list) CheckLines(list);
    CheckUnits();
    CheckPickups();
    CheckBlocks();
    if (SizeFitsGrid() && CompiledNumberCount(level_) > kMaxNumbers) {
      Error(0, "the level needs " + std::to_string(CompiledNumberCount(level_)) +
                   " numbers; a level file holds at most 9001");
    }
    return problems_;
  }

 private:
  void Error(int line, const std::string& message) {
    problems_.push_back({line, LevelProblem::kError, message});
  }
  void Warning(int line, const std::string& message) {
    problems_.push_back({line, LevelProblem::kWarning, message});
  }

  static std::string Text(const LevelPoint& point) {
    return std::to_string(point.x) + "," + std::to_string(point.y);
  }

  // The file stores coordinates as 32-bit reals, read into 32-bit integers.
  bool Storable(int line, const LevelPoint& point, const std::string& what) {
    for (int64_t value : {point.x, point.y}) {
      if (value < INT32_MIN || value > INT32_MAX ||
          static_cast<int64_t>(static_cast<float>(value)) != value) {
        Error(line, what + " " + Text(point) +
                        ": coordinates must be whole numbers the file's 32-bit reals hold exactly"
                        " (any within -16777216..16777216)");
        return false;
      }
    }
    return true;
  }

  bool SizeFitsGrid() const {
    return level_.sizeLine && level_.screensX >= 1 && level_.screensX <= kGridColumns &&
           level_.screensY >= 1 && level_.screensY <= kGridRows;
  }
  bool HasArea() const {
    return level_.sizeLine && level_.screensX > 0 && level_.screensY > 0;
  }
  int64_t Width() const { return level_.screensX * kScreenWidth; }
  int64_t Height() const { return level_.screensY * kScreenHeight; }
  bool InsideLevel(const LevelPoint& point) const {
    return point.x >= 0 && point.y >= 0 && point.x < Width() && point.y < Height();
  }
  void WarnOutside(int line, const LevelPoint& point, const std::string& what) {
    if (HasArea() && !InsideLevel(point)) {
      Warning(line, what + " at " + Text(point) + " lies outside the level (0,0 to " +
                        std::to_string(Width()) + "," + std::to_string(Height()) + ")");
    }
  }

  void CheckSize() {
    if (!level_.sizeLine) {
      Error(0, "no size statement: the level needs 'size SCREENS_ACROSS SCREENS_DOWN'");
      return;
    }
    if (level_.screensX < 1 || level_.screensX > kGridColumns)
      Error(level_.sizeLine, "screens across must be 1 to 31, not " + std::to_string(level_.screensX));
    if (level_.screensY < 1 || level_.screensY > kGridRows)
      Error(level_.sizeLine, "screens down must be 1 to 11, not " + std::to_string(level_.screensY));
  }

  void CheckGrid() {
    if (!level_.sizeLine) return;
    const size_t rows = level_.rows.size();
    if (level_.screensY > 0 && rows != size_t(level_.screensY)) {
      const int line = rows > size_t(level_.screensY) ? level_.rowLines[level_.screensY]
                                                       : level_.sizeLine;
      Error(line, "the grid has " + std::to_string(rows) + " rows; the size says " +
                      std::to_string(level_.screensY));
    }
    for (size_t r = 0; r < rows; ++r) {
      const std::vector<int64_t>& row = level_.rows[r];
      const int line = level_.rowLines[r];
      if (level_.screensX > 0 && row.size() != size_t(level_.screensX)) {
        Error(line, "the row has " + std::to_string(row.size()) + " screens; the size says " +
                        std::to_string(level_.screensX));
      }
      for (int64_t cell : row) {
        if (cell < 0 || cell > kMaxScreenPicture)
          Error(line, "screen picture " + std::to_string(cell) + " is not 0 to 99");
      }
    }
  }

  void CheckLines(int list) {
    size_t points = 0;
    for (const LevelStroke& stroke : level_.lines[list]) {
      const size_t before = points;
      points += stroke.points.size();
      if (before <= size_t(kMaxLinePoint) && points > size_t(kMaxLinePoint)) {
        Error(stroke.line, std::string("line list ") + kListNames[list] +
                               " reaches more than 511 points here; the game draws at most 511");
      }
      for (const LevelPoint& point : stroke.points)
        if (!Storable(stroke.line, point, "point")) break;
      if (stroke.points.size() == 1 && list != kUnusedLines)
        Warning(stroke.line, "a stroke of one point draws nothing");
    }
  }

  void CheckUnitType(const LevelUnit& unit, const char* what) {
    if (unit.type < 0 || unit.type > kMaxUnitType)
      Error(unit.line, std::string(what) + " type " + std::to_string(unit.type) + " is not 0 to 6");
  }

  void CheckUnits() {
    if (!level_.player) {
      Error(0, "no player statement: the level needs the player's start ('player X,Y type 0')");
    } else {
      const LevelUnit& player = *level_.player;
      CheckUnitType(player, "the player's");
      if (Storable(player.line, player.at, "the player's start") && HasArea()) {
        WarnOutside(player.line, player.at, "the player's start");
        if (player.at.x > Width() - kEndMargin) {
          Warning(player.line, "the player starts past the level's end (x > " +
                                   std::to_string(Width() - kEndMargin) + "): the level ends at once");
        }
        if (player.at.y > kFallOutY)
          Warning(player.line, "the player starts below y 2000, where the level restarts");
      }
    }
    for (size_t i = 0; i < level_.units.size(); ++i) {
      const LevelUnit& unit = level_.units[i];
      if (i == size_t(kMaxUnits))
        Error(unit.line, "unit 501: a level holds at most 500 units besides the player");
      CheckUnitType(unit, "unit");
      if (Storable(unit.line, unit.at, "unit")) WarnOutside(unit.line, unit.at, "unit");
    }
  }

  void CheckPickups() {
    int64_t counts[kPickupKinds] = {};
    for (const LevelPickup& pickup : level_.pickups) {
      if (pickup.kind < 0 || pickup.kind >= kPickupKinds) {
        Error(pickup.line, "pickup kind " + std::to_string(pickup.kind) + " is not 0 to 6");
        continue;
      }
      if (++counts[pickup.kind] == kMaxItemsPerKind + 1) {
        Error(pickup.line, "pickup " + std::to_string(kMaxItemsPerKind + 1) + " of kind " +
                               std::to_string(pickup.kind) + ": at most 100 of a kind");
      }
      if (Storable(pickup.line, pickup.at, "pickup")) WarnOutside(pickup.line, pickup.at, "pickup");
    }
    for (int kind = 0; kind < kPickupKinds; ++kind) {
      if (counts[kind] == 0) {
        Error(0, "no pickup of kind " + std::to_string(kind) +
                     ": the level file holds at least one of every kind (put one out of reach"
                     " if the level needs none, e.g. 'pickup -5000,-5000 kind " +
                     std::to_string(kind) + "')");
      }
    }
  }

  void CheckBlocks() {
    if (level_.blocks.empty()) {
      Error(0, "no block: the level file holds at least one (put one out of reach if the level"
               " needs none, e.g. 'block -5000,-5000')");
      return;
    }
    for (size_t i = 0; i < level_.blocks.size(); ++i) {
      const LevelBlock& block = level_.blocks[i];
      if (i == size_t(kMaxBlock) + 1)
        Error(block.line, "block 502: a level holds at most 501 blocks");
      if (block.solidNow < 0 || block.solidNow > 255)
        Error(block.line, "solidnow " + std::to_string(block.solidNow) + " is not 0 to 255");
      if (Storable(block.line, block.at, "block")) WarnOutside(block.line, block.at, "block");
    }
    const LevelBlock& first = level_.blocks.front();
    if (!first.permanent && HasArea() && InsideLevel(first.at)) {
      Warning(first.line, "the first block is not permanent: no block before it can make it"
                          " solid, so it never is");
    }
  }

  const LevelSource& level_;
  std::vector<LevelProblem> problems_;
};

}  // namespace

std::vector<LevelProblem> CheckLevel(const LevelSource& level) { return Checker(level).Run(); }

std::optional<LevelSource> ReadCheckedLevel(std::string_view text, std::vector<LevelProblem>& problems) {
  const LevelSource level = ParseLevelText(text, problems);
  const bool syntaxErrors = HasErrors(problems);
  // After a syntax error the limits are still checked statement by statement;
  // what the whole level lacks may only be the statement that failed.
  for (const LevelProblem& problem : CheckLevel(level))
    if (!syntaxErrors || problem.line > 0) problems.push_back(problem);
  // In line order; what concerns the whole level last.
  std::stable_sort(problems.begin(), problems.end(), [](const LevelProblem& a, const LevelProblem& b) {
    return unsigned(a.line - 1) < unsigned(b.line - 1);
  });
  if (HasErrors(problems)) return std::nullopt;
  // The game's reader has the last word on the compiled file.
  std::vector<std::string> messages;
  if (DecompileLevelBytes(LevelFileBytes(CompileLevel(level)), messages)) return level;
  for (const std::string& message : messages)
    problems.push_back({0, LevelProblem::kError, "the game's reader refuses the compiled level: " + message});
  return std::nullopt;
}
