// The media player on FFmpeg. A video is read packet by packet on the
// caller's thread: every frame decodes the pictures that have come due by
// the player's clock (at most a few, so a late frame catches up without
// stalling the game) and the sound that lies between them in the file,
// which goes to an audio push stream. The clock is the wall clock from Play;
// the sound is pushed as it is read, close enough to its picture for a
// file whose streams are interleaved as ASF files are.
#include "platform/MediaPlayer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <optional>
#include <vector>

#include "audio/AudioLibrary.h"
#include "gfx/RenderVideo.h"
#include "platform/Files.h"
#include "platform/SkipKeys.h"

cMediaPlayer MediaPlayer1;
bool panelVisible;

namespace {

constexpr int kMaxPicturesPerFrame = 4;     // decoded per call while catching up
constexpr int kMaxPacketsPerPicture = 256;  // read per picture before giving the frame back
constexpr int kMaxPacketsToFirstPicture = 4096;
constexpr int kMaxBadPackets = 64;          // decoding errors in a row that end the video
constexpr int kSoundRate = 44100;
constexpr int64_t kUnknownLength = std::numeric_limits<int64_t>::max() / 4;

MediaClock mediaClock = nullptr;

int64_t NowMs() {
  if (mediaClock) return mediaClock();
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool IsWmvVideo(AVCodecID id) {
  return id == AV_CODEC_ID_WMV1 || id == AV_CODEC_ID_WMV2 || id == AV_CODEC_ID_WMV3 ||
         id == AV_CODEC_ID_VC1;
}

bool IsWmaSound(AVCodecID id) {
  return id == AV_CODEC_ID_WMAV1 || id == AV_CODEC_ID_WMAV2 || id == AV_CODEC_ID_WMAPRO;
}

std::string ErrorText(int error) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(error, text, sizeof text);
  return text;
}

// A decoder for one stream of the file, or null (with the reason in error).
AVCodecContext* OpenDecoder(const AVStream* stream, std::string& error) {
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  if (!codec) {
    error = "no decoder for its stream";
    return nullptr;
  }
  AVCodecContext* context = avcodec_alloc_context3(codec);
  int result = context ? avcodec_parameters_to_context(context, stream->codecpar)
                       : AVERROR(ENOMEM);
  if (result >= 0) {
    context->pkt_timebase = stream->time_base;
    result = avcodec_open2(context, codec, nullptr);
  }
  if (result < 0) {
    error = ErrorText(result);
    avcodec_free_context(&context);
  }
  return context;
}

}  // namespace

TRect FitPicture(int width, int height, double pixelAspect, const TRect& area) {
  if (width <= 0 || height <= 0 || area.width <= 0 || area.height <= 0) return area;
  if (!(pixelAspect > 0)) pixelAspect = 1;
  const double aspect = width * pixelAspect / height;
  int w = area.width, h = area.height;
  if (aspect > double(area.width) / area.height)
    h = std::max(1, int(area.width / aspect + 0.5));
  else
    w = std::max(1, int(area.height * aspect + 0.5));
  return TRect{area.left + (area.width - w) / 2, area.top + (area.height - h) / 2, w, h};
}

void SetMediaClock(MediaClock clock) { mediaClock = clock; }

struct cMediaPlayer::Playback {
  enum class State { Failed, Ready, Playing, Ended, Stopped };
  State state = State::Failed;
  int64_t lengthMs = 0;
  int64_t startMs = 0;     // clock reading at Play
  int64_t stoppedAtMs = 0;
  int64_t framesDecoded = 0;

  AVFormatContext* format = nullptr;
  int64_t zeroMs = 0;  // the file's start time: position 0
  int videoIndex = -1;
  int audioIndex = -1;
  AVCodecContext* video = nullptr;
  AVCodecContext* audio = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* next = nullptr;  // the next picture, decoded ahead
  AVFrame* due = nullptr;   // the picture to show
  AVFrame* soundFrame = nullptr;
  bool haveNext = false;
  int64_t nextMs = 0;
  int64_t frameStepMs = 40;  // one picture's duration, for pictures without a time
  int64_t lastPictureMs = -1;
  int64_t endMs = 0;  // end of the last picture or sound read
  bool demuxEnded = false;
  bool videoEnded = false;
  int badPackets = 0;

