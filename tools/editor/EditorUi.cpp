#include "tools/editor/EditorUi.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "app/GameState.h"
#include "gfx/Render.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kCheckAfter = std::chrono::milliseconds(120);  // a pause in the edits
constexpr double kWheelStep = 1.25;
constexpr double kPanStep = 80;  // view pixels per arrow key press
constexpr int64_t kDuplicateOffset = 50;
// The panels lie around the level view: tools and problems on the left,
// properties on the right, the overview and the status line at the bottom.
constexpr float kMenuHeight = 20;
constexpr float kLeftWidth = 260;
constexpr float kToolsHeight = 300;
constexpr float kSideWidth = 300;
constexpr float kOverviewHeight = 90;
constexpr float kStatusHeight = 24;
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

ImVec2 ViewPoint(const EditView& view, const LevelPoint& p) {
  return ImVec2(float(view.ToViewX(double(p.x))), float(view.ToViewY(double(p.y))));
}

}  // namespace

Editor::Editor(EditorSetup setup, EditDocument document, std::vector<std::string> messages)
    : setup_(std::move(setup)), document_(std::move(document)) {
  for (const std::string& message : messages) Say(message);
  for (const std::string& problem : document_.openProblems) Say(problem);
  recoveries_ = FindRecoveries(setup_.recoveryDir);
  if (!recoveries_.empty()) OfferRecovery();
}

void Editor::OfferRecovery() {
  const RecoveredLevel& found = recoveries_.front();
  Say("the editor ended without saving " + (found.levelPath.empty() ? std::string("a new level") : found.levelPath) +
      "; Return recovers it, Escape discards it");
  pendingPopup_ = "Recover";
}

void Editor::Say(const std::string& message) {
  message_ = message;
  std::fprintf(stderr, "virko-edit: %s\n", message.c_str());
}

bool Editor::Busy() const {
  return drag_ != Drag::kNone || !pendingPopup_.empty() || ImGui::IsAnyItemActive() || fitPending_ ||
         checkedVersion_ != document_.history.Version();
}

bool Editor::Do(EditCommand command) {
  if (command.changes.empty()) return false;
  if (!AddedItems(command).empty()) {
    LevelSource after = document_.level;
    if (ApplyCommand(after, command)) {
      if (const std::string beyond = BeyondTheGamesLimits(after); !beyond.empty()) {
        Say(command.name + " refused: " + beyond);
        return false;
      }
    }
  }
  const std::string name = command.name;
  if (!document_.Do(std::move(command))) {
    Say(name + " does not fit the level; nothing changed");
    return false;
  }
  return true;
}

// ---- The frame ------------------------------------------------------------

void Editor::Frame(int viewWidth, int viewHeight) {
  viewWidth_ = viewWidth;
  viewHeight_ = viewHeight;
  if (fitPending_ && viewWidth > 0) {
    FitView();
    fitPending_ = false;
  }
  shiftHeld_ = ImGui::GetIO().KeyShift;
  MenuBar();
  ToolPanel();
  PropertiesPanel();
  ProblemsPanel();
  Overview();
  StatusBar();
  HelpWindow();
  Dialogs();
  RunShortcuts();
  ViewInput();
  Marks();
  Housekeeping();
}

void Editor::DrawWorld(int drawableWidth, int drawableHeight) const {
  const double pixelRatio = viewWidth_ > 0 ? double(drawableWidth) / viewWidth_ : 1;
  RenderBeginWorldView(drawableWidth, drawableHeight, view_.left, view_.top, view_.scale * pixelRatio, 0.18f,
                       0.2f, 0.26f);
  DrawLevelPictures(document_.level, view_, viewWidth_, viewHeight_, layers_, pictures_);
}

