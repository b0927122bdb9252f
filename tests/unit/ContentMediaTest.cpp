// The synthesizer and the media writer of the content builder: loops without
// a seam, notes where the notation puts them, MP3 files whose length the
// game's audio library reads exactly, and videos the decoders recognise,
// byte for byte the same on every run.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "audio/AudioLibrary.h"
#include "tools/content/MediaWriter.h"
#include "tools/content/Synth.h"

namespace {

namespace fs = std::filesystem;

fs::path TempFile(const std::string& name) {
  return fs::temp_directory_path() / ("virko-media-" + std::to_string(getpid()) + "-" + name);
}

std::vector<char> Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

double Energy(const AudioBuffer& buffer, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += buffer.Left()[i] * buffer.Left()[i];
  return sum;
}

TEST(ContentSynth, ALoopingBufferCarriesANoteOverItsEndToItsStart) {
  const size_t frames = kSampleRate;  // one second
  AudioBuffer looping(frames, true), closed(frames, false);
  const Note late{0.9, 0.5, 440.0, 0.5f, 0.0f};  // rings on past the end
  AddNote(looping, Instrument::bass, late);
  AddNote(closed, Instrument::bass, late);
  EXPECT_GT(Energy(looping, 0, frames / 4), 1.0);
  EXPECT_EQ(Energy(closed, 0, frames / 4), 0.0);
  EXPECT_EQ(Energy(looping, frames / 2, frames), Energy(closed, frames / 2, frames));
}

TEST(ContentSynth, NotesAndMelodies) {
  EXPECT_DOUBLE_EQ(NoteFrequency("A4"), 440.0);
  EXPECT_NEAR(NoteFrequency("C4"), 261.626, 0.001);
  EXPECT_DOUBLE_EQ(NoteFrequency("Bb3"), NoteFrequency("A#3"));
  EXPECT_DOUBLE_EQ(NoteFrequency("A5"), 880.0);
  EXPECT_EQ(NoteFrequency("r"), 0.0);
  EXPECT_EQ(NoteFrequency("H2"), 0.0);

  // At 120 beats a minute a sixteenth lasts 0.125 s; rests and bar lines
  // take their time or none.
  const std::vector<Note> notes = ParseMelody("E5/4 r/2 | G5/2 C6/8", 1.0, 120, 0.5f, 0.25f);
  ASSERT_EQ(notes.size(), 3u);
  EXPECT_DOUBLE_EQ(notes[0].start, 1.0);
  EXPECT_DOUBLE_EQ(notes[1].start, 1.75);
  EXPECT_DOUBLE_EQ(notes[2].start, 2.0);
  EXPECT_NEAR(notes[2].length, 0.9, 1e-9);  // held for nine tenths of its time
  EXPECT_DOUBLE_EQ(notes[2].frequency, NoteFrequency("C6"));
  EXPECT_EQ(notes[1].pan, 0.25f);
}

// A tone that fills the buffer exactly, as the music does.
AudioBuffer Tune(double seconds) {
  AudioBuffer tune(size_t(seconds * kSampleRate), true);
  for (int i = 0; i < int(seconds * 4); ++i)
    AddNote(tune, Instrument::pluck, {i * 0.25, 0.2, NoteFrequency(i % 2 ? "E4" : "A4"), 0.5f, 0});
  tune.Master(0.8f);
  return tune;
}

bool WriteMp3(const fs::path& path, const AudioBuffer& tune) {
  MediaWriter writer;
  const bool ok = writer.Open(path.string(), "mp3") && writer.AddAudio(AV_CODEC_ID_MP3, 0, tune.InterleavedFloat()) &&
                  writer.Begin() && writer.Finish();
  EXPECT_TRUE(ok) << writer.Error();
  return ok;
}

TEST(ContentMedia, Mp3HasAXingHeaderAndTheGameReadsItsExactLength) {
  const AudioBuffer tune = Tune(3.0);
  const fs::path first = TempFile("a.mp3"), second = TempFile("b.mp3");
  ASSERT_TRUE(WriteMp3(first, tune));
  ASSERT_TRUE(WriteMp3(second, tune));
  const std::vector<char> bytes = Bytes(first);
  EXPECT_EQ(bytes, Bytes(second));
  // The first frame (MPEG-1, stereo: 4 header and 32 side-information bytes)
  // is the Xing header, with no tag before it.
  ASSERT_GT(bytes.size(), 40u);
  EXPECT_EQ(uint8_t(bytes[0]), 0xFF);
  EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 40), "Xing");

  // The encoder's delay and padding are skipped: the loop keeps its length.
  AudioInit(44100);
  const AudioHandle stream = AudioStreamCreateFile(first.string().c_str());
  ASSERT_NE(stream, 0u);
  EXPECT_EQ(AudioStreamGetLength(stream), uint64_t(tune.Frames()) * 2 * 2);
  AudioFree();
  fs::remove(first);
  fs::remove(second);
}

bool WriteVideo(const fs::path& path) {
  constexpr int kWidth = 160, kHeight = 120, kFrames = 25;
  MediaWriter writer;
  bool ok = writer.Open(path.string(), "asf") && writer.AddVideo(AV_CODEC_ID_WMV2, kWidth, kHeight, 25, 3) &&
            writer.AddAudio(AV_CODEC_ID_WMAV2, 128000, Tune(1.0).InterleavedFloat()) && writer.Begin();
  std::vector<uint8_t> rgb(kWidth * kHeight * 3);
  for (int n = 0; ok && n < kFrames; ++n) {
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = uint8_t(i * 7 + n * 13);
    ok = writer.WriteVideoFrame(rgb.data());
  }
  ok = ok && writer.Finish();
  EXPECT_TRUE(ok) << writer.Error();
  return ok;
}

TEST(ContentMedia, VideoIsAsfWithWmv2PicturesAndWmaSound) {
  const fs::path first = TempFile("a.wmv"), second = TempFile("b.wmv");
  ASSERT_TRUE(WriteVideo(first));
  ASSERT_TRUE(WriteVideo(second));
  EXPECT_EQ(Bytes(first), Bytes(second));

  AVFormatContext* format = nullptr;
  ASSERT_EQ(avformat_open_input(&format, first.string().c_str(), nullptr, nullptr), 0);
  ASSERT_GE(avformat_find_stream_info(format, nullptr), 0);
  EXPECT_STREQ(format->iformat->name, "asf");
  ASSERT_EQ(format->nb_streams, 2u);
  const AVCodecParameters* video = format->streams[0]->codecpar;
  const AVCodecParameters* audio = format->streams[1]->codecpar;
  EXPECT_EQ(video->codec_id, AV_CODEC_ID_WMV2);
  EXPECT_EQ(video->width, 160);
  EXPECT_EQ(audio->codec_id, AV_CODEC_ID_WMAV2);
  EXPECT_EQ(audio->sample_rate, 44100);
  EXPECT_NEAR(double(format->duration) / AV_TIME_BASE, 1.0, 0.15);
  avformat_close_input(&format);
  fs::remove(first);
  fs::remove(second);
}

}  // namespace
