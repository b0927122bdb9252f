// The widgets the player can point at in the frame shown last, for the menus
// without a mouse (app/KeyPointer.h). Every widget and menu item that a frame
// runs adds itself; the keys move through those of the frame on the screen.
#pragma once

#include <cstdint>
#include <vector>

class cTrackBar;

struct tFocusTarget {
  int32_t left, top, right, bottom;  // the pointer reacts strictly inside
  int32_t x, y;                      // where the pointer goes to point at it
  cTrackBar* bar = nullptr;          // a track bar, its groove's left end at left
};

void AddFocusTarget(const tFocusTarget& target);
// At the end of a frame: the targets it gathered become the shown ones, and
// the next frame's are gathered afresh. A way back asked for and not taken
// by this frame is dropped.
void EndFocusFrame();
// The shown targets in reading order: top to bottom, then left to right.
const std::vector<tFocusTarget>& ShownFocusTargets();
// Tells screens apart: a number that changes whenever a frame shows other
// targets than the frame before (one screen closed, another opened).
uint32_t ShownFocusScreen();

// The screen's own way back (Escape, a controller's B): asked for between
// frames, taken by the screen that has one in the next frame.
void AskScreenBack();
bool TakeScreenBack();