void Editor::Housekeeping() {
  const Clock::time_point now = Clock::now();
  const uint64_t version = document_.history.Version();
  if (version != seenVersion_) {
    seenVersion_ = version;
    lastChange_ = now;
  }
  if (version != checkedVersion_ && drag_ == Drag::kNone && now - lastChange_ >= kCheckAfter) {
    problems_ = CheckForEditor(document_.level);
    std::vector<EditProblem> dangers = HiddenDangers(document_.level);
    problems_.insert(problems_.end(), dangers.begin(), dangers.end());
    checkedVersion_ = version;
  }
  if (document_.Modified() && version != recoveredVersion_ && now - lastRecovery_ >= recoveryEvery_) {
    std::string error;
    if (!WriteRecovery(setup_.recoveryDir, document_, error)) Say(error);
    recoveredVersion_ = version;
    lastRecovery_ = now;
  }
  int status = 0;
  if (playing_ && !play_.Running(status)) {
    playing_ = false;
    focusWanted_ = true;
    Say(status == 0 ? "test play ended" : "test play ended with status " + std::to_string(status));
  }
}

// ---- Keys -----------------------------------------------------------------

void Editor::RunShortcuts() {
  const ImGuiIO& io = ImGui::GetIO();
  if (io.WantTextInput || ImGui::IsPopupOpen(nullptr, ImGuiPopupFlags_AnyPopupId)) return;
  for (const KeyBinding& binding : kKeyBindings) {
    if (binding.ctrl != io.KeyCtrl || binding.shift != io.KeyShift || binding.alt != io.KeyAlt) continue;
    if (ImGui::IsKeyPressed(binding.key, true)) Run(binding.action);
  }
}

