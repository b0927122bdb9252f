#include "tools/editor/EditItems.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "app/GameState.h"


namespace {

constexpr int64_t kPenHalf = 12;  // a line point covers the pen's width

uint32_t LayerOf(const ItemRef& ref) {
  switch (ref.kind) {
    case ItemKind::kStroke:
    case ItemKind::kPoint: return 1u << ref.list;
    case ItemKind::kPlayer: return kLayerPlayer;
    case ItemKind::kUnit: return kLayerUnits;
    case ItemKind::kPickup: return kLayerPickups;
    case ItemKind::kBlock: return kLayerBlocks;
    default: return 0;
  }
}

LevelPoint Moved(LevelPoint p, int64_t dx, int64_t dy) { return {p.x + dx, p.y + dy}; }

// The item's value with its anchor moved.
ItemValue MovedValue(ItemValue value, int64_t dx, int64_t dy) {
  std::visit(
      [&](auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, LevelPoint>) {
          v = Moved(v, dx, dy);
        } else if constexpr (std::is_same_v<T, LevelStroke>) {
          for (LevelPoint& p : v.points) p = Moved(p, dx, dy);
        } else if constexpr (std::is_same_v<T, LevelUnit> || std::is_same_v<T, LevelPickup> ||
                             std::is_same_v<T, LevelBlock>) {
          v.at = Moved(v.at, dx, dy);
        }
      },
      value);
  return value;
}

bool Movable(ItemKind kind) { return kind != ItemKind::kGrid && kind != ItemKind::kCell; }

// Every ref of the kinds kept in plain lists, for the searches.
template <typename Visit>
void ForEachItem(const LevelSource& level, Visit visit) {
  for (int list = 0; list < kLineLists; ++list)
    for (size_t s = 0; s < level.lines[list].size(); ++s)
      for (size_t p = 0; p < level.lines[list][s].points.size(); ++p)
        visit(ItemRef{ItemKind::kPoint, list, int(s), int(p)});
  if (level.player) visit(ItemRef{ItemKind::kPlayer});
  for (size_t i = 0; i < level.units.size(); ++i) visit(ItemRef{ItemKind::kUnit, 0, int(i)});
  for (size_t i = 0; i < level.pickups.size(); ++i) visit(ItemRef{ItemKind::kPickup, 0, int(i)});
  for (size_t i = 0; i < level.blocks.size(); ++i) visit(ItemRef{ItemKind::kBlock, 0, int(i)});
}

// Kinds in the order the pointer prefers them.
int Preference(ItemKind kind) {
  switch (kind) {
    case ItemKind::kPoint: return 0;
    case ItemKind::kPlayer: return 1;
    case ItemKind::kUnit: return 2;
    case ItemKind::kPickup: return 3;
    default: return 4;
  }
}

double DistanceToSegment(const LevelPoint& p, const LevelPoint& a, const LevelPoint& b, LevelPoint& nearest) {
  const double dx = double(b.x - a.x), dy = double(b.y - a.y);
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? (double(p.x - a.x) * dx + double(p.y - a.y) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  nearest = {a.x + std::llround(t * dx), a.y + std::llround(t * dy)};
  return std::hypot(double(p.x - nearest.x), double(p.y - nearest.y));
}

ItemChange Removal(const LevelSource& level, const ItemRef& ref) { return {ref, ItemAt(level, ref), std::nullopt}; }

}  // namespace

std::pair<int64_t, int64_t> UnitBoxes::Of(int64_t type) const {
  return type >= 0 && type < int64_t(size.size()) ? size[type] : std::pair<int64_t, int64_t>{60, 60};
}

WorldRect RectBetween(const LevelPoint& a, const LevelPoint& b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
}

