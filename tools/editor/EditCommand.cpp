#include "tools/editor/EditCommand.h"

#include <type_traits>

namespace {

template <typename T>
bool SetIn(std::vector<T>& items, int index, const T& value) {
  if (index < 0 || size_t(index) >= items.size()) return false;
  items[index] = value;
  return true;
}

template <typename T>
bool InsertIn(std::vector<T>& items, int index, const T& value) {
  if (index < 0 || size_t(index) > items.size()) return false;
  items.insert(items.begin() + index, value);
  return true;
}

template <typename T>
bool EraseIn(std::vector<T>& items, int index) {
  if (index < 0 || size_t(index) >= items.size()) return false;
  items.erase(items.begin() + index);
  return true;
}

template <typename T>
std::optional<ItemValue> ValueIn(const std::vector<T>& items, int index) {
  if (index < 0 || size_t(index) >= items.size()) return std::nullopt;
  return items[index];
}

// The list an item lies in, for the kinds kept in lists; nullptr for a
// stroke that does not exist. Level is LevelSource, const or not.
template <typename Level>
auto* Strokes(Level& level, const ItemRef& ref) {
  return ref.list >= 0 && ref.list < kLineLists ? &level.lines[ref.list] : nullptr;
}

template <typename Level>
auto* Points(Level& level, const ItemRef& ref) {
  auto* strokes = Strokes(level, ref);
  using Result = decltype(&(*strokes)[0].points);
  if (!strokes || ref.index < 0 || size_t(ref.index) >= strokes->size()) return Result(nullptr);
  return &(*strokes)[ref.index].points;
}

template <typename T, typename Level>
auto* ListOf(Level& level, const ItemRef& ref) {
  if constexpr (std::is_same_v<T, LevelStroke>) return Strokes(level, ref);
  else if constexpr (std::is_same_v<T, LevelPoint>) return Points(level, ref);
  else if constexpr (std::is_same_v<T, LevelUnit>) return &level.units;
  else if constexpr (std::is_same_v<T, LevelPickup>) return &level.pickups;
  else return &level.blocks;
}

// The position of an item in its list.
int PositionIn(const ItemRef& ref) { return ref.kind == ItemKind::kPoint ? ref.sub : ref.index; }

template <typename T>
bool ChangeListItem(LevelSource& level, const ItemRef& ref, const std::optional<ItemValue>& before,
                    const std::optional<ItemValue>& after) {
  std::vector<T>* items = ListOf<T>(level, ref);
  if (!items) return false;
  const T* value = after ? std::get_if<T>(&*after) : nullptr;
  if (after && !value) return false;
  if (before && after) return SetIn(*items, PositionIn(ref), *value);
  if (after) return InsertIn(*items, PositionIn(ref), *value);
  return EraseIn(*items, PositionIn(ref));
}

bool ChangeGrid(LevelSource& level, const std::optional<ItemValue>& after) {
  const GridValue* grid = after ? std::get_if<GridValue>(&*after) : nullptr;
  if (!grid) return false;  // the grid is only ever set
  level.screensX = grid->screensX;
  level.screensY = grid->screensY;
  level.rows = grid->rows;
  level.rowLines.resize(level.rows.size(), 0);
  if (!level.sizeLine) level.sizeLine = 1;
  return true;
}

bool ChangeCell(LevelSource& level, const ItemRef& ref, const std::optional<ItemValue>& after) {
  const int64_t* picture = after ? std::get_if<int64_t>(&*after) : nullptr;
  if (!picture || ref.sub < 0 || size_t(ref.sub) >= level.rows.size()) return false;
  return SetIn(level.rows[ref.sub], ref.index, *picture);
}

bool ChangePlayer(LevelSource& level, const std::optional<ItemValue>& after) {
  if (!after) {
    level.player.reset();
    return true;
  }
  const LevelUnit* player = std::get_if<LevelUnit>(&*after);
  if (!player) return false;
  level.player = *player;
  return true;
}

bool ApplyChange(LevelSource& level, const ItemRef& ref, const std::optional<ItemValue>& before,
                 const std::optional<ItemValue>& after) {
  const bool exists = ItemAt(level, ref).has_value();
  if (before && !exists) return false;
  if (!before && ref.kind == ItemKind::kPlayer && exists) return false;
  switch (ref.kind) {
    case ItemKind::kGrid: return ChangeGrid(level, after);
    case ItemKind::kCell: return ChangeCell(level, ref, after);
    case ItemKind::kStroke: return ChangeListItem<LevelStroke>(level, ref, before, after);
    case ItemKind::kPoint: return ChangeListItem<LevelPoint>(level, ref, before, after);
    case ItemKind::kPlayer: return ChangePlayer(level, after);
    case ItemKind::kUnit: return ChangeListItem<LevelUnit>(level, ref, before, after);
    case ItemKind::kPickup: return ChangeListItem<LevelPickup>(level, ref, before, after);
    case ItemKind::kBlock: return ChangeListItem<LevelBlock>(level, ref, before, after);
  }
  return false;
}

// Applies changes [0, count) forward, or backward with before and after
// swapped; on a failure the ones already made are taken back.
bool Run(LevelSource& level, const std::vector<ItemChange>& changes, bool forward) {
  const size_t count = changes.size();
  for (size_t done = 0; done < count; ++done) {
    const ItemChange& change = changes[forward ? done : count - 1 - done];
    const bool ok = forward ? ApplyChange(level, change.ref, change.before, change.after)
                            : ApplyChange(level, change.ref, change.after, change.before);
    if (!ok) {
      for (size_t back = done; back-- > 0;) {
        const ItemChange& made = changes[forward ? back : count - 1 - back];
        if (forward) ApplyChange(level, made.ref, made.after, made.before);
        else ApplyChange(level, made.ref, made.before, made.after);
      }
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<ItemValue> ItemAt(const LevelSource& level, const ItemRef& ref) {
  switch (ref.kind) {
    case ItemKind::kGrid: return GridValue{level.screensX, level.screensY, level.rows};
    case ItemKind::kCell:
      if (ref.sub < 0 || size_t(ref.sub) >= level.rows.size()) return std::nullopt;
      return ValueIn(level.rows[ref.sub], ref.index);
    case ItemKind::kStroke: {
      const auto* strokes = ListOf<LevelStroke>(level, ref);
      return strokes ? ValueIn(*strokes, ref.index) : std::nullopt;
    }
    case ItemKind::kPoint: {
      const auto* points = ListOf<LevelPoint>(level, ref);
      return points ? ValueIn(*points, ref.sub) : std::nullopt;
    }
    case ItemKind::kPlayer:
      if (!level.player) return std::nullopt;
      return *level.player;
    case ItemKind::kUnit: return ValueIn(level.units, ref.index);
    case ItemKind::kPickup: return ValueIn(level.pickups, ref.index);
    case ItemKind::kBlock: return ValueIn(level.blocks, ref.index);
  }
  return std::nullopt;
}

bool ApplyCommand(LevelSource& level, const EditCommand& command) {
  return Run(level, command.changes, true);
}

bool RevertCommand(LevelSource& level, const EditCommand& command) {
  return Run(level, command.changes, false);
}

bool SameLevel(const LevelSource& a, const LevelSource& b) {
  return WriteLevelText(a, {}) == WriteLevelText(b, {});
}
