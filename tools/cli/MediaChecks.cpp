#include "tools/cli/MediaChecks.h"

#include <vector>

#include "audio/AudioDecoder.h"
#include "platform/Files.h"
#include "platform/MediaPlayer.h"

namespace {

constexpr int64_t kFrameMs = 10;
// A video still playing after two hours of clock never ends.
constexpr int64_t kGiveUpMs = 2 * 3600 * 1000;
constexpr int64_t kReadFrames = 4096;

int64_t steppedNow = 0;
int64_t SteppedClock() { return steppedNow; }

}  // namespace

std::optional<std::string> SoundProblem(const std::string& file, int64_t* frames) {
  AudioDecoder decoder;
  if (!decoder.Open(*ResolvePath(file))) return "not a sound the game can decode";
  std::vector<float> samples(size_t(kReadFrames) * decoder.Channels());
  int64_t decoded = decoder.Read(samples.data(), kReadFrames);
  if (decoded == 0) return "holds no sound";
  if (frames) {
    while (const int64_t got = decoder.Read(samples.data(), kReadFrames)) decoded += got;
    *frames = decoded;
  }
  return std::nullopt;
}

VideoPlay PlayVideoToEnd(const std::string& file) {
  VideoPlay play;
  steppedNow = 0;
  SetMediaClock(SteppedClock);
  cMediaPlayer player;
  player.fileName = file;
  player.Open();
  player.Play();
  // Stepped as the frame loop and StopVideoAtEnd step and test it.
  while (steppedNow < kGiveUpMs) {
    if (player.Position() > player.Length() - 10) {
      play.endedMs = steppedNow;
      break;
    }
    steppedNow += kFrameMs;
    player.Frame();
    if (player.FramesDecoded() != play.pictures) {
      play.pictures = player.FramesDecoded();
      play.lastPictureMs = steppedNow;
    }
  }
  player.Stop();
  SetMediaClock(nullptr);
  return play;
}