std::optional<LevelPoint> AnchorOf(const ItemValue& value) {
  if (const auto* p = std::get_if<LevelPoint>(&value)) return *p;
  if (const auto* s = std::get_if<LevelStroke>(&value))
    return s->points.empty() ? std::nullopt : std::optional(s->points.front());
  if (const auto* u = std::get_if<LevelUnit>(&value)) return u->at;
  if (const auto* i = std::get_if<LevelPickup>(&value)) return i->at;
  if (const auto* b = std::get_if<LevelBlock>(&value)) return b->at;
  return std::nullopt;
}

std::optional<LevelPoint> ItemAnchor(const LevelSource& level, const ItemRef& ref) {
  const std::optional<ItemValue> value = ItemAt(level, ref);
  return value ? AnchorOf(*value) : std::nullopt;
}

std::optional<WorldRect> ItemBounds(const LevelSource& level, const ItemRef& ref, const UnitBoxes& boxes) {
  const std::optional<LevelPoint> at = ItemAnchor(level, ref);
  if (!at) return std::nullopt;
  switch (ref.kind) {
    case ItemKind::kPoint:
      return WorldRect{at->x - kPenHalf, at->y - kPenHalf, at->x + kPenHalf + 1, at->y + kPenHalf + 1};
    case ItemKind::kPlayer:
    case ItemKind::kUnit: {
      const int64_t type = ref.kind == ItemKind::kPlayer ? level.player->type : level.units[ref.index].type;
      const auto [w, h] = boxes.Of(type);
      return WorldRect{at->x - w / 2, at->y - h / 2, at->x - w / 2 + w, at->y - h / 2 + h};
    }
    case ItemKind::kPickup: return WorldRect{at->x, at->y, at->x + kPickupSide, at->y + kPickupSide};
    case ItemKind::kBlock: return WorldRect{at->x, at->y, at->x + kBlockWidth, at->y + kBlockHeight};
    default: return std::nullopt;
  }
}

std::optional<ItemRef> ItemUnder(const LevelSource& level, const LevelPoint& at, int64_t slack,
                                 uint32_t layers, const UnitBoxes& boxes) {
  std::optional<ItemRef> best;
  ForEachItem(level, [&](const ItemRef& ref) {
    if (!(LayerOf(ref) & layers)) return;
    std::optional<WorldRect> box = ItemBounds(level, ref, boxes);
    if (ref.kind == ItemKind::kPoint) {
      const int64_t reach = std::max(slack, kPenHalf);
      box = WorldRect{box->left - reach + kPenHalf, box->top - reach + kPenHalf,
                      box->right + reach - kPenHalf, box->bottom + reach - kPenHalf};
    }
    // Later items of a kind win: they are drawn over the earlier ones.
    if (box->Contains(at) && (!best || Preference(ref.kind) <= Preference(best->kind))) best = ref;
  });
  return best;
}

Selection ItemsInBox(const LevelSource& level, const WorldRect& box, uint32_t layers) {
  Selection found;
  ForEachItem(level, [&](const ItemRef& ref) {
    if (LayerOf(ref) & layers && box.Contains(*ItemAnchor(level, ref))) found.insert(ref);
  });
  return found;
}

std::optional<SegmentHit> SegmentUnder(const LevelSource& level, const LevelPoint& at, int64_t slack,
                                       uint32_t layers) {
  std::optional<SegmentHit> best;
  double bestDistance = double(slack);
  for (int list = 0; list < kLineLists; ++list) {
    if (!(layers & (1u << list))) continue;
    for (size_t s = 0; s < level.lines[list].size(); ++s) {
      const std::vector<LevelPoint>& points = level.lines[list][s].points;
      for (size_t i = 1; i < points.size(); ++i) {
        LevelPoint nearest;
        const double distance = DistanceToSegment(at, points[i - 1], points[i], nearest);
        if (distance <= bestDistance) {
          bestDistance = distance;
          best = SegmentHit{{ItemKind::kPoint, list, int(s), int(i)}, nearest};
        }
      }
    }
  }
  return best;
}

