// Drawing the level in the editor's view: the game's pictures through the
// game's drawing routines, and the editor's marks (lines, points, grid,
// selection, problems) over them through Dear ImGui's draw lists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/Anim.h"
#include "tools/editor/EditCheck.h"
#include "tools/editor/EditView.h"

struct ImDrawList;

// Layers the view shows besides the item layers of EditItems.h.
enum ViewLayer : uint32_t {
  kLayerPictures = 1u << 8,
  kLayerClouds = 1u << 9,
  kLayerGrid = 1u << 10,
  kLayerMarks = 1u << 11,
  kAllLayers = kAllItemLayers | kLayerPictures | kLayerClouds | kLayerGrid | kLayerMarks,
};

// The pictures of the content folder the editor works in (the working
// folder): screen pictures of catalogue entry 0's folder, cloud band, items,
// block, and a sprite for each unit type and the player.
class LevelPictures {
 public:
  void Load();
  int ScreenPictures() const { return screenCount_; }
  TextureName Screen(int64_t v) const;  // 0 where none is loaded
  // The unit boxes from the unit statistics, for picking.
  UnitBoxes Boxes() const;
  const cAnim& UnitSprite(int64_t type) const;
  const cAnim& PlayerSprite() const { return player_; }

 private:
  int screenCount_ = 0;
  cAnim unitSprites_[7];
  cAnim player_;
};

struct DrawnMarks {
  const Selection* selection = nullptr;
  const std::vector<EditProblem>* problems = nullptr;
  const std::vector<LevelPoint>* strokeInProgress = nullptr;
  int strokeList = 0;
};

// The world part: pictures and sprites with the game's routines, in the
// view's projection (which RenderBeginWorldView has set).
void DrawLevelPictures(const LevelSource& level, const EditView& view, int viewWidth, int viewHeight,
                       uint32_t layers, const LevelPictures& pictures);
// The marks over it, in view pixels.
void DrawLevelMarks(ImDrawList& draw, const LevelSource& level, const EditView& view, uint32_t layers,
                    const DrawnMarks& marks, const UnitBoxes& boxes);
// Colour of a line list's marks (ImGui's packed colour).
uint32_t LineListColour(int list);
