// Which of a level's screen pictures to hold while the camera moves: the ones
// in view, then the nearest, those ahead in the direction of travel before
// those behind, never more than a fixed number. Pure bookkeeping: the
// streamer (ScreenPictures.h) decodes, uploads and releases what it says.
#pragma once

#include <cstddef>
#include <map>
#include <vector>

// One grid cell: the slot of the picture it shows and the world position of
// its top-left corner (cells are kScreenWidth x kScreenHeight).
struct tScreenCell {
  int slot = 0;
  double left = 0;
  double top = 0;
};

class ScreenCache {
 public:
  ScreenCache(std::vector<tScreenCell> cells, size_t capacity);

  // The camera of this frame (the game's cameraX, cameraY: the view's
  // top-left corner in the world is (-cameraX, -cameraY)) at time now. The
  // direction of travel is the move since the previous call.
  void Look(double cameraX, double cameraY, double now);
  // Slots drawn in this frame.
  const std::vector<int>& Visible() const { return visible_; }
  // The slots to hold, in the order to load them, at most the capacity.
  const std::vector<int>& Wanted() const { return wanted_; }
  // Of the held slots, those to release so that no more than the capacity
  // stay, none of them wanted: the least recently wanted first.
  std::vector<int> ToRelease(const std::vector<int>& held) const;
  size_t Capacity() const { return capacity_; }

 private:
  double Screens(const tScreenCell& cell) const;
  double Distance(const tScreenCell& cell) const;

  std::vector<tScreenCell> cells_;
  size_t capacity_;
  bool looked_ = false;
  double cameraX_ = 0, cameraY_ = 0;
  double travelX_ = 0, travelY_ = 0;
  std::vector<int> visible_, wanted_;
  std::map<int, double> lastWanted_;  // slot -> time
};