EditCommand MoveItems(const LevelSource& level, const Selection& items, int64_t dx, int64_t dy) {
  EditCommand command{"Move", {}};
  if (dx == 0 && dy == 0) return command;
  for (const ItemRef& ref : items) {
    if (!Movable(ref.kind)) continue;
    // A point moves with its stroke when the stroke itself is selected.
    if (ref.kind == ItemKind::kPoint && items.count({ItemKind::kStroke, ref.list, ref.index, 0})) continue;
    if (const std::optional<ItemValue> value = ItemAt(level, ref))
      command.changes.push_back({ref, value, MovedValue(*value, dx, dy)});
  }
  return command;
}

EditCommand DeleteItems(const LevelSource& level, const Selection& items) {
  EditCommand command{"Delete", {}};
  // Points first, each stroke's from its last; a stroke that would lose
  // every point goes as a whole, with the strokes deleted as such.
  std::map<std::pair<int, int>, std::vector<ItemRef>> pointsByStroke;
  std::set<ItemRef> strokes;
  for (const ItemRef& ref : items) {
    if (!ItemAt(level, ref)) continue;
    if (ref.kind == ItemKind::kPoint) pointsByStroke[{ref.list, ref.index}].push_back(ref);
    if (ref.kind == ItemKind::kStroke) strokes.insert(ref);
  }
  for (const auto& [key, points] : pointsByStroke) {
    const ItemRef stroke{ItemKind::kStroke, key.first, key.second, 0};
    if (strokes.count(stroke)) continue;
    if (points.size() == level.lines[key.first][key.second].points.size()) {
      strokes.insert(stroke);
      continue;
    }
    for (auto it = points.rbegin(); it != points.rend(); ++it) command.changes.push_back(Removal(level, *it));
  }
  for (auto it = strokes.rbegin(); it != strokes.rend(); ++it) command.changes.push_back(Removal(level, *it));
  // Units, pickups and blocks, each list from its last item (Selection is
  // ordered by kind, then index).
  for (auto it = items.rbegin(); it != items.rend(); ++it) {
    if ((it->kind == ItemKind::kUnit || it->kind == ItemKind::kPickup || it->kind == ItemKind::kBlock) &&
        ItemAt(level, *it))
      command.changes.push_back(Removal(level, *it));
  }
  return command;
}

EditCommand SetItem(const LevelSource& level, const ItemRef& ref, const ItemValue& value) {
  EditCommand command{"Change", {}};
  std::optional<ItemValue> before = ItemAt(level, ref);
  if (before || ref.kind == ItemKind::kPlayer) command.changes.push_back({ref, std::move(before), value});
  return command;
}

EditCommand AddItem(const LevelSource& level, ItemKind kind, int list, const ItemValue& value) {
  EditCommand command{"Add", {}};
  ItemRef ref{kind, list, 0, 0};
  switch (kind) {
    case ItemKind::kStroke:
      if (list < 0 || list >= kLineLists) return command;
      ref.index = int(level.lines[list].size());
      break;
    case ItemKind::kUnit: ref.index = int(level.units.size()); break;
    case ItemKind::kPickup: ref.index = int(level.pickups.size()); break;
    case ItemKind::kBlock: ref.index = int(level.blocks.size()); break;
    default: return command;
  }
  command.changes.push_back({ref, std::nullopt, value});
  return command;
}

EditCommand InsertPoint(const LevelSource& level, const ItemRef& at, const LevelPoint& point) {
  EditCommand command{"Insert point", {}};
  if (at.kind != ItemKind::kPoint || at.list < 0 || at.list >= kLineLists || at.index < 0 ||
      size_t(at.index) >= level.lines[at.list].size())
    return command;
  if (at.sub < 0 || size_t(at.sub) > level.lines[at.list][at.index].points.size()) return command;
  command.changes.push_back({at, std::nullopt, point});
  return command;
}

