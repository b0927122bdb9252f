// Shows the scene on an X server: its pixels go to the server through shared
// memory, and the server scales them into the window with the bilinear
// filter of its RENDER extension. The scaling then runs in the server, beside
// the game's next frame, instead of costing the game several milliseconds a
// frame (a software renderer's own scaled copy costs even more; the drawing
// back end's RenderPresent is the way without an X server).
#pragma once

#include <cstdint>

#include "app/GameState.h"

struct SDL_Window;

// false, holding nothing, where the window is not on an X server that
// offers shared memory and RENDER, or they cannot be set up.
bool OpenScenePresenter(SDL_Window* window);
bool ScenePresenterOpen();
// Where the next picture of the scene goes: 800 x 600 pixels of 32 bits,
// blue in the low byte, rows top first. Waits until the server has taken
// the previous one.
uint32_t* ScenePresenterPixels();
// Shows the picture scaled to place (window pixels, top-left origin); the
// rest of the window is cleared when clearAround is set.
void PresentScene(const TRect& place, int windowWidth, int windowHeight, bool clearAround);
void CloseScenePresenter();
// For tests: the set-ups that follow fail at their last step, as on a
// server that refuses it; the objects made before must go without a sound.
void FailScenePresenterSetUp(bool fail);
