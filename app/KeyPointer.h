// Menus without a mouse: the arrow keys, Tab, a controller's D-pad and left
// stick move a pointer between the widgets and items of the screen shown, in
// reading order, and Enter, Space or the controller's A press the one pointed
// at; Left and Right move a track bar's knob one step. The pointer is the
// mouse's own: the game's mouse position goes to the middle of the widget and
// the system's pointer is shown there, so hover effects, hover sounds and the
// screens' firing rules are those of a mouse, and moving the real mouse takes
// over again. Nothing happens on a screen without widgets (play, the splash,
// the videos).
#pragma once

union SDL_Event;

// A key or controller event, before the game's own handling of it.
void KeyPointerEvent(const SDL_Event& event);
// After every frame: a press made by a key is let go once a frame has seen
// it, as a quick click would be.
void KeyPointerFrameRun();
// No press held, the stick at rest: as when the program starts.
void ResetKeyPointer();
