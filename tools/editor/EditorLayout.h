// What the editor's window files share: where the panels lie, and small
// helpers of the interface.
#pragma once

#include <imgui.h>

#include <algorithm>

#include "tools/editor/EditorKeys.h"
#include "tools/editor/EditView.h"

namespace editor_layout {

// The panels lie around the level view: tools and problems on the left,
// properties on the right, the overview and the status line at the bottom.
constexpr float kMenuHeight = 20;
constexpr float kLeftWidth = 260;
constexpr float kToolsHeight = 300;
constexpr float kSideWidth = 300;
constexpr float kOverviewHeight = 90;
constexpr float kStatusHeight = 24;

inline ImVec2 ViewPoint(const EditView& view, const LevelPoint& p) {
  return ImVec2(float(view.ToViewX(double(p.x))), float(view.ToViewY(double(p.y))));
}

}  // namespace editor_layout
