// Plays the level of a content folder in this process, frame by frame, as
// simulate does, and saves and restores whole play states: variants of a
// route start where they part from it instead of from the level's start.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "app/Input.h"

namespace routeplay {

// Loads catalogue entry 0 of the content folder as simulate does; false
// (with the reason on stderr) when it cannot.
bool LoadLevel(const std::string& contentDir);

// One frame of play at 100 frames a second with these input states held.
void PlayFrame(const InputSet& held);

// The player's position after the last frame played.
struct Position {
  double x, y;
  bool jumping, falling;
};
Position Player();
// Puts the player at (x, y), the camera following, as if he had been there.
void PlacePlayer(double x, double y);
int Points();
// Whether a unit still alive is within the screen drawn around the player.
bool UnitOnScreen();

// Every pickup of the level, by kind and index, with whether it is taken.
struct Item {
  int kind, index;
  double x, y;
  bool taken;
};
std::vector<Item> Items();

// The play state after a frame: everything a frame of play reads or writes,
// the collision map with the blocks drawn into it included. The input states
// held in the frame just played are kept with it, so that a restored play
// sees the same presses and releases.
class SavedPlay {
 public:
  explicit SavedPlay(const InputSet& heldLastFrame);
  ~SavedPlay();
  SavedPlay(const SavedPlay&) = delete;
  SavedPlay& operator=(const SavedPlay&) = delete;
  void Restore() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The frames of a route file: the input states of each frame.
std::vector<InputSet> ReadRoute(const std::string& path);

// True when the input states hold the jump (Button 7) but the previous
// frame's did not: a take-off.
bool PressesJump(const std::vector<InputSet>& frames, size_t i);

}  // namespace routeplay
