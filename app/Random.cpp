#include "app/Random.h"

#include <chrono>
#include <random>

namespace {

std::mt19937 generator;
RandomSource randomSource = nullptr;
std::optional<uint32_t> fixedSeed;

}  // namespace

int RandomInt(int range) {
  if (range <= 0) return 0;
  if (randomSource) return randomSource(range);
  return std::uniform_int_distribution<int>(0, range - 1)(generator);
}

void Randomize() {
  generator.seed(fixedSeed ? *fixedSeed
                           : static_cast<uint32_t>(
                                 std::chrono::steady_clock::now().time_since_epoch().count()));
}

void SetRandomizeSeed(std::optional<uint32_t> seed) { fixedSeed = seed; }

void SeedRandom(uint32_t seed) { generator.seed(seed); }

void SetRandomSource(RandomSource source) { randomSource = source; }
