// Where the items of a level lie, picking them, and the commands the editor
// makes from a selection.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tools/editor/EditCommand.h"

using Selection = std::set<ItemRef>;

// Kinds of item the pointer can reach; the hidden layers' items cannot.
enum ItemLayer : uint32_t {
  kLayerSolid = 1u << 0,
  kLayerPlatform = 1u << 1,
  kLayerUnused = 1u << 2,
  kLayerPlayer = 1u << 3,
  kLayerUnits = 1u << 4,
  kLayerPickups = 1u << 5,
  kLayerBlocks = 1u << 6,
  kAllItemLayers = (1u << 7) - 1,
};

// The sizes the game gives items: pickups 50 x 50, blocks 70 x 35, a unit
// its type's box (from the unit statistics).
constexpr int64_t kPickupSide = 50;
constexpr int64_t kBlockWidth = 70;
constexpr int64_t kBlockHeight = 35;
struct UnitBoxes {
  std::array<std::pair<int64_t, int64_t>, 7> size{};  // width, height by type
  UnitBoxes() { size.fill({60, 60}); }
  std::pair<int64_t, int64_t> Of(int64_t type) const;
};

struct WorldRect {
  int64_t left = 0, top = 0, right = 0, bottom = 0;  // right and bottom outside
  bool Contains(const LevelPoint& p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  bool Overlaps(const WorldRect& o) const {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
  }
};
// The rectangle spanned by two corners, in either order.
WorldRect RectBetween(const LevelPoint& a, const LevelPoint& b);

// The anchor of an item's value (below); nullopt for the grid, a cell and
// an empty stroke.
std::optional<LevelPoint> AnchorOf(const ItemValue& value);
// The point an item is placed by: a line point itself, a unit's centre, a
// pickup's or a block's top-left corner, a stroke's first point.
std::optional<LevelPoint> ItemAnchor(const LevelSource& level, const ItemRef& ref);
// What the item covers (a line point: a square of the pen's width).
std::optional<WorldRect> ItemBounds(const LevelSource& level, const ItemRef& ref, const UnitBoxes& boxes);

// The item under a world point (within slack pixels of a line point),
// preferring line points, then the player, units, pickups and blocks,
// later items over earlier ones (they are drawn over them).
std::optional<ItemRef> ItemUnder(const LevelSource& level, const LevelPoint& at, int64_t slack,
                                 uint32_t layers, const UnitBoxes& boxes);
// Every item whose anchor lies in the box (line points, not whole strokes).
Selection ItemsInBox(const LevelSource& level, const WorldRect& box, uint32_t layers);

// The segment nearest the point within slack: the ref of the point that
// ends it (insert there), and the nearest point on it.
struct SegmentHit {
  ItemRef insertAt;
  LevelPoint on;
};
std::optional<SegmentHit> SegmentUnder(const LevelSource& level, const LevelPoint& at, int64_t slack,
                                       uint32_t layers);

// The commands. Each leaves out what does not apply (the grid cannot be
// moved, the player not deleted); an empty command changes nothing.
EditCommand MoveItems(const LevelSource& level, const Selection& items, int64_t dx, int64_t dy);
// Deleting every point of a stroke deletes the stroke.
EditCommand DeleteItems(const LevelSource& level, const Selection& items);
EditCommand SetItem(const LevelSource& level, const ItemRef& ref, const ItemValue& value);
// Appends the item to its list (a stroke to list ref.list); the new item's
// ref is in the command's last change.
EditCommand AddItem(const LevelSource& level, ItemKind kind, int list, const ItemValue& value);
EditCommand InsertPoint(const LevelSource& level, const ItemRef& at, const LevelPoint& point);
// Appends the points to the end of a stroke (ref of kind kStroke).
EditCommand ExtendStroke(const LevelSource& level, const ItemRef& stroke, const std::vector<LevelPoint>& points);
// New size in screens: rows and columns are added with no picture, or cut.
EditCommand ResizeLevel(const LevelSource& level, int64_t screensX, int64_t screensY);

// Copies of items, kept apart from the level; pasted at an offset, each
// appended to its list. Line points are copied as the strokes they lie on.
struct Clipboard {
  std::vector<std::pair<ItemRef, ItemValue>> items;  // the ref's kind and list
};
Clipboard CopyItems(const LevelSource& level, const Selection& items);
EditCommand PasteItems(const LevelSource& level, const Clipboard& clipboard, int64_t dx, int64_t dy);

// The refs that a command added (what to select after a paste).
Selection AddedItems(const EditCommand& command);
// Drops the refs that no longer name an item.
void KeepExisting(const LevelSource& level, Selection& items);

// What the level holds beyond the game's tables ("" if nothing): more than
// 511 points in a line list, 500 units, 100 pickups of a kind or 501 blocks.
// The editor adds nothing that would go beyond them.
std::string BeyondTheGamesLimits(const LevelSource& level);

// Snapping to the editor's grid of 10 pixels.
constexpr int64_t kSnapStep = 10;
int64_t Snap(int64_t value);
