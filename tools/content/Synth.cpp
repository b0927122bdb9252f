#include "tools/content/Synth.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr int kMaxHarmonics = 16;

size_t FrameOf(double seconds) { return size_t(std::llround(std::max(0.0, seconds) * kSampleRate)); }

// sin(h x theta) for h = 1..n, weighted and summed, from one sine and one
// cosine (the Chebyshev recurrence).
float HarmonicSum(double theta, const float* amplitudes, int n) {
  const double c = std::cos(theta);
  double previous = 0.0, current = std::sin(theta);
  double sum = amplitudes[0] * current;
  for (int h = 1; h < n; ++h) {
    const double next = 2.0 * c * current - previous;
    previous = current;
    current = next;
    sum += amplitudes[h] * current;
  }
  return float(sum);
}

// Attack, decay to a sustain level, and release after the key is let go.
struct Envelope {
  double attack, decay, sustain, release;

  double At(double t, double held) const {
    double level = t < attack ? t / attack
                 : t < attack + decay ? 1.0 - (1.0 - sustain) * (t - attack) / decay
                                      : sustain;
    if (t > held) level *= std::max(0.0, 1.0 - (t - held) / release);
    return level;
  }
  double Length(double held) const { return held + release; }
};

// A voice whose harmonics each fade at their own rate (plucked strings).
void AddPlucked(AudioBuffer& buffer, const Note& note, const float* start, const float* decayPerSecond,
                int harmonics, const Envelope& envelope, float drive) {
  float amplitudes[kMaxHarmonics];
  float factors[kMaxHarmonics];
  for (int h = 0; h < harmonics; ++h) {
    amplitudes[h] = start[h];
    factors[h] = float(std::exp(-decayPerSecond[h] / kSampleRate));
  }
  const size_t first = FrameOf(note.start);
  const size_t count = FrameOf(envelope.Length(note.length));
  const double step = kTwoPi * note.frequency / kSampleRate;
  for (size_t i = 0; i < count; ++i) {
    const double t = double(i) / kSampleRate;
    float sample = HarmonicSum(step * double(i), amplitudes, harmonics);
    if (drive > 0) sample = std::tanh(drive * sample) / std::tanh(drive);
    buffer.AddPanned(first + i, sample * float(envelope.At(t, note.length)) * note.volume, note.pan);
    for (int h = 0; h < harmonics; ++h) amplitudes[h] *= factors[h];
  }
}

void AddBass(AudioBuffer& buffer, const Note& note) {
  static const float kStart[6] = {1.0f, 0.55f, 0.3f, 0.18f, 0.1f, 0.06f};
  float decay[6];
  for (int h = 0; h < 6; ++h) decay[h] = 1.2f + 2.5f * float(h);
  AddPlucked(buffer, note, kStart, decay, 6, {0.004, 0.3, 0.7, 0.06}, 1.4f);
}

void AddPluck(AudioBuffer& buffer, const Note& note) {
  float start[8], decay[8];
  for (int h = 0; h < 8; ++h) {
    start[h] = 0.8f / float(h + 1);
    decay[h] = 5.0f + 3.0f * float(h);
  }
  AddPlucked(buffer, note, start, decay, 8, {0.002, 0.5, 0.0, 0.08}, 0.0f);
}

// Two saw-like voices a few cents apart, spread left and right, with the
// upper harmonics rolled off.
void AddPad(AudioBuffer& buffer, const Note& note) {
  const Envelope envelope{0.25, 0.4, 0.8, 0.6};
  float amplitudes[8];
  for (int h = 0; h < 8; ++h) {
    const double above = (h + 1) * note.frequency / 2200.0;
    amplitudes[h] = float(0.5 / (h + 1) / (1.0 + above * above));
  }
  const size_t first = FrameOf(note.start);
  const size_t count = FrameOf(envelope.Length(note.length));
  const double stepA = kTwoPi * note.frequency * 1.0035 / kSampleRate;
  const double stepB = kTwoPi * note.frequency * 0.9965 / kSampleRate;
  for (size_t i = 0; i < count; ++i) {
    const float level = float(envelope.At(double(i) / kSampleRate, note.length)) * note.volume;
    const float a = HarmonicSum(stepA * double(i), amplitudes, 8) * level;
    const float b = HarmonicSum(stepB * double(i) + 1.0, amplitudes, 8) * level;
    buffer.Add(first + i, 0.8f * a + 0.3f * b, 0.3f * a + 0.8f * b);
  }
}

