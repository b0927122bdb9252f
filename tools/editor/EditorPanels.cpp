// The editor's panels: menus, tools, properties, problems, overview, status
// line and help.
#include <imgui.h>

#include <algorithm>
#include <filesystem>

#include "app/GameState.h"
#include "tools/editor/EditorLayout.h"
#include "tools/editor/EditorUi.h"

using namespace editor_layout;

namespace {

constexpr ImGuiWindowFlags kDocked = ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoResize |
                                     ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoSavedSettings;

void Dock(float x, float y, float w, float h) {
  ImGui::SetNextWindowPos(ImVec2(x, y), ImGuiCond_Always);
  ImGui::SetNextWindowSize(ImVec2(w, h), ImGuiCond_Always);
}

// A panel as tall as its contents, up to maxHeight: the software renderer
// pays for every pixel of a panel, and the level shows around it.
constexpr ImGuiWindowFlags kFitted = kDocked | ImGuiWindowFlags_AlwaysAutoResize;
void DockFitted(float x, float y, float w, float maxHeight) {
  ImGui::SetNextWindowPos(ImVec2(x, y), ImGuiCond_Always);
  ImGui::SetNextWindowSizeConstraints(ImVec2(w, 0), ImVec2(w, std::max(40.0f, maxHeight)));
}

const char* const kUnitTypeNames[7] = {"0 player type", "1 walker", "2 left-walker", "3 flier",
                                       "4 flier", "5 flier", "6 straight mover"};
const char* const kPickupNames[7] = {"0 cone", "1 puff", "2 bullets", "3 fuel", "4 no reward", "5 no reward",
                                     "6 grenade"};

const char* ToolName(Tool tool) {
  static const char* const kNames[] = {"select", "solid line", "platform line", "unused line", "unit",
                                       "pickup", "block", "player's start", "screen pictures"};
  return kNames[int(tool)];
}

bool InputNumber(const char* label, int64_t& value) {
  return ImGui::InputScalar(label, ImGuiDataType_S64, &value);
}

// The menu entry of an action, with its key.
bool MenuAction(Action action, bool enabled = true, bool selected = false) {
  const KeyBinding& binding = BindingOf(action);
  return ImGui::MenuItem(binding.name, KeyText(binding).c_str(), selected, enabled);
}

}  // namespace

void Editor::MenuBar() {
  if (!ImGui::BeginMainMenuBar()) return;
  const bool canUndo = document_.history.CanUndo(), canRedo = document_.history.CanRedo();
  const bool selected = !document_.selection.empty();
  if (ImGui::BeginMenu("File")) {
    for (Action a : {Action::kNew, Action::kOpen, Action::kSave, Action::kSaveAs}) if (MenuAction(a)) Run(a);
    ImGui::Separator();
    if (MenuAction(Action::kQuit)) Run(Action::kQuit);
    ImGui::EndMenu();
  }
  if (ImGui::BeginMenu("Edit")) {
    if (MenuAction(Action::kUndo, canUndo)) Run(Action::kUndo);
    if (MenuAction(Action::kRedo, canRedo)) Run(Action::kRedo);
    ImGui::Separator();
    for (Action a : {Action::kCopy, Action::kDuplicate, Action::kDelete}) if (MenuAction(a, selected)) Run(a);
    if (MenuAction(Action::kPaste, !clipboard_.items.empty())) Run(Action::kPaste);
    for (Action a : {Action::kSelectAll, Action::kDeselect, Action::kInsertPoint, Action::kFinishStroke})
      if (MenuAction(a)) Run(a);
    ImGui::Separator();
    for (Action a : {Action::kMoveLeft, Action::kMoveRight, Action::kMoveUp, Action::kMoveDown, Action::kNudgeLeft,
                     Action::kNudgeRight, Action::kNudgeUp, Action::kNudgeDown})
      if (MenuAction(a, selected)) Run(a);
    ImGui::EndMenu();
  }
  if (ImGui::BeginMenu("Tools")) {
    const Action tools[] = {Action::kToolSelect, Action::kToolSolid, Action::kToolPlatform, Action::kToolUnused,
                            Action::kToolUnit,   Action::kToolPickup, Action::kToolBlock,   Action::kToolStart,
                            Action::kToolScreens};
    for (int i = 0; i < 9; ++i) if (MenuAction(tools[i], true, int(tool_) == i)) Run(tools[i]);
    ImGui::EndMenu();
  }
  if (ImGui::BeginMenu("View")) {
    for (Action a : {Action::kFit, Action::kZoomIn, Action::kZoomOut, Action::kPanLeft, Action::kPanRight,
                     Action::kPanUp, Action::kPanDown})
      if (MenuAction(a)) Run(a);
    ImGui::Separator();
    const std::pair<Action, uint32_t> shown[] = {
        {Action::kShowPictures, kLayerPictures}, {Action::kShowClouds, kLayerClouds}, {Action::kShowSolid, kLayerSolid},
        {Action::kShowPlatform, kLayerPlatform}, {Action::kShowUnused, kLayerUnused}, {Action::kShowUnits, kLayerUnits},
        {Action::kShowPickups, kLayerPickups},   {Action::kShowBlocks, kLayerBlocks}, {Action::kShowGrid, kLayerGrid},
        {Action::kShowMarks, kLayerMarks}};
    for (const auto& [a, bit] : shown) if (MenuAction(a, true, layers_ & bit)) Run(a);
    ImGui::EndMenu();
  }
  if (ImGui::BeginMenu("Play")) {
    for (Action a : {Action::kPlay, Action::kPlayHere}) if (MenuAction(a, !playing_)) Run(a);
    ImGui::EndMenu();
  }
  if (ImGui::BeginMenu("Help")) {
    if (MenuAction(Action::kHelp, true, helpShown_)) Run(Action::kHelp);
    ImGui::EndMenu();
  }
  ImGui::EndMainMenuBar();
}

