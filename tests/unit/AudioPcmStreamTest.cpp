#include <AL/alc.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "audio/AudioLibrary.h"

namespace {

// On the audio library's device (ctest gives OpenAL Soft's null driver).
class AudioPcmStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AudioInit(44100);
    if (!alcGetCurrentContext()) GTEST_SKIP() << "no audio device, not even the null one";
  }
  void TearDown() override { AudioFree(); }
};

std::vector<int16_t> Tone(int frames) {
  std::vector<int16_t> samples(size_t(frames) * 2);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = int16_t((i / 2) % 100 * 300 - 15000);
  return samples;
}

}  // namespace

TEST_F(AudioPcmStreamTest, QueuesUpToTwoSecondsAndPlaysThemAway) {
  AudioPcmStream* stream = AudioPcmStreamCreate(44100, 2);
  ASSERT_NE(stream, nullptr);
  const std::vector<int16_t> half = Tone(22050);
  AudioPcmStreamPush(stream, half.data(), 22050);
  EXPECT_EQ(AudioPcmStreamQueuedMs(stream), 500);  // paused until played
  for (int i = 0; i < 5; ++i) AudioPcmStreamPush(stream, half.data(), 22050);
  EXPECT_EQ(AudioPcmStreamQueuedMs(stream), 2000);  // the rest was dropped

  AudioPcmStreamSetVolume(stream, 80);
  AudioPcmStreamPlay(stream);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const int left = AudioPcmStreamQueuedMs(stream);
  EXPECT_LT(left, 1900);
  EXPECT_GT(left, 1000);
  AudioPcmStreamFree(stream);
}

TEST_F(AudioPcmStreamTest, AStreamThatRanDryPlaysOnWhenFed) {
  AudioPcmStream* stream = AudioPcmStreamCreate(44100, 1);
  ASSERT_NE(stream, nullptr);
  std::vector<int16_t> blip(441, 1000);
  AudioPcmStreamPlay(stream);
  AudioPcmStreamPush(stream, blip.data(), 441);  // 10 ms
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  EXPECT_EQ(AudioPcmStreamQueuedMs(stream), 0);
  const std::vector<int16_t> second(44100, 1000);
  AudioPcmStreamPush(stream, second.data(), 44100);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_LT(AudioPcmStreamQueuedMs(stream), 950);
  AudioPcmStreamFree(stream);
}

TEST_F(AudioPcmStreamTest, EveryOperationIsHarmlessOnceTheLibraryIsReleased) {
  AudioPcmStream* stream = AudioPcmStreamCreate(44100, 2);
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(AudioPcmStreamCreate(44100, 3), nullptr);
  EXPECT_EQ(AudioPcmStreamCreate(0, 2), nullptr);
  AudioFree();  // as on the way out of the program during a video

  const std::vector<int16_t> half = Tone(22050);
  AudioPcmStreamPush(stream, half.data(), 22050);
  AudioPcmStreamPlay(stream);
  AudioPcmStreamSetVolume(stream, 50);
  EXPECT_EQ(AudioPcmStreamQueuedMs(stream), 0);
  AudioPcmStreamFree(stream);

  EXPECT_EQ(AudioPcmStreamCreate(44100, 2), nullptr);
  AudioPcmStreamPush(nullptr, half.data(), 22050);
  AudioPcmStreamPlay(nullptr);
  AudioPcmStreamFree(nullptr);
}