EditCommand ExtendStroke(const LevelSource& level, const ItemRef& stroke, const std::vector<LevelPoint>& points) {
  EditCommand command{"Extend line", {}};
  const std::optional<ItemValue> value = ItemAt(level, stroke);
  if (stroke.kind != ItemKind::kStroke || !value) return command;
  int next = int(std::get<LevelStroke>(*value).points.size());
  for (const LevelPoint& point : points)
    command.changes.push_back({{ItemKind::kPoint, stroke.list, stroke.index, next++}, std::nullopt, point});
  return command;
}

EditCommand ResizeLevel(const LevelSource& level, int64_t screensX, int64_t screensY) {
  EditCommand command{"Resize", {}};
  if (screensX < 1 || screensY < 1 || screensX > 255 || screensY > 255) return command;
  GridValue grid{screensX, screensY, level.rows};
  grid.rows.resize(size_t(screensY));
  for (std::vector<int64_t>& row : grid.rows) row.resize(size_t(screensX), 0);
  command.changes.push_back({{ItemKind::kGrid}, ItemAt(level, {ItemKind::kGrid}), grid});
  return command;
}

Clipboard CopyItems(const LevelSource& level, const Selection& items) {
  Clipboard clipboard;
  std::set<std::pair<int, int>> strokes;
  for (const ItemRef& ref : items) {
    if (ref.kind == ItemKind::kPoint || ref.kind == ItemKind::kStroke) {
      if (strokes.insert({ref.list, ref.index}).second) {
        const ItemRef stroke{ItemKind::kStroke, ref.list, ref.index, 0};
        if (std::optional<ItemValue> value = ItemAt(level, stroke)) clipboard.items.push_back({stroke, *value});
      }
    } else if (ref.kind == ItemKind::kUnit || ref.kind == ItemKind::kPickup || ref.kind == ItemKind::kBlock) {
      if (std::optional<ItemValue> value = ItemAt(level, ref)) clipboard.items.push_back({ref, *value});
    }
  }
  return clipboard;
}

EditCommand PasteItems(const LevelSource& level, const Clipboard& clipboard, int64_t dx, int64_t dy) {
  EditCommand command{"Paste", {}};
  // Each item is appended after those pasted before it in the same list.
  LevelSource after = level;
  for (const auto& [ref, value] : clipboard.items) {
    EditCommand add = AddItem(after, ref.kind, ref.list, MovedValue(value, dx, dy));
    if (add.changes.empty() || !ApplyCommand(after, add)) continue;
    command.changes.push_back(std::move(add.changes.front()));
  }
  return command;
}

Selection AddedItems(const EditCommand& command) {
  Selection added;
  for (const ItemChange& change : command.changes)
    if (!change.before && change.after) added.insert(change.ref);
  return added;
}

void KeepExisting(const LevelSource& level, Selection& items) {
  std::erase_if(items, [&](const ItemRef& ref) { return !ItemAt(level, ref); });
}

std::string BeyondTheGamesLimits(const LevelSource& level) {
  for (int list = 0; list < kLineLists; ++list) {
    size_t points = 0;
    for (const LevelStroke& stroke : level.lines[list]) points += stroke.points.size();
    if (points > size_t(kMaxLinePoint))
      return std::string("a line list holds at most 511 points; the ") + LineListKeyword(list) + " lines would have " +
             std::to_string(points);
  }
  if (level.units.size() > size_t(kMaxUnits)) return "a level holds at most 500 units besides the player";
  for (int64_t kind = 0; kind < 7; ++kind) {
    const auto count = std::count_if(level.pickups.begin(), level.pickups.end(),
                                     [&](const LevelPickup& p) { return p.kind == kind; });
    if (count > 100) return "a level holds at most 100 pickups of kind " + std::to_string(kind);
  }
  if (level.blocks.size() > size_t(kMaxBlock) + 1) return "a level holds at most 501 blocks";
  return "";
}

int64_t Snap(int64_t value) {
  const int64_t shifted = value + kSnapStep / 2;
  const int64_t floor = shifted >= 0 ? shifted / kSnapStep : -((-shifted + kSnapStep - 1) / kSnapStep);
  return floor * kSnapStep;
}