void Editor::ToolPanel() {
  DockFitted(0, kMenuHeight, kLeftWidth, kToolsHeight);
  if (ImGui::Begin("Tools", nullptr, kFitted)) {
    for (int i = 0; i < 9; ++i) {
      const std::string label = std::to_string(i + 1) + " " + ToolName(Tool(i));
      if (ImGui::RadioButton(label.c_str(), int(tool_) == i)) {
        tool_ = Tool(i);
        DropStroke();
      }
    }
    ImGui::Separator();
    if (tool_ == Tool::kUnit) {
      int type = int(unitType_);
      if (ImGui::Combo("type", &type, kUnitTypeNames, 7)) unitType_ = type;
    } else if (tool_ == Tool::kPickup) {
      int kind = int(pickupKind_);
      if (ImGui::Combo("kind", &kind, kPickupNames, 7)) pickupKind_ = kind;
    } else if (tool_ == Tool::kBlock) {
      ImGui::Checkbox("permanent", &blockPermanent_);
    } else if (!stroke_.empty()) {
      ImGui::Text("%zu points; Return or right click ends the line", stroke_.size());
    }
  }
  ImGui::End();
}

void Editor::ItemProperties(const ItemRef& ref) {
  std::optional<ItemValue> value = ItemAt(document_.level, ref);
  if (!value) return;
  ItemValue edited = *value;
  bool changed = false;
  auto point = [&](LevelPoint& p) {
    InputNumber("x", p.x);
    changed |= ImGui::IsItemDeactivatedAfterEdit();
    InputNumber("y", p.y);
    changed |= ImGui::IsItemDeactivatedAfterEdit();
  };
  std::visit(
      [&](auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, LevelPoint>) {
          ImGui::Text("%s line %d, point %d", LineListKeyword(ref.list), ref.index + 1, ref.sub + 1);
          point(v);
        } else if constexpr (std::is_same_v<T, LevelUnit>) {
          ImGui::Text(ref.kind == ItemKind::kPlayer ? "The player's start" : "Unit %d", ref.index + 1);
          point(v.at);
          int type = int(std::clamp<int64_t>(v.type, 0, 6));
          if (ImGui::Combo("type", &type, kUnitTypeNames, 7)) {
            v.type = type;
            changed = true;
          }
        } else if constexpr (std::is_same_v<T, LevelPickup>) {
          ImGui::Text("Pickup %d", ref.index + 1);
          point(v.at);
          int kind = int(std::clamp<int64_t>(v.kind, 0, 6));
          if (ImGui::Combo("kind", &kind, kPickupNames, 7)) {
            v.kind = kind;
            changed = true;
          }
        } else if constexpr (std::is_same_v<T, LevelBlock>) {
          ImGui::Text("Block %d of the path", ref.index);
          point(v.at);
          changed |= ImGui::Checkbox("permanent", &v.permanent);
          InputNumber("solidnow", v.solidNow);
          changed |= ImGui::IsItemDeactivatedAfterEdit();
        } else if constexpr (std::is_same_v<T, int64_t>) {
          ImGui::Text("Screen %d,%d: picture %lld", ref.index, ref.sub, static_cast<long long>(v));
          const TextureName shown = pictures_.Screen(v);
          if (shown) ImGui::Image(ImTextureID(intptr_t(shown)), ImVec2(240, 180), ImVec2(0, 1), ImVec2(1, 0));
          ImGui::BeginChild("pictures", ImVec2(0, 220), true);
          for (int p = 0; p <= pictures_.ScreenPictures(); ++p) {
            ImGui::PushID(p);
            const TextureName texture = pictures_.Screen(p);
            const bool clicked = texture ? ImGui::ImageButton(ImTextureID(intptr_t(texture)), ImVec2(64, 48),
                                                              ImVec2(0, 1), ImVec2(1, 0))
                                         : ImGui::Button("none", ImVec2(72, 56));
            if (clicked) {
              v = p;
              changed = true;
            }
            if (ImGui::IsItemHovered()) ImGui::SetTooltip("picture %d (file %d.tga)", p, p - 1);
            if ((p + 1) % 3 != 0) ImGui::SameLine();
            ImGui::PopID();
          }
          ImGui::EndChild();
        }
      },
      edited);
  if (changed) Do(SetItem(document_.level, ref, edited));
}

