// The audio library's semantics on OpenAL Soft's null device, which plays
// nothing but keeps time like a sound card.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <stdlib.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "AudioTestFiles.h"
#include "audio/AudioLibrary.h"
#include "audio/Sound.h"

namespace {

using namespace std::chrono_literals;
constexpr int kWav16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;

// Runs the main loop's audio part until `done` holds or `limit` passes.
template <class Done>
bool PlayUntil(Done done, std::chrono::milliseconds limit = 2000ms) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    AudioUpdate();
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

void PlayFor(std::chrono::milliseconds time) {
  PlayUntil([] { return false; }, time);
}

class AudioLibrary : public testing::Test {
 protected:
  void SetUp() override {
    setenv("ALSOFT_DRIVERS", "null", 1);
    AudioInit(44100);
  }
  void TearDown() override { AudioFree(); }

  AudioHandle Open(const std::string& name) {
    return AudioStreamCreateFile(folder_.Path(name).c_str());
  }
  AudioHandle OpenWav(const std::string& name, int rate, int channels, const Samples& samples) {
    WriteSound(folder_.Path(name), kWav16, rate, channels, samples);
    return Open(name);
  }

  TempFolder folder_;
};

TEST_F(AudioLibrary, LengthIsBytesOfTheDecoded16BitStreamWhateverTheFileHolds) {
  WriteSound(folder_.Path("mono.wav"), kWav16, 8000, 1, Ramp(1000, 1, 0));
  WriteSound(folder_.Path("bytes.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 22050, 2,
             Ramp(1000, 2, 0));
  WriteSound(folder_.Path("float.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 2,
             Ramp(1000, 2, 0));
  WriteMp3(folder_.Path("tagged.mp3"), 44100, 2, Sine(30000, 2, 44100, 440, 0.5));

  EXPECT_EQ(AudioStreamGetLength(Open("mono.wav")), 2000u);
  EXPECT_EQ(AudioStreamGetLength(Open("bytes.wav")), 4000u);
  EXPECT_EQ(AudioStreamGetLength(Open("float.wav")), 4000u);
  // The encoder's header lets the decoder drop its padding: exactly the input.
  EXPECT_EQ(AudioStreamGetLength(Open("tagged.mp3")), 120000u);
  // The game's own spelling: backslashes, any case.
  EXPECT_EQ(AudioStreamGetLength(Open("\\MONO.Wav")), 2000u);
}

TEST_F(AudioLibrary, Mp3WithoutXingHeaderIsMeasuredAndPlayedToItsLastFrame) {
  // Loud first: a length guessed from the first frame falls far short.
  // Steady: the guess lands a little off.
  WriteMp3(folder_.Path("loud.mp3"), 44100, 2, LoudThenQuiet(3 * 44100, 44100));
  WriteMp3(folder_.Path("steady.mp3"), 44100, 2, Sine(3 * 44100, 2, 44100, 440, 0.3));
  const int64_t loudFrames = StripXingFrame(folder_.Path("loud.mp3"));
  const int64_t steadyFrames = StripXingFrame(folder_.Path("steady.mp3"));
  EXPECT_EQ(AudioStreamGetLength(Open("steady.mp3")), uint64_t(steadyFrames * 1152 * 4));
  const AudioHandle music = Open("loud.mp3");
  const uint64_t length = AudioStreamGetLength(music);
  EXPECT_EQ(length, uint64_t(loudFrames * 1152 * 4));

  // Three seconds, more than the stream decodes ahead; eight times the
  // file's rate gets through them in 0.4 s. Left without AudioUpdate, the
  // stream runs dry and waits there, also once stopped and fed again; played
  // on, it goes to the end.
  AudioChannelSetAttributes(music, 8 * 44100, 100, 0);
  AudioChannelPlay(music, false);
  std::this_thread::sleep_for(400ms);
  const uint64_t dry = AudioChannelGetPosition(music);
  EXPECT_LT(dry, length);
  AudioChannelStop(music);
  PlayFor(50ms);
  EXPECT_EQ(AudioChannelGetPosition(music), dry);
  AudioChannelPlay(music, false);
  uint64_t last = dry;
  EXPECT_TRUE(PlayUntil([&] {
    const uint64_t position = AudioChannelGetPosition(music);
    EXPECT_GE(position, last);
    last = position;
    return position == length;
  }, 2500ms)) << last << " of " << length;
}

TEST_F(AudioLibrary, Mp3CutShortIsAsLongAsWhatPlaysAndAsAnEffectPlaysEachTime) {
  // Its last frame broken off, as a copy stopped short leaves a file.
  WriteMp3(folder_.Path("cut.mp3"), 44100, 2, Sine(2 * 44100, 2, 44100, 440, 0.5));
  CutEnd(folder_.Path("cut.mp3"), 200);
  cSound effect{};
  effect.Load(folder_.Path("cut.mp3").c_str());
  ASSERT_NE(effect.stream, 0u);
  const uint64_t length = uint64_t(effect.length);
  // All but the broken frame (1152 frames of 4 bytes).
  EXPECT_GE(length + 1152 * 4, 2 * 44100 * 4u);
  EXPECT_LT(length, 2 * 44100 * 4u);

  // Eight times its rate, it plays in a quarter of a second; the position
  // goes up to the length and stays there.
  AudioChannelSetAttributes(effect.stream, 8 * 44100, 100, 0);
  for (int time = 1; time <= 2; ++time) {
    SCOPED_TRACE(time == 1 ? "played first" : "played again");
    effect.Play();
    uint64_t last = 0;
    EXPECT_TRUE(PlayUntil([&] {
      last = AudioChannelGetPosition(effect.stream);
      return last >= length;
    })) << last << " of " << length;
    PlayFor(30ms);
    EXPECT_EQ(AudioChannelGetPosition(effect.stream), length);
    // At its end, the next trigger rewinds it, the one after plays it.
    effect.Play();
    EXPECT_EQ(AudioChannelGetPosition(effect.stream), 0u);
  }
}

TEST_F(AudioLibrary, FilesOfMoreThanTwoChannelsPlayMixedDownToStereo) {
  // 5.1, as sox and many other tools write it, and other counts.
  for (const int channels : {6, 3, 4, 8}) {
    SCOPED_TRACE(std::to_string(channels) + " channels");
    const AudioHandle sound = OpenWav(std::to_string(channels) + ".wav", 44100, channels,
                                      Ramp(4410, channels, 0));
    ASSERT_NE(sound, 0u);
    // Bytes of the stereo stream heard.
    const uint64_t length = AudioStreamGetLength(sound);
    EXPECT_EQ(length, 4410u * 4);
    AudioChannelPlay(sound, false);
    EXPECT_TRUE(PlayUntil([&] { return AudioChannelGetPosition(sound) == length; }));
  }
}

TEST_F(AudioLibrary, StopKeepsThePlaceAndSetPositionMovesItPlayingOrNot) {
  const AudioHandle sound = OpenWav("tone.wav", 44100, 2, Sine(2 * 44100, 2, 44100, 440, 0.5));
  const uint64_t length = AudioStreamGetLength(sound);
  AudioChannelPlay(sound, false);
  ASSERT_TRUE(PlayUntil([&] { return AudioChannelGetPosition(sound) > 0; }));
  AudioChannelStop(sound);
  const uint64_t stoppedAt = AudioChannelGetPosition(sound);
  PlayFor(60ms);
  EXPECT_EQ(AudioChannelGetPosition(sound), stoppedAt);
  AudioChannelPlay(sound, false);  // goes on from there, not from the start
  EXPECT_GE(AudioChannelGetPosition(sound), stoppedAt);
  EXPECT_TRUE(PlayUntil([&] { return AudioChannelGetPosition(sound) > stoppedAt; }));

  AudioChannelStop(sound);
  AudioChannelSetPosition(sound, 40001);  // within frame 10000
  EXPECT_EQ(AudioChannelGetPosition(sound), 40000u);
  PlayFor(30ms);
  EXPECT_EQ(AudioChannelGetPosition(sound), 40000u);
  AudioChannelPlay(sound, false);
  EXPECT_GE(AudioChannelGetPosition(sound), 40000u);
  ASSERT_TRUE(PlayUntil([&] { return AudioChannelGetPosition(sound) > 40000; }));

  AudioChannelSetPosition(sound, 0);  // while playing: plays on from the start
  EXPECT_LT(AudioChannelGetPosition(sound), 40000u);
  EXPECT_TRUE(PlayUntil([&] { return AudioChannelGetPosition(sound) > 0; }));
  AudioChannelSetPosition(sound, 10 * length);
  EXPECT_EQ(AudioChannelGetPosition(sound), length);
}

TEST_F(AudioLibrary, StreamPlayedToItsEndStaysThereUntilRewound) {
  // The sound effect's cycle: play to the end, stop and rewind, play again.
  const AudioHandle effect = OpenWav("blip.wav", 44100, 1, Sine(4410, 1, 44100, 880, 0.5));
  const uint64_t length = AudioStreamGetLength(effect);
  ASSERT_EQ(length, 8820u);

  AudioChannelPlay(effect, false);
  ASSERT_TRUE(PlayUntil([&] { return AudioChannelGetPosition(effect) == length; }));
  AudioChannelPlay(effect, false);
  PlayFor(50ms);
  EXPECT_EQ(AudioChannelGetPosition(effect), length);

  AudioChannelStop(effect);
  AudioChannelSetPosition(effect, 0);
  EXPECT_EQ(AudioChannelGetPosition(effect), 0u);
  AudioChannelPlay(effect, false);
  EXPECT_TRUE(PlayUntil([&] { return AudioChannelGetPosition(effect) == length; }));
}

TEST_F(AudioLibrary, FileThatCannotBeOpenedGivesAHandleOnWhichNothingHappens) {
  std::ofstream(folder_.Path("notes.mp3")) << "not a sound at all\n";
  WriteSound(folder_.Path("fast.wav"), kWav16, 10000000, 1, Ramp(100, 1, 0));
  WriteSound(folder_.Path("empty.wav"), kWav16, 44100, 2, Samples{});

  for (const AudioHandle handle :
       {Open("missing.wav"), Open("notes.mp3"), Open("fast.wav")}) {
    EXPECT_EQ(handle, 0u);
    AudioChannelSetAttributes(handle, 44100, 50, 0);
    AudioChannelSetGainDb100(handle, -500);
    AudioChannelPlay(handle, false);
    AudioChannelStop(handle);
    AudioChannelSetPosition(handle, 0);
    EXPECT_EQ(AudioStreamGetLength(handle), 0u);
    EXPECT_EQ(AudioChannelGetPosition(handle), 0u);
  }

  const AudioHandle empty = Open("empty.wav");
  AudioChannelPlay(empty, false);
  PlayFor(20ms);
  EXPECT_EQ(AudioStreamGetLength(empty), 0u);
  EXPECT_EQ(AudioChannelGetPosition(empty), 0u);
}

TEST(AudioLibraryLifetime, EveryCallIsHarmlessBeforeStartAndAfterRelease) {
  TempFolder folder;
  const std::string path = folder.Path("tone.wav");
  WriteSound(path, kWav16, 44100, 2, Sine(44100, 2, 44100, 440, 0.5));
  EXPECT_EQ(AudioStreamCreateFile(path.c_str()), 0u);

  setenv("ALSOFT_DRIVERS", "null", 1);
  AudioInit(44100);
  const AudioHandle sound = AudioStreamCreateFile(path.c_str());
  ASSERT_NE(sound, 0u);
  AudioChannelPlay(sound, false);
  AudioFree();

  // Frames and the once-a-second handler may still run before the end.
  AudioUpdate();
  AudioChannelSetAttributes(sound, 40000, 80, 0);
  AudioChannelPlay(sound, false);
  AudioChannelStop(sound);
  AudioChannelSetPosition(sound, 0);
  EXPECT_EQ(AudioChannelGetPosition(sound), 0u);
  EXPECT_EQ(AudioStreamGetLength(sound), 0u);
  EXPECT_EQ(AudioStreamCreateFile(path.c_str()), 0u);
  AudioFree();
}

}  // namespace