  SwsContext* scaler = nullptr;
  std::vector<uint8_t> rgba;
  TRect pictureRect{};  // where the picture is shown
  int texelsWide = 0;   // the picture's size in the texture
  int texelsHigh = 0;
  VideoTexture texture;
  bool havePicture = false;

  SwrContext* resampler = nullptr;
  int resamplerRate = 0;
  int resamplerFormat = -1;
  int resamplerChannels = 0;
  std::vector<int16_t> pcm;
  AudioPcmStream* sound = nullptr;

  ~Playback() {
    FreeDecoding();
    RenderDeleteVideoTexture(texture);
  }

  int64_t Elapsed() const { return NowMs() - startMs; }

  int64_t Position() const {
    switch (state) {
      case State::Playing:
        return std::clamp<int64_t>(Elapsed(), 0, lengthMs);
      case State::Ended:
        return lengthMs;
      case State::Stopped:
        return stoppedAtMs;
      default:
        return 0;
    }
  }

  bool Open(const std::string& gamePath, const TRect& area, std::string& error);
  void Play();
  void Advance();
  void Finish();
  void FreeDecoding();

 private:
  bool OpenStreams(std::string& error);
  void OpenSound();
  bool DecodePicture(int packetBudget);
  void EndPictures();
  void ReadPacket();
  void DrainSound();
  void PushSound(const AVFrame* frame);
  int64_t TimeMs(int64_t timestamp, AVRational timeBase) const;
  void ShowDuePicture();
};

int64_t cMediaPlayer::Playback::TimeMs(int64_t timestamp, AVRational timeBase) const {
  return av_rescale_q(timestamp, timeBase, AVRational{1, 1000}) - zeroMs;
}

bool cMediaPlayer::Playback::Open(const std::string& gamePath, const TRect& area,
                                  std::string& error) {
  if (!FileExists(gamePath)) {
    error = "no such file";
    return false;
  }
  const std::string path = *ResolvePath(gamePath);
  // Only local ASF files: the name is never taken for a protocol or another
  // container format.
  AVDictionary* options = nullptr;
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  const int result =
      avformat_open_input(&format, ("file:" + path).c_str(), av_find_input_format("asf"),
                          &options);
  av_dict_free(&options);
  if (result < 0) {
    error = ErrorText(result);
    return false;
  }
  if (!OpenStreams(error)) return false;
  packet = av_packet_alloc();
  next = av_frame_alloc();
  due = av_frame_alloc();
  soundFrame = av_frame_alloc();
  if (!packet || !next || !due || !soundFrame) {
    error = "out of memory";
    return false;
  }
  OpenSound();
  pictureRect = FitPicture(video->width, video->height,
                           av_q2d(av_guess_sample_aspect_ratio(format, format->streams[videoIndex],
                                                               nullptr)),
                           area);
  // The texture holds the picture as it is, or shrunk to its place when it
  // is larger; the drawing stretches it.
  const bool fits = video->width <= pictureRect.width && video->height <= pictureRect.height;
  texelsWide = fits ? video->width : pictureRect.width;
  texelsHigh = fits ? video->height : pictureRect.height;
  lengthMs = format->duration > 0 ? av_rescale(format->duration, 1000, AV_TIME_BASE)
                                  : kUnknownLength;
  // A file whose first picture cannot be decoded counts as unplayable.
  if (!DecodePicture(kMaxPacketsToFirstPicture)) {
    error = "no picture could be decoded";
    return false;
  }
  state = State::Ready;
  return true;
}

bool cMediaPlayer::Playback::OpenStreams(std::string& error) {
  const int found = avformat_find_stream_info(format, nullptr);
  if (found < 0) {
    error = ErrorText(found);
    return false;
  }
  if (format->start_time != AV_NOPTS_VALUE)
    zeroMs = av_rescale(format->start_time, 1000, AV_TIME_BASE);
  videoIndex = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (videoIndex < 0 || !IsWmvVideo(format->streams[videoIndex]->codecpar->codec_id)) {
    error = "no WMV video stream";
    return false;
  }
  const AVStream* stream = format->streams[videoIndex];
  const AVCodecParameters* parameters = stream->codecpar;
  if (parameters->width <= 0 || parameters->height <= 0 || parameters->width > 8192 ||
      parameters->height > 8192) {
    error = "bad picture size";
    return false;
  }
  video = OpenDecoder(stream, error);
  if (!video) return false;
  const AVRational rate = av_guess_frame_rate(format, format->streams[videoIndex], nullptr);
  if (rate.num > 0 && rate.den > 0) frameStepMs = std::max<int64_t>(1, av_rescale(1000, rate.den, rate.num));
  return true;
}

