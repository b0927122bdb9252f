// The game's pseudo-random integers.
#pragma once

#include <cstdint>
#include <optional>

// A random integer from 0 to range - 1 (0 when range is 0 or less).
int RandomInt(int range);
// Seeds the generator from the clock, or, when a fixed seed is set, with
// that seed plus the number of reseeds since it was set.
void Randomize();
// Makes Randomize() use a fixed seed, so that a recorded run repeats
// exactly (record and replay); std::nullopt puts the clock back.
void SetRandomizeSeed(std::optional<uint32_t> seed);
// Seeds the generator with a fixed value (tests and tools).
void SeedRandom(uint32_t seed);
// Replaces the generator (nullptr puts the seeded generator back).
using RandomSource = int (*)(int range);
void SetRandomSource(RandomSource source);
