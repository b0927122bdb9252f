#include "audio/AudioDecoder.h"

#include <sys/stat.h>

#include <algorithm>
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

sf_count_t SeekFile(sf_count_t offset, int whence, void* file) {
  if (whence == SEEK_END) return -1;
  if (fseeko(static_cast<FILE*>(file), offset, whence) != 0) return -1;
  return ftello(static_cast<FILE*>(file));
}

sf_count_t ReadFile(void* data, sf_count_t bytes, void* file) {
  return sf_count_t(fread(data, 1, size_t(bytes), static_cast<FILE*>(file)));
}

sf_count_t TellFile(void* file) { return ftello(static_cast<FILE*>(file)); }

SF_VIRTUAL_IO fileReader = {FileLength, SeekFile, ReadFile, nullptr, TellFile};

constexpr int64_t kSkipFrames = 4096;
// Rates beyond this come only from broken headers (and would size buffers
// by them).
constexpr int kMaxRate = 384000;

}  // namespace

bool AudioDecoder::Open(const std::string& path) {
  Close();
  path_ = path;
  info_ = SF_INFO{};
  return OpenFile();
}

bool AudioDecoder::OpenFile() {
  file_ = fopen(path_.c_str(), "rb");
  if (!file_) return false;
  SF_INFO info{};
  sound_ = sf_open_virtual(&fileReader, SFM_READ, &info, file_);
  const bool firstOpen = info_.channels == 0;
  // Reopened to start over, the file must still hold the same kind of sound
  // (the caller's buffers are sized for it).
  const bool usable = sound_ && info.channels >= 1 && info.channels <= 2 && info.samplerate > 0 &&
                      info.samplerate <= kMaxRate &&
                      (firstOpen || (info.channels == info_.channels &&
                                     info.samplerate == info_.samplerate));
  if (!usable) {
    Close();
    return false;
  }
  info_ = info;
  frame_ = 0;
  ended_ = false;
  return true;
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
    const sf_count_t got =
        sound_ ? sf_readf_float(sound_, out + done * Channels(), frames - done) : 0;
    if (got <= 0)
      ended_ = true;
    else
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