// The sound is optional: without a device, or with sound in another format,
// the video plays silently.
void cMediaPlayer::Playback::OpenSound() {
  const int index = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, videoIndex, nullptr, 0);
  if (index < 0 || !IsWmaSound(format->streams[index]->codecpar->codec_id)) return;
  sound = AudioPcmStreamCreate(kSoundRate, 2);
  if (!sound) return;
  std::string unused;
  audio = OpenDecoder(format->streams[index], unused);
  if (!audio) {
    AudioPcmStreamFree(sound);
    sound = nullptr;
    return;
  }
  audioIndex = index;
}

void cMediaPlayer::Playback::Play() {
  startMs = NowMs();
  state = State::Playing;
  WatchSkipKeys();
  AudioPcmStreamPlay(sound);
}

// Decodes the next picture into next. False at the end of the pictures, or
// when this frame's share of reading is used up (then the next call goes on).
bool cMediaPlayer::Playback::DecodePicture(int packetBudget) {
  for (int packets = 0; packets < packetBudget;) {
    if (badPackets > kMaxBadPackets) {
      EndPictures();
      return false;
    }
    const int result = avcodec_receive_frame(video, next);
    if (result == 0) {
      badPackets = 0;
      const int64_t timestamp = next->best_effort_timestamp;
      nextMs = timestamp == AV_NOPTS_VALUE
                   ? lastPictureMs + frameStepMs
                   : TimeMs(timestamp, format->streams[videoIndex]->time_base);
      lastPictureMs = nextMs;
      endMs = std::max(endMs, nextMs + frameStepMs);
      haveNext = true;
      ++framesDecoded;
      return true;
    }
    if (result == AVERROR_EOF) {
      EndPictures();
      return false;
    }
    if (result == AVERROR(EAGAIN)) {
      ReadPacket();
      ++packets;
    } else {
      ++badPackets;
    }
  }
  return false;
}

void cMediaPlayer::Playback::EndPictures() {
  videoEnded = true;
  if (lengthMs == kUnknownLength) lengthMs = endMs;
}

void cMediaPlayer::Playback::ReadPacket() {
  if (demuxEnded) return;
  if (av_read_frame(format, packet) < 0) {
    // End of the file (or a read error, which ends it as well): flush.
    demuxEnded = true;
    avcodec_send_packet(video, nullptr);
    if (audio) {
      avcodec_send_packet(audio, nullptr);
      DrainSound();
    }
    return;
  }
  if (packet->stream_index == videoIndex) {
    if (avcodec_send_packet(video, packet) < 0) ++badPackets;
  } else if (audio && packet->stream_index == audioIndex) {
    if (avcodec_send_packet(audio, packet) >= 0) DrainSound();
  }
  av_packet_unref(packet);
}

void cMediaPlayer::Playback::DrainSound() {
  while (avcodec_receive_frame(audio, soundFrame) == 0) {
    PushSound(soundFrame);
    av_frame_unref(soundFrame);
  }
}

