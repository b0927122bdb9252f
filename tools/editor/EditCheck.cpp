#include "tools/editor/EditCheck.h"

#include <map>

#include "app/GameState.h"
#include "game/CollisionMap.h"
#include "tools/level/LevelCheck.h"

namespace {

// Where the game ends the level: the player passes this far before the
// right edge.
constexpr int64_t kEndMargin = 500;

// The item that each statement line of the canonical text describes.
std::map<int, ItemRef> ItemsByLine(const LevelSource& parsed) {
  std::map<int, ItemRef> items;
  if (parsed.sizeLine) items[parsed.sizeLine] = {ItemKind::kGrid};
  for (size_t r = 0; r < parsed.rowLines.size(); ++r) items[parsed.rowLines[r]] = {ItemKind::kCell, 0, 0, int(r)};
  for (int list = 0; list < kLineLists; ++list)
    for (size_t s = 0; s < parsed.lines[list].size(); ++s)
      items[parsed.lines[list][s].line] = {ItemKind::kStroke, list, int(s), 0};
  if (parsed.player) items[parsed.player->line] = {ItemKind::kPlayer};
  for (size_t i = 0; i < parsed.units.size(); ++i) items[parsed.units[i].line] = {ItemKind::kUnit, 0, int(i)};
  for (size_t i = 0; i < parsed.pickups.size(); ++i) items[parsed.pickups[i].line] = {ItemKind::kPickup, 0, int(i)};
  for (size_t i = 0; i < parsed.blocks.size(); ++i) items[parsed.blocks[i].line] = {ItemKind::kBlock, 0, int(i)};
  return items;
}

std::string Text(const LevelPoint& p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

// The level's solid and platform lines and its permanent blocks, drawn as
// the game draws them.
cCollisionMap MapOf(const LevelSource& level) {
  cCollisionMap map;
  map.Resize(int(level.screensX * kScreenWidth), int(level.screensY * kScreenHeight));
  for (int list : {kSolidLines, kPlatformLines}) {
    map.SetPen(list == kSolidLines ? PixelClass::solid : PixelClass::platform);
    for (const LevelStroke& stroke : level.lines[list]) {
      if (stroke.points.size() < 2) continue;
      map.MoveTo(stroke.points[0].x, stroke.points[0].y);
      for (const LevelPoint& p : stroke.points) map.LineTo(p.x, p.y);
    }
  }
  for (const LevelBlock& block : level.blocks)
    if (block.permanent) map.DrawOutline(block.at.x, block.at.y, kBlockWidth, kBlockHeight, PixelClass::solid);
  return map;
}

bool InPlayableSize(const LevelSource& level) {
  return level.screensX >= 1 && level.screensX <= kGridColumns && level.screensY >= 1 &&
         level.screensY <= kGridRows;
}

void CheckCutScenery(const LevelSource& level, std::vector<EditProblem>& out) {
  for (size_t r = 1; r < level.rows.size(); ++r) {
    for (size_t c = 0; c < level.rows[r].size(); ++c) {
      const bool above = c < level.rows[r - 1].size() && level.rows[r - 1][c] != 0;
      if (level.rows[r][c] == 0 || above) continue;
      const LevelPoint top{int64_t(c) * kScreenWidth, int64_t(r) * kScreenHeight};
      out.push_back({LevelProblem::kWarning,
                     "screen " + std::to_string(c) + "," + std::to_string(r) +
                         ": its scenery is cut off at y " + std::to_string(top.y) + " (no picture above)",
                     ItemRef{ItemKind::kCell, 0, int(c), int(r)}, LevelPoint{top.x + 400, top.y}});
    }
  }
}

struct Placed {
  ItemRef ref;
  LevelPoint at;      // anchor
  LevelPoint centre;  // the point tested for solid ground
  const char* what;
};

std::vector<Placed> PlacedItems(const LevelSource& level) {
  std::vector<Placed> items;
  for (size_t i = 0; i < level.units.size(); ++i) {
    const LevelPoint at = level.units[i].at;
    items.push_back({{ItemKind::kUnit, 0, int(i)}, at, at, "unit"});
  }
  for (size_t i = 0; i < level.pickups.size(); ++i) {
    const LevelPoint at = level.pickups[i].at;
    items.push_back({{ItemKind::kPickup, 0, int(i)}, at, {at.x + kPickupSide / 2, at.y + kPickupSide / 2}, "pickup"});
  }
  return items;
}

// The level as read back from its text: every statement with its line, as
// the check needs them.
LevelSource Reparsed(const LevelSource& level) {
  std::vector<LevelProblem> unused;
  return ParseLevelText(WriteLevelText(level, {}), unused);
}

}  // namespace

bool LevelHasErrors(const LevelSource& level) { return HasErrors(CheckLevel(Reparsed(level))); }

std::vector<EditProblem> CheckForEditor(const LevelSource& level) {
  const LevelSource parsed = Reparsed(level);
  const std::map<int, ItemRef> items = ItemsByLine(parsed);
  std::vector<EditProblem> out;
  for (const LevelProblem& problem : CheckLevel(parsed)) {
    EditProblem listed{problem.severity, problem.message, std::nullopt, std::nullopt};
    if (const auto it = items.find(problem.line); it != items.end()) {
      listed.item = it->second;
      listed.place = ItemAnchor(level, it->second);
      if (it->second.kind == ItemKind::kCell) listed.place = LevelPoint{0, int64_t(it->second.sub) * kScreenHeight};
    }
    out.push_back(std::move(listed));
  }
  return out;
}

std::vector<EditProblem> HiddenDangers(const LevelSource& level) {
  std::vector<EditProblem> out;
  if (!InPlayableSize(level)) return out;
  CheckCutScenery(level, out);
  const int64_t width = level.screensX * kScreenWidth, height = level.screensY * kScreenHeight;
  const cCollisionMap map = MapOf(level);
  for (const Placed& item : PlacedItems(level)) {
    const LevelPoint c = item.centre;
    std::string why;
    // Items put out of the way on purpose (the file needs one of each
    // kind) lie far outside; only those near the level are marked.
    const bool far = c.x < -kScreenWidth || c.y < -kScreenHeight || c.x > width + kScreenWidth ||
                     c.y > height + kScreenHeight;
    if (far) continue;
    if (c.x < 0 || c.y < 0 || c.x >= width || c.y >= height) why = "lies outside the level";
    else if (c.x > width - kEndMargin) why = "lies past the level's end (x " + std::to_string(width - kEndMargin) + ")";
    else if (map.IsSolid(int(c.x), int(c.y))) why = "lies inside solid ground";
    if (!why.empty())
      out.push_back({LevelProblem::kWarning, std::string(item.what) + " at " + Text(item.at) + " " + why, item.ref, item.at});
  }
  return out;
}
