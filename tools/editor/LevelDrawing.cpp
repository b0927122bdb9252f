#include "tools/editor/LevelDrawing.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>

#include "app/GameState.h"
#include "data/AnimTables.h"
#include "data/LevelLoader.h"
#include "game/Gameplay.h"
#include "game/Units.h"
#include "gfx/Draw.h"
#include "gfx/Render.h"
#include "gfx/Texture.h"

namespace {

// The game's depths, so that the pictures overlap as in play.
constexpr double kScreenDepth = -0.7;
constexpr double kCloudDepth = -0.6;
constexpr double kItemDepth = -0.5;
constexpr double kPlayerDepth = -0.2;
constexpr double kUnitDepth = -0.1;
constexpr int64_t kCloudTop = 1150;  // the cloud band's top edge, and its height
constexpr int64_t kCloudHeight = 1200;
constexpr int64_t kEndMargin = 500;
constexpr float kPenWidth = 23;
// Below this scale items are a few pixels across: their marks show them,
// and their pictures are not drawn (each costs the software renderer a
// draw call of its own).
constexpr double kSmallestItemPictures = 0.1;

const ImU32 kSelected = IM_COL32(255, 210, 0, 255);
const ImU32 kError = IM_COL32(255, 40, 40, 255);
const ImU32 kWarning = IM_COL32(255, 150, 0, 255);

void DrawSprite(const cAnim& sprite, const LevelPoint& at, double depth) {
  const TextureName frame = sprite.textures[1];
  if (frame != 0) RenderSprite(frame, double(at.x), double(at.y), depth, sprite.drawWidth, sprite.drawHeight, false);
}

bool Visible(const EditView& view, int viewWidth, int viewHeight, double x, double y, double w, double h) {
  return view.ToViewX(x + w) >= 0 && view.ToViewX(x) <= viewWidth && view.ToViewY(y + h) >= 0 &&
         view.ToViewY(y) <= viewHeight;
}

ImVec2 At(const EditView& view, const LevelPoint& p) {
  return ImVec2(float(view.ToViewX(double(p.x))), float(view.ToViewY(double(p.y))));
}

ImVec2 At(const EditView& view, double x, double y) { return ImVec2(float(view.ToViewX(x)), float(view.ToViewY(y))); }

// A size the game's grid holds: a text may say anything, and the grid and
// the end's dashes are drawn line by line.
bool GridSize(const LevelSource& level) {
  return level.screensX >= 1 && level.screensX <= kGridColumns && level.screensY >= 1 && level.screensY <= kGridRows;
}

void DrawGrid(ImDrawList& draw, const LevelSource& level, const EditView& view) {
  const int64_t width = level.screensX * kScreenWidth, height = level.screensY * kScreenHeight;
  const ImU32 grid = IM_COL32(255, 255, 255, 60);
  for (int64_t c = 1; c < level.screensX; ++c)
    draw.AddLine(At(view, double(c * kScreenWidth), 0), At(view, double(c * kScreenWidth), double(height)), grid);
  for (int64_t r = 1; r < level.screensY; ++r)
    draw.AddLine(At(view, 0, double(r * kScreenHeight)), At(view, double(width), double(r * kScreenHeight)), grid);
}

void DrawBoundsAndEnd(ImDrawList& draw, const LevelSource& level, const EditView& view) {
  const double width = double(level.screensX * kScreenWidth), height = double(level.screensY * kScreenHeight);
  draw.AddRect(At(view, 0, 0), At(view, width, height), IM_COL32(255, 255, 255, 200), 0, 0, 2);
  if (!GridSize(level)) return;
  const double end = width - kEndMargin;
  for (double y = 0; y < height; y += 40)
    draw.AddLine(At(view, end, y), At(view, end, std::min(height, y + 20)), IM_COL32(255, 60, 60, 200), 2);
}

void DrawLines(ImDrawList& draw, const LevelSource& level, const EditView& view, uint32_t layers,
               const Selection& selection) {
  const float pen = std::max(1.0f, kPenWidth * float(view.scale));
  for (int list = 0; list < kLineLists; ++list) {
    if (!(layers & (1u << list))) continue;
    const ImU32 colour = LineListColour(list);
    const ImU32 wide = (colour & 0x00FFFFFF) | (90u << 24);
    for (size_t s = 0; s < level.lines[list].size(); ++s) {
      const std::vector<LevelPoint>& points = level.lines[list][s].points;
      const bool strokeSelected = selection.count({ItemKind::kStroke, list, int(s), 0}) > 0;
      for (size_t i = 1; i < points.size(); ++i) {
        draw.AddLine(At(view, points[i - 1]), At(view, points[i]), wide, pen);
        draw.AddLine(At(view, points[i - 1]), At(view, points[i]), strokeSelected ? kSelected : colour, 1.5f);
      }
      for (size_t i = 0; i < points.size(); ++i) {
        const bool selected = strokeSelected || selection.count({ItemKind::kPoint, list, int(s), int(i)});
        const ImVec2 p = At(view, points[i]);
        draw.AddRectFilled(ImVec2(p.x - 3, p.y - 3), ImVec2(p.x + 3, p.y + 3), selected ? kSelected : colour);
      }
    }
  }
}

void DrawItemLabels(ImDrawList& draw, const LevelSource& level, const EditView& view, uint32_t layers,
                    const Selection& selection, const UnitBoxes& boxes) {
  auto box = [&](const ItemRef& ref, ImU32 colour, const std::string& label) {
    const std::optional<WorldRect> r = ItemBounds(level, ref, boxes);
    if (!r) return;
    const bool selected = selection.count(ref) > 0;
    draw.AddRect(At(view, double(r->left), double(r->top)), At(view, double(r->right), double(r->bottom)),
                 selected ? kSelected : colour, 0, 0, selected ? 3 : 1);
    if (view.scale >= 0.35) draw.AddText(At(view, double(r->left), double(r->bottom)), colour, label.c_str());
  };
  if (layers & kLayerPlayer && level.player) box({ItemKind::kPlayer}, IM_COL32(80, 255, 80, 255), "START");
  if (layers & kLayerUnits)
    for (size_t i = 0; i < level.units.size(); ++i)
      box({ItemKind::kUnit, 0, int(i)}, IM_COL32(255, 120, 255, 255),
          "unit " + std::to_string(i + 1) + " type " + std::to_string(level.units[i].type));
  if (layers & kLayerPickups)
    for (size_t i = 0; i < level.pickups.size(); ++i)
      box({ItemKind::kPickup, 0, int(i)}, IM_COL32(120, 255, 255, 255), "kind " + std::to_string(level.pickups[i].kind));
  if (layers & kLayerBlocks)
    for (size_t i = 0; i < level.blocks.size(); ++i)
      box({ItemKind::kBlock, 0, int(i)}, IM_COL32(255, 255, 120, 255),
          "block " + std::to_string(i) + (level.blocks[i].permanent ? " permanent" : ""));
}

void DrawProblems(ImDrawList& draw, const EditView& view, const std::vector<EditProblem>& problems) {
  for (const EditProblem& problem : problems) {
    if (!problem.place) continue;
    const ImVec2 p = At(view, *problem.place);
    if (problem.severity == LevelProblem::kError) draw.AddCircle(p, 12, kError, 0, 3);
    else draw.AddCircle(p, 7, kWarning, 0, 2);
  }
}

}  // namespace

