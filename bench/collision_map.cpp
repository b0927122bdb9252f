// Building the collision map of the largest level the tables allow:
// 31 x 11 screens, both line lists full, every block permanent.
#include <benchmark/benchmark.h>

#include <random>

#include "app/GameState.h"
#include "data/LevelLoader.h"
#include "game/CollisionMap.h"

namespace {

constexpr int kWidth = 31 * 800, kHeight = 11 * 600;

void FillLevel(bool fullHeightZigzags) {
  ResetGameState();
  game.screensX = 31;
  game.screensY = 11;
  std::mt19937 random(7);
  std::uniform_int_distribution<int> rise(-150, 150);
  for (TPoint* line : {game.lineA, game.lineB}) {
    int y = kHeight / 2;
    for (int i = 0; i <= kMaxLinePoint; ++i) {
      const int x = i * kWidth / kMaxLinePoint;
      // Walkable ground that climbs and drops, or the worst case for the
      // rasteriser: every segment spans the level's height.
      y = fullHeightZigzags ? (i % 2 ? kHeight - 1 : 0) : std::clamp(y + rise(random), 0, kHeight);
      line[i] = TPoint{x, y};
    }
  }
  game.lineCountA = game.lineCountB = kMaxLinePoint;
  game.blockCount = kMaxBlock;
  for (int i = 0; i <= kMaxBlock; ++i)
    game.blocks[i] = tBlock{i * 49, (i * 37) % (kHeight - 35), 0, 1, 0, 0, 0};
}

void BuildLargestMap(benchmark::State& state) {
  FillLevel(state.range(0) == 1);
  for (auto _ : state) {
    BuildCollisionMap();
    benchmark::DoNotOptimize(CollisionMap.Get(100, 100));
  }
  state.counters["MB"] = double(CollisionMap.Bytes()) / (1 << 20);
}
BENCHMARK(BuildLargestMap)->Arg(0)->Arg(1)->ArgName("zigzag")->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

// Drawing one block outline, as the blocks near the player do every frame.
void BlockOutline(benchmark::State& state) {
  CollisionMap.Resize(kWidth, kHeight);
  for (auto _ : state) CollisionMap.DrawOutline(1000, 1000, 70, 35, PixelClass::solid);
}
BENCHMARK(BlockOutline)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
