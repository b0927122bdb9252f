// The sounds of the default content: four effects as 16-bit WAV and the two
// music themes as MP3 with a Xing header, all synthesized here.
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/content/Content.h"
#include "tools/content/MediaWriter.h"
#include "tools/content/Music.h"
#include "tools/content/Synth.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;

size_t FramesOf(double seconds) { return size_t(std::llround(seconds * kSampleRate)); }

// Pickup: two quick bell notes a fifth apart.
AudioBuffer PickupSound() {
  AudioBuffer sound(FramesOf(0.3), false);
  AddNote(sound, Instrument::bell, {0.0, 0.05, NoteFrequency("E6"), 0.8f, 0});
  AddNote(sound, Instrument::bell, {0.055, 0.1, NoteFrequency("B6"), 0.9f, 0});
  sound.Master(0.8f);
  sound.Fade(0.0, 0.08);
  return sound;
}

// Throw: a breath of noise through a band-pass filter that sweeps up and
// back down, rising and falling in loudness.
AudioBuffer ThrowSound() {
  constexpr double kLength = 0.3;
  AudioBuffer sound(FramesOf(kLength), false);
  WhiteNoise noise(0x7f4a7c15u);
  double low = 0.0, band = 0.0;
  for (size_t i = 0; i < sound.Frames(); ++i) {
    const double t = double(i) / kSampleRate;
    const double centre = 500.0 + 2200.0 * std::sin(3.14159265 * std::pow(t / kLength, 0.7));
    const double f = 2.0 * std::sin(3.14159265 * centre / kSampleRate);
    const double high = noise.Next() - low - 0.35 * band;  // Chamberlin state-variable filter
    band += f * high;
    low += f * band;
    const double level = std::sin(3.14159265 * std::min(1.0, t / kLength)) * std::exp(-t * 3.0);
    sound.AddPanned(i, float(band * level), 0.0f);
  }
  sound.Master(0.7f);
  return sound;
}

// Sparkle: high bell notes of a pentatonic scale, scattered left and right.
AudioBuffer SparkleSound() {
  static const char* const kNotes[8] = {"E6", "G6", "C7", "A6", "D7", "G6", "E7", "C7"};
  static const double kTimes[8] = {0.0, 0.035, 0.075, 0.12, 0.17, 0.23, 0.3, 0.37};
  AudioBuffer sound(FramesOf(0.6), false);
  for (int i = 0; i < 8; ++i) {
    const float volume = 0.9f - 0.08f * float(i);
    AddNote(sound, Instrument::bell, {kTimes[i], 0.03, NoteFrequency(kNotes[i]), volume, i % 2 ? 0.5f : -0.5f});
  }
  sound.Echo(0.06, 0.3f, 0.25f);
  sound.Master(0.7f);
  sound.Fade(0.0, 0.15);
  return sound;
}

// Menu hover: a soft blip gliding up a fifth; the menu plays only its first
// twenty milliseconds, so the tone is there from the first sample on.
AudioBuffer HoverSound() {
  AudioBuffer sound(FramesOf(0.08), false);
  double phase = 0.0;
  for (size_t i = 0; i < sound.Frames(); ++i) {
    const double t = double(i) / kSampleRate;
    phase += kTwoPi * (1100.0 + 550.0 * std::min(1.0, t / 0.02)) / kSampleRate;
    const double level = std::min(1.0, t / 0.001) * std::exp(-t * 40.0);
    const double sample = std::sin(phase) + 0.2 * std::sin(2.0 * phase);
    sound.AddPanned(i, float(sample * level), 0.0f);
  }
  sound.Master(0.6f);
  sound.Fade(0.0, 0.02);
  return sound;
}

bool WriteWav(const std::filesystem::path& path, const AudioBuffer& sound) {
  SF_INFO info{};
  info.samplerate = kSampleRate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.string().c_str(), SFM_WRITE, &info);
  if (!file) {
    std::fprintf(stderr, "virko-content: cannot write %s: %s\n", path.string().c_str(), sf_strerror(nullptr));
    return false;
  }
  const std::vector<int16_t> samples = sound.Mono16();
  const sf_count_t written = sf_write_short(file, samples.data(), sf_count_t(samples.size()));
  sf_close(file);
  if (written != sf_count_t(samples.size())) {
    std::fprintf(stderr, "virko-content: cannot write %s\n", path.string().c_str());
    return false;
  }
  return true;
}

// Variable bit rate (LAME quality 2), so the first frame is a "Xing" header
// that gives players the exact length and the encoder's delay and padding
// (which gapless decoders skip, keeping the loop seamless).
bool WriteMp3(const std::filesystem::path& path, const AudioBuffer& music) {
  MediaWriter writer;
  const bool ok = writer.Open(path.string(), "mp3") &&
                  writer.AddAudio(AV_CODEC_ID_MP3, 0, music.InterleavedFloat()) && writer.Begin() &&
                  writer.Finish();
  if (!ok) std::fprintf(stderr, "virko-content: %s: %s\n", path.string().c_str(), writer.Error().c_str());
  return ok;
}

}  // namespace

bool BuildSounds(const std::string& contentDir) {
  const std::filesystem::path root(contentDir);
  const std::filesystem::path audio = root / "DATA" / "AUDIO";
  std::filesystem::create_directories(audio);
  return WriteWav(audio / "ciekurs.wav", PickupSound()) && WriteWav(audio / "mest.wav", ThrowSound()) &&
         WriteWav(audio / "sparkle2.wav", SparkleSound()) && WriteWav(audio / "selectB.wav", HoverSound()) &&
         WriteMp3(root / "titlescreen2.mp3", TitleMusic()) && WriteMp3(audio / "hev.mp3", LevelMusic());
}