void Editor::Run(Action action) {
  static const std::pair<Action, uint32_t> kLayerActions[] = {
      {Action::kShowPictures, kLayerPictures}, {Action::kShowClouds, kLayerClouds},
      {Action::kShowSolid, kLayerSolid},       {Action::kShowPlatform, kLayerPlatform},
      {Action::kShowUnused, kLayerUnused},     {Action::kShowUnits, kLayerUnits | kLayerPlayer},
      {Action::kShowPickups, kLayerPickups},   {Action::kShowBlocks, kLayerBlocks},
      {Action::kShowGrid, kLayerGrid},         {Action::kShowMarks, kLayerMarks}};
  for (const auto& [layerAction, bits] : kLayerActions) {
    if (action == layerAction) {
      layers_ ^= bits;
      return;
    }
  }
  static const std::pair<Action, Tool> kToolActions[] = {
      {Action::kToolSelect, Tool::kSelect}, {Action::kToolSolid, Tool::kSolid},
      {Action::kToolPlatform, Tool::kPlatform}, {Action::kToolUnused, Tool::kUnused},
      {Action::kToolUnit, Tool::kUnit},     {Action::kToolPickup, Tool::kPickup},
      {Action::kToolBlock, Tool::kBlock},   {Action::kToolStart, Tool::kStart},
      {Action::kToolScreens, Tool::kScreens}};
  for (const auto& [toolAction, tool] : kToolActions) {
    if (action == toolAction) {
      if (tool != tool_) stroke_.clear();
      tool_ = tool;
      return;
    }
  }
  float areaLeft, areaTop, areaWidth, areaHeight;
  ViewArea(areaLeft, areaTop, areaWidth, areaHeight);
  const double cx = areaLeft + areaWidth / 2.0, cy = areaTop + areaHeight / 2.0;
  switch (action) {
    case Action::kNew: AfterAskingToSave([this] { pendingPopup_ = "New level"; }); break;
    case Action::kOpen: AfterAskingToSave([this] { pendingPopup_ = "Open level"; }); break;
    case Action::kSave: Save(false); break;
    case Action::kSaveAs: pendingPopup_ = "Save as"; break;
    case Action::kQuit: RequestQuit(); break;
    case Action::kUndo:
      if (!document_.Undo()) Say("nothing to undo");
      break;
    case Action::kRedo:
      if (!document_.Redo()) Say("nothing to redo");
      break;
    case Action::kCopy:
      clipboard_ = CopyItems(document_.level, document_.selection);
      Say("copied " + std::to_string(clipboard_.items.size()) + " items");
      break;
    case Action::kPaste:
    case Action::kDuplicate: {
      Clipboard source = action == Action::kPaste ? clipboard_ : CopyItems(document_.level, document_.selection);
      if (source.items.empty()) break;
      int64_t dx = kDuplicateOffset, dy = 0;
      if (action == Action::kPaste) {
        const LevelPoint anchor = AnchorOf(source.items.front().second).value_or(LevelPoint{});
        const LevelPoint target = SnappedPointer();
        dx = target.x - anchor.x;
        dy = target.y - anchor.y;
      }
      EditCommand paste = PasteItems(document_.level, source, dx, dy);
      const Selection added = AddedItems(paste);
      if (Do(std::move(paste))) document_.selection = added;
      break;
    }
    case Action::kDelete: Do(DeleteItems(document_.level, document_.selection)); break;
    case Action::kSelectAll:
      document_.selection = ItemsInBox(document_.level, {INT64_MIN / 2, INT64_MIN / 2, INT64_MAX / 2, INT64_MAX / 2},
                                       layers_ & kAllItemLayers);
      break;
    case Action::kDeselect:
      if (!stroke_.empty()) stroke_.clear();
      else document_.selection.clear();
      break;
    case Action::kInsertPoint: InsertPointAtPointer(); break;
    case Action::kFinishStroke: FinishStroke(); break;
    case Action::kMoveLeft: MoveSelection(-kSnapStep, 0); break;
    case Action::kMoveRight: MoveSelection(kSnapStep, 0); break;
    case Action::kMoveUp: MoveSelection(0, -kSnapStep); break;
    case Action::kMoveDown: MoveSelection(0, kSnapStep); break;
    case Action::kNudgeLeft: MoveSelection(-1, 0); break;
    case Action::kNudgeRight: MoveSelection(1, 0); break;
    case Action::kNudgeUp: MoveSelection(0, -1); break;
    case Action::kNudgeDown: MoveSelection(0, 1); break;
    case Action::kPanLeft: view_.Pan(kPanStep, 0); break;
    case Action::kPanRight: view_.Pan(-kPanStep, 0); break;
    case Action::kPanUp: view_.Pan(0, kPanStep); break;
    case Action::kPanDown: view_.Pan(0, -kPanStep); break;
    case Action::kZoomIn: view_.ZoomAt(cx, cy, kWheelStep); break;
    case Action::kZoomOut: view_.ZoomAt(cx, cy, 1 / kWheelStep); break;
    case Action::kFit: FitView(); break;
    case Action::kPlay: Play(false); break;
    case Action::kPlayHere: Play(true); break;
    case Action::kHelp: helpShown_ = !helpShown_; break;
    default: break;
  }
}

// ---- Actions --------------------------------------------------------------

LevelPoint Editor::SnappedPointer() const {
  return shiftHeld_ ? pointer_ : LevelPoint{Snap(pointer_.x), Snap(pointer_.y)};
}

int64_t Editor::SlackPixels() const { return std::max<int64_t>(2, int64_t(std::ceil(6 / view_.scale))); }

// The part of the window between the panels.
void Editor::ViewArea(float& left, float& top, float& width, float& height) const {
  left = kLeftWidth;
  top = kMenuHeight;
  width = std::max(1.0f, float(viewWidth_) - kLeftWidth - kSideWidth);
  height = std::max(1.0f, float(viewHeight_) - kMenuHeight - kOverviewHeight - kStatusHeight);
}

void Editor::FitView() {
  float left, top, width, height;
  ViewArea(left, top, width, height);
  view_.Fit(double(document_.level.screensX * kScreenWidth), double(document_.level.screensY * kScreenHeight),
            width, height);
  view_.Pan(left, top);
}

void Editor::CentreOn(const LevelPoint& place) {
  float left, top, width, height;
  ViewArea(left, top, width, height);
  view_.CentreOn(place, width, height);
  view_.Pan(left, top);
}

