// Decoding of sound files (WAV, MP3 and the other formats libsndfile reads)
// into floating-point frames, read front to back.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <cstdio>
#include <stop_token>
#include <string>

class AudioDecoder {
 public:
  AudioDecoder() = default;
  AudioDecoder(const AudioDecoder&) = delete;
  AudioDecoder& operator=(const AudioDecoder&) = delete;
  ~AudioDecoder() { Close(); }

  // False if the file cannot be read or is not a mono or stereo sound at a
  // sample rate up to 384 kHz.
  bool Open(const std::string& path);
  int Channels() const { return info_.channels; }
  int Rate() const { return info_.samplerate; }
  // The frame count the file's header gives, or -1 where a header cannot be
  // trusted (MP3: a missing or wrong Xing header) and only decoding the whole
  // file tells.
  int64_t HeaderFrames() const;
  // Decodes up to `frames` frames into out (frames x channels samples) and
  // returns how many it decoded; 0 at the end of the stream.
  int64_t Read(float* out, int64_t frames);
  // Moves to `frame`, or to the end if the stream is shorter; returns the
  // frame it reached.
  int64_t Seek(int64_t frame);

 private:
  bool OpenFile();
  void Close();
  bool IsMpeg() const;

  std::string path_;
  FILE* file_ = nullptr;
  SNDFILE* sound_ = nullptr;
  SF_INFO info_{};
  int64_t frame_ = 0;  // the frame the next Read starts with
  bool ended_ = false;
};

// Decodes the whole file to count its frames: 0 for a file that cannot be
// decoded, -1 when stopped early.
int64_t CountFrames(const std::string& path, std::stop_token stop);