// Odd harmonics (a softened square) with a vibrato that sets in after the
// attack.
void AddLead(AudioBuffer& buffer, const Note& note) {
  const Envelope envelope{0.008, 0.25, 0.7, 0.09};
  float amplitudes[9] = {};
  for (int h = 0; h < 9; ++h) {
    const int harmonic = h + 1;
    const double above = harmonic * note.frequency / 5000.0;
    const float weight = harmonic % 2 ? 1.0f / float(harmonic) : 0.08f / float(harmonic);
    amplitudes[h] = float(weight / (1.0 + above * above));
  }
  const size_t first = FrameOf(note.start);
  const size_t count = FrameOf(envelope.Length(note.length));
  double phase = 0.0;
  for (size_t i = 0; i < count; ++i) {
    const double t = double(i) / kSampleRate;
    const double depth = 0.004 * std::min(1.0, std::max(0.0, (t - 0.15) / 0.2));
    phase += kTwoPi * note.frequency * (1.0 + depth * std::sin(kTwoPi * 5.5 * t)) / kSampleRate;
    const float sample = HarmonicSum(phase, amplitudes, 9);
    buffer.AddPanned(first + i, 0.6f * sample * float(envelope.At(t, note.length)) * note.volume, note.pan);
  }
}

// Frequency modulation with a falling index: a struck, ringing tone.
void AddBell(AudioBuffer& buffer, const Note& note) {
  const double ring = std::min(note.length + 1.2, 2.5);
  const size_t first = FrameOf(note.start);
  const size_t count = FrameOf(ring);
  for (size_t i = 0; i < count; ++i) {
    const double t = double(i) / kSampleRate;
    const double index = 2.0 * std::exp(-t * 7.0);
    const double modulator = std::sin(kTwoPi * note.frequency * 3.5 * t);
    double level = std::min(1.0, t / 0.002) * std::exp(-t * 3.2);
    level *= std::min(1.0, (ring - t) / 0.05);  // no click at the end
    const double sample = std::sin(kTwoPi * note.frequency * t + index * modulator);
    buffer.AddPanned(first + i, float(0.5 * sample * level) * note.volume, note.pan);
  }
}

}  // namespace

AudioBuffer::AudioBuffer(size_t frames, bool looping)
    : left_(frames, 0.0f), right_(frames, 0.0f), looping_(looping) {}

size_t AudioBuffer::Wrap(size_t frame, bool& inside) const {
  inside = !left_.empty() && (looping_ || frame < left_.size());
  return inside ? frame % left_.size() : 0;
}

void AudioBuffer::Add(size_t frame, float left, float right) {
  bool inside = false;
  const size_t i = Wrap(frame, inside);
  if (!inside) return;
  left_[i] += left;
  right_[i] += right;
}

void AudioBuffer::AddPanned(size_t frame, float sample, float pan) {
  // Equal-power panning.
  const double angle = (double(pan) + 1.0) * 0.25 * 3.141592653589793;
  Add(frame, sample * float(std::cos(angle)) * 1.4142f, sample * float(std::sin(angle)) * 1.4142f);
}

void AudioBuffer::Mix(const AudioBuffer& other, size_t at, float gain) {
  for (size_t i = 0; i < other.Frames(); ++i) Add(at + i, other.left_[i] * gain, other.right_[i] * gain);
}

void AudioBuffer::Echo(double delaySeconds, float feedback, float wet) {
  const size_t n = Frames();
  const size_t delay = FrameOf(delaySeconds);
  if (delay == 0 || delay >= n) return;
  // Ping-pong echo lines; a looping buffer runs them round twice so that the
  // echoes of the end reach the start.
  std::vector<float> echoLeft(n, 0.0f), echoRight(n, 0.0f);
  for (int pass = 0; pass < (looping_ ? 2 : 1); ++pass) {
    for (size_t i = 0; i < n; ++i) {
      if (!looping_ && i < delay) continue;
      const size_t j = (i + n - delay) % n;
      echoLeft[i] = right_[j] + feedback * echoRight[j];
      echoRight[i] = left_[j] + feedback * echoLeft[j];
    }
  }
  for (size_t i = 0; i < n; ++i) {
    left_[i] += wet * echoLeft[i];
    right_[i] += wet * echoRight[i];
  }
}

void AudioBuffer::Master(float peak) {
  float loudest = 0.0f;
  for (size_t i = 0; i < Frames(); ++i) loudest = std::max({loudest, std::fabs(left_[i]), std::fabs(right_[i])});
  if (loudest == 0.0f) return;
  // Aim a little above the peak and let a soft knee take the top off.
  const float gain = peak * 1.15f / loudest;
  auto shape = [peak](float x) { return peak * std::tanh(x / peak); };
  for (size_t i = 0; i < Frames(); ++i) {
    left_[i] = shape(left_[i] * gain);
    right_[i] = shape(right_[i] * gain);
  }
}

void AudioBuffer::Fade(double inSeconds, double outSeconds) {
  const size_t n = Frames();
  const size_t in = std::min(n, FrameOf(inSeconds)), out = std::min(n, FrameOf(outSeconds));
  for (size_t i = 0; i < in; ++i) {
    left_[i] *= float(i) / float(in);
    right_[i] *= float(i) / float(in);
  }
  for (size_t i = 0; i < out; ++i) {
    const float level = float(i) / float(out);
    left_[n - 1 - i] *= level;
    right_[n - 1 - i] *= level;
  }
}