uint32_t LineListColour(int list) {
  static const ImU32 kColours[kLineLists] = {IM_COL32(255, 255, 255, 255), IM_COL32(60, 110, 255, 255),
                                             IM_COL32(200, 130, 60, 255)};
  return kColours[list];
}

void LevelPictures::Load() {
  screenCount_ = std::min(CountFiles(game.levelDir[0], "*.tga"), 99);
  for (int v = 1; v <= screenCount_; ++v)
    LoadTGA(game.levelDir[0] + "\\" + std::to_string(v - 1) + ".tga", screenTex[v]);
  LoadTGA("DATA\\levels\\LielaisMakonis.tga", cloudTex);
  for (int k = 0; k < kPickupKinds; ++k) LoadTGA("DATA\\Items\\" + std::to_string(k) + ".tga", pickupKinds[k].texture);
  LoadTGA("DATA\\Objects\\mstone.tga", stoneTex);
  for (int t = 0; t < kUnitTypes; ++t) {
    const tAnimData& anim = unitTypes[t].anim;
    if (anim.fileName.empty()) continue;
    unitSprites_[t].LoadSheet(anim.fileName);
    unitSprites_[t].drawWidth = anim.width;
    unitSprites_[t].drawHeight = anim.height;
  }
  player_.LoadSheet(playerAnims[0].fileName);
  player_.drawWidth = playerAnims[0].width;
  player_.drawHeight = playerAnims[0].height;
}

