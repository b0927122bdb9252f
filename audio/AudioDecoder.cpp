#include "audio/AudioDecoder.h"

#include <sys/stat.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// libsndfile reads the file through these callbacks, which keep the file's
// end to themselves: told where the file ends, the MP3 decoder estimates the
// length from the size and the first frame's bit rate and stops reading
// there, which cuts files without a Xing header short (or leaves a few
// hundred frames that never come). Not told, it decodes every frame there is.
sf_count_t FileLength(void* file) {
  struct stat status {};
  return fstat(fileno(static_cast<FILE*>(file)), &status) == 0 ? status.st_size : -1;
}

template <bool kEndKnown>
sf_count_t SeekFile(sf_count_t offset, int whence, void* file) {
  if (whence == SEEK_END && !kEndKnown) return -1;
  if (fseeko(static_cast<FILE*>(file), offset, whence) != 0) return -1;
  return ftello(static_cast<FILE*>(file));
}

sf_count_t ReadFile(void* data, sf_count_t bytes, void* file) {
  return sf_count_t(fread(data, 1, size_t(bytes), static_cast<FILE*>(file)));
}

sf_count_t TellFile(void* file) { return ftello(static_cast<FILE*>(file)); }

SF_VIRTUAL_IO fileReader = {FileLength, SeekFile<false>, ReadFile, nullptr, TellFile};
// Free-format MP3 (frames of a size no header gives) is decoded only from a
// file whose end the decoder knows: it finds the frame size by reading ahead
// and seeking back. Its frames are all of one size, so the length it
// estimates from the file's size holds.
SF_VIRTUAL_IO freeFormatReader = {FileLength, SeekFile<true>, ReadFile, nullptr, TellFile};

constexpr size_t kId3HeaderSize = 10;
constexpr size_t kFrameSearchBytes = 4096;

// Whether the first MPEG audio frame header, after an ID3v2 tag, gives no
// bit rate (free format). Leaves the file at its start.
bool IsFreeFormatMpeg(FILE* file) {
  unsigned char id3[kId3HeaderSize] = {};
  long start = 0;
  if (fread(id3, 1, sizeof id3, file) == sizeof id3 && id3[0] == 'I' && id3[1] == 'D' &&
      id3[2] == '3') {
    // The size is 7 bits a byte; a footer as long as the header may follow.
    start = long(kId3HeaderSize) + ((long(id3[6] & 0x7f) << 21) | (long(id3[7] & 0x7f) << 14) |
                                    (long(id3[8] & 0x7f) << 7) | long(id3[9] & 0x7f));
    if (id3[5] & 0x10) start += long(kId3HeaderSize);
  }
  std::vector<unsigned char> bytes(kFrameSearchBytes);
  size_t got = 0;
  if (fseek(file, start, SEEK_SET) == 0) got = fread(bytes.data(), 1, bytes.size(), file);
  rewind(file);
  for (size_t i = 0; i + 3 < got; ++i) {
    const unsigned char b1 = bytes[i + 1];
    const unsigned char b2 = bytes[i + 2];
    const bool header = bytes[i] == 0xff && (b1 & 0xe0) == 0xe0 && ((b1 >> 3) & 3) != 1 &&
                        ((b1 >> 1) & 3) != 0 && (b2 >> 4) != 15 && ((b2 >> 2) & 3) != 3;
    if (header) return (b2 >> 4) == 0;
  }
  return false;
}

constexpr int64_t kSkipFrames = 4096;
// Rates beyond this come only from broken headers (and would size buffers
// by them).
constexpr int kMaxRate = 384000;
// Frames of a file of more than two channels read at a time to be mixed.
constexpr int64_t kMixFrames = 1024;

