#include "app/Random.h"

#include <chrono>
#include <random>

namespace {

std::mt19937 generator;
RandomSource randomSource = nullptr;
std::optional<uint32_t> fixedSeed;
uint32_t reseeds = 0;  // since the fixed seed was set: the frame, in the menu

}  // namespace

int RandomInt(int range) {
  if (range <= 0) return 0;
  if (randomSource) return randomSource(range);
  return std::uniform_int_distribution<int>(0, range - 1)(generator);
}

void Randomize() {
  // A fixed seed moves on with every reseed, as the clock would: the same
  // seed every frame would make every frame's numbers the same.
  generator.seed(fixedSeed ? *fixedSeed + reseeds++
                           : static_cast<uint32_t>(
                                 std::chrono::steady_clock::now().time_since_epoch().count()));
}

void SetRandomizeSeed(std::optional<uint32_t> seed) {
  fixedSeed = seed;
  reseeds = 0;
}

void SeedRandom(uint32_t seed) { generator.seed(seed); }

void SetRandomSource(RandomSource source) { randomSource = source; }