void Editor::MoveSelection(int64_t dx, int64_t dy) {
  if (document_.selection.empty()) return Say("nothing selected to move");
  Do(MoveItems(document_.level, document_.selection, dx, dy));
}

void Editor::FinishStroke() {
  if (stroke_.size() >= 2) {
    const int list = tool_ == Tool::kPlatform ? kPlatformLines : tool_ == Tool::kUnused ? kUnusedLines : kSolidLines;
    EditCommand add = AddItem(document_.level, ItemKind::kStroke, list, LevelStroke{stroke_, 0});
    add.name = std::string("Draw ") + LineListKeyword(list) + " line";
    const Selection added = AddedItems(add);
    if (Do(std::move(add))) document_.selection = added;
  } else if (!stroke_.empty()) {
    Say("a line needs at least two points");
  }
  stroke_.clear();
}

void Editor::InsertPointAtPointer() {
  const std::optional<SegmentHit> hit =
      SegmentUnder(document_.level, pointer_, SlackPixels() * 2, layers_ & (kLayerSolid | kLayerPlatform | kLayerUnused));
  if (!hit) return Say("no line under the pointer to insert a point on");
  if (Do(InsertPoint(document_.level, hit->insertAt, hit->on))) document_.selection = {hit->insertAt};
}

void Editor::AfterAskingToSave(std::function<void()> action) {
  if (!document_.Modified()) return action();
  afterSave_ = std::move(action);
  pendingPopup_ = "Unsaved changes";
}

void Editor::RequestQuit() {
  AfterAskingToSave([this] {
    Close();
    finished_ = true;
  });
}

void Editor::Close() { RemoveRecovery(setup_.recoveryDir, document_); }

void Editor::Save(bool overwrite) {
  if (document_.textPath.empty()) {
    pendingPopup_ = "Save as";
    return;
  }
  std::string message;
  switch (SaveLevel(document_, overwrite, message)) {
    case SaveResult::kSaved:
    case SaveResult::kSavedWithErrors:
      RemoveRecovery(setup_.recoveryDir, document_);
      Say(message);
      if (afterSave_) std::exchange(afterSave_, nullptr)();
      break;
    case SaveResult::kChangedOutside:
      Say(message);
      pendingPopup_ = "Changed outside";
      break;
    case SaveResult::kFailed: Say(message + "; the level is still here, unsaved"); break;
  }
}

std::string Editor::TypedPath(const std::string& typed) const {
  return (std::filesystem::path(setup_.startDir) / typed).lexically_normal().string();
}

void Editor::SaveAs(const std::string& path) {
  RemoveRecovery(setup_.recoveryDir, document_);
  document_.textPath = TypedPath(path);
  document_.binaryPath = BinaryPathFor(document_.textPath);
  document_.textOnDisk.reset();  // a file already there is not the one read
  Save(false);
}

void Editor::Open(const std::string& path) {
  std::string error;
  std::optional<EditDocument> opened = OpenLevel(TypedPath(path), error);
  if (!opened) return Say(error);
  Adopt(std::move(*opened));
  for (const std::string& problem : document_.openProblems) Say(problem);
  Say("opened " + document_.textPath);
}

void Editor::Adopt(EditDocument document) {
  Close();
  document_ = std::move(document);
  checkedVersion_ = UINT64_MAX;
  stroke_.clear();
  sizeEdited_ = false;
  fitPending_ = true;
}

void Editor::New(int64_t across, int64_t down) {
  if (across < 1 || across > kGridColumns || down < 1 || down > kGridRows)
    return Say("a level is 1 to 31 screens across and 1 to 11 down");
  Adopt(NewLevel(across, down));
  Say("new level of " + std::to_string(across) + " x " + std::to_string(down) + " screens");
}

