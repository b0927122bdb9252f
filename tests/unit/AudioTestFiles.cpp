#include "AudioTestFiles.h"

#include <sndfile.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <random>
#include <stdexcept>

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "virko-audio-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

Samples Sine(int frames, int channels, int rate, double hz, double amplitude) {
  Samples samples;
  for (int frame = 0; frame < frames; ++frame) {
    const double value = amplitude * 32767 * std::sin(2 * std::numbers::pi * hz * frame / rate);
    samples.insert(samples.end(), channels, int16_t(std::lround(value)));
  }
  return samples;
}

Samples Ramp(int frames, int channels, int first) {
  Samples samples;
  for (int frame = 0; frame < frames; ++frame)
    samples.insert(samples.end(), channels, int16_t(first + frame));
  return samples;
}

Samples LoudThenQuiet(int frames, int rate) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> noise(-16000, 16000);
  Samples samples;
  for (int frame = 0; frame < frames; ++frame) {
    for (int channel = 0; channel < 2; ++channel)
      samples.push_back(frame < rate ? int16_t(noise(random)) : int16_t(0));
  }
  return samples;
}

namespace {

SNDFILE* Create(const std::string& path, int format, int rate, int channels) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) throw std::runtime_error("cannot write " + path + ": " + sf_strerror(nullptr));
  return file;
}

void WriteAndClose(SNDFILE* file, int channels, const Samples& samples) {
  sf_writef_short(file, samples.data(), sf_count_t(samples.size() / channels));
  sf_close(file);
}

}  // namespace

void WriteSound(const std::string& path, int format, int rate, int channels,
                const Samples& samples, const std::vector<int>& channelMap) {
  SNDFILE* file = Create(path, format, rate, channels);
  if (!channelMap.empty()) {
    std::vector<int> map = channelMap;
    if (!sf_command(file, SFC_SET_CHANNEL_MAP_INFO, map.data(), int(map.size() * sizeof(int))))
      throw std::runtime_error("cannot give " + path + " its channel map");
  }
  WriteAndClose(file, channels, samples);
}

void WriteMp3(const std::string& path, int rate, int channels, const Samples& samples) {
  SNDFILE* file = Create(path, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, rate, channels);
  int mode = SF_BITRATE_MODE_VARIABLE;
  sf_command(file, SFC_SET_BITRATE_MODE, &mode, sizeof mode);
  WriteAndClose(file, channels, samples);
}

int64_t StripXingFrame(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  in.close();
  // MPEG-1 layer III header: bit rate and sample rate indexes, padding bit.
  constexpr std::array<int, 15> kKbps{0,   32,  40,  48,  56,  64,  80, 96,
                                      112, 128, 160, 192, 224, 256, 320};
  constexpr std::array<int, 3> kRates{44100, 48000, 32000};
  if (bytes.size() < 4 || bytes[0] != 0xFF || (bytes[1] & 0xFE) != 0xFA)
    throw std::runtime_error(path + " does not start with an MPEG-1 layer III frame");
  const int kbps = kKbps.at(bytes[2] >> 4);
  const int rate = kRates.at((bytes[2] >> 2) & 3);
  const size_t frameSize = size_t(144000 * kbps / rate + ((bytes[2] >> 1) & 1));
  const auto frameEnd = bytes.begin() + std::min(frameSize, bytes.size());
  const auto find = [&](const std::string& name) {
    return std::search(bytes.begin(), frameEnd, name.begin(), name.end());
  };
  auto tag = find("Xing");
  if (tag == frameEnd) tag = find("Info");
  if (tag == frameEnd || frameEnd - tag < 12 || !(tag[7] & 1))
    throw std::runtime_error(path + " has no Xing header with a frame count");
  const int64_t frames = int64_t(tag[8]) << 24 | tag[9] << 16 | tag[10] << 8 | tag[11];
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const size_t kept = size_t(frameEnd - bytes.begin());
  out.write(reinterpret_cast<const char*>(bytes.data() + kept), std::streamsize(bytes.size() - kept));
  return frames;
}

void CutEnd(const std::string& path, int64_t bytes) {
  const auto size = std::filesystem::file_size(path);
  if (bytes < 0 || uintmax_t(bytes) > size) throw std::runtime_error(path + " is too short to cut");
  std::filesystem::resize_file(path, size - uintmax_t(bytes));
}
