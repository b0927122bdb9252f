// The game's window: one borderless full-screen window with an OpenGL
// context showing the 800 x 600 scene, scaled to fit with black bars where
// the display has no 800 x 600 mode.
#pragma once

#include <string>

// Creates the window and its context. On failure returns false and fills
// error with one line naming what is missing.
bool CreateGameWindow(std::string& error);
// Puts the full-screen mode back and makes the context current again.
void RestoreDisplayMode();
void SwapGameWindow();
void DestroyGameWindow();
bool GameWindowHasFocus();
// Maps a window pixel to a scene pixel (the same when no scaling is in force).
void WindowToScene(int wx, int wy, int& sx, int& sy);
// Where the 800 x 600 scene lies in the window, in OpenGL viewport terms.
void SceneViewport(int& left, int& bottom, int& width, int& height);