void Editor::Play(bool fromPointer) {
  LevelSource level = document_.level;
  if (fromPointer) {
    const int64_t type = level.player ? level.player->type : 0;
    level.player = LevelUnit{pointer_, type, 0};
  }
  std::string error;
  if (document_.Modified() && !WriteRecovery(setup_.recoveryDir, document_, error)) Say(error);
  recoveredVersion_ = document_.history.Version();
  if (!play_.Start(level, setup_.game, setup_.contentDir, setup_.levelPath, error)) return Say(error);
  playing_ = true;
  Say(fromPointer ? "test play from " + std::to_string(pointer_.x) + "," + std::to_string(pointer_.y)
                  : "test play from the start");
}

// ---- The level view -------------------------------------------------------

void Editor::ViewInput() {
  const ImGuiIO& io = ImGui::GetIO();
  pointer_ = view_.ToWorld(io.MousePos.x, io.MousePos.y);
  if (drag_ == Drag::kPan) {
    view_.Pan(io.MouseDelta.x, io.MouseDelta.y);
    if (!ImGui::IsMouseDown(ImGuiMouseButton_Middle)) drag_ = Drag::kNone;
    return;
  }
  if (drag_ == Drag::kMove) return DragMove();
  if (drag_ == Drag::kBox) {
    if (!ImGui::IsMouseDown(ImGuiMouseButton_Left)) {
      Selection boxed = ItemsInBox(document_.level, RectBetween(dragStart_, pointer_), layers_ & kAllItemLayers);
      if (!io.KeyCtrl) document_.selection.clear();
      document_.selection.insert(boxed.begin(), boxed.end());
      drag_ = Drag::kNone;
    }
    return;
  }
  if (io.WantCaptureMouse) return;
  if (io.MouseWheel != 0) view_.ZoomAt(io.MousePos.x, io.MousePos.y, std::pow(kWheelStep, io.MouseWheel));
  if (ImGui::IsMouseClicked(ImGuiMouseButton_Middle)) drag_ = Drag::kPan;
  if (ImGui::IsMouseClicked(ImGuiMouseButton_Right) && !stroke_.empty()) FinishStroke();
  if (!ImGui::IsMouseClicked(ImGuiMouseButton_Left)) return;
  if (tool_ == Tool::kSelect) SelectInput(pointer_);
  else PlaceInput(SnappedPointer());
}

void Editor::SelectInput(const LevelPoint& at) {
  const bool ctrl = ImGui::GetIO().KeyCtrl;
  const std::optional<ItemRef> under = ItemUnder(document_.level, at, SlackPixels(), layers_ & kAllItemLayers, boxes_);
  if (!under) {
    drag_ = Drag::kBox;
    dragStart_ = at;
    return;
  }
  Selection& selection = document_.selection;
  if (ctrl) {
    if (!selection.erase(*under)) selection.insert(*under);
    return;
  }
  if (!selection.count(*under)) selection = {*under};
  drag_ = Drag::kMove;
  dragStart_ = at;
  dragAnchor_ = ItemAnchor(document_.level, *under).value_or(at);
  dragPreview_ = {};
}

void Editor::DragMove() {
  // The anchor of the item taken follows the pointer, snapped to the grid.
  const LevelPoint raw{dragAnchor_.x + pointer_.x - dragStart_.x, dragAnchor_.y + pointer_.y - dragStart_.y};
  const LevelPoint target = shiftHeld_ ? raw : LevelPoint{Snap(raw.x), Snap(raw.y)};
  const int64_t dx = target.x - dragAnchor_.x, dy = target.y - dragAnchor_.y;
  RevertCommand(document_.level, dragPreview_);
  dragPreview_ = MoveItems(document_.level, document_.selection, dx, dy);
  ApplyCommand(document_.level, dragPreview_);
  if (!ImGui::IsMouseDown(ImGuiMouseButton_Left)) FinishDrag();
}

void Editor::FinishDrag() {
  RevertCommand(document_.level, dragPreview_);
  Do(std::exchange(dragPreview_, {}));
  drag_ = Drag::kNone;
}

