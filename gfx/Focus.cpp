#include "gfx/Focus.h"

#include <algorithm>
#include <utility>

namespace {

std::vector<tFocusTarget> gathering;
std::vector<tFocusTarget> shown;
uint32_t screen = 0;
bool backAsked = false;

bool SamePlace(const tFocusTarget& a, const tFocusTarget& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

void AddFocusTarget(const tFocusTarget& target) { gathering.push_back(target); }

void EndFocusFrame() {
  std::stable_sort(gathering.begin(), gathering.end(),
                   [](const tFocusTarget& a, const tFocusTarget& b) {
                     return a.top != b.top ? a.top < b.top : a.left < b.left;
                   });
  // A knob's point moves with its value; the places stay while the screen does.
  if (!std::equal(gathering.begin(), gathering.end(), shown.begin(), shown.end(), SamePlace))
    ++screen;
  shown.swap(gathering);
  gathering.clear();
  backAsked = false;
}

const std::vector<tFocusTarget>& ShownFocusTargets() { return shown; }

uint32_t ShownFocusScreen() { return screen; }

void AskScreenBack() { backAsked = true; }

bool TakeScreenBack() { return std::exchange(backAsked, false); }
