// The media player: the clock, the picture on screen and the sound stream of
// a video; the decoding is the video module's. The file is decoded on the
// caller's thread: every frame decodes the pictures that have come due by the
// player's clock (at most a few, so a late frame catches up without stalling
// the game), and the sound read on the way goes to an audio push stream. The
// clock is the wall clock from Play. The video ends with the last picture or
// sound read, whatever length its header gives. The module is loaded by Open
// and unloaded once the video ends or stops.
#include "platform/MediaPlayer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "audio/AudioLibrary.h"
#include "gfx/Fit.h"
#include "gfx/RenderVideo.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/SkipKeys.h"
#include "platform/VideoDecoder.h"
#include "platform/VideoTimeline.h"

cMediaPlayer MediaPlayer1;
bool panelVisible;

namespace {

// A video file's decoder, with the module loaded and the file opened, or
// why there is none.
struct tOpenedVideo {
  VideoDecoderPtr decoder;
  std::string error;
};

tOpenedVideo OpenVideoFile(const std::string& path) {
  tOpenedVideo opened;
  opened.decoder = LoadVideoDecoder(opened.error);
  if (opened.decoder && !opened.decoder->Open(path, opened.error)) opened.decoder.reset();
  return opened;
}

// The one video opened ahead, on a thread of its own.
struct tPreparedVideo {
  std::string gamePath;
  std::future<tOpenedVideo> opening;
};
std::optional<tPreparedVideo> preparedVideo;

// The decoder opened ahead for the file if there is one (waiting for it if
// still opening), else the file opened now.
tOpenedVideo TakeOpenedVideo(const std::string& gamePath) {
  if (preparedVideo && preparedVideo->gamePath == gamePath) {
    tOpenedVideo opened = preparedVideo->opening.get();
    preparedVideo.reset();
    return opened;
  }
  return OpenVideoFile(*ResolvePath(gamePath));
}

constexpr int kMaxPicturesPerFrame = 4;     // decoded per call while catching up
constexpr int kMaxPacketsPerPicture = 256;  // read per picture before giving the frame back
constexpr int kMaxPacketsToFirstPicture = 4096;
constexpr int kSoundRate = 44100;
constexpr int64_t kUnknownLength = std::numeric_limits<int64_t>::max() / 4;
// Until the last picture has been read the length is not known: it is given
// at least this far beyond the position, so the video is not taken as ended.
constexpr int64_t kLengthAheadMs = 1000;
// A header's length further than this from the real end is told.
constexpr int64_t kLengthToleranceMs = 1000;
const char* const kVideoErrorCaption = "Video File Error";

MediaClock mediaClock = nullptr;

int64_t NowMs() {
  if (mediaClock) return mediaClock();
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

void SetMediaClock(MediaClock clock) { mediaClock = clock; }

struct cMediaPlayer::Playback : cVideoSoundSink {
  enum class State { Failed, Ready, Playing, Ended, Stopped };
  State state = State::Failed;
  int64_t lengthMs = 0;  // the header's, until the end is known
  int64_t headerLengthMs = -1;  // -1 when the header does not say
  int64_t startMs = 0;  // clock reading at Play
  int64_t stoppedAtMs = 0;
  int64_t framesDecoded = 0;

  std::string name;  // the file as the game names it, for the lines on stderr
  VideoDecoderPtr decoder;
  cVideoTimeline timeline{0};
  bool haveNext = false;  // a picture decoded ahead
  int64_t nextMs = 0;
  bool videoEnded = false;  // the last picture has been read: lengthMs is the end

  std::vector<uint8_t> rgba;
  TRect pictureRect{};  // where the picture is shown
  int texelsWide = 0;   // the picture's size in the texture
  int texelsHigh = 0;
  VideoTexture texture;
  bool havePicture = false;

  AudioPcmStream* sound = nullptr;

  ~Playback() override {
    FreeDecoding();
    RenderDeleteVideoTexture(texture);
  }

  int64_t Elapsed() const { return NowMs() - startMs; }

  int64_t Length() const {
    if (state != State::Playing || videoEnded) return lengthMs;
    return std::max(lengthMs, Elapsed() + kLengthAheadMs);
  }

  int64_t Position() const {
    switch (state) {
      case State::Playing:
        return std::clamp<int64_t>(Elapsed(), 0, Length());
      case State::Ended:
        return lengthMs;
      case State::Stopped:
        return stoppedAtMs;
      default:
        return 0;
    }
  }

  // Sound that is already late (the game stalled) is left out, so that the
  // sound keeps to the pictures.
  bool Wants(int64_t endMs) override {
    const int64_t clockEndMs = timeline.Sound(endMs);
    return state != State::Playing || clockEndMs >= Elapsed();
  }
  void Push(const int16_t* pcm, int frames) override { AudioPcmStreamPush(sound, pcm, frames); }

  bool Open(const std::string& gamePath, const TRect& area, std::string& error);
  void Play();
  void Advance();
  void Finish();
  void FreeDecoding();

 private:
  void OpenSound();
  bool DecodePicture(int packetBudget);
  void ShowDuePicture();
  void TellDamage() const;
};

bool cMediaPlayer::Playback::Open(const std::string& gamePath, const TRect& area,
                                  std::string& error) {
  if (!FileExists(gamePath)) {
    error = "no such file";
    return false;
  }
  tOpenedVideo opened = TakeOpenedVideo(gamePath);
  decoder = std::move(opened.decoder);
  if (!decoder) {
    error = opened.error;
    return false;
  }
  OpenSound();
  const tVideoInfo info = decoder->Info();
  if (!info.otherSound.empty())
    std::fprintf(stderr, "virko: %s plays without sound: its sound is %s, not WMA\n",
                 RealPath(gamePath).c_str(), info.otherSound.c_str());
  pictureRect = FitPicture(info.width, info.height, info.pixelAspect, area);
  // The texture holds the picture as it is, or shrunk to its place when it
  // is larger; the drawing stretches it.
  const bool fits = info.width <= pictureRect.width && info.height <= pictureRect.height;
  texelsWide = fits ? info.width : pictureRect.width;
  texelsHigh = fits ? info.height : pictureRect.height;
  headerLengthMs = info.lengthMs;
  lengthMs = info.lengthMs >= 0 ? info.lengthMs : kUnknownLength;
  timeline = cVideoTimeline(info.frameStepMs);
  // A file whose first picture cannot be decoded counts as unplayable.
  if (!DecodePicture(kMaxPacketsToFirstPicture)) {
    error = "no picture could be decoded";
    return false;
  }
  state = State::Ready;
  return true;
}

// The sound is optional: with sound in another format the video plays
// silently. Without a device it is still decoded, for the video's end.
void cMediaPlayer::Playback::OpenSound() {
  if (!decoder->HasSound()) return;
  if (decoder->OpenSound(this)) sound = AudioPcmStreamCreate(kSoundRate, 2);
}

void cMediaPlayer::Playback::Play() {
  startMs = NowMs();
  state = State::Playing;
  WatchSkipKeys();
  AudioPcmStreamPlay(sound);
}

// Decodes the next picture ahead. False at the end of the pictures, or when
// this frame's share of reading is used up (then the next call goes on).
bool cMediaPlayer::Playback::DecodePicture(int packetBudget) {
  switch (decoder->DecodeNext(packetBudget, nextMs)) {
    case cVideoDecoder::Picture::decoded:
      nextMs = timeline.Picture(nextMs);
      haveNext = true;
      ++framesDecoded;
      return true;
    case cVideoDecoder::Picture::ended:
      videoEnded = true;
      lengthMs = timeline.End();
      if (framesDecoded > 0) TellDamage();  // a file without pictures is refused instead
      return false;
    case cVideoDecoder::Picture::later:
      return false;
  }
  return false;
}

void cMediaPlayer::Playback::Advance() {
  const int64_t now = Elapsed();
  bool newPicture = false;
  for (int decoded = 0;;) {
    if (!haveNext) {
      if (videoEnded || decoded == kMaxPicturesPerFrame || !DecodePicture(kMaxPacketsPerPicture))
        break;
      ++decoded;
    }
    if (nextMs > now) break;
    decoder->ShowNext();
    haveNext = false;
    newPicture = true;
  }
  if (newPicture) ShowDuePicture();
}

// Converts the due picture to RGBA at the size it is shown and uploads it.
void cMediaPlayer::Playback::ShowDuePicture() {
  rgba.resize(size_t(texelsWide) * texelsHigh * 4);
  if (!decoder->ConvertShown(texelsWide, texelsHigh, rgba.data())) return;
  if (texture.name == 0) texture = RenderCreateVideoTexture(texelsWide, texelsHigh);
  RenderUpdateVideoTexture(texture, texelsWide, texelsHigh, rgba.data());
  havePicture = true;
}

void cMediaPlayer::Playback::Finish() {
  state = State::Ended;
  FreeDecoding();
}

// A video that plays other than its file says is told on stderr once its
// end is known: the content wants mending even though the game gets past it.
void cMediaPlayer::Playback::TellDamage() const {
  const std::string file = RealPath(name);
  if (timeline.Jumps() > 0)
    std::fprintf(stderr,
                 "virko: %s: its pictures' times jump far %d time(s), %lld ms left out in all\n",
                 file.c_str(), timeline.Jumps(), static_cast<long long>(timeline.SkippedMs()));
  if (timeline.StraySounds() > 0)
    std::fprintf(stderr, "virko: %s: %d sound frame(s) timed far beyond its pictures\n",
                 file.c_str(), timeline.StraySounds());
  if (headerLengthMs >= 0 && std::abs(headerLengthMs - lengthMs) > kLengthToleranceMs)
    std::fprintf(stderr, "virko: %s: ends at %lld ms, its header says %lld ms\n", file.c_str(),
                 static_cast<long long>(lengthMs), static_cast<long long>(headerLengthMs));
}

// Frees the decoder, its module and the sound; the last picture stays.
void cMediaPlayer::Playback::FreeDecoding() {
  AudioPcmStreamFree(sound);
  sound = nullptr;
  decoder.reset();
  haveNext = false;
  rgba = {};
}

cMediaPlayer::cMediaPlayer() = default;
cMediaPlayer::~cMediaPlayer() = default;
cMediaPlayer::cMediaPlayer(cMediaPlayer&&) noexcept = default;
cMediaPlayer& cMediaPlayer::operator=(cMediaPlayer&&) noexcept = default;

void cMediaPlayer::Open() {
  playback = std::make_unique<Playback>();
  playback->name = fileName;
  std::string error;
  if (playback->Open(fileName, displayRect, error)) return;
  std::fprintf(stderr, "virko: cannot play %s: %s\n", RealPath(fileName).c_str(), error.c_str());
  playback->FreeDecoding();
  playback->state = Playback::State::Failed;
  playback->lengthMs = 0;
  // A missing video is passed over quietly; one that is there but cannot be
  // played is told, as a picture that cannot be read is.
  if (FileExists(fileName))
    ShowMessageBox(kVideoErrorCaption,
                   "Couldn't play video \"" + fileName + "\": " + error + ".");
}

void cMediaPlayer::Play() {
  if (playback && playback->state == Playback::State::Ready) playback->Play();
}

void cMediaPlayer::Stop() {
  if (!playback) return;
  playback->stoppedAtMs = playback->Position();
  playback->state = playback->state == Playback::State::Failed ? Playback::State::Failed
                                                               : Playback::State::Stopped;
  playback->FreeDecoding();
  RenderDeleteVideoTexture(playback->texture);
  playback->havePicture = false;
}

int64_t cMediaPlayer::Position() const { return playback ? playback->Position() : 0; }

int64_t cMediaPlayer::Length() const { return playback ? playback->Length() : 0; }

int64_t cMediaPlayer::FramesDecoded() const { return playback ? playback->framesDecoded : 0; }

void cMediaPlayer::Frame() {
  if (playback && playback->state == Playback::State::Playing) {
    Playback& p = *playback;
    if (SkipKeyPressed()) {
      p.Finish();
    } else {
      p.Advance();
      if (p.videoEnded && p.Elapsed() >= p.lengthMs) p.Finish();
    }
    AudioPcmStreamSetVolume(p.sound, game.musicVolume);
  }
  if (!panelVisible) return;
  if (playback && playback->havePicture)
    RenderDrawVideo(playback->texture, playback->texelsWide, playback->texelsHigh, displayRect,
                    playback->pictureRect);
  else
    RenderDrawVideo(VideoTexture{}, 0, 0, displayRect, displayRect);
}

void PrepareVideo(const std::string& gamePath) {
  if (preparedVideo) return;
  const std::optional<std::string> path = ResolvePath(gamePath);
  if (!path) return;  // Open tells of it, as it does unprepared
  preparedVideo = tPreparedVideo{gamePath, std::async(std::launch::async, OpenVideoFile, *path)};
}

void DropPreparedVideo() { preparedVideo.reset(); }

void StartVideo(const char* fileName) {
  panelVisible = true;
  videoRect = TRect{0, 0, 800, 600};
  MediaPlayer1.enabled = true;
  MediaPlayer1.fileName = fileName;
  MediaPlayer1.Open();
  MediaPlayer1.displayRect = videoRect;
  MediaPlayer1.Play();
}

bool StopVideoAtEnd() {
  if (!MediaPlayer1.enabled || MediaPlayer1.Position() <= MediaPlayer1.Length() - 10) return false;
  MediaPlayer1.Stop();
  MediaPlayer1.enabled = false;
  panelVisible = false;
  return true;
}
