#include "tools/level/LevelBinary.h"

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/GameState.h"
#include "data/LevelFile.h"
#include "game/Gameplay.h"
#include "game/Units.h"
#include "platform/MessageBox.h"

namespace {

std::vector<std::string> collected;

void CollectMessage(const std::string& caption, const std::string& text) {
  collected.push_back(Cp1257ToUtf8(text));
}

// LoadLevelFile on a clean game state; the reader's messages are collected
// instead of shown, and its request to end the program is withdrawn.
bool LoadWithGameReader(const std::string& path, std::vector<std::string>& messages) {
  ResetGameState();
  collected.clear();
  SetMessageBoxHandler(CollectMessage);
  const bool loaded = LoadLevelFile(path);
  SetMessageBoxHandler(nullptr);
  ClearTerminateRequest();
  messages.insert(messages.end(), collected.begin(), collected.end());
  return loaded && collected.empty();
}

void AppendList(std::vector<float>& out, const std::vector<LevelStroke>& strokes) {
  std::vector<LevelPoint> points;
  std::vector<float> breaks;
  for (const LevelStroke& stroke : strokes) {
    for (size_t i = 0; i < stroke.points.size(); ++i) {
      points.push_back(stroke.points[i]);
      breaks.push_back(i + 1 == stroke.points.size() ? 1.0f : 0.0f);
    }
  }
  out.push_back(float(points.size()));  // last index, counting the closing point
  for (const LevelPoint& point : points) {
    out.push_back(float(point.x));
    out.push_back(float(point.y));
  }
  out.push_back(0.0f);  // the closing point, never drawn
  out.push_back(0.0f);
  out.insert(out.end(), breaks.begin(), breaks.end());
  out.push_back(0.0f);
}

// The points 0 .. count - 1 of a list as strokes; a stroke ends where the
// break flag is 1. The last stored point is never drawn and is left out.
std::vector<LevelStroke> StrokesOf(const TPoint* points, const uint8_t* breaks, int count) {
  std::vector<LevelStroke> strokes;
  LevelStroke stroke;
  for (int i = 0; i < count; ++i) {
    stroke.points.push_back({points[i].x, points[i].y});
    if (breaks[i] == 1 || i == count - 1) {
      strokes.push_back(stroke);
      stroke.points.clear();
    }
  }
  return strokes;
}

// A pickup coordinate is a real holding a whole number; the text holds it
// if it is within 64-bit integers.
bool WholeNumber(float value, int64_t& out) {
  if (!std::isfinite(value) || std::fabs(value) > 4.0e18f) return false;
  out = static_cast<int64_t>(value);
  return true;
}

// The level the game state holds after LoadLevelFile.
std::optional<LevelSource> LevelOfGameState(std::vector<std::string>& messages) {
  LevelSource level;
  level.screensX = game.screensX;
  level.screensY = game.screensY;
  if (game.screensX > 0 && game.screensY > 0) {
    for (int r = 0; r < game.screensY && r < kGridRows; ++r) {
      std::vector<int64_t> row;
      for (int c = 0; c < game.screensX && c < kGridColumns; ++c) row.push_back(game.screenGrid[c][r]);
      level.rows.push_back(row);
    }
  }
  level.lines[kSolidLines] = StrokesOf(game.lineA, game.lineBreakA, game.lineCountA);
  level.lines[kPlatformLines] = StrokesOf(game.lineB, game.lineBreakB, game.lineCountB);
  level.lines[kUnusedLines] = StrokesOf(game.lineC, game.lineBreakC, game.lineCountC);

  level.player = LevelUnit{{game.unitStart[0].x, game.unitStart[0].y}, units[0].unitType};
  for (int i = 1; i <= game.unitCount; ++i)
    level.units.push_back({{game.unitStart[i].x, game.unitStart[i].y}, units[i].unitType});

  for (int kind = 0; kind < kPickupKinds; ++kind) {
    const PickupKind& row = pickupKinds[kind];
    for (int j = 0; j <= row.lastItem && j < 100; ++j) {
      LevelPickup pickup{{}, kind};
      if (!WholeNumber(row.items[j].x, pickup.at.x) || !WholeNumber(row.items[j].y, pickup.at.y)) {
        messages.push_back("item " + std::to_string(j) + " of pickup kind " + std::to_string(kind) +
                           " lies beyond any level (" + std::to_string(row.items[j].x) + ", " +
                           std::to_string(row.items[j].y) + ")");
        return std::nullopt;
      }
      level.pickups.push_back(pickup);
    }
  }
  for (int i = 0; i <= game.blockCount; ++i) {
    const tBlock& block = game.blocks[i];
    level.blocks.push_back({{block.x, block.y}, block.permanent == 1, block.solidNow});
  }
  return level;
}

}  // namespace

