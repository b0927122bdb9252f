// Every action of the editor that has a key: one table for the key
// handling, the menus and the help, so that they always agree.
#pragma once

#include <SDL_scancode.h>

#include <array>
#include <string>

enum class Action {
  kNew, kOpen, kSave, kSaveAs, kQuit,
  kUndo, kRedo, kCopy, kPaste, kDuplicate, kDelete, kSelectAll, kDeselect,
  kToolSelect, kToolSolid, kToolPlatform, kToolUnused, kToolUnit, kToolPickup, kToolBlock, kToolStart,
  kToolScreens,
  kInsertPoint, kFinishStroke,
  kMoveLeft, kMoveRight, kMoveUp, kMoveDown, kNudgeLeft, kNudgeRight, kNudgeUp, kNudgeDown,
  kPanLeft, kPanRight, kPanUp, kPanDown, kZoomIn, kZoomOut, kFit,
  kShowPictures, kShowClouds, kShowSolid, kShowPlatform, kShowUnused, kShowUnits, kShowPickups,
  kShowBlocks, kShowGrid, kShowMarks,
  kPlay, kPlayHere, kHelp,
};

struct KeyBinding {
  Action action;
  SDL_Scancode key;
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
  const char* name = "";
};

inline constexpr std::array<KeyBinding, 53> kKeyBindings{{
    {Action::kNew, SDL_SCANCODE_N, true, false, false, "New level"},
    {Action::kOpen, SDL_SCANCODE_O, true, false, false, "Open"},
    {Action::kSave, SDL_SCANCODE_S, true, false, false, "Save"},
    {Action::kSaveAs, SDL_SCANCODE_S, true, true, false, "Save as"},
    {Action::kQuit, SDL_SCANCODE_Q, true, false, false, "Quit"},
    {Action::kUndo, SDL_SCANCODE_Z, true, false, false, "Undo"},
    {Action::kRedo, SDL_SCANCODE_Y, true, false, false, "Redo"},
    {Action::kCopy, SDL_SCANCODE_C, true, false, false, "Copy"},
    {Action::kPaste, SDL_SCANCODE_V, true, false, false, "Paste (at the pointer)"},
    {Action::kDuplicate, SDL_SCANCODE_D, true, false, false, "Duplicate (50 px to the right)"},
    {Action::kDelete, SDL_SCANCODE_DELETE, false, false, false, "Delete"},
    {Action::kSelectAll, SDL_SCANCODE_A, true, false, false, "Select all"},
    {Action::kDeselect, SDL_SCANCODE_ESCAPE, false, false, false, "Select nothing / drop the stroke"},
    {Action::kToolSelect, SDL_SCANCODE_1, false, false, false, "Tool: select and move"},
    {Action::kToolSolid, SDL_SCANCODE_2, false, false, false, "Tool: solid line"},
    {Action::kToolPlatform, SDL_SCANCODE_3, false, false, false, "Tool: platform line"},
    {Action::kToolUnused, SDL_SCANCODE_4, false, false, false, "Tool: unused line"},
    {Action::kToolUnit, SDL_SCANCODE_5, false, false, false, "Tool: place unit"},
    {Action::kToolPickup, SDL_SCANCODE_6, false, false, false, "Tool: place pickup"},
    {Action::kToolBlock, SDL_SCANCODE_7, false, false, false, "Tool: place block"},
    {Action::kToolStart, SDL_SCANCODE_8, false, false, false, "Tool: player's start"},
    {Action::kToolScreens, SDL_SCANCODE_9, false, false, false, "Tool: screen pictures"},
    {Action::kInsertPoint, SDL_SCANCODE_I, false, false, false, "Insert a point on the line under the pointer"},
    {Action::kFinishStroke, SDL_SCANCODE_RETURN, false, false, false, "Finish the line being drawn"},
    {Action::kMoveLeft, SDL_SCANCODE_LEFT, false, false, true, "Move selection left 10 px"},
    {Action::kMoveRight, SDL_SCANCODE_RIGHT, false, false, true, "Move selection right 10 px"},
    {Action::kMoveUp, SDL_SCANCODE_UP, false, false, true, "Move selection up 10 px"},
    {Action::kMoveDown, SDL_SCANCODE_DOWN, false, false, true, "Move selection down 10 px"},
    {Action::kNudgeLeft, SDL_SCANCODE_LEFT, false, true, true, "Move selection left 1 px"},
    {Action::kNudgeRight, SDL_SCANCODE_RIGHT, false, true, true, "Move selection right 1 px"},
    {Action::kNudgeUp, SDL_SCANCODE_UP, false, true, true, "Move selection up 1 px"},
    {Action::kNudgeDown, SDL_SCANCODE_DOWN, false, true, true, "Move selection down 1 px"},
    {Action::kPanLeft, SDL_SCANCODE_LEFT, false, false, false, "Pan left"},
    {Action::kPanRight, SDL_SCANCODE_RIGHT, false, false, false, "Pan right"},
    {Action::kPanUp, SDL_SCANCODE_UP, false, false, false, "Pan up"},
    {Action::kPanDown, SDL_SCANCODE_DOWN, false, false, false, "Pan down"},
    {Action::kZoomIn, SDL_SCANCODE_EQUALS, false, false, false, "Zoom in"},
    {Action::kZoomOut, SDL_SCANCODE_MINUS, false, false, false, "Zoom out"},
    {Action::kFit, SDL_SCANCODE_HOME, false, false, false, "Fit the level to the window"},
    {Action::kShowPictures, SDL_SCANCODE_1, false, true, false, "Show screen pictures"},
    {Action::kShowClouds, SDL_SCANCODE_2, false, true, false, "Show the cloud band"},
    {Action::kShowSolid, SDL_SCANCODE_3, false, true, false, "Show solid lines"},
    {Action::kShowPlatform, SDL_SCANCODE_4, false, true, false, "Show platform lines"},
    {Action::kShowUnused, SDL_SCANCODE_5, false, true, false, "Show unused lines"},
    {Action::kShowUnits, SDL_SCANCODE_6, false, true, false, "Show units and the start"},
    {Action::kShowPickups, SDL_SCANCODE_7, false, true, false, "Show pickups"},
    {Action::kShowBlocks, SDL_SCANCODE_8, false, true, false, "Show blocks"},
    {Action::kShowGrid, SDL_SCANCODE_9, false, true, false, "Show the screen grid"},
    {Action::kShowMarks, SDL_SCANCODE_0, false, true, false, "Show problem marks"},
    {Action::kPlay, SDL_SCANCODE_F5, false, false, false, "Play the level from its start"},
    {Action::kPlayHere, SDL_SCANCODE_F5, false, true, false, "Play from the point under the pointer"},
    {Action::kHelp, SDL_SCANCODE_F1, false, false, false, "Keys and mouse"},
    {Action::kRedo, SDL_SCANCODE_Z, true, true, false, "Redo"},
}};

// The binding's key as the menus show it: "Ctrl+Shift+S".
std::string KeyText(const KeyBinding& binding);
const KeyBinding& BindingOf(Action action);  // its first binding

// What the mouse does, for the help.
inline constexpr std::array<std::pair<const char*, const char*>, 11> kMouseActions{{
    {"Left click", "select the item under the pointer (Ctrl: add or remove it); with a placing tool, place"},
    {"Left drag on an item", "move the selection (snapped to 10 px; hold Shift to move freely)"},
    {"Left drag on empty ground", "select every item in the box (Ctrl: add them)"},
    {"Left click, line tools", "add a point to the line being drawn (Shift: no snapping)"},
    {"Left click on a line's last point, line tools", "go on drawing that line"},
    {"Right click, line tools", "finish the line being drawn"},
    {"Middle drag", "pan the view"},
    {"Wheel", "zoom at the pointer (1/16 to 4x)"},
    {"Click in the overview", "show that part of the level"},
    {"Click a problem", "show its place and select its item"},
    {"Click a screen, screen tool", "choose that screen's picture in Properties"},
}};
