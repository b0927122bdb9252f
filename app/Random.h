// The game's pseudo-random integers.
#pragma once

#include <cstdint>

// A random integer from 0 to range - 1 (0 when range is 0 or less).
int RandomInt(int range);
// Seeds the generator from the clock.
void Randomize();
// Seeds the generator with a fixed value (tests and tools).
void SeedRandom(uint32_t seed);
// Replaces the generator (nullptr puts the seeded generator back).
using RandomSource = int (*)(int range);
void SetRandomSource(RandomSource source);