// Where a channel is heard once mixed down to stereo: its gains into the left
// and the right. Front channels go to their side whole, the others 3 dB down
// (half the power), to one side or to both. The low-frequency effects
// channel only doubles the bass of the others and is left out, as stereo
// mix-downs usually do.
std::pair<float, float> GainsOf(int place) {
  constexpr float kHalfPower = 0.70710678f;
  switch (place) {
    case SF_CHANNEL_MAP_LEFT:
    case SF_CHANNEL_MAP_FRONT_LEFT:
    case SF_CHANNEL_MAP_FRONT_LEFT_OF_CENTER:
      return {1.0f, 0.0f};
    case SF_CHANNEL_MAP_RIGHT:
    case SF_CHANNEL_MAP_FRONT_RIGHT:
    case SF_CHANNEL_MAP_FRONT_RIGHT_OF_CENTER:
      return {0.0f, 1.0f};
    case SF_CHANNEL_MAP_REAR_LEFT:
    case SF_CHANNEL_MAP_SIDE_LEFT:
    case SF_CHANNEL_MAP_TOP_FRONT_LEFT:
    case SF_CHANNEL_MAP_TOP_REAR_LEFT:
      return {kHalfPower, 0.0f};
    case SF_CHANNEL_MAP_REAR_RIGHT:
    case SF_CHANNEL_MAP_SIDE_RIGHT:
    case SF_CHANNEL_MAP_TOP_FRONT_RIGHT:
    case SF_CHANNEL_MAP_TOP_REAR_RIGHT:
      return {0.0f, kHalfPower};
    case SF_CHANNEL_MAP_LFE:
    // Ambisonic B-format: the first channel (W) is the whole sound field.
    case SF_CHANNEL_MAP_AMBISONIC_B_X:
    case SF_CHANNEL_MAP_AMBISONIC_B_Y:
    case SF_CHANNEL_MAP_AMBISONIC_B_Z:
      return {0.0f, 0.0f};
    default:  // centres, and channels the file gives no place
      return {kHalfPower, kHalfPower};
  }
}

// The places of a file's channels where the file does not give them: WAV's
// order (front left, front right, centre, low-frequency effects, back left,
// back right, ...) in the layouts used for each count, four channels being
// quadraphonic. Channels beyond the eighth have no place.
std::vector<int> UsualPlaces(int channels) {
  enum : int {
    FL = SF_CHANNEL_MAP_FRONT_LEFT,
    FR = SF_CHANNEL_MAP_FRONT_RIGHT,
    FC = SF_CHANNEL_MAP_FRONT_CENTER,
    LFE = SF_CHANNEL_MAP_LFE,
    BL = SF_CHANNEL_MAP_REAR_LEFT,
    BR = SF_CHANNEL_MAP_REAR_RIGHT,
    BC = SF_CHANNEL_MAP_REAR_CENTER,
    SL = SF_CHANNEL_MAP_SIDE_LEFT,
    SR = SF_CHANNEL_MAP_SIDE_RIGHT,
  };
  switch (channels) {
    case 3: return {FL, FR, FC};
    case 4: return {FL, FR, BL, BR};
    case 5: return {FL, FR, FC, BL, BR};
    case 6: return {FL, FR, FC, LFE, BL, BR};
    case 7: return {FL, FR, FC, LFE, BC, SL, SR};
    case 8: return {FL, FR, FC, LFE, BL, BR, SL, SR};
  }
  std::vector<int> places = UsualPlaces(8);
  places.resize(size_t(channels), SF_CHANNEL_MAP_INVALID);
  return places;
}

}  // namespace

bool AudioDecoder::Open(const std::string& path) {
  Close();
  path_ = path;
  info_ = SF_INFO{};
  mix_.clear();
  unmixed_.clear();
  return OpenFile();
}

bool AudioDecoder::OpenFile() {
  file_ = fopen(path_.c_str(), "rb");
  if (!file_) return false;
  SF_INFO info{};
  sound_ = sf_open_virtual(IsFreeFormatMpeg(file_) ? &freeFormatReader : &fileReader, SFM_READ,
                           &info, file_);
  const bool firstOpen = info_.channels == 0;
  // Reopened to start over, the file must still hold the same kind of sound
  // (the caller's buffers are sized for it).
  const bool usable = sound_ && info.channels >= 1 && info.samplerate > 0 &&
                      info.samplerate <= kMaxRate &&
                      (firstOpen || (info.channels == info_.channels &&
                                     info.samplerate == info_.samplerate));
  if (!usable) {
    Close();
    return false;
  }
  info_ = info;
  if (firstOpen) PlanMixDown();
  frame_ = 0;
  ended_ = false;
  return true;
}

