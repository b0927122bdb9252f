#include "tools/content/Music.h"

#include <cmath>
#include <vector>

namespace {

struct Chord {
  const char* bass;
  const char* tones[3];  // the pad's voicing, low to high
};

const Chord kAm{"A2", {"A3", "C4", "E4"}};
const Chord kF{"F2", {"A3", "C4", "F4"}};
const Chord kC{"C3", {"G3", "C4", "E4"}};
const Chord kG{"G2", {"G3", "B3", "D4"}};
const Chord kDm{"D3", {"A3", "D4", "F4"}};
const Chord kE{"E2", {"G#3", "B3", "E4"}};
const Chord kEm{"E2", {"G3", "B3", "E4"}};

struct Tempo {
  double bpm;
  double Beat() const { return 60.0 / bpm; }
  double Bar() const { return 4.0 * Beat(); }
};

size_t FramesOf(double seconds) { return size_t(std::llround(seconds * kSampleRate)); }

void AddPadChord(AudioBuffer& buffer, const Chord& chord, double start, double length, float volume) {
  for (const char* tone : chord.tones) AddNote(buffer, Instrument::pad, {start, length, NoteFrequency(tone), volume, 0});
}

// Eight bell notes a bar over the chord, an octave above the pad.
void AddArpeggio(AudioBuffer& buffer, const Chord& chord, double start, const Tempo& tempo, float volume) {
  static const int kPattern[8] = {0, 1, 2, 3, 2, 1, 2, 1};
  const double eighth = tempo.Beat() / 2.0;
  for (int step = 0; step < 8; ++step) {
    const int index = kPattern[step];
    const double frequency = NoteFrequency(chord.tones[index % 3]) * (index == 3 ? 4.0 : 2.0);
    const float pan = step % 2 ? -0.45f : -0.2f;
    AddNote(buffer, Instrument::bell, {start + step * eighth, eighth, frequency, volume, pan});
  }
}

// A driving line of eighths (root, octave and fifth).
void AddEighthBass(AudioBuffer& buffer, const Chord& chord, double start, const Tempo& tempo, float volume) {
  static const double kSteps[8] = {1, 1, 2, 1, 1, 1.5, 2, 1.5};
  const double eighth = tempo.Beat() / 2.0;
  for (int step = 0; step < 8; ++step) {
    AddNote(buffer, Instrument::bass,
            {start + step * eighth, eighth * 0.8, NoteFrequency(chord.bass) * kSteps[step], volume, 0});
  }
}

// Two long notes a bar: root, then fifth.
void AddHalfBass(AudioBuffer& buffer, const Chord& chord, double start, const Tempo& tempo, float volume) {
  const double half = 2.0 * tempo.Beat();
  AddNote(buffer, Instrument::bass, {start, half * 0.95, NoteFrequency(chord.bass), volume, 0});
  AddNote(buffer, Instrument::bass, {start + half, half * 0.95, NoteFrequency(chord.bass) * 1.5, volume * 0.8f, 0});
}

// Kick on one and three (and the off-beat before three every other bar),
// snare on two and four, eighth hats; a fill where a phrase ends.
void AddPopBeat(AudioBuffer& buffer, double start, const Tempo& tempo, int bar, bool snares, bool fill,
                float volume) {
  const double beat = tempo.Beat();
  AddKick(buffer, start, 0.9f * volume);
  AddKick(buffer, start + 2 * beat, 0.9f * volume);
  if (bar % 2 == 1) AddKick(buffer, start + 2.5 * beat, 0.6f * volume);
  if (snares) {
    AddSnare(buffer, start + beat, 0.55f * volume);
    AddSnare(buffer, start + 3 * beat, 0.55f * volume);
  }
  for (int step = 0; step < 8; ++step) {
    const bool open = step == 7 && bar % 4 == 3;
    AddHat(buffer, start + step * beat / 2, (step % 2 ? 0.35f : 0.5f) * volume, open);
  }
  if (fill) {
    for (int step = 0; step < 4; ++step)
      AddSnare(buffer, start + 3 * beat + step * beat / 4, (0.25f + 0.1f * float(step)) * volume);
  }
}

// A soft groove for the title: kick, a light snare on three, quiet hats.
void AddSoftBeat(AudioBuffer& buffer, double start, const Tempo& tempo, float volume) {
  const double beat = tempo.Beat();
  AddKick(buffer, start, 0.7f * volume);
  AddKick(buffer, start + 2.5 * beat, 0.45f * volume);
  AddSnare(buffer, start + 2 * beat, 0.3f * volume);
  for (int step = 0; step < 8; ++step) AddHat(buffer, start + step * beat / 2, (step % 2 ? 0.2f : 0.3f) * volume, false);
}

void AddMelody(AudioBuffer& buffer, Instrument instrument, const char* melody, double start, const Tempo& tempo,
               float volume, float pan) {
  for (const Note& note : ParseMelody(melody, start, tempo.bpm, volume, pan)) AddNote(buffer, instrument, note);
}

// --- The title theme -------------------------------------------------------

const Chord* const kTitleChords[8] = {&kAm, &kF, &kC, &kG, &kAm, &kF, &kDm, &kE};

const char* const kTitleMelody =
    "A4/8 C5/4 E5/4 | F5/8 E5/4 C5/4 | E5/6 D5/2 C5/4 G4/4 | D5/8 B4/8 | "
    "C5/4 E5/4 A5/8 | A5/4 G5/4 F5/4 C5/4 | D5/4 F5/4 A5/4 F5/4 | G#5/8 E5/8";
const char* const kTitleMelodyHigh =
    "E5/2 A5/2 C6/4 B5/4 A5/4 | C6/8 A5/4 F5/4 | G5/4 E5/4 G5/4 C6/4 | B5/8 D6/4 B5/4 | "
    "A5/6 G5/2 E5/4 C5/4 | F5/4 A5/4 C6/4 A5/4 | F5/4 E5/4 D5/4 F5/4 | E5/8 B4/4 G#4/4";

// --- The level theme -------------------------------------------------------

const Chord* const kVerseChords[8] = {&kC, &kG, &kAm, &kF, &kC, &kG, &kAm, &kF};
const Chord* const kBridgeChords[8] = {&kF, &kG, &kEm, &kAm, &kF, &kG, &kC, &kG};

const char* const kVerseMelody =
    "E5/4 G5/4 E5/2 D5/2 C5/4 | D5/4 B4/4 G4/4 r/4 | C5/4 E5/4 A5/4 G5/2 E5/2 | F5/6 E5/2 D5/4 C5/4 | "
    "E5/4 G5/4 C6/4 B5/2 G5/2 | A5/4 G5/4 D5/4 r/4 | E5/2 F5/2 E5/2 D5/2 C5/4 A4/4 | D5/4 C5/4 B4/4 G4/4";
const char* const kBridgeMelody =
    "A5/3 G5/3 F5/2 C5/4 F5/4 | G5/3 F5/3 D5/2 B4/4 D5/4 | E5/3 D5/3 B4/2 G4/4 B4/4 | C5/6 B4/2 A4/8 | "
    "A4/2 C5/2 F5/4 E5/2 F5/2 A5/4 | G5/4 D5/4 B4/4 D5/4 | E5/2 D5/2 C5/4 G5/8 | G5/4 A5/2 B5/2 D6/8";

// A closed piece: chords a bar each (the last one held to the end), the
// bells over all but the last, a melody and a final bell.
AudioBuffer ClosedPiece(const Tempo& tempo, const std::vector<const Chord*>& chords, const char* melody,
                        double melodyStart, const char* lastBell) {
  const int bars = int(chords.size());
  const double seconds = (bars + 1) * tempo.Bar();  // the last chord rings on for a bar
  AudioBuffer mix(FramesOf(seconds), false);
  AudioBuffer lead(mix.Frames(), false);
  for (int bar = 0; bar < bars; ++bar) {
    const bool last = bar + 1 == bars;
    const double start = bar * tempo.Bar();
    AddPadChord(mix, *chords[bar], start, last ? seconds - start - 0.6 : tempo.Bar(), 0.25f);
    if (!last) AddArpeggio(mix, *chords[bar], start, tempo, 0.24f);
    if (bar > 0) AddHalfBass(mix, *chords[bar], start, tempo, 0.26f);
  }
  AddMelody(lead, Instrument::lead, melody, melodyStart, tempo, 0.45f, 0.1f);
  AddNote(lead, Instrument::bell, {(bars - 1) * tempo.Bar(), 2.0, NoteFrequency(lastBell), 0.4f, 0});
  lead.Echo(tempo.Beat() * 0.75, 0.3f, 0.3f);
  mix.Mix(lead, 0, 1.0f);
  mix.Master(0.85f);
  mix.Fade(0.3, 2.0);
  return mix;
}

}  // namespace

