// Which screen pictures the streamer holds: those in view first, then the
// nearest, ahead of the travel before behind it, never more than its
// capacity, the least recently wanted released first (a fake clock).
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "app/GameState.h"
#include "gfx/ScreenCache.h"

namespace {

// A grid of columns x rows cells, each its own picture: slot 1 + c * rows + r.
std::vector<tScreenCell> Grid(int columns, int rows) {
  std::vector<tScreenCell> cells;
  for (int c = 0; c < columns; ++c)
    for (int r = 0; r < rows; ++r) cells.push_back({1 + c * rows + r, double(c) * kScreenWidth, double(r) * kScreenHeight});
  return cells;
}

int Slot(int c, int r, int rows) { return 1 + c * rows + r; }

// The camera that shows the world point (x, y) at the view's top-left corner.
void LookAt(ScreenCache& cache, double x, double y, double now) { cache.Look(-x, -y, now); }

bool Contains(const std::vector<int>& slots, int slot) {
  return std::find(slots.begin(), slots.end(), slot) != slots.end();
}

}  // namespace

TEST(ScreenCacheOrder, InViewFirstThenAheadOfTheTravelBeforeBehind) {
  const int rows = 3;
  ScreenCache cache(Grid(10, rows), 6);
  LookAt(cache, 3 * 800, 600, 0);
  LookAt(cache, 4 * 800, 600, 1);  // moving right, cell (4, 1) exactly in view
  EXPECT_EQ(cache.Visible(), std::vector<int>{Slot(4, 1, rows)});
  ASSERT_EQ(cache.Wanted().size(), 6u);
  EXPECT_EQ(cache.Wanted()[0], Slot(4, 1, rows));
  EXPECT_EQ(cache.Wanted()[1], Slot(5, 0, rows));  // the three ahead, top to bottom
  EXPECT_EQ(cache.Wanted()[2], Slot(5, 1, rows));
  EXPECT_EQ(cache.Wanted()[3], Slot(5, 2, rows));
  // Neighbours ahead two screens away and those above and below tie; the cell
  // just behind comes after all of them and is left out here.
  EXPECT_FALSE(Contains(cache.Wanted(), Slot(3, 1, rows)));

  LookAt(cache, 3 * 800, 600, 2);  // and back left
  EXPECT_EQ(cache.Wanted()[1], Slot(2, 0, rows));
  EXPECT_FALSE(Contains(cache.Wanted(), Slot(4, 1, rows)));
}

TEST(ScreenCacheOrder, EveryCellTheViewTouchesIsInViewAndWantedBeyondTheCapacity) {
  const int rows = 3;
  ScreenCache cache(Grid(10, rows), 2);
  LookAt(cache, 2 * 800 + 0.5, 600 - 0.25, 0);
  const std::set<int> visible(cache.Visible().begin(), cache.Visible().end());
  EXPECT_EQ(visible, (std::set<int>{Slot(2, 0, rows), Slot(3, 0, rows), Slot(2, 1, rows), Slot(3, 1, rows)}));
  EXPECT_EQ(cache.Wanted().size(), 4u);  // a missing screen is never an option
  // A cell that only touches the view's edge is not in it.
  LookAt(cache, 2 * 800, 600, 1);
  EXPECT_EQ(cache.Visible(), std::vector<int>{Slot(2, 1, rows)});
}

TEST(ScreenCacheOrder, OnePictureInManyCellsCountsOnceAtItsNearest) {
  std::vector<tScreenCell> cells = {{7, 0, 0}, {7, 800, 0}, {7, 1600, 0}, {8, 2400, 0}, {9, 4000, 0}};
  ScreenCache cache(cells, 2);
  LookAt(cache, 1600, 0, 0);
  EXPECT_EQ(cache.Visible(), std::vector<int>{7});
  EXPECT_EQ(cache.Wanted(), (std::vector<int>{7, 8}));
}

TEST(ScreenCacheBounds, HeldNeverExceedsTheCapacityAndTheViewIsNeverReleased) {
  const int rows = 2;
  const size_t capacity = 5;
  ScreenCache cache(Grid(30, rows), capacity);
  std::set<int> held;
  double now = 0;
  // Along the level and back, at a pace that is not a whole cell a frame.
  for (double x = 0; x < 28 * 800; x += 137) {
    LookAt(cache, x, 300, now += 0.01);
    held.insert(cache.Wanted().begin(), cache.Wanted().end());
    for (int slot : cache.ToRelease({held.begin(), held.end()})) {
      EXPECT_FALSE(Contains(cache.Wanted(), slot)) << slot;
      held.erase(slot);
    }
    ASSERT_LE(held.size(), capacity);
    for (int slot : cache.Visible()) ASSERT_TRUE(held.count(slot)) << slot;
  }
  for (double x = 28 * 800; x > 0; x -= 211) {
    LookAt(cache, x, 0, now += 0.01);
    held.insert(cache.Wanted().begin(), cache.Wanted().end());
    for (int slot : cache.ToRelease({held.begin(), held.end()})) held.erase(slot);
    ASSERT_LE(held.size(), capacity);
    for (int slot : cache.Visible()) ASSERT_TRUE(held.count(slot)) << slot;
  }
}

TEST(ScreenCacheBounds, TheLeastRecentlyWantedGoFirstAndNothingBelowTheCapacity) {
  ScreenCache cache(Grid(10, 1), 3);
  LookAt(cache, 0, 0, 0);  // wants 1, 2, 3
  EXPECT_EQ(cache.Wanted(), (std::vector<int>{1, 2, 3}));
  LookAt(cache, 5 * 800, 0, 1);  // moving right: wants 6, then 7 and 8 ahead
  EXPECT_EQ(cache.Wanted(), (std::vector<int>{6, 7, 8}));
  LookAt(cache, 9 * 800, 0, 2);  // wants 10, then 9 and 8 behind
  EXPECT_EQ(cache.Wanted(), (std::vector<int>{10, 9, 8}));
  // 5 was never wanted, 1 at time 0, 6 at time 1.
  EXPECT_EQ(cache.ToRelease({1, 5, 6, 9, 10}), (std::vector<int>{5, 1}));
  EXPECT_EQ(cache.ToRelease({1, 6, 9, 10}), (std::vector<int>{1}));
  EXPECT_TRUE(cache.ToRelease({1, 6, 10}).empty());
}
