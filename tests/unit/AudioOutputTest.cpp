// What the audio library actually plays, recorded by OpenAL Soft's wave-file
// writer, and how it behaves when no device can be opened.
//
// OpenAL Soft chooses its output once per process, from its configuration
// file. Each scene is therefore played by a child: this test binary started
// again with kSceneVariable naming the scene, which the environment below
// plays before any test runs, and then exits.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "AudioTestFiles.h"
#include "audio/AudioLibrary.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;
constexpr const char* kSceneVariable = "VIRKO_AUDIO_SCENE";
constexpr const char* kFolderVariable = "VIRKO_AUDIO_FOLDER";
constexpr int kRate = 44100;
constexpr int kRampFirst = 1000;

void PlayFor(std::chrono::milliseconds time) {
  const auto end = std::chrono::steady_clock::now() + time;
  while (std::chrono::steady_clock::now() < end) {
    AudioUpdate();
    std::this_thread::sleep_for(2ms);
  }
}

AudioHandle Open(const std::string& folder, const char* name) {
  return AudioStreamCreateFile((folder + "/" + name).c_str());
}

// ---- Scenes, played in the child; the inputs are in the folder. ----

// tone.wav twice: at 40000 Hz and volume 50, then at its own rate, full
// volume and 5 dB down.
void PlayTones(const std::string& folder) {
  const AudioHandle slow = Open(folder, "tone.wav");
  AudioChannelSetAttributes(slow, 40000, 50, 0);
  AudioChannelPlay(slow, false);
  PlayFor(300ms);
  AudioChannelStop(slow);
  PlayFor(150ms);
  const AudioHandle quieter = Open(folder, "tone.wav");
  AudioChannelSetAttributes(quieter, 44100, 100, 0);
  AudioChannelSetGainDb100(quieter, -500);
  AudioChannelPlay(quieter, false);
  PlayFor(300ms);
}

// ramp.wav played, stopped, played on, stopped and rewound, played again.
void PlayRampWithPauses(const std::string& folder) {
  const AudioHandle ramp = Open(folder, "ramp.wav");
  AudioChannelSetAttributes(ramp, 44100, 100, 0);
  AudioChannelPlay(ramp, false);
  PlayFor(100ms);
  AudioChannelStop(ramp);
  PlayFor(100ms);
  AudioChannelPlay(ramp, false);
  PlayFor(100ms);
  AudioChannelStop(ramp);
  AudioChannelSetPosition(ramp, 0);
  PlayFor(100ms);
  AudioChannelPlay(ramp, false);
  PlayFor(100ms);
}

// surround.wav, a 5.1 file, played to its end.
void PlaySurround(const std::string& folder) {
  const AudioHandle surround = Open(folder, "surround.wav");
  AudioChannelSetAttributes(surround, 44100, 100, 0);
  AudioChannelPlay(surround, false);
  PlayFor(700ms);
}

// Without a device: the length, and the position after playing and after
// moving, into report.txt.
void ReportWithoutDevice(const std::string& folder) {
  const AudioHandle ramp = Open(folder, "ramp.wav");
  AudioChannelSetAttributes(ramp, 40000, 80, 0);
  AudioChannelPlay(ramp, false);
  PlayFor(50ms);
  const uint64_t played = AudioChannelGetPosition(ramp);
  AudioChannelSetPosition(ramp, 4000);
  AudioChannelStop(ramp);
  std::ofstream(folder + "/report.txt") << AudioStreamGetLength(ramp) << ' ' << played << ' '
                                        << AudioChannelGetPosition(ramp);
}

const std::map<std::string, void (*)(const std::string&)> kScenes = {
    {"tones", PlayTones},
    {"ramp", PlayRampWithPauses},
    {"surround", PlaySurround},
    {"no device", ReportWithoutDevice}};

class SceneChild : public testing::Environment {
 public:
  void SetUp() override {
    const char* scene = std::getenv(kSceneVariable);
    if (!scene) return;
    int status = 3;
    const auto found = kScenes.find(scene);
    if (found != kScenes.end()) {
      AudioInit(kRate);
      found->second(std::getenv(kFolderVariable));
      AudioFree();  // finishes the wave file
      status = 0;
    }
    _exit(status);
  }
};
testing::Environment* const sceneChild = testing::AddGlobalTestEnvironment(new SceneChild);

// ---- The parent's side. ----

