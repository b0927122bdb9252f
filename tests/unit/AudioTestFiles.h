// Sound files made on the spot for the audio tests, in a temporary folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::string Path(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Interleaved 16-bit samples.
using Samples = std::vector<int16_t>;

Samples Sine(int frames, int channels, int rate, double hz, double amplitude);
// Every channel counts up by one per frame from `first`: the sample value
// tells which frame of the file is heard.
Samples Ramp(int frames, int channels, int first);
// Stereo noise for the first second, then quiet: an MP3 encoder spends
// its highest bit rate first, so a length guessed from the first frame falls
// short.
Samples LoudThenQuiet(int frames, int rate);

// `format` is a libsndfile format (SF_FORMAT_WAV | SF_FORMAT_PCM_16, ...).
// A channel map (SF_CHANNEL_MAP_LEFT, ...) is written into formats that
// keep one (SF_FORMAT_WAVEX).
void WriteSound(const std::string& path, int format, int rate, int channels,
                const Samples& samples, const std::vector<int>& channelMap = {});
// MP3 (MPEG-1 layer III) at variable bit rate with the encoder's Xing header.
void WriteMp3(const std::string& path, int rate, int channels, const Samples& samples);
// Removes the Xing header frame from an MP3 file made by WriteMp3 and returns
// the number of audio frames it announced (each 1152 samples per channel).
int64_t StripXingFrame(const std::string& path);
// Cuts the last `bytes` bytes off a file, as a copy or download broken off
// would.
void CutEnd(const std::string& path, int64_t bytes);
