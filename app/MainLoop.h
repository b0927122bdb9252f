// The program's message loop: events, the 10 ms frame timer and the
// once-a-second timer.
#pragma once

union SDL_Event;

// Creates the window, runs start-up and then the loop until the program is
// asked to end. Returns the process's exit status.
int RunGame();

// Told of everything the loop feeds the game, in order (input recording).
class cLoopObserver {
 public:
  virtual ~cLoopObserver() = default;
  virtual void EventHandled(const SDL_Event& event) = 0;
  virtual void FrameRun() = 0;
  virtual void SecondTicked() = 0;
};
// nullptr for none.
void SetLoopObserver(cLoopObserver* observer);

// The loop's pieces, for a driver that runs frames on its own schedule
// instead of the clock (replay). OpenGame creates the window and runs
// start-up; false, with the reason on stderr, when there is no window.
bool OpenGame();
void HandleEvent(const SDL_Event& event);
void RunFrame();   // the frame handler
void RunSecond();  // the once-a-second handler
// Releases what the loop holds; returns the process's exit status: 1 when
// a game file could not be loaded, else 0.
int CloseGame();