void Editor::PlaceInput(const LevelPoint& at) {
  const LevelSource& level = document_.level;
  switch (tool_) {
    case Tool::kSolid:
    case Tool::kPlatform:
    case Tool::kUnused: stroke_.push_back(at); break;
    case Tool::kUnit: Do(AddItem(level, ItemKind::kUnit, 0, LevelUnit{at, unitType_, 0})); break;
    case Tool::kPickup: Do(AddItem(level, ItemKind::kPickup, 0, LevelPickup{at, pickupKind_, 0})); break;
    case Tool::kBlock: Do(AddItem(level, ItemKind::kBlock, 0, LevelBlock{at, blockPermanent_, 0, 0})); break;
    case Tool::kStart: {
      const int64_t type = level.player ? level.player->type : 0;
      Do(SetItem(level, {ItemKind::kPlayer}, LevelUnit{at, type, 0}));
      break;
    }
    case Tool::kScreens: {
      const int64_t c = pointer_.x / kScreenWidth, r = pointer_.y / kScreenHeight;
      if (pointer_.x >= 0 && pointer_.y >= 0 && r < int64_t(level.rows.size()) && c < int64_t(level.rows[r].size()))
        document_.selection = {{ItemKind::kCell, 0, int(c), int(r)}};
      break;
    }
    default: break;
  }
}

void Editor::Marks() {
  ImDrawList& draw = *ImGui::GetBackgroundDrawList();
  DrawnMarks marks{&document_.selection, &problems_, &stroke_, 0};
  marks.strokeList = tool_ == Tool::kPlatform ? kPlatformLines : tool_ == Tool::kUnused ? kUnusedLines : kSolidLines;
  DrawLevelMarks(draw, document_.level, view_, layers_, marks, boxes_);
  if (!stroke_.empty())
    draw.AddLine(ViewPoint(view_, stroke_.back()), ViewPoint(view_, SnappedPointer()), LineListColour(marks.strokeList));
  if (drag_ == Drag::kBox)
    draw.AddRect(ViewPoint(view_, dragStart_), ViewPoint(view_, pointer_), IM_COL32(255, 210, 0, 255));
  for (const ItemRef& ref : document_.selection) {
    if (ref.kind != ItemKind::kCell) continue;
    const LevelPoint corner{int64_t(ref.index) * kScreenWidth, int64_t(ref.sub) * kScreenHeight};
    draw.AddRect(ViewPoint(view_, corner), ViewPoint(view_, {corner.x + kScreenWidth, corner.y + kScreenHeight}),
                 IM_COL32(255, 210, 0, 255), 0, 0, 3);
  }
}

// ---- Panels ---------------------------------------------------------------

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
        stroke_.clear();
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

// ---- Dialogs --------------------------------------------------------------

namespace {

// Return confirms a dialog and Escape cancels it, as everywhere.
bool Confirmed() { return ImGui::IsKeyPressed(SDL_SCANCODE_RETURN, false) || ImGui::IsKeyPressed(SDL_SCANCODE_KP_ENTER, false); }
bool Cancelled() { return ImGui::IsKeyPressed(SDL_SCANCODE_ESCAPE, false); }

}  // namespace

