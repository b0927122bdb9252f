// The video decoder on FFmpeg, built as a module of its own. The file is read
// packet by packet: decoding a picture reads packets until the video decoder
// gives one, and the sound packets met on the way are decoded at once and
// handed to the sound sink, close enough to their pictures for a file whose
// streams are interleaved as ASF files are.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <vector>

#include "platform/VideoDecoder.h"

namespace {

constexpr int kMaxBadPackets = 64;  // decoding errors in a row that end the pictures
constexpr int kMaxPictureSide = 8192;
constexpr int kSoundRate = 44100;
// The row alignment the scaler's converters want: they write whole blocks of
// up to 16 RGBA pixels, so a row of another width needs room up to the next
// block or it is written past (or its last pixels are left out).
constexpr int kRowAlign = 64;

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
AVCodecContext* OpenStreamDecoder(const AVStream* stream, std::string& error) {
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

class cFfmpegVideoDecoder final : public cVideoDecoder {
 public:
  ~cFfmpegVideoDecoder() override;

  bool Open(const std::string& path, std::string& error) override;
  tVideoInfo Info() const override { return info_; }
  bool HasSound() const override { return soundIndex_ >= 0; }
  bool OpenSound(cVideoSoundSink* sink) override;
  Picture DecodeNext(int packetBudget, int64_t& timeMs) override;
  void ShowNext() override;
  bool ConvertShown(int width, int height, uint8_t* rgba) override;

 private:
  bool OpenVideo(std::string& error);
  void ReadPacket();
  void DrainSound();
  void PushSound(const AVFrame* frame);
  bool MakeResampler(const AVFrame* frame);
  int64_t TimeMs(int64_t timestamp, AVRational timeBase) const {
    return av_rescale_q(timestamp, timeBase, AVRational{1, 1000}) - zeroMs_;
  }

  tVideoInfo info_;
  AVFormatContext* format_ = nullptr;
  int64_t zeroMs_ = 0;  // the file's start time: time 0
  int videoIndex_ = -1;
  int soundIndex_ = -1;
  AVCodecContext* video_ = nullptr;
  AVCodecContext* sound_ = nullptr;
  cVideoSoundSink* sink_ = nullptr;
  AVPacket* packet_ = nullptr;
  AVFrame* next_ = nullptr;  // the picture decoded last
  AVFrame* shown_ = nullptr;
  AVFrame* soundFrame_ = nullptr;
  AVFrame* converted_ = nullptr;  // the scaler's output, rows padded
  int64_t lastPictureMs_ = -1;
  bool demuxEnded_ = false;
  int badPackets_ = 0;

  SwsContext* scaler_ = nullptr;
  SwrContext* resampler_ = nullptr;
  int resamplerRate_ = 0;
  int resamplerFormat_ = -1;
  int resamplerChannels_ = 0;
  std::vector<int16_t> pcm_;
};

cFfmpegVideoDecoder::~cFfmpegVideoDecoder() {
  swr_free(&resampler_);
  sws_freeContext(scaler_);
  av_frame_free(&next_);
  av_frame_free(&shown_);
  av_frame_free(&soundFrame_);
  av_frame_free(&converted_);
  av_packet_free(&packet_);
  avcodec_free_context(&video_);
  avcodec_free_context(&sound_);
  avformat_close_input(&format_);
}

bool cFfmpegVideoDecoder::Open(const std::string& path, std::string& error) {
  av_log_set_level(AV_LOG_QUIET);  // failures are reported by the caller, in one line
  // Only local ASF files: the name is never taken for a protocol or another
  // container format.
  AVDictionary* options = nullptr;
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  const int result = avformat_open_input(&format_, ("file:" + path).c_str(),
                                         av_find_input_format("asf"), &options);
  av_dict_free(&options);
  if (result < 0) {
    error = ErrorText(result);
    return false;
  }
  if (!OpenVideo(error)) return false;
  packet_ = av_packet_alloc();
  next_ = av_frame_alloc();
  shown_ = av_frame_alloc();
  soundFrame_ = av_frame_alloc();
  converted_ = av_frame_alloc();
  if (!packet_ || !next_ || !shown_ || !soundFrame_ || !converted_) {
    error = "out of memory";
    return false;
  }
  const int sound = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, videoIndex_, nullptr, 0);
  if (sound >= 0) {
    const AVCodecID codec = format_->streams[sound]->codecpar->codec_id;
    if (IsWmaSound(codec))
      soundIndex_ = sound;
    else
      info_.otherSound = avcodec_get_name(codec);
  }
  info_.width = video_->width;
  info_.height = video_->height;
  info_.pixelAspect =
      av_q2d(av_guess_sample_aspect_ratio(format_, format_->streams[videoIndex_], nullptr));
  info_.lengthMs =
      format_->duration > 0 ? av_rescale(format_->duration, 1000, AV_TIME_BASE) : -1;
  return true;
}

bool cFfmpegVideoDecoder::OpenVideo(std::string& error) {
  const int found = avformat_find_stream_info(format_, nullptr);
  if (found < 0) {
    error = ErrorText(found);
    return false;
  }
  if (format_->start_time != AV_NOPTS_VALUE)
    zeroMs_ = av_rescale(format_->start_time, 1000, AV_TIME_BASE);
  videoIndex_ = av_find_best_stream(format_, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (videoIndex_ < 0 || !IsWmvVideo(format_->streams[videoIndex_]->codecpar->codec_id)) {
    error = "no WMV video stream";
    return false;
  }
  const AVStream* stream = format_->streams[videoIndex_];
  const AVCodecParameters* parameters = stream->codecpar;
  if (parameters->width <= 0 || parameters->height <= 0 || parameters->width > kMaxPictureSide ||
      parameters->height > kMaxPictureSide) {
    error = "bad picture size";
    return false;
  }
  video_ = OpenStreamDecoder(stream, error);
  if (!video_) return false;
  const AVRational rate = av_guess_frame_rate(format_, format_->streams[videoIndex_], nullptr);
  if (rate.num > 0 && rate.den > 0)
    info_.frameStepMs = std::max<int64_t>(1, av_rescale(1000, rate.den, rate.num));
  return true;
}

bool cFfmpegVideoDecoder::OpenSound(cVideoSoundSink* sink) {
  if (soundIndex_ < 0) return false;
  std::string unused;
  sound_ = OpenStreamDecoder(format_->streams[soundIndex_], unused);
  if (!sound_) return false;
  sink_ = sink;
  return true;
}

cVideoDecoder::Picture cFfmpegVideoDecoder::DecodeNext(int packetBudget, int64_t& timeMs) {
  for (int packets = 0; packets < packetBudget;) {
    if (badPackets_ > kMaxBadPackets) return Picture::ended;
    const int result = avcodec_receive_frame(video_, next_);
    if (result == 0) {
      badPackets_ = 0;
      const int64_t timestamp = next_->best_effort_timestamp;
      timeMs = timestamp == AV_NOPTS_VALUE
                   ? lastPictureMs_ + info_.frameStepMs
                   : TimeMs(timestamp, format_->streams[videoIndex_]->time_base);
      lastPictureMs_ = timeMs;
      return Picture::decoded;
    }
    if (result == AVERROR_EOF) return Picture::ended;
    if (result == AVERROR(EAGAIN)) {
      ReadPacket();
      ++packets;
    } else {
      ++badPackets_;
    }
  }
  return Picture::later;
}

void cFfmpegVideoDecoder::ShowNext() {
  av_frame_unref(shown_);
  av_frame_move_ref(shown_, next_);
}

// The scaler writes into a picture of padded rows (with slack after the last
// one, as FFmpeg allocates its frames), which is then copied out row by row.
bool cFfmpegVideoDecoder::ConvertShown(int width, int height, uint8_t* rgba) {
  if (!shown_->data[0] || width <= 0 || height <= 0) return false;
  scaler_ = sws_getCachedContext(scaler_, shown_->width, shown_->height,
                                 AVPixelFormat(shown_->format), width, height, AV_PIX_FMT_RGBA,
                                 SWS_BILINEAR, nullptr, nullptr, nullptr);
  if (!scaler_) return false;
  if (converted_->width != width || converted_->height != height) {
    av_frame_unref(converted_);
    converted_->format = AV_PIX_FMT_RGBA;
    converted_->width = width;
    converted_->height = height;
    if (av_frame_get_buffer(converted_, kRowAlign) < 0) {
      av_frame_unref(converted_);
      return false;
    }
  }
  if (sws_scale(scaler_, shown_->data, shown_->linesize, 0, shown_->height, converted_->data,
                converted_->linesize) <= 0)
    return false;
  av_image_copy_plane(rgba, width * 4, converted_->data[0], converted_->linesize[0], width * 4,
                      height);
  return true;
}

void cFfmpegVideoDecoder::ReadPacket() {
  if (demuxEnded_) return;
  if (av_read_frame(format_, packet_) < 0) {
    // End of the file (or a read error, which ends it as well): flush.
    demuxEnded_ = true;
    avcodec_send_packet(video_, nullptr);
    if (sound_) {
      avcodec_send_packet(sound_, nullptr);
      DrainSound();
    }
    return;
  }
  if (packet_->stream_index == videoIndex_) {
    if (avcodec_send_packet(video_, packet_) < 0) ++badPackets_;
  } else if (sound_ && packet_->stream_index == soundIndex_) {
    if (avcodec_send_packet(sound_, packet_) >= 0) DrainSound();
  }
  av_packet_unref(packet_);
}

void cFfmpegVideoDecoder::DrainSound() {
  while (avcodec_receive_frame(sound_, soundFrame_) == 0) {
    PushSound(soundFrame_);
    av_frame_unref(soundFrame_);
  }
}

void cFfmpegVideoDecoder::PushSound(const AVFrame* frame) {
  if (frame->sample_rate <= 0 || frame->nb_samples <= 0 || frame->ch_layout.nb_channels <= 0)
    return;
  if (frame->pts != AV_NOPTS_VALUE) {
    const int64_t startMs = TimeMs(frame->pts, format_->streams[soundIndex_]->time_base);
    const int64_t frameEndMs = startMs + int64_t(frame->nb_samples) * 1000 / frame->sample_rate;
    if (!sink_->Wants(frameEndMs)) return;
  }
  if (!MakeResampler(frame)) return;
  const int room = swr_get_out_samples(resampler_, frame->nb_samples);
  if (room <= 0) return;
  pcm_.resize(size_t(room) * 2);
  uint8_t* out = reinterpret_cast<uint8_t*>(pcm_.data());
  const int made = swr_convert(resampler_, &out, room,
                               const_cast<const uint8_t**>(frame->extended_data),
                               frame->nb_samples);
  if (made > 0) sink_->Push(pcm_.data(), made);
}

// A resampler to 44100 Hz stereo 16-bit for the frame's format, kept while
// the format stays the same.
bool cFfmpegVideoDecoder::MakeResampler(const AVFrame* frame) {
  if (resampler_ && resamplerRate_ == frame->sample_rate && resamplerFormat_ == frame->format &&
      resamplerChannels_ == frame->ch_layout.nb_channels)
    return true;
  swr_free(&resampler_);
  AVChannelLayout in{};
  if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
    av_channel_layout_default(&in, frame->ch_layout.nb_channels);
  else
    av_channel_layout_copy(&in, &frame->ch_layout);
  AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
  const int result = swr_alloc_set_opts2(&resampler_, &stereo, AV_SAMPLE_FMT_S16, kSoundRate, &in,
                                         AVSampleFormat(frame->format), frame->sample_rate, 0,
                                         nullptr);
  av_channel_layout_uninit(&in);
  if (result < 0 || swr_init(resampler_) < 0) {
    swr_free(&resampler_);
    return false;
  }
  resamplerRate_ = frame->sample_rate;
  resamplerFormat_ = frame->format;
  resamplerChannels_ = frame->ch_layout.nb_channels;
  return true;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) cVideoDecoder* VirkoCreateVideoDecoder() {
  return new cFfmpegVideoDecoder();
}
