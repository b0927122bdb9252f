// Decoding sound files front to back: what the streams play and what their
// lengths are counted from.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "AudioTestFiles.h"
#include "audio/AudioDecoder.h"

namespace {

constexpr int kWav16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
constexpr int kMp3FrameSamples = 1152;  // per channel, MPEG-1 layer III

struct Decoded {
  int channels = 0;
  std::vector<float> samples;  // interleaved
  size_t Frames() const { return channels ? samples.size() / size_t(channels) : 0; }
};

// The whole file, decoded in reads of `step` frames.
Decoded DecodeAll(const std::string& path, int64_t step) {
  AudioDecoder decoder;
  Decoded decoded;
  if (!decoder.Open(path)) return decoded;
  decoded.channels = decoder.Channels();
  std::vector<float> part(size_t(step * decoder.Channels()));
  while (const int64_t got = decoder.Read(part.data(), step))
    decoded.samples.insert(decoded.samples.end(), part.begin(), part.begin() + got * decoded.channels);
  return decoded;
}

TEST(AudioDecoder, Mp3CutShortGivesEveryWholeFrameWhateverTheReadSize) {
  TempFolder folder;
  const std::string whole = folder.Path("whole.mp3");
  const std::string cut = folder.Path("cut.mp3");
  for (const bool tagged : {true, false}) {
    SCOPED_TRACE(tagged ? "with the encoder's Xing header" : "without a Xing header");
    WriteMp3(whole, 44100, 2, Sine(2 * 44100, 2, 44100, 440, 0.5));
    if (!tagged) StripXingFrame(whole);
    std::filesystem::copy_file(whole, cut, std::filesystem::copy_options::overwrite_existing);
    // Frames of about a kilobyte here: the last one loses its end.
    CutEnd(cut, 200);

    const Decoded reference = DecodeAll(whole, 4096);
    ASSERT_EQ(reference.channels, 2);
    // Half a second a read, as the streams decode: all but the broken frame
    // comes out, and it is the file's own sound.
    const Decoded played = DecodeAll(cut, 22050);
    EXPECT_GE(played.Frames() + kMp3FrameSamples, reference.Frames());
    EXPECT_LT(played.Frames(), reference.Frames());
    EXPECT_TRUE(std::equal(played.samples.begin(), played.samples.end(), reference.samples.begin()));

    // The length counted, a frame a read, the whole file in one read: the
    // same frames each way.
    EXPECT_EQ(CountFrames(cut, {}), int64_t(played.Frames()));
    for (const int64_t step : {1, 1000, 1 << 20})
      EXPECT_EQ(DecodeAll(cut, step).Frames(), played.Frames()) << step << " frames a read";
  }
}

// Free-format MP3 (no bit rate in its frame headers, as lame --freeformat
// writes) decodes to its whole length and its own sound.
TEST(AudioDecoder, FreeFormatMp3PlaysWhole) {
  TempFolder folder;
  const std::string wav = folder.Path("tone.wav");
  const std::string mp3 = folder.Path("free.mp3");
  WriteSound(wav, kWav16, 44100, 2, Sine(3 * 44100, 2, 44100, 440, 0.5));
  const std::string command = "lame --quiet --freeformat -b 200 '" + wav + "' '" + mp3 + "'";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "the lame command is needed";

  const Decoded decoded = DecodeAll(mp3, 4096);
  ASSERT_EQ(decoded.channels, 2);
  EXPECT_NEAR(double(decoded.Frames()), 3 * 44100, kMp3FrameSamples);
  EXPECT_NEAR(*std::max_element(decoded.samples.begin(), decoded.samples.end()), 0.5, 0.05);
  EXPECT_EQ(CountFrames(mp3, {}), int64_t(decoded.Frames()));
}

// A frames-per-channel stretch with only channel 0 sounding, then one with
// only channel 1, ..., and last one with every channel: each at `value`.
Samples OneChannelAtATime(int channels, int stretch, int16_t value) {
  Samples samples;
  for (int sounding = 0; sounding <= channels; ++sounding) {
    for (int frame = 0; frame < stretch; ++frame) {
      for (int channel = 0; channel < channels; ++channel)
        samples.push_back(sounding == channel || sounding == channels ? value : int16_t(0));
    }
  }
  return samples;
}

struct Side {
  float left;
  float right;
};

// Left and right in the middle of each stretch of OneChannelAtATime.
std::vector<Side> Heard(const Decoded& decoded, int channels, int stretch) {
  std::vector<Side> sides;
  for (int sounding = 0; sounding <= channels; ++sounding) {
    const size_t frame = size_t(sounding * stretch + stretch / 2);
    if (frame >= decoded.Frames()) break;
    sides.push_back({decoded.samples[2 * frame], decoded.samples[2 * frame + 1]});
  }
  return sides;
}

constexpr int kStretch = 100;
constexpr int16_t kValue = 16384;  // 0.5 of full scale
constexpr float kLevel = 0.5f;

TEST(AudioDecoder, FiveOneIsMixedDownToStereoAtTheLevelOfItsChannels) {
  TempFolder folder;
  // Without a channel map: WAV's own order, front left, front right, centre,
  // low-frequency effects, back left, back right.
  WriteSound(folder.Path("surround.wav"), kWav16, 44100, 6, OneChannelAtATime(6, kStretch, kValue));
  const Decoded decoded = DecodeAll(folder.Path("surround.wav"), 4096);
  ASSERT_EQ(decoded.channels, 2);
  ASSERT_EQ(decoded.Frames(), size_t(7 * kStretch));
  const std::vector<Side> heard = Heard(decoded, 6, kStretch);

  const Side front = heard[0];
  EXPECT_GT(front.left, 0);
  EXPECT_EQ(front.right, 0);
  EXPECT_EQ(heard[1].left, 0);
  EXPECT_FLOAT_EQ(heard[1].right, front.left);
  // The centre in the middle, fainter on each side than a front channel.
  EXPECT_FLOAT_EQ(heard[2].left, heard[2].right);
  EXPECT_GT(heard[2].left, 0);
  EXPECT_LT(heard[2].left, front.left);
  // The low-frequency channel only doubles the others' bass: left out.
  EXPECT_EQ(heard[3].left, 0);
  EXPECT_EQ(heard[3].right, 0);
  // Back channels on their side, fainter than the front.
  EXPECT_GT(heard[4].left, 0);
  EXPECT_LT(heard[4].left, front.left);
  EXPECT_EQ(heard[4].right, 0);
  EXPECT_EQ(heard[5].left, 0);
  EXPECT_FLOAT_EQ(heard[5].right, heard[4].left);
  // The same sound in every channel comes out as loud as it went in: never
  // beyond full scale, and not fainter.
  EXPECT_NEAR(heard[6].left, kLevel, 1e-5);
  EXPECT_NEAR(heard[6].right, kLevel, 1e-5);
}

TEST(AudioDecoder, OtherChannelCountsAreMixedDownByTheirUsualLayout) {
  TempFolder folder;
  // Without a map: 3 front left, right, centre; 4 quadraphonic; 8 is 7.1.
  for (const int channels : {3, 4, 8}) {
    SCOPED_TRACE(std::to_string(channels) + " channels");
    const std::string path = folder.Path(std::to_string(channels) + ".wav");
    WriteSound(path, kWav16, 22050, channels, OneChannelAtATime(channels, kStretch, kValue));
    const Decoded decoded = DecodeAll(path, 4096);
    ASSERT_EQ(decoded.channels, 2);
    const std::vector<Side> heard = Heard(decoded, channels, kStretch);
    ASSERT_EQ(heard.size(), size_t(channels + 1));
    EXPECT_GT(heard[0].left, 0);
    EXPECT_EQ(heard[0].right, 0);
    EXPECT_EQ(heard[1].left, 0);
    EXPECT_GT(heard[1].right, 0);
    // The last channel: centre, back right, side right.
    const Side last = heard[size_t(channels - 1)];
    EXPECT_GT(last.right, 0);
    if (channels == 3)
      EXPECT_FLOAT_EQ(last.left, last.right);
    else
      EXPECT_EQ(last.left, 0);
    EXPECT_NEAR(heard.back().left, kLevel, 1e-5);
    EXPECT_NEAR(heard.back().right, kLevel, 1e-5);
  }

  // A map in the file goes before the usual layout: four channels that are
  // front left, front right, centre and low-frequency effects.
  WriteSound(folder.Path("three-one.wav"), SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 22050, 4,
             OneChannelAtATime(4, kStretch, kValue),
             {SF_CHANNEL_MAP_LEFT, SF_CHANNEL_MAP_RIGHT, SF_CHANNEL_MAP_CENTER, SF_CHANNEL_MAP_LFE});
  const std::vector<Side> heard = Heard(DecodeAll(folder.Path("three-one.wav"), 4096), 4, kStretch);
  ASSERT_EQ(heard.size(), 5u);
  EXPECT_GT(heard[2].left, 0);
  EXPECT_FLOAT_EQ(heard[2].left, heard[2].right);
  EXPECT_EQ(heard[3].left, 0);
  EXPECT_EQ(heard[3].right, 0);
  EXPECT_NEAR(heard[4].left, kLevel, 1e-5);
  EXPECT_NEAR(heard[4].right, kLevel, 1e-5);
}

}  // namespace
