// Decoding of sound files (WAV, MP3 and the other formats libsndfile reads)
// into floating-point frames, read front to back. Mono and stereo files come
// out as they are; files of more channels (5.1, quadraphonic, ...) mixed
// down to stereo.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <cstdio>
#include <stop_token>
#include <string>
#include <vector>

class AudioDecoder {
 public:
  AudioDecoder() = default;
  AudioDecoder(const AudioDecoder&) = delete;
  AudioDecoder& operator=(const AudioDecoder&) = delete;
  ~AudioDecoder() { Close(); }

  // False if the file cannot be read or is not a sound at a sample rate up
  // to 384 kHz.
  bool Open(const std::string& path);
  // Of the frames Read gives: 1 or 2.
  int Channels() const { return mix_.empty() ? info_.channels : 2; }
  int Rate() const { return info_.samplerate; }
  // The frame count the file's header gives, or -1 where a header cannot be
  // trusted (MP3: a missing or wrong Xing header) and only decoding the whole
  // file tells.
  int64_t HeaderFrames() const;
  // Decodes up to `frames` frames into out (frames x Channels() samples) and
  // returns how many it decoded; 0 at the end of the stream. The frames are
  // the same however the stream is cut into reads.
  int64_t Read(float* out, int64_t frames);
  // Moves to `frame`, or to the end if the stream is shorter; returns the
  // frame it reached.
  int64_t Seek(int64_t frame);

 private:
  bool OpenFile();
  void Close();
  bool IsMpeg() const;
  void PlanMixDown();
  void MixDown(const float* in, int64_t frames, float* out) const;

  std::string path_;
  FILE* file_ = nullptr;
  SNDFILE* sound_ = nullptr;
  SF_INFO info_{};
  // Files of more than two channels: each channel's gain into the left and
  // the right (left, right, left, right, ...), and their frames as read.
  std::vector<float> mix_;
  std::vector<float> unmixed_;
  int64_t frame_ = 0;  // the frame the next Read starts with
  bool ended_ = false;
};

// Decodes the whole file to count its frames: 0 for a file that cannot be
// decoded, -1 when stopped early.
int64_t CountFrames(const std::string& path, std::stop_token stop);
