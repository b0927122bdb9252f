#include "gfx/Focus.h"

#include <algorithm>

namespace {

std::vector<tFocusTarget> gathering;
std::vector<tFocusTarget> shown;

}  // namespace

void AddFocusTarget(const tFocusTarget& target) { gathering.push_back(target); }

void EndFocusFrame() {
  shown.swap(gathering);
  gathering.clear();
  std::stable_sort(shown.begin(), shown.end(), [](const tFocusTarget& a, const tFocusTarget& b) {
    return a.top != b.top ? a.top < b.top : a.left < b.left;
  });
}

const std::vector<tFocusTarget>& ShownFocusTargets() { return shown; }