void cMediaPlayer::Playback::PushSound(const AVFrame* frame) {
  if (frame->sample_rate <= 0 || frame->nb_samples <= 0 || frame->ch_layout.nb_channels <= 0)
    return;
  if (frame->pts != AV_NOPTS_VALUE) {
    const int64_t startMs = TimeMs(frame->pts, format->streams[audioIndex]->time_base);
    const int64_t frameEndMs = startMs + int64_t(frame->nb_samples) * 1000 / frame->sample_rate;
    endMs = std::max(endMs, frameEndMs);
    // Sound that is already late (the game stalled) is left out, so that
    // the sound keeps to the pictures.
    if (state == State::Playing && frameEndMs < Elapsed()) return;
  }
  if (!resampler || resamplerRate != frame->sample_rate || resamplerFormat != frame->format ||
      resamplerChannels != frame->ch_layout.nb_channels) {
    swr_free(&resampler);
    AVChannelLayout in{};
    if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
      av_channel_layout_default(&in, frame->ch_layout.nb_channels);
    else
      av_channel_layout_copy(&in, &frame->ch_layout);
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    const int result =
        swr_alloc_set_opts2(&resampler, &stereo, AV_SAMPLE_FMT_S16, kSoundRate, &in,
                            AVSampleFormat(frame->format), frame->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&in);
    if (result < 0 || swr_init(resampler) < 0) {
      swr_free(&resampler);
      return;
    }
    resamplerRate = frame->sample_rate;
    resamplerFormat = frame->format;
    resamplerChannels = frame->ch_layout.nb_channels;
  }
  const int room = swr_get_out_samples(resampler, frame->nb_samples);
  if (room <= 0) return;
  pcm.resize(size_t(room) * 2);
  uint8_t* out = reinterpret_cast<uint8_t*>(pcm.data());
  const int made = swr_convert(resampler, &out, room,
                               const_cast<const uint8_t**>(frame->extended_data),
                               frame->nb_samples);
  if (made > 0) AudioPcmStreamPush(sound, pcm.data(), made);
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
    av_frame_unref(due);
    av_frame_move_ref(due, next);
    haveNext = false;
    newPicture = true;
  }
  if (newPicture) ShowDuePicture();
}

// Converts the due picture to RGBA at the size it is shown and uploads it.
void cMediaPlayer::Playback::ShowDuePicture() {
  const int w = texelsWide, h = texelsHigh;
  scaler = sws_getCachedContext(scaler, due->width, due->height, AVPixelFormat(due->format), w,
                                h, AV_PIX_FMT_RGBA, SWS_BILINEAR, nullptr, nullptr, nullptr);
  if (!scaler) return;
  rgba.resize(size_t(w) * h * 4);
  uint8_t* planes[1] = {rgba.data()};
  const int strides[1] = {w * 4};
  if (sws_scale(scaler, due->data, due->linesize, 0, due->height, planes, strides) <= 0) return;
  if (texture.name == 0) texture = RenderCreateVideoTexture(w, h);
  RenderUpdateVideoTexture(texture, w, h, rgba.data());
  havePicture = true;
}

void cMediaPlayer::Playback::Finish() {
  state = State::Ended;
  FreeDecoding();
}

// Frees the decoders and the sound; the last picture stays.
void cMediaPlayer::Playback::FreeDecoding() {
  AudioPcmStreamFree(sound);
  sound = nullptr;
  swr_free(&resampler);
  sws_freeContext(scaler);
  scaler = nullptr;
  av_frame_free(&next);
  av_frame_free(&due);
  av_frame_free(&soundFrame);
  av_packet_free(&packet);
  avcodec_free_context(&video);
  avcodec_free_context(&audio);
  avformat_close_input(&format);
  haveNext = false;
}

cMediaPlayer::cMediaPlayer() = default;
cMediaPlayer::~cMediaPlayer() = default;
cMediaPlayer::cMediaPlayer(cMediaPlayer&&) noexcept = default;
cMediaPlayer& cMediaPlayer::operator=(cMediaPlayer&&) noexcept = default;

void cMediaPlayer::Open() {
  av_log_set_level(AV_LOG_QUIET);  // failures are reported here, in one line
  playback = std::make_unique<Playback>();
  std::string error;
  if (!playback->Open(fileName, displayRect, error)) {
    std::fprintf(stderr, "virko: cannot play %s: %s\n", fileName.c_str(), error.c_str());
    playback->FreeDecoding();
    playback->state = Playback::State::Failed;
    playback->lengthMs = 0;
  }
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

int64_t cMediaPlayer::Length() const { return playback ? playback->lengthMs : 0; }

int64_t cMediaPlayer::FramesDecoded() const { return playback ? playback->framesDecoded : 0; }

void cMediaPlayer::Frame() {
  if (playback && playback->state == Playback::State::Playing) {
    Playback& p = *playback;
    if (SkipKeyPressed()) {
      p.Finish();
    } else {
      p.Advance();
      if (p.Elapsed() >= p.lengthMs) p.Finish();
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
