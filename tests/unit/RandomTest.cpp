// The fixed seed of recorded runs: each frame's reseed moves on, as the
// clock's would, and the same run repeats the same numbers.
#include "app/Random.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> FramesOfNumbers(int frames) {
  std::vector<int> numbers;
  for (int i = 0; i < frames; ++i) {
    Randomize();  // as the menu does every frame
    numbers.push_back(RandomInt(1000000));
  }
  return numbers;
}

TEST(RandomizeWithFixedSeed, EachFrameDrawsAfreshAndARunRepeats) {
  SetRandomizeSeed(1234);
  const std::vector<int> first = FramesOfNumbers(20);
  for (size_t i = 1; i < first.size(); ++i) EXPECT_NE(first[i], first[0]) << i;
  SetRandomizeSeed(1234);
  EXPECT_EQ(FramesOfNumbers(20), first);
  SetRandomizeSeed(std::nullopt);
}

}  // namespace
