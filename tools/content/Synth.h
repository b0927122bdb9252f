// A small software synthesizer for the content's sounds and music: a stereo
// buffer, a handful of instruments that add notes into it, and the note
// notation the tunes are written in. Everything is computed, nothing is
// random: the same calls give the same samples on every run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

constexpr int kSampleRate = 44100;

// Stereo samples. A looping buffer wraps whatever is added past its end
// round to its start, so a note ringing over the end of a tune sounds at its
// beginning and the tune loops without a seam.
class AudioBuffer {
 public:
  AudioBuffer(size_t frames, bool looping);
  size_t Frames() const { return left_.size(); }
  void Add(size_t frame, float left, float right);
  // Adds a mono sample placed in the stereo field (-1 left .. 1 right).
  void AddPanned(size_t frame, float sample, float pan);
  const std::vector<float>& Left() const { return left_; }
  const std::vector<float>& Right() const { return right_; }
  // Mixes another buffer in from a frame on, scaled.
  void Mix(const AudioBuffer& other, size_t at, float gain);
  // An echo of the whole buffer (a looping buffer echoes round its end).
  void Echo(double delaySeconds, float feedback, float wet);
  // Scales to the given peak and rounds off the loudest peaks softly.
  void Master(float peak);
  // Fades in over the first and out over the last seconds.
  void Fade(double inSeconds, double outSeconds);
  // Interleaved left/right, 16-bit.
  std::vector<int16_t> Interleaved16() const;
  std::vector<float> InterleavedFloat() const;
  std::vector<int16_t> Mono16() const;

 private:
  size_t Wrap(size_t frame, bool& inside) const;
  std::vector<float> left_;
  std::vector<float> right_;
  bool looping_;
};

enum class Instrument {
  bass,   // round plucked bass
  pad,    // soft detuned chord pad
  lead,   // clear square-ish lead with vibrato
  bell,   // FM bell for arpeggios and chimes
  pluck,  // short bright pluck
};

struct Note {
  double start;     // seconds
  double length;    // seconds the key is held
  double frequency; // Hz
  float volume;     // 0..1
  float pan;        // -1 .. 1
};

void AddNote(AudioBuffer& buffer, Instrument instrument, const Note& note);

// Drum hits at a time in seconds.
void AddKick(AudioBuffer& buffer, double start, float volume);
void AddSnare(AudioBuffer& buffer, double start, float volume);
void AddHat(AudioBuffer& buffer, double start, float volume, bool open);

// Deterministic white noise in -1..1.
class WhiteNoise {
 public:
  explicit WhiteNoise(uint32_t seed) : state_(seed) {}
  float Next();

 private:
  uint32_t state_;
};

// Frequency of a note name such as "A4", "C#5" or "Bb3" (A4 = 440 Hz);
// 0 for a rest ("r") or an unknown name.
double NoteFrequency(std::string_view name);

// A melody written as "E5/4 G5/4 r/2 C5/2": note name and length in
// sixteenths. Returns the notes from a start time at the given tempo.
std::vector<Note> ParseMelody(std::string_view text, double start, double beatsPerMinute,
                              float volume, float pan);
