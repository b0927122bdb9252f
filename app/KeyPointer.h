// Menus without a mouse: the arrow keys, Tab, a controller's D-pad and left
// stick move a focus between the widgets and items of the screen shown, in
// reading order, and Enter, Space or the controller's A press the one
// focused; Left and Right move a focused track bar's knob one step; Escape or
// the controller's B is the screen's own way back (gfx/Focus.h). The focus is
// the game's own: the game's mouse position goes to the middle of the
// focused widget, so that hover effects, hover sounds and the screens'
// firing rules are those of a mouse, while the system's pointer is hidden
// (it cannot be moved on every window system). Moving the real mouse shows
// it again and takes over. Each screen that opens starts with nothing
// focused: a first press only focuses. Nothing happens on a screen without
// widgets (play, the splash, the videos).
#pragma once

union SDL_Event;

// A key, controller or mouse event, before the game's own handling of it.
void KeyPointerEvent(const SDL_Event& event);
// After every frame: a press made by a key is let go once a frame has seen
// it, as a quick click would be.
void KeyPointerFrameRun();
// No press held, nothing focused, the stick at rest: as when the program
// starts.
void ResetKeyPointer();