AudioBuffer TitleMusic() {
  const Tempo tempo{90};
  constexpr int kBars = 24;
  AudioBuffer mix(FramesOf(kBars * tempo.Bar()), true);
  AudioBuffer lead(mix.Frames(), true);
  for (int bar = 0; bar < kBars; ++bar) {
    const double start = bar * tempo.Bar();
    const Chord& chord = *kTitleChords[bar % 8];
    AddPadChord(mix, chord, start, tempo.Bar(), 0.24f);
    AddArpeggio(mix, chord, start, tempo, bar < 8 ? 0.28f : 0.18f);
    if (bar >= 4) AddHalfBass(mix, chord, start, tempo, 0.28f);
    // The groove rests in the last bar, so the loop opens quietly again.
    if (bar >= 8 && bar < kBars - 1) AddSoftBeat(mix, start, tempo, 0.7f);
  }
  AddKick(mix, (kBars - 1) * tempo.Bar(), 0.5f);
  AddMelody(lead, Instrument::lead, kTitleMelody, 8 * tempo.Bar(), tempo, 0.45f, 0.15f);
  AddMelody(lead, Instrument::lead, kTitleMelodyHigh, 16 * tempo.Bar(), tempo, 0.42f, 0.15f);
  lead.Echo(tempo.Beat() * 0.75, 0.35f, 0.35f);
  mix.Mix(lead, 0, 1.0f);
  mix.Echo(tempo.Beat() * 1.5, 0.2f, 0.12f);
  mix.Master(0.89f);
  return mix;
}