void Editor::Dialogs() {
  if (!pendingPopup_.empty()) {
    ImGui::OpenPopup(pendingPopup_.c_str());
    if (pendingPopup_ == "Open level" || pendingPopup_ == "Save as")
      std::snprintf(pathInput_, sizeof pathInput_, "%s", document_.textPath.c_str());
    pendingPopup_.clear();
  }
  const ImGuiWindowFlags flags = ImGuiWindowFlags_AlwaysAutoResize;
  if (ImGui::BeginPopupModal("New level", nullptr, flags)) {
    ImGui::Text("Size in screens of 800 x 600 (across 1 to 31, down 1 to 11)");
    if (ImGui::IsWindowAppearing()) ImGui::SetKeyboardFocusHere();
    ImGui::InputInt2("across, down", newSize_);
    if (ImGui::Button("Make (Return)") || Confirmed()) {
      New(newSize_[0], newSize_[1]);
      ImGui::CloseCurrentPopup();
    }
    ImGui::SameLine();
    if (ImGui::Button("Cancel (Escape)") || Cancelled()) ImGui::CloseCurrentPopup();
    ImGui::EndPopup();
  }
  for (const char* name : {"Open level", "Save as"}) {
    if (!ImGui::BeginPopupModal(name, nullptr, flags)) continue;
    const bool opening = name[0] == 'O';
    ImGui::Text(opening ? "Level text (.level) or compiled level file (.vrk):" : "Save the level text as:");
    if (ImGui::IsWindowAppearing()) ImGui::SetKeyboardFocusHere();
    ImGui::SetNextItemWidth(520);
    const bool entered = ImGui::InputText("##path", pathInput_, sizeof pathInput_, ImGuiInputTextFlags_EnterReturnsTrue);
    if (ImGui::Button(opening ? "Open" : "Save") || entered) {
      ImGui::CloseCurrentPopup();
      if (opening) Open(pathInput_);
      else SaveAs(pathInput_);
    }
    ImGui::SameLine();
    if (ImGui::Button("Cancel (Escape)") || Cancelled()) {
      afterSave_ = nullptr;
      ImGui::CloseCurrentPopup();
    }
    ImGui::EndPopup();
  }
  if (ImGui::BeginPopupModal("Changed outside", nullptr, flags)) {
    ImGui::TextWrapped("%s was changed outside the editor since it was read.", document_.textPath.c_str());
    ImGui::Text("Overwrite it with the level here?");
    if (ImGui::Button("Overwrite")) {
      ImGui::CloseCurrentPopup();
      Save(true);
    }
    ImGui::SameLine();
    if (ImGui::Button("Save as...")) {
      ImGui::CloseCurrentPopup();
      pendingPopup_ = "Save as";
    }
    ImGui::SameLine();
    if (ImGui::Button("Cancel (Escape)") || Cancelled()) {
      afterSave_ = nullptr;
      ImGui::CloseCurrentPopup();
    }
    ImGui::EndPopup();
  }
  if (ImGui::BeginPopupModal("Unsaved changes", nullptr, flags)) {
    ImGui::Text("The level has unsaved changes.");
    if (ImGui::Button("Save")) {
      ImGui::CloseCurrentPopup();
      Save(false);
    }
    ImGui::SameLine();
    if (ImGui::Button("Discard them")) {
      ImGui::CloseCurrentPopup();
      Close();
      document_.history.MarkSaved();
      if (afterSave_) std::exchange(afterSave_, nullptr)();
    }
    ImGui::SameLine();
    if (ImGui::Button("Cancel (Escape)") || Cancelled()) {
      afterSave_ = nullptr;
      ImGui::CloseCurrentPopup();
    }
    ImGui::EndPopup();
  }
  if (ImGui::BeginPopupModal("Recover", nullptr, flags)) {
    const RecoveredLevel& found = recoveries_.front();
    ImGui::Text("The editor ended without saving %s.", found.levelPath.empty() ? "a new level" : found.levelPath.c_str());
    ImGui::Text("Its last state was kept. Recover it?");
    const bool recover = ImGui::Button("Recover (Return)") || Confirmed();
    ImGui::SameLine();
    const bool discard = ImGui::Button("Discard (Escape)") || Cancelled();
    if (recover || discard) {
      ImGui::CloseCurrentPopup();
      if (recover) {
        Adopt(RestoreRecovery(found));
        Say("recovered " + (found.levelPath.empty() ? std::string("a new level") : found.levelPath));
      }
      std::error_code error;
      std::filesystem::remove(found.file, error);
      recoveries_.erase(recoveries_.begin());
      if (!recoveries_.empty()) OfferRecovery();
    }
    ImGui::EndPopup();
  }
}
