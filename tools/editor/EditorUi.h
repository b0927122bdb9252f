// The editor's window contents: menus, panels, dialogs and the level view,
// in Dear ImGui, over the edit model. Runs inside the frame that
// EditorMain.cpp sets up.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/editor/EditDocument.h"
#include "tools/editor/EditorKeys.h"
#include "tools/editor/LevelDrawing.h"
#include "tools/editor/Recovery.h"
#include "tools/editor/TestPlay.h"

struct EditorSetup {
  std::string contentDir;   // absolute; the working folder
  std::string levelPath;    // catalogue entry 0's level file, relative to it
  std::string game;         // the game program for test plays
  std::string recoveryDir;  // empty: no recovery files
  std::string startDir;     // where relative file names typed in are
};

enum class Tool { kSelect, kSolid, kPlatform, kUnused, kUnit, kPickup, kBlock, kStart, kScreens };

class Editor {
 public:
  Editor(EditorSetup setup, EditDocument document, std::vector<std::string> messages);
  // The pictures need the window's context.
  void LoadPictures() { pictures_.Load(); boxes_ = pictures_.Boxes(); }
  // The interface of one frame (between ImGui's NewFrame and Render).
  void Frame(int viewWidth, int viewHeight);
  // The level's pictures under the interface, in the frame's world view.
  void DrawWorld(int drawableWidth, int drawableHeight) const;
  // The window's close button: asks about unsaved changes first.
  void RequestQuit();
  bool Finished() const { return finished_; }
  // Something moves on its own (a drag, a dialog): frames keep coming.
  bool Busy() const;
  // Once, when the window should take the keyboard again (a test play ended).
  bool TakeFocusRequest() { return std::exchange(focusWanted_, false); }
  EditDocument& Document() { return document_; }
  // Leaves the editor's state as a normal end does (the recovery file goes).
  void Close();
  // How often a changed level is written to its recovery file (60 s).
  void SetRecoveryInterval(std::chrono::milliseconds interval) { recoveryEvery_ = interval; }

 private:
  // Frame parts.
  void RunShortcuts();
  void Run(Action action);
  void MenuBar();
  void ToolPanel();
  void PropertiesPanel();
  void ItemProperties(const ItemRef& ref);
  void LevelProperties();
  void ProblemsPanel();
  void Overview();
  void StatusBar();
  void Dialogs();
  void HelpWindow();
  void ViewInput();
  void SelectInput(const LevelPoint& at);
  void PlaceInput(const LevelPoint& at);
  void DragMove();
  void FinishDrag();
  void Marks();
  void Housekeeping();
  void OfferRecovery();

  // Actions.
  bool Do(EditCommand command);
  void Save(bool overwrite);
  void SaveAs(const std::string& path);
  void Open(const std::string& path);
  void New(int64_t across, int64_t down);
  // Edits this document from now on (the previous one's recovery file goes).
  void Adopt(EditDocument document);
  void Play(bool fromPointer);
  void FinishStroke();
  void DropStroke();
  int DrawnList() const;  // the line list of the line tool chosen
  void InsertPointAtPointer();
  void MoveSelection(int64_t dx, int64_t dy);
  void FitView();
  void ViewArea(float& left, float& top, float& width, float& height) const;
  void CentreOn(const LevelPoint& place);
  void Say(const std::string& message);
  std::string TypedPath(const std::string& typed) const;
  // Runs action now if the level is saved, otherwise after the user's choice.
  void AfterAskingToSave(std::function<void()> action);
  LevelPoint SnappedPointer() const;
  int64_t SlackPixels() const;

  EditorSetup setup_;
  EditDocument document_;
  LevelPictures pictures_;
  UnitBoxes boxes_;
  EditView view_;
  int viewWidth_ = 0, viewHeight_ = 0;
  uint32_t layers_ = kAllLayers;
  Tool tool_ = Tool::kSelect;
  int64_t unitType_ = 1, pickupKind_ = 0;
  bool blockPermanent_ = false;
  Clipboard clipboard_;
  std::vector<LevelPoint> stroke_;        // the line being drawn
  std::optional<ItemRef> extending_;     // the stroke it goes on from, if any
  // Pointer state.
  LevelPoint pointer_;
  bool shiftHeld_ = false;
  enum class Drag { kNone, kMove, kBox, kPan } drag_ = Drag::kNone;
  LevelPoint dragStart_;
  LevelPoint dragAnchor_;
  EditCommand dragPreview_;
  // Checks, done again when the level changes.
  uint64_t checkedVersion_ = UINT64_MAX;
  uint64_t seenVersion_ = 0;
  std::chrono::steady_clock::time_point lastChange_;
  std::vector<EditProblem> problems_;
  // Dialogs and messages.
  std::string message_;
  bool helpShown_ = false;
  std::string pendingPopup_;
  std::function<void()> afterSave_;
  char pathInput_[1024] = "";
  int newSize_[2] = {3, 1};
  std::vector<RecoveredLevel> recoveries_;
  bool finished_ = false;
  bool fitPending_ = true;
  int64_t sizeInput_[2] = {0, 0};
  bool sizeEdited_ = false;  // the size fields hold what is typed, not the level's
  // Recovery files and test plays.
  std::chrono::steady_clock::time_point lastRecovery_ = std::chrono::steady_clock::now();
  uint64_t recoveredVersion_ = 0;
  std::chrono::milliseconds recoveryEvery_{60000};
  TestPlay play_;
  bool playing_ = false;
  bool focusWanted_ = false;
};