void Editor::LevelProperties() {
  LevelSource& level = document_.level;
  ImGui::Text("Level: %lld x %lld screens", static_cast<long long>(level.screensX),
              static_cast<long long>(level.screensY));
  if (!sizeEdited_) {
    sizeInput_[0] = level.screensX;
    sizeInput_[1] = level.screensY;
  }
  ImGui::InputScalarN("across, down", ImGuiDataType_S64, sizeInput_, 2);
  sizeEdited_ = ImGui::IsItemActive() || sizeInput_[0] != level.screensX || sizeInput_[1] != level.screensY;
  if (ImGui::Button("Resize") && (sizeInput_[0] != level.screensX || sizeInput_[1] != level.screensY)) {
    if (sizeInput_[0] < 1 || sizeInput_[0] > kGridColumns || sizeInput_[1] < 1 || sizeInput_[1] > kGridRows)
      Say("a level is 1 to 31 screens across and 1 to 11 down");
    else
      Do(ResizeLevel(level, sizeInput_[0], sizeInput_[1]));
    sizeEdited_ = false;
  }
  ImGui::Text("%zu units, %zu pickups, %zu blocks", level.units.size(), level.pickups.size(), level.blocks.size());
}

void Editor::PropertiesPanel() {
  const ImGuiIO& io = ImGui::GetIO();
  DockFitted(io.DisplaySize.x - kSideWidth, kMenuHeight, kSideWidth,
             io.DisplaySize.y - kMenuHeight - kOverviewHeight - kStatusHeight);
  if (ImGui::Begin("Properties", nullptr, kFitted)) {
    const Selection& selection = document_.selection;
    if (selection.size() == 1) {
      ItemProperties(*selection.begin());
    } else if (selection.size() > 1) {
      ImGui::Text("%zu items selected", selection.size());
    } else {
      ImGui::TextWrapped("Nothing selected: click an item, or drag a box around items.");
    }
    ImGui::Separator();
    LevelProperties();
  }
  ImGui::End();
}

void Editor::ProblemsPanel() {
  const ImGuiIO& io = ImGui::GetIO();
  DockFitted(0, kMenuHeight + kToolsHeight, kLeftWidth,
             io.DisplaySize.y - kMenuHeight - kToolsHeight - kOverviewHeight - kStatusHeight);
  const size_t count = problems_.size() + document_.openProblems.size();
  const std::string title = "Problems (" + std::to_string(count) + ")###Problems";
  if (ImGui::Begin(title.c_str(), nullptr, kFitted | ImGuiWindowFlags_HorizontalScrollbar)) {
    // What could not be read when the file was opened (left out of the level).
    for (const std::string& unread : document_.openProblems) {
      ImGui::TextColored(ImVec4(1, 0.35f, 0.35f, 1), "not read: %s", unread.c_str());
      if (ImGui::IsItemHovered()) ImGui::SetTooltip("%s", unread.c_str());
    }
    for (size_t i = 0; i < problems_.size(); ++i) {
      const EditProblem& problem = problems_[i];
      ImGui::PushID(int(i));
      const ImVec4 colour = problem.severity == LevelProblem::kError ? ImVec4(1, 0.35f, 0.35f, 1) : ImVec4(1, 0.7f, 0.2f, 1);
      ImGui::PushStyleColor(ImGuiCol_Text, colour);
      const std::string line = std::string(problem.severity == LevelProblem::kError ? "error: " : "warning: ") + problem.message;
      if (ImGui::Selectable(line.c_str())) {
        if (problem.place) CentreOn(*problem.place);
        if (problem.item) document_.selection = {*problem.item};
      }
      ImGui::PopStyleColor();
      if (ImGui::IsItemHovered()) ImGui::SetTooltip("%s", line.c_str());
      ImGui::PopID();
    }
  }
  ImGui::End();
}