std::vector<int16_t> AudioBuffer::Interleaved16() const {
  std::vector<int16_t> out(Frames() * 2);
  for (size_t i = 0; i < Frames(); ++i) {
    out[2 * i] = int16_t(std::lround(std::clamp(left_[i], -1.0f, 1.0f) * 32767.0f));
    out[2 * i + 1] = int16_t(std::lround(std::clamp(right_[i], -1.0f, 1.0f) * 32767.0f));
  }
  return out;
}

std::vector<float> AudioBuffer::InterleavedFloat() const {
  std::vector<float> out(Frames() * 2);
  for (size_t i = 0; i < Frames(); ++i) {
    out[2 * i] = left_[i];
    out[2 * i + 1] = right_[i];
  }
  return out;
}

std::vector<int16_t> AudioBuffer::Mono16() const {
  std::vector<int16_t> out(Frames());
  for (size_t i = 0; i < Frames(); ++i)
    out[i] = int16_t(std::lround(std::clamp(0.5f * (left_[i] + right_[i]), -1.0f, 1.0f) * 32767.0f));
  return out;
}

void AddNote(AudioBuffer& buffer, Instrument instrument, const Note& note) {
  if (note.frequency <= 0) return;
  switch (instrument) {
    case Instrument::bass: AddBass(buffer, note); break;
    case Instrument::pad: AddPad(buffer, note); break;
    case Instrument::lead: AddLead(buffer, note); break;
    case Instrument::bell: AddBell(buffer, note); break;
    case Instrument::pluck: AddPluck(buffer, note); break;
  }
}

float WhiteNoise::Next() {
  // xorshift32
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return float(state_) / 2147483648.0f - 1.0f;
}

void AddKick(AudioBuffer& buffer, double start, float volume) {
  const size_t first = FrameOf(start);
  WhiteNoise noise(0x1234567u);
  double phase = 0.0;
  for (size_t i = 0; i < FrameOf(0.35); ++i) {
    const double t = double(i) / kSampleRate;
    phase += kTwoPi * (45.0 + 85.0 * std::exp(-t * 30.0)) / kSampleRate;
    const double body = std::sin(phase) * std::exp(-t * 8.0);
    const double click = noise.Next() * std::exp(-t * 500.0) * 0.25;
    buffer.AddPanned(first + i, float(std::tanh(1.6 * (body + click))) * volume, 0.0f);
  }
}

void AddSnare(AudioBuffer& buffer, double start, float volume) {
  const size_t first = FrameOf(start);
  WhiteNoise noise(0x9e3779b9u);
  float previous = 0.0f;
  for (size_t i = 0; i < FrameOf(0.25); ++i) {
    const double t = double(i) / kSampleRate;
    const float white = noise.Next();
    const float bright = white - 0.6f * previous;  // tilt toward the highs
    previous = white;
    const double rattle = bright * std::exp(-t * 20.0) * 0.55;
    const double tone = std::sin(kTwoPi * 185.0 * t) * std::exp(-t * 28.0) * 0.6;
    buffer.AddPanned(first + i, float(rattle + tone) * volume, -0.1f);
  }
}

void AddHat(AudioBuffer& buffer, double start, float volume, bool open) {
  const size_t first = FrameOf(start);
  WhiteNoise noise(open ? 0x51ed270bu : 0x2545f491u);
  float previous = 0.0f, previous2 = 0.0f;
  const double decay = open ? 10.0 : 55.0;
  for (size_t i = 0; i < FrameOf(open ? 0.3 : 0.06); ++i) {
    const double t = double(i) / kSampleRate;
    const float white = noise.Next();
    const float high = white - 2.0f * previous + previous2;  // second difference: only the highs
    previous2 = previous;
    previous = white;
    buffer.AddPanned(first + i, float(0.25 * high * std::exp(-t * decay)) * volume, 0.35f);
  }
}

double NoteFrequency(std::string_view name) {
  static const int kSemitones[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G from C
  if (name.empty() || name[0] < 'A' || name[0] > 'G') return 0.0;
  int semitone = kSemitones[name[0] - 'A'];
  size_t i = 1;
  if (i < name.size() && name[i] == '#') ++semitone, ++i;
  else if (i < name.size() && name[i] == 'b') --semitone, ++i;
  if (i >= name.size() || name[i] < '0' || name[i] > '9') return 0.0;
  const int octave = name[i] - '0';
  const int midi = 12 * (octave + 1) + semitone;
  return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

std::vector<Note> ParseMelody(std::string_view text, double start, double beatsPerMinute,
                              float volume, float pan) {
  const double sixteenth = 60.0 / beatsPerMinute / 4.0;
  std::vector<Note> notes;
  double time = start;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    const size_t end = std::min(text.find(' ', i), text.size());
    const std::string_view token = text.substr(i, end - i);
    i = end;
    const size_t slash = token.find('/');
    if (slash == std::string_view::npos) continue;
    const double length = std::stoi(std::string(token.substr(slash + 1))) * sixteenth;
    const double frequency = NoteFrequency(token.substr(0, slash));
    if (frequency > 0) notes.push_back({time, length * 0.9, frequency, volume, pan});
    time += length;
  }
  return notes;
}
