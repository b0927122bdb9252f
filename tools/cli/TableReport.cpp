#include "tools/cli/TableReport.h"

#include <algorithm>

#include "app/GameState.h"
#include "data/AnimTables.h"
#include "game/Gameplay.h"
#include "game/Units.h"
#include "screens/Screens.h"

namespace {

using V = ReportValue;

V Point(int64_t x, int64_t y) {
  V point = V::Array();
  point.Add(V::Integer(x));
  point.Add(V::Integer(y));
  return point;
}

V Sequence(const tAnimSeq& seq) {
  V v = V::Object();
  v.Add("start", V::Integer(seq.start));
  v.Add("stop", V::Integer(seq.stop));
  v.Add("delay", V::Real32(seq.delay));
  return v;
}

V Anim(const tAnimData& anim) {
  V v = V::Object();
  v.Add("fileName", V::GameText(anim.fileName));
  v.Add("width", V::Integer(anim.width));
  v.Add("height", V::Integer(anim.height));
  const std::pair<const char*, const tAnimSeq*> sequences[] = {
      {"standA", &anim.standA}, {"standB", &anim.standB}, {"runA", &anim.runA},
      {"runB", &anim.runB},     {"jump", &anim.jump},     {"fall", &anim.fall},
      {"punch", &anim.punch},   {"actA", &anim.actA},     {"actB", &anim.actB},
      {"actC", &anim.actC},     {"actD", &anim.actD},     {"actE", &anim.actE}};
  for (const auto& [name, seq] : sequences) v.Add(name, Sequence(*seq));
  return v;
}

// One line list: its count, points 0 to count and their break flags. The
// readers never store a count beyond the table; the clamp only keeps this
// report within the arrays whatever it is handed.
void AddLineList(V& report, const char* name, uint16_t count, const TPoint* points,
                 const uint8_t* breaks) {
  const int last = std::min<int>(count, kMaxLinePoint);
  V pointList = V::Array();
  V breakList = V::Array();
  for (int i = 0; i <= last; ++i) {
    pointList.Add(Point(points[i].x, points[i].y));
    breakList.Add(V::Integer(breaks[i]));
  }
  report.Add(std::string("lineCount") + name, V::Integer(count));
  report.Add(std::string("line") + name, std::move(pointList));
  report.Add(std::string("lineBreak") + name, std::move(breakList));
}

}  // namespace

void AddSettings(ReportValue& report) {
  report.Add("musicVolume", V::Integer(game.musicVolume));
  report.Add("soundVolume", V::Integer(game.soundVolume));
  report.Add("lightLevel", V::Integer(game.lightLevel));
}

void AddCatalogue(ReportValue& report) {
  V files = V::Array();
  V dirs = V::Array();
  for (int n = 0; n < kMaxLevels; ++n) {
    files.Add(V::GameText(game.levelFile[n]));
    dirs.Add(V::GameText(game.levelDir[n]));
  }
  report.Add("levelFile", std::move(files));
  report.Add("levelDir", std::move(dirs));
}

void AddPlayerAnims(ReportValue& report) {
  V list = V::Array();
  for (const tAnimData& anim : playerAnims) list.Add(Anim(anim));
  report.Add("playerAnims", std::move(list));
}

void AddUnitTypes(ReportValue& report) {
  V list = V::Array();
  for (const tUnitType& type : unitTypes) {
    V v = V::Object();
    v.Add("width", V::Integer(type.width));
    v.Add("height", V::Integer(type.height));
    v.Add("health", V::Integer(type.health));
    v.Add("jumpMax", V::Integer(type.jumpMax));
    v.Add("typeParam", V::Real32(type.typeParam));
    v.Add("fallSpeed", V::Real32(type.fallSpeed));
    v.Add("collides", V::Integer(type.collides));
    v.Add("anim", Anim(type.anim));
    list.Add(std::move(v));
  }
  report.Add("unitTypes", std::move(list));
}

void AddMenuItems(ReportValue& report) {
  V list = V::Array();
  for (const tMenuItem& item : mainScreen.items) {
    V v = V::Array();
    for (int32_t field : {item.left, item.top, item.right, item.bottom, item.drawX, item.drawY})
      v.Add(V::Integer(field));
    list.Add(std::move(v));
  }
  report.Add("items", std::move(list));
}

void AddLevel(ReportValue& report) {
  report.Add("screensX", V::Integer(game.screensX));
  report.Add("screensY", V::Integer(game.screensY));
  V grid = V::Array();
  for (const auto& column : game.screenGrid) {
    V cells = V::Array();
    for (uint8_t cell : column) cells.Add(V::Integer(cell));
    grid.Add(std::move(cells));
  }
  report.Add("screenGrid", std::move(grid));

  AddLineList(report, "A", game.lineCountA, game.lineA, game.lineBreakA);
  AddLineList(report, "B", game.lineCountB, game.lineB, game.lineBreakB);
  AddLineList(report, "C", game.lineCountC, game.lineC, game.lineBreakC);

  const int lastUnit = std::min<int>(game.unitCount, kMaxUnits);
  V starts = V::Array();
  V types = V::Array();
  for (int i = 0; i <= lastUnit; ++i) {
    starts.Add(Point(game.unitStart[i].x, game.unitStart[i].y));
    types.Add(V::Integer(units[i].unitType));
  }
  report.Add("unitCount", V::Integer(game.unitCount));
  report.Add("unitStart", std::move(starts));
  report.Add("unitType", std::move(types));

  V kinds = V::Array();
  for (const PickupKind& kind : pickupKinds) {
    V v = V::Object();
    v.Add("lastItem", V::Integer(kind.lastItem));
    V items = V::Array();
    for (int j = 0; j <= std::min<int>(kind.lastItem, 99); ++j) {
      V position = V::Array();
      position.Add(V::Real32(kind.items[j].x));
      position.Add(V::Real32(kind.items[j].y));
      items.Add(std::move(position));
    }
    v.Add("items", std::move(items));
    kinds.Add(std::move(v));
  }
  report.Add("pickupKinds", std::move(kinds));

  V blocks = V::Array();
  for (int i = 0; i <= std::min<int>(game.blockCount, kMaxBlock); ++i) {
    const tBlock& block = game.blocks[i];
    V v = V::Object();
    v.Add("x", V::Integer(block.x));
    v.Add("y", V::Integer(block.y));
    v.Add("permanent", V::Integer(block.permanent));
    v.Add("solidNow", V::Integer(block.solidNow));
    blocks.Add(std::move(v));
  }
  report.Add("blockCount", V::Integer(game.blockCount));
  report.Add("blocks", std::move(blocks));
}