size_t CompiledNumberCount(const LevelSource& level) {
  size_t count = 2 + size_t(level.screensX > 0 && level.screensY > 0 ? level.screensX * level.screensY : 0);
  for (const std::vector<LevelStroke>& list : level.lines) {
    size_t points = 0;
    for (const LevelStroke& stroke : list) points += stroke.points.size();
    count += 1 + 3 * (points + 1);
  }
  count += 1 + 3 * (level.units.size() + 1);
  for (int kind = 0; kind < kPickupKinds; ++kind) {
    size_t items = 0;
    for (const LevelPickup& pickup : level.pickups) items += pickup.kind == kind;
    count += 1 + 2 * std::max<size_t>(items, 1);
  }
  return count + 1 + 4 * std::max<size_t>(level.blocks.size(), 1);
}

std::vector<float> CompileLevel(const LevelSource& level) {
  std::vector<float> out;
  out.push_back(float(level.screensX));
  out.push_back(float(level.screensY));
  for (int64_t c = 0; c < level.screensX; ++c)  // column by column
    for (int64_t r = 0; r < level.screensY; ++r) out.push_back(float(level.rows[r][c]));

  for (const std::vector<LevelStroke>& list : level.lines) AppendList(out, list);

  out.push_back(float(level.units.size()));  // last index: the player is entry 0
  auto appendUnit = [&out](const LevelUnit& unit) {
    out.push_back(float(unit.at.x));
    out.push_back(float(unit.at.y));
    out.push_back(float(unit.type));
  };
  appendUnit(level.player.value_or(LevelUnit{}));
  for (const LevelUnit& unit : level.units) appendUnit(unit);

  for (int kind = 0; kind < kPickupKinds; ++kind) {
    std::vector<float> positions;
    for (const LevelPickup& pickup : level.pickups) {
      if (pickup.kind != kind) continue;
      positions.push_back(float(pickup.at.x));
      positions.push_back(float(pickup.at.y));
    }
    out.push_back(float(positions.size() / 2) - 1);
    out.insert(out.end(), positions.begin(), positions.end());
  }

  out.push_back(float(level.blocks.size()) - 1);
  for (const LevelBlock& block : level.blocks) {
    out.push_back(float(block.at.x));
    out.push_back(float(block.at.y));
    out.push_back(block.permanent ? 1.0f : 0.0f);
    out.push_back(float(block.solidNow));
  }
  return out;
}

std::vector<uint8_t> LevelFileBytes(const std::vector<float>& numbers) {
  std::vector<uint8_t> bytes;
  bytes.reserve(numbers.size() * 4);
  for (float number : numbers) {
    uint32_t bits;
    std::memcpy(&bits, &number, 4);
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(uint8_t(bits >> shift));
  }
  return bytes;
}

bool IsBinaryLevel(const std::vector<uint8_t>& bytes) {
  for (uint8_t byte : bytes)
    if (byte == 0) return true;
  return false;
}

bool WriteBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  out.close();
  if (!out) error = "cannot write " + path;
  return bool(out);
}

std::optional<std::vector<uint8_t>> ReadBinaryFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

std::optional<LevelSource> DecompileLevelFile(const std::string& path,
                                              std::vector<std::string>& messages) {
  if (!LoadWithGameReader(path, messages)) return std::nullopt;
  return LevelOfGameState(messages);
}

std::optional<LevelSource> DecompileLevelBytes(const std::vector<uint8_t>& bytes,
                                               std::vector<std::string>& messages) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("virko-level-" + std::to_string(getpid()) + ".vrk");
  std::string error;
  if (!WriteBinaryFile(path.string(), bytes, error)) {
    messages.push_back(error);
    return std::nullopt;
  }
  std::optional<LevelSource> level = DecompileLevelFile(path.string(), messages);
  std::filesystem::remove(path);
  return level;
}