AudioBuffer LevelMusic() {
  const Tempo tempo{120};
  constexpr int kBars = 32;
  AudioBuffer mix(FramesOf(kBars * tempo.Bar()), true);
  AudioBuffer lead(mix.Frames(), true);
  for (int bar = 0; bar < kBars; ++bar) {
    const double start = bar * tempo.Bar();
    // Intro 0-3, verse 4-11, bridge 12-19, verse 20-27, break 28-31.
    const bool bridge = bar >= 12 && bar < 20;
    const bool outro = bar >= 28;
    const Chord& chord = bridge ? *kBridgeChords[bar - 12] : *kVerseChords[bar % 8];
    AddEighthBass(mix, chord, start, tempo, 0.28f);
    if (bar >= 4) AddPadChord(mix, chord, start, tempo.Bar(), outro ? 0.22f : 0.18f);
    if (bar == 2 || bar == 3 || bridge || (bar >= 20 && bar < 28)) AddArpeggio(mix, chord, start, tempo, 0.17f);
    const bool phraseEnd = bar % 8 == 3;
    AddPopBeat(mix, start, tempo, bar, !outro || bar == kBars - 1, phraseEnd || bar == kBars - 1, 0.76f);
  }
  AddMelody(lead, Instrument::lead, kVerseMelody, 4 * tempo.Bar(), tempo, 0.47f, 0.12f);
  AddMelody(lead, Instrument::lead, kBridgeMelody, 12 * tempo.Bar(), tempo, 0.47f, 0.12f);
  AddMelody(lead, Instrument::lead, kVerseMelody, 20 * tempo.Bar(), tempo, 0.47f, 0.12f);
  AddMelody(lead, Instrument::pluck, kVerseMelody, 20 * tempo.Bar(), tempo, 0.18f, -0.3f);
  lead.Echo(tempo.Beat() * 0.75, 0.3f, 0.3f);
  mix.Mix(lead, 0, 1.0f);
  mix.Master(0.89f);
  return mix;
}

AudioBuffer IntroMusic() {
  // The title theme's first four bars after a bar of bells, home on A.
  return ClosedPiece(Tempo{100}, {&kAm, &kAm, &kF, &kC, &kG, &kAm},
                     "A4/8 C5/4 E5/4 | F5/8 E5/4 C5/4 | E5/6 D5/2 C5/4 G4/4 | D5/8 B4/8 | A4/16",
                     Tempo{100}.Bar(), "A5");
}

AudioBuffer CreditsMusic() {
  return ClosedPiece(Tempo{80}, {&kF, &kC, &kDm, &kG, &kC},
                     "A4/4 C5/4 F5/8 | G5/8 E5/4 C5/4 | F5/4 E5/4 D5/8 | D5/8 B4/8 | C5/16", 0, "C6");
}