void AudioDecoder::PlanMixDown() {
  if (info_.channels <= 2) return;
  std::vector<int> places(size_t(info_.channels));
  if (!sf_command(sound_, SFC_GET_CHANNEL_MAP_INFO, places.data(),
                  int(places.size() * sizeof(int))))
    places = UsualPlaces(info_.channels);
  float left = 0;
  float right = 0;
  for (const int place : places) {
    const auto [toLeft, toRight] = GainsOf(place);
    mix_.insert(mix_.end(), {toLeft, toRight});
    left += toLeft;
    right += toRight;
  }
  // Scaled so that a sound in every channel is as loud in the mix: nothing
  // goes beyond full scale.
  const float loudest = std::max(left, right);
  for (float& gain : mix_) gain = loudest > 0 ? gain / loudest : 0.0f;
  unmixed_.resize(size_t(kMixFrames * info_.channels));
}

void AudioDecoder::MixDown(const float* in, int64_t frames, float* out) const {
  const size_t channels = size_t(info_.channels);
  for (int64_t frame = 0; frame < frames; ++frame, in += channels, out += 2) {
    float left = 0;
    float right = 0;
    for (size_t channel = 0; channel < channels; ++channel) {
      left += in[channel] * mix_[2 * channel];
      right += in[channel] * mix_[2 * channel + 1];
    }
    out[0] = left;
    out[1] = right;
  }
}

void AudioDecoder::Close() {
  if (sound_) sf_close(sound_);
  if (file_) fclose(file_);
  sound_ = nullptr;
  file_ = nullptr;
}

bool AudioDecoder::IsMpeg() const { return (info_.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG; }

int64_t AudioDecoder::HeaderFrames() const {
  if (IsMpeg() || info_.frames == SF_COUNT_MAX) return -1;
  return info_.frames;
}

int64_t AudioDecoder::Read(float* out, int64_t frames) {
  int64_t done = 0;
  while (!ended_ && done < frames) {
    // libsndfile's MP3 reader returns nothing from a read that runs into a
    // broken MP3 frame (the last one of a file cut short), dropping all it
    // decoded before it. Read one sample frame at a time (the calls cost
    // next to nothing beside the decoding), an MP3 file gives all its sound
    // up to the broken frame however the callers cut their reads: the count
    // of its length and its playback end together.
    int64_t step = IsMpeg() ? 1 : frames - done;
    float* into = out + done * Channels();
    if (!mix_.empty()) {
      step = std::min(step, kMixFrames);
      into = unmixed_.data();
    }
    const sf_count_t got = sound_ ? sf_readf_float(sound_, into, step) : 0;
    if (got <= 0) {
      ended_ = true;
      break;
    }
    if (!mix_.empty()) MixDown(into, got, out + done * Channels());
    done += got;
  }
  frame_ += done;
  return done;
}

int64_t AudioDecoder::Seek(int64_t frame) {
  frame = std::max<int64_t>(frame, 0);
  if (sound_ && !IsMpeg()) {
    const sf_count_t reached = sf_seek(sound_, std::min<int64_t>(frame, info_.frames), SEEK_SET);
    if (reached >= 0) {
      frame_ = reached;
      ended_ = false;
      return frame_;
    }
  }
  // MP3 seeks land near the frame, not on it: start over and decode up to it.
  if (frame < frame_ || !sound_) {
    Close();
    if (!OpenFile()) {
      frame_ = 0;
      ended_ = true;
      return frame_;
    }
  }
  std::vector<float> skipped(size_t(kSkipFrames * Channels()));
  while (frame_ < frame && Read(skipped.data(), std::min(kSkipFrames, frame - frame_)) > 0) {
  }
  return frame_;
}

int64_t CountFrames(const std::string& path, std::stop_token stop) {
  AudioDecoder decoder;
  if (!decoder.Open(path)) return 0;
  std::vector<float> samples(size_t(kSkipFrames * decoder.Channels()));
  int64_t frames = 0;
  while (const int64_t got = decoder.Read(samples.data(), kSkipFrames)) {
    if (stop.stop_requested()) return -1;
    frames += got;
  }
  return frames;
}