// Plays `scene` in a child whose OpenAL Soft configuration is `config`; its
// error output goes to errors.txt. Returns the child's exit status.
int RunScene(const char* scene, const TempFolder& folder, const std::string& config) {
  std::ofstream(folder.Path("alsoft.conf")) << config;
  std::vector<std::string> variables = {"ALSOFT_CONF=" + folder.Path("alsoft.conf"),
                                        std::string(kSceneVariable) + "=" + scene,
                                        std::string(kFolderVariable) + "=" + folder.Path("")};
  for (char** variable = environ; *variable; ++variable)
    if (std::string(*variable).rfind("ALSOFT_", 0) != 0) variables.push_back(*variable);
  std::vector<char*> environment;
  for (std::string& variable : variables) environment.push_back(variable.data());
  environment.push_back(nullptr);
  const std::string errors = folder.Path("errors.txt");
  char program[] = "/proc/self/exe";
  char filter[] = "--gtest_filter=AudioOutput.*";
  char* arguments[] = {program, filter, nullptr};

  const pid_t child = fork();
  if (child == 0) {
    dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);
    dup2(open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
    alarm(20);
    execve(program, arguments, environment.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string WaveConfig(const TempFolder& folder) {
  return "[general]\ndrivers = wave\nsample-type = int16\nfrequency = 44100\ndither = false\n"
         "[wave]\nfile = " + folder.Path("out.wav") + "\n";
}

std::string ReadText(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

// The left channel of the recording, cut into the stretches where something
// sounds (at least 200 silent frames between two).
std::vector<std::vector<int>> SoundingStretches(const std::string& path) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) return {};
  std::vector<int16_t> frames(size_t(info.frames * info.channels));
  sf_readf_short(file, frames.data(), info.frames);
  sf_close(file);
  std::vector<std::vector<int>> stretches;
  std::vector<int> stretch;
  int silent = 0;
  for (size_t i = 0; i < frames.size(); i += size_t(info.channels)) {
    const int sample = frames[i];
    silent = sample == 0 ? silent + 1 : 0;
    if (sample != 0) stretch.push_back(sample);
    if (silent == 200 && !stretch.empty()) stretches.push_back(std::move(stretch)), stretch = {};
  }
  if (!stretch.empty()) stretches.push_back(stretch);
  return stretches;
}

int Peak(const std::vector<int>& samples) {
  int peak = 0;
  for (int sample : samples) peak = std::max(peak, std::abs(sample));
  return peak;
}

double Frequency(const std::vector<int>& samples) {
  int rises = 0;
  for (size_t i = 1; i < samples.size(); ++i) rises += samples[i - 1] < 0 && samples[i] >= 0;
  return rises * double(kRate) / double(samples.size());
}

TEST(AudioOutput, VolumeIsLinearAndFrequencyIsThePlaybackRate) {
  TempFolder folder;
  WriteSound(folder.Path("tone.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, kRate, 2,
             Sine(kRate, 2, kRate, 1000, 0.5));
  ASSERT_EQ(RunScene("tones", folder, WaveConfig(folder)), 0)
      << ReadText(folder.Path("errors.txt"));

  const std::vector<std::vector<int>> tones = SoundingStretches(folder.Path("out.wav"));
  ASSERT_EQ(tones.size(), 2u);
  const double full = 0.5 * 32767;
  // Volume 50 halves the samples; 40000 Hz turns 1000 Hz into 907 Hz.
  EXPECT_NEAR(Peak(tones[0]), 0.5 * full, 0.03 * full);
  EXPECT_NEAR(Frequency(tones[0]), 1000.0 * 40000 / 44100, 10);
  // 5 dB down is a factor 0.562.
  EXPECT_NEAR(Peak(tones[1]), 0.562 * full, 0.03 * full);
  EXPECT_NEAR(Frequency(tones[1]), 1000, 10);
}

TEST(AudioOutput, StopPausesAndPlayGoesOnWhereItStoppedUntilRewound) {
  TempFolder folder;
  WriteSound(folder.Path("ramp.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, kRate, 2,
             Ramp(20000, 2, kRampFirst));
  ASSERT_EQ(RunScene("ramp", folder, WaveConfig(folder)), 0)
      << ReadText(folder.Path("errors.txt"));

  // Each sample tells the frame heard (sample - kRampFirst). Everything heard,
  // the pauses left out, counts up by one but for one restart: the rewind.
  std::vector<int> heard;
  for (const std::vector<int>& stretch : SoundingStretches(folder.Path("out.wav")))
    heard.insert(heard.end(), stretch.begin(), stretch.end());
  ASSERT_FALSE(heard.empty());
  EXPECT_EQ(heard.front(), kRampFirst);
  std::vector<size_t> restarts;
  for (size_t i = 1; i < heard.size(); ++i)
    if (heard[i] != heard[i - 1] + 1) restarts.push_back(i);
  ASSERT_EQ(restarts.size(), 1u);
  EXPECT_EQ(heard[restarts[0]], kRampFirst);
  // Before the rewind: two stretches of about 100 ms, the second going on
  // from the first.
  EXPECT_GT(restarts[0], size_t(kRate * 15 / 100));
}

TEST(AudioOutput, FiveOneIsHeardWholeAndAtItsLevel) {
  TempFolder folder;
  // The same ramp in all six channels: mixed down, it is that ramp again.
  WriteSound(folder.Path("surround.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, kRate, 6,
             Ramp(20000, 6, kRampFirst));
  ASSERT_EQ(RunScene("surround", folder, WaveConfig(folder)), 0)
      << ReadText(folder.Path("errors.txt"));

  const std::vector<std::vector<int>> heard = SoundingStretches(folder.Path("out.wav"));
  ASSERT_EQ(heard.size(), 1u);
  ASSERT_EQ(heard[0].size(), 20000u);
  for (size_t i = 0; i < heard[0].size(); ++i)
    ASSERT_NEAR(heard[0][i], kRampFirst + int(i), 1) << "frame " << i;
}

TEST(AudioOutput, WithoutADeviceEverythingWorksAndNothingIsPrinted) {
  TempFolder folder;
  WriteSound(folder.Path("ramp.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, kRate, 2,
             Ramp(20000, 2, kRampFirst));
  // ALSA cannot open this device, and would say so on the error output.
  const std::string config = "[general]\ndrivers = alsa\n[alsa]\ndevice = virko-no-such-device\n";
  EXPECT_EQ(RunScene("no device", folder, config), 0);

  EXPECT_EQ(ReadText(folder.Path("errors.txt")), "");
  // Length as ever; the position does not move, but goes where it is put.
  EXPECT_EQ(ReadText(folder.Path("report.txt")), "80000 0 4000");
}

}  // namespace
