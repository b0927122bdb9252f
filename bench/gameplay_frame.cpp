// One frame of gameplay logic (the play block with the null drawing back
// end, then the end-of-level and fall-out checks) on the largest level with
// 500 units, 7 x 100 pickups and 501 blocks.
#include <benchmark/benchmark.h>

#include "app/GameState.h"
#include "app/Input.h"
#include "app/Random.h"
#include "app/Startup.h"
#include "data/LevelLoader.h"
#include "game/CollisionMap.h"
#include "game/Gameplay.h"
#include "game/Units.h"

namespace {

// Right and the throw key held on alternate halves of every 100 frames.
int frameNumber = 0;
InputSet HeldKeys() {
  InputSet held{};
  held.Add(isRight);
  if (frameNumber % 100 < 50) held.Add(Button(3));
  return held;
}

void BuildLevel() {
  ResetGameState();
  SeedRandom(1);
  SetInputSource(HeldKeys);
  frameFactor = 2;
  game.screensX = 31;
  game.screensY = 11;
  screenFlags.levelLoaded[0] = 1;
  // Ground along the level with a step every 400 pixels.
  game.lineCountA = 63;
  for (int i = 0; i <= 63; ++i) game.lineA[i] = TPoint{i * 400, 1000 + (i % 2) * 40};
  game.lineCountB = 30;
  for (int i = 0; i <= 30; ++i) game.lineB[i] = TPoint{i * 800, 800};
  game.blockCount = kMaxBlock;
  for (int i = 0; i <= kMaxBlock; ++i)
    game.blocks[i] = tBlock{i * 49, 900, 0, uint8_t(i % 5 == 0), 0, 0, 0};

  for (int t = 1; t < kUnitTypes; ++t)
    unitTypes[t] = tUnitType{40, 50, 40, 60, 0, 1.5f, uint8_t(t != 4), {}};
  unitTypes[0] = unitTypes[1];
  game.unitStart[0] = TPoint{2000, 900};
  game.unitCount = kMaxUnits;
  for (int i = 1; i <= kMaxUnits; ++i) {
    units[i].unitType = uint8_t(1 + i % 6);
    game.unitStart[i] = TPoint{1000 + i * 4, 700 + (i % 3) * 50};
  }
  SetUpLevel();

  for (int k = 0; k < kPickupKinds; ++k) {
    PickupKind& kind = pickupKinds[k];
    kind.boxWidth = kind.size = 50;
    kind.lastItem = 99;
    for (int j = 0; j < 100; ++j)
      kind.items[j] = tPickupItem{float(j * 240 + k * 30), float(200 + k * 10), 0, 0};
  }
}

void GameplayFrame(benchmark::State& state) {
  BuildLevel();
  for (auto _ : state) {
    ++frameNumber;
    RunPlayBlock();
    CheckLevelEnd();
    CheckFallOut();
    // Keep the walk within the level so that every frame does a full update.
    if (units[0].x > 20000) RestartLevel();
  }
  state.counters["kills"] = stats.kills;
}
BENCHMARK(GameplayFrame)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