void Editor::Overview() {
  const ImGuiIO& io = ImGui::GetIO();
  const LevelSource& level = document_.level;
  Dock(0, io.DisplaySize.y - kOverviewHeight - kStatusHeight, io.DisplaySize.x, kOverviewHeight);
  const ImGuiWindowFlags flags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings;
  if (ImGui::Begin("Overview", nullptr, flags) && level.screensX > 0 && level.screensY > 0) {
    const ImVec2 origin = ImGui::GetCursorScreenPos();
    const ImVec2 room = ImGui::GetContentRegionAvail();
    const double worldW = double(level.screensX * kScreenWidth), worldH = double(level.screensY * kScreenHeight);
    const float scale = float(std::min(room.x / worldW, room.y / worldH));
    EditView mini;
    mini.scale = scale;
    mini.left = -origin.x / scale;
    mini.top = -origin.y / scale;
    ImDrawList& draw = *ImGui::GetWindowDrawList();
    for (size_t r = 0; r < level.rows.size(); ++r) {
      for (size_t c = 0; c < level.rows[r].size(); ++c) {
        const TextureName texture = pictures_.Screen(level.rows[r][c]);
        const LevelPoint corner{int64_t(c) * kScreenWidth, int64_t(r) * kScreenHeight};
        if (texture)
          draw.AddImage(ImTextureID(intptr_t(texture)), ViewPoint(mini, corner),
                        ViewPoint(mini, {corner.x + kScreenWidth, corner.y + kScreenHeight}), ImVec2(0, 1), ImVec2(1, 0));
      }
    }
    for (int list : {kSolidLines, kPlatformLines})
      for (const LevelStroke& stroke : level.lines[list])
        for (size_t i = 1; i < stroke.points.size(); ++i)
          draw.AddLine(ViewPoint(mini, stroke.points[i - 1]), ViewPoint(mini, stroke.points[i]), LineListColour(list));
    const LevelPoint viewCorner{int64_t(view_.left), int64_t(view_.top)};
    const LevelPoint viewEnd{int64_t(view_.left + viewWidth_ / view_.scale), int64_t(view_.top + viewHeight_ / view_.scale)};
    draw.AddRect(ViewPoint(mini, viewCorner), ViewPoint(mini, viewEnd), IM_COL32(255, 210, 0, 255), 0, 0, 2);
    ImGui::InvisibleButton("overview", ImVec2(float(worldW * scale), float(worldH * scale)));
    if (ImGui::IsItemActive()) CentreOn(mini.ToWorld(io.MousePos.x, io.MousePos.y));
  }
  ImGui::End();
}

void Editor::StatusBar() {
  const ImGuiIO& io = ImGui::GetIO();
  Dock(0, io.DisplaySize.y - kStatusHeight, io.DisplaySize.x, kStatusHeight);
  const ImGuiWindowFlags flags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings;
  if (ImGui::Begin("Status", nullptr, flags)) {
    const std::string name = document_.textPath.empty() ? "(new level)" : std::filesystem::path(document_.textPath).filename().string();
    ImGui::Text("%s%s | %lld,%lld | zoom %.0f%% | tool: %s | %zu selected | undo %zu%s | %s", name.c_str(),
                document_.Modified() ? " *" : "", static_cast<long long>(pointer_.x), static_cast<long long>(pointer_.y),
                view_.scale * 100, ToolName(tool_), document_.selection.size(), document_.history.UndoSteps(),
                playing_ ? " | playing" : "", message_.c_str());
  }
  ImGui::End();
}

void Editor::HelpWindow() {
  if (!helpShown_) return;
  ImGui::SetNextWindowSize(ImVec2(640, 560), ImGuiCond_FirstUseEver);
  if (ImGui::Begin("Keys and mouse", &helpShown_)) {
    if (ImGui::BeginTable("keys", 2, ImGuiTableFlags_RowBg)) {
      for (const KeyBinding& binding : kKeyBindings) {
        ImGui::TableNextColumn();
        ImGui::TextUnformatted(KeyText(binding).c_str());
        ImGui::TableNextColumn();
        ImGui::TextUnformatted(binding.name);
      }
      for (const auto& [what, does] : kMouseActions) {
        ImGui::TableNextColumn();
        ImGui::TextUnformatted(what);
        ImGui::TableNextColumn();
        ImGui::TextWrapped("%s", does);
      }
      ImGui::EndTable();
    }
  }
  ImGui::End();
}
