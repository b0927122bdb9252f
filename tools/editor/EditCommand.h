// The editor's changes to a level, kept as commands: each one a list of
// changes of single items (the value before and after), so that a step of
// undo costs what the step touched, never a copy of the whole level.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "tools/level/LevelText.h"

// What an edit addresses in a level.
enum class ItemKind : uint8_t { kGrid, kCell, kStroke, kPoint, kPlayer, kUnit, kPickup, kBlock };

struct ItemRef {
  ItemKind kind = ItemKind::kPlayer;
  int list = 0;   // the line list of a stroke or a point
  int index = 0;  // stroke, unit, pickup or block index; a cell's column
  int sub = 0;    // a point's index in its stroke; a cell's row
  auto operator<=>(const ItemRef&) const = default;
};

// The level's size and screen pictures, changed together.
struct GridValue {
  int64_t screensX = 0;
  int64_t screensY = 0;
  std::vector<std::vector<int64_t>> rows;
};

// The value of an item: grid, cell (a picture number), stroke, point,
// player or unit, pickup, block.
using ItemValue = std::variant<GridValue, int64_t, LevelStroke, LevelPoint, LevelUnit, LevelPickup, LevelBlock>;

// One item changed: set (both values), added (no value before) or removed
// (no value after). Added and removed items take the place of ref, moving
// the later items of their list.
struct ItemChange {
  ItemRef ref;
  std::optional<ItemValue> before;
  std::optional<ItemValue> after;
};

struct EditCommand {
  std::string name;  // for the menu: "Undo Move"
  std::vector<ItemChange> changes;
};

// The current value of an item; nullopt when the level has no such item.
std::optional<ItemValue> ItemAt(const LevelSource& level, const ItemRef& ref);

// Applies the changes in order (redo) or undoes them in reverse order.
// Returns false, leaving the level as it was, when a change does not fit
// the level (a command made for another level).
bool ApplyCommand(LevelSource& level, const EditCommand& command);
bool RevertCommand(LevelSource& level, const EditCommand& command);

// Two levels hold the same content (line numbers aside).
bool SameLevel(const LevelSource& a, const LevelSource& b);
