// The game's window, with an OpenGL context, full screen or a resizable
// window. Full screen is the display's 800 x 600 mode where it has one and a
// window manager can give it, otherwise the whole screen at its own mode.
// The 800 x 600 scene is shown in whatever size the window really has,
// scaled to fit with black bars: by the X server where there is one
// (X11ScenePresenter.h), otherwise by the drawing back end (RenderPresent).
#pragma once

#include <string>

struct SDL_KeyboardEvent;

// Full screen (the default) or a window, for CreateGameWindow.
void SetStartFullScreen(bool fullScreen);
// Creates the window and its context. On failure returns false and fills
// error with one line naming what is missing.
bool CreateGameWindow(std::string& error);
// The chosen display mode again (full screen or the window) and the
// context current again: after the focus comes back.
void RestoreDisplayMode();
// Full screen to a window and back (F11, Alt+Enter); returns the new choice,
// true for full screen.
bool ToggleFullScreen();
bool IsFullScreenToggle(const SDL_KeyboardEvent& key);
// The window's size may have changed (a resize event): reads it again, and
// if it has, shows the frame shown last at the new size (a window that has
// not the focus runs no frame).
void GameWindowChanged();
// The screen's size changed (a new display mode): a window covering the
// screen where no window manager does so covers it again, the scene placed
// in the new size.
void GameScreenResized();
// The window was shown or exposed: its size is read again and the frame
// shown last put up once more, without running a frame.
void GameWindowExposed();
// Puts the frame's scene on the window and shows it.
void SwapGameWindow();
// A black scene, shown before start-up's first frame: compositors show a
// window, and give it the focus, only once it has shown something.
void ShowFirstPicture();
void DestroyGameWindow();
bool GameWindowHasFocus();
// A window's size in window coordinates (those of mouse events) and in
// drawable pixels; they differ on scaled desktops.
struct tWindowSize {
  int width, height;
  int drawableWidth, drawableHeight;
};
// The game window's real size, as last read.
tWindowSize GameWindowSize();
// Maps a window position to the scene pixel shown there (outside the scene
// on the bars), and a scene pixel to the window position at its centre.
void WindowToScene(const tWindowSize& window, int wx, int wy, int& sx, int& sy);
void SceneToWindow(const tWindowSize& window, int sx, int sy, int& wx, int& wy);
// The system's pointer over the game window: hidden while keys drive the
// menus (a Wayland compositor moves it only with the mouse).
void ShowSystemPointer(bool shown);
// The size a window starts at on a desktop of the given size: the largest
// whole multiple of 800 x 600 within 80 % of it; 800 x 600 where only that
// fits; the scene's shape shrunk to 80 % of a smaller desktop.
void StartingWindowSize(int desktopWidth, int desktopHeight, int& width, int& height);