TextureName LevelPictures::Screen(int64_t v) const { return v >= 1 && v <= screenCount_ ? screenTex[v] : 0; }

UnitBoxes LevelPictures::Boxes() const {
  UnitBoxes boxes;
  for (int t = 0; t < kUnitTypes; ++t)
    if (unitTypes[t].width > 0 && unitTypes[t].height > 0) boxes.size[t] = {unitTypes[t].width, unitTypes[t].height};
  return boxes;
}

const cAnim& LevelPictures::UnitSprite(int64_t type) const {
  return unitSprites_[type >= 0 && type < kUnitTypes ? type : 0];
}

void DrawLevelPictures(const LevelSource& level, const EditView& view, int viewWidth, int viewHeight,
                       uint32_t layers, const LevelPictures& pictures) {
  if (layers & kLayerPictures) {
    for (size_t r = 0; r < level.rows.size(); ++r) {
      for (size_t c = 0; c < level.rows[r].size(); ++c) {
        const double x = double(c) * kScreenWidth, y = double(r) * kScreenHeight;
        const TextureName picture = pictures.Screen(level.rows[r][c]);
        if (picture && Visible(view, viewWidth, viewHeight, x, y, kScreenWidth, kScreenHeight))
          DrawQuad(picture, x, y, kScreenDepth, kScreenWidth, kScreenHeight, 1);
      }
    }
  }
  if (layers & kLayerClouds)
    DrawOverlay(cloudTex, 0, kCloudTop, kCloudDepth, double(level.screensX * kScreenWidth), kCloudHeight, 1);
  if (view.scale < kSmallestItemPictures) return;
  if (layers & kLayerBlocks)
    for (const LevelBlock& block : level.blocks)
      if (Visible(view, viewWidth, viewHeight, double(block.at.x), double(block.at.y), 70, 35))
        DrawOverlay(stoneTex, double(block.at.x), double(block.at.y), kItemDepth, 70, 35, 1);
  if (layers & kLayerPickups)
    for (const LevelPickup& item : level.pickups)
      if (item.kind >= 0 && item.kind < kPickupKinds &&
          Visible(view, viewWidth, viewHeight, double(item.at.x), double(item.at.y), 50, 50))
        DrawQuad(pickupKinds[item.kind].texture, double(item.at.x), double(item.at.y), kItemDepth, 50, 50, 1);
  if (layers & kLayerUnits)
    for (const LevelUnit& unit : level.units) DrawSprite(pictures.UnitSprite(unit.type), unit.at, kUnitDepth);
  if (layers & kLayerPlayer && level.player) DrawSprite(pictures.PlayerSprite(), level.player->at, kPlayerDepth);
}

void DrawLevelMarks(ImDrawList& draw, const LevelSource& level, const EditView& view, uint32_t layers,
                    const DrawnMarks& marks, const UnitBoxes& boxes) {
  static const Selection kNone;
  const Selection& selection = marks.selection ? *marks.selection : kNone;
  if (layers & kLayerGrid && GridSize(level)) DrawGrid(draw, level, view);
  DrawBoundsAndEnd(draw, level, view);
  DrawLines(draw, level, view, layers, selection);
  DrawItemLabels(draw, level, view, layers, selection, boxes);
  if (layers & kLayerMarks && marks.problems) DrawProblems(draw, view, *marks.problems);
  if (marks.strokeInProgress && !marks.strokeInProgress->empty()) {
    const std::vector<LevelPoint>& points = *marks.strokeInProgress;
    for (size_t i = 1; i < points.size(); ++i)
      draw.AddLine(At(view, points[i - 1]), At(view, points[i]), LineListColour(marks.strokeList), 2);
    for (const LevelPoint& p : points) draw.AddCircleFilled(At(view, p), 4, kSelected);
  }
}
