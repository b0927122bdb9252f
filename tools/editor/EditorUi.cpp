#include "tools/editor/EditorUi.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "app/GameState.h"
#include "gfx/Render.h"
#include "tools/editor/EditorLayout.h"

using namespace editor_layout;

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kCheckAfter = std::chrono::milliseconds(120);  // a pause in the edits
constexpr double kWheelStep = 1.25;
constexpr double kPanStep = 80;  // view pixels per arrow key press
constexpr int64_t kDuplicateOffset = 50;

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
      if (tool != tool_) DropStroke();
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
      if (!stroke_.empty()) DropStroke();
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
  const int list = DrawnList();
  if (stroke_.size() >= 2 && extending_) {
    Do(ExtendStroke(document_.level, *extending_, {stroke_.begin() + 1, stroke_.end()}));
  } else if (stroke_.size() >= 2) {
    EditCommand add = AddItem(document_.level, ItemKind::kStroke, list, LevelStroke{stroke_, 0});
    add.name = std::string("Draw ") + LineListKeyword(list) + " line";
    const Selection added = AddedItems(add);
    if (Do(std::move(add))) document_.selection = added;
  } else if (!stroke_.empty()) {
    Say("a line needs at least two points");
  }
  DropStroke();
}

int Editor::DrawnList() const {
  return tool_ == Tool::kPlatform ? kPlatformLines : tool_ == Tool::kUnused ? kUnusedLines : kSolidLines;
}

void Editor::DropStroke() {
  stroke_.clear();
  extending_.reset();
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
  DropStroke();
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
    case Tool::kUnused: {
      // A line begun on the last point of a line of the same kind goes on
      // from there.
      const int list = DrawnList();
      const std::optional<ItemRef> under = ItemUnder(level, pointer_, SlackPixels(), 1u << list, boxes_);
      if (stroke_.empty() && under && under->kind == ItemKind::kPoint &&
          size_t(under->sub) + 1 == level.lines[list][under->index].points.size()) {
        extending_ = ItemRef{ItemKind::kStroke, list, under->index, 0};
        stroke_.push_back(*ItemAnchor(level, *under));
      } else {
        stroke_.push_back(at);
      }
      break;
    }
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
  marks.strokeList = DrawnList();
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
