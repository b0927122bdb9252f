#include "gfx/ScreenCache.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

#include "app/GameState.h"

ScreenCache::ScreenCache(std::vector<tScreenCell> cells, size_t capacity)
    : cells_(std::move(cells)), capacity_(capacity) {}

// How many screens the cell lies from the view, along the axis it is
// farthest on: below 1 it is in view.
double ScreenCache::Screens(const tScreenCell& cell) const {
  return std::max(std::abs(cell.left + cameraX_) / kScreenWidth, std::abs(cell.top + cameraY_) / kScreenHeight);
}

// Screens, halved ahead of the travel and doubled behind it, so that what
// the camera moves toward comes first.
double ScreenCache::Distance(const tScreenCell& cell) const {
  const double screens = Screens(cell);
  const double dx = cell.left + cameraX_, dy = cell.top + cameraY_;
  const double towards = dx * travelX_ + dy * travelY_;
  if (towards > 0) return screens / 2;
  if (towards < 0) return screens * 2;
  return screens;
}

void ScreenCache::Look(double cameraX, double cameraY, double now) {
  // The view moves against the camera offset; a standing camera keeps the
  // direction it last moved in.
  if (looked_ && (cameraX != cameraX_ || cameraY != cameraY_)) {
    travelX_ = cameraX_ - cameraX;
    travelY_ = cameraY_ - cameraY;
  }
  looked_ = true;
  cameraX_ = cameraX;
  cameraY_ = cameraY;

  // Per slot, in view or not and its nearest cell's distance.
  std::map<int, std::pair<bool, double>> nearest;
  for (const tScreenCell& cell : cells_) {
    const std::pair<bool, double> key{Screens(cell) >= 1, Distance(cell)};
    const auto [at, added] = nearest.emplace(cell.slot, key);
    if (!added) at->second = std::min(at->second, key);
  }
  std::vector<std::tuple<bool, double, int>> order;
  for (const auto& [slot, key] : nearest) order.emplace_back(key.first, key.second, slot);
  std::sort(order.begin(), order.end());

  visible_.clear();
  wanted_.clear();
  for (const auto& [outOfView, distance, slot] : order) {
    if (!outOfView) visible_.push_back(slot);
    if (wanted_.size() < capacity_ || !outOfView) wanted_.push_back(slot);
  }
  for (int slot : wanted_) lastWanted_[slot] = now;
}

std::vector<int> ScreenCache::ToRelease(const std::vector<int>& held) const {
  if (held.size() <= capacity_) return {};
  std::vector<std::pair<double, int>> candidates;  // (last wanted, slot)
  for (int slot : held) {
    if (std::find(wanted_.begin(), wanted_.end(), slot) != wanted_.end()) continue;
    const auto seen = lastWanted_.find(slot);
    candidates.emplace_back(seen == lastWanted_.end() ? -std::numeric_limits<double>::infinity() : seen->second,
                            slot);
  }
  std::sort(candidates.begin(), candidates.end());
  std::vector<int> release;
  for (size_t i = 0; i < candidates.size() && held.size() - release.size() > capacity_; ++i)
    release.push_back(candidates[i].second);
  return release;
}
