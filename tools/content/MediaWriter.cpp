#include "tools/content/MediaWriter.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

#include <algorithm>

namespace {

constexpr int kAudioRate = 44100;

// Frees an AVFrame when it goes out of scope.
struct FrameHolder {
  AVFrame* frame = av_frame_alloc();
  ~FrameHolder() { av_frame_free(&frame); }
};

}  // namespace

MediaWriter::~MediaWriter() {
  sws_freeContext(scaler_);
  avcodec_free_context(&audio_);
  avcodec_free_context(&video_);
  if (format_) {
    if (fileOpen_) avio_closep(&format_->pb);
    avformat_free_context(format_);
  }
}

bool MediaWriter::Fail(const std::string& what, int code) {
  error_ = what;
  if (code < 0) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    error_ += std::string(": ") + text;
  }
  return false;
}

bool MediaWriter::Open(const std::string& path, const char* format) {
  const int result = avformat_alloc_output_context2(&format_, nullptr, format, path.c_str());
  if (result < 0 || !format_) return Fail("cannot make a " + std::string(format) + " file", result);
  format_->flags |= AVFMT_FLAG_BITEXACT;
  const int opened = avio_open(&format_->pb, path.c_str(), AVIO_FLAG_WRITE);
  if (opened < 0) return Fail("cannot write " + path, opened);
  fileOpen_ = true;
  return true;
}

AVStream* MediaWriter::NewStream(AVCodecContext* context) {
  AVStream* stream = avformat_new_stream(format_, nullptr);
  if (!stream) return nullptr;
  stream->time_base = context->time_base;
  if (avcodec_parameters_from_context(stream->codecpar, context) < 0) return nullptr;
  return stream;
}

bool MediaWriter::AddAudio(AVCodecID codecId, int bitRate, std::vector<float> interleaved) {
  const AVCodec* codec = avcodec_find_encoder(codecId);
  if (!codec) return Fail(std::string("no encoder for ") + avcodec_get_name(codecId));
  audio_ = avcodec_alloc_context3(codec);
  audio_->sample_fmt = AV_SAMPLE_FMT_FLTP;
  audio_->sample_rate = kAudioRate;
  av_channel_layout_default(&audio_->ch_layout, 2);
  if (bitRate > 0) {
    audio_->bit_rate = bitRate;
  } else {
    audio_->flags |= AV_CODEC_FLAG_QSCALE;
    audio_->global_quality = FF_QP2LAMBDA * 2;
  }
  audio_->time_base = {1, kAudioRate};
  audio_->flags |= AV_CODEC_FLAG_BITEXACT;
  if (format_->oformat->flags & AVFMT_GLOBALHEADER) audio_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  const int opened = avcodec_open2(audio_, codec, nullptr);
  if (opened < 0) return Fail(std::string("cannot open the ") + codec->name + " encoder", opened);
  audioStream_ = NewStream(audio_);
  if (!audioStream_) return Fail("cannot add the audio stream");
  samples_ = std::move(interleaved);
  return true;
}

bool MediaWriter::AddVideo(AVCodecID codecId, int width, int height, int framesPerSecond, int quantiser) {
  const AVCodec* codec = avcodec_find_encoder(codecId);
  if (!codec) return Fail(std::string("no encoder for ") + avcodec_get_name(codecId));
  video_ = avcodec_alloc_context3(codec);
  video_->width = width;
  video_->height = height;
  video_->pix_fmt = AV_PIX_FMT_YUV420P;
  video_->time_base = {1, framesPerSecond};
  video_->framerate = {framesPerSecond, 1};
  video_->gop_size = framesPerSecond;
  video_->max_b_frames = 0;
  video_->flags |= AV_CODEC_FLAG_BITEXACT | AV_CODEC_FLAG_QSCALE;
  video_->global_quality = FF_QP2LAMBDA * quantiser;
  if (format_->oformat->flags & AVFMT_GLOBALHEADER) video_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  const int opened = avcodec_open2(video_, codec, nullptr);
  if (opened < 0) return Fail(std::string("cannot open the ") + codec->name + " encoder", opened);
  videoStream_ = NewStream(video_);
  if (!videoStream_) return Fail("cannot add the video stream");
  scaler_ = sws_getContext(width, height, AV_PIX_FMT_RGB24, width, height, AV_PIX_FMT_YUV420P,
                           SWS_BICUBIC | SWS_BITEXACT | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
  if (!scaler_) return Fail("cannot convert the pictures");
  quantiser_ = quantiser;
  return true;
}

bool MediaWriter::Begin() {
  AVDictionary* options = nullptr;
  av_dict_set(&options, "id3v2_version", "0", 0);  // mp3: no ID3 tag before the Xing frame
  const int written = avformat_write_header(format_, &options);
  av_dict_free(&options);
  if (written < 0) return Fail("cannot write the file's header", written);
  headerWritten_ = true;
  return true;
}

bool MediaWriter::Send(AVCodecContext* context, AVStream* stream, AVFrame* frame) {
  const int sent = avcodec_send_frame(context, frame);
  if (sent < 0) return Fail("the encoder refused a frame", sent);
  AVPacket* packet = av_packet_alloc();
  bool ok = true;
  while (ok) {
    const int received = avcodec_receive_packet(context, packet);
    if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) break;
    if (received < 0) {
      ok = Fail("the encoder failed", received);
      break;
    }
    av_packet_rescale_ts(packet, context->time_base, stream->time_base);
    packet->stream_index = stream->index;
    const int muxed = av_interleaved_write_frame(format_, packet);
    if (muxed < 0) ok = Fail("cannot write a packet", muxed);
  }
  av_packet_free(&packet);
  return ok;
}

// Encodes the audio up to a sample position in whole encoder frames; the
// last frame is padded with silence if the encoder wants full frames.
bool MediaWriter::WriteAudioUntil(int64_t sampleEnd) {
  if (!audio_) return true;
  const int64_t total = int64_t(samples_.size() / 2);
  const int frameSize = audio_->frame_size > 0 ? audio_->frame_size : 1024;
  const bool smallLast = audio_->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME;
  sampleEnd = std::min(sampleEnd, total);
  while (samplesWritten_ < sampleEnd) {
    const int64_t left = total - samplesWritten_;
    if (left >= frameSize && sampleEnd - samplesWritten_ < frameSize) break;  // wait for a whole frame
    const int count = int(std::min<int64_t>(frameSize, left));
    FrameHolder holder;
    AVFrame* frame = holder.frame;
    frame->format = audio_->sample_fmt;
    frame->sample_rate = kAudioRate;
    frame->nb_samples = smallLast ? count : frameSize;
    av_channel_layout_copy(&frame->ch_layout, &audio_->ch_layout);
    if (av_frame_get_buffer(frame, 0) < 0) return Fail("out of memory");
    for (int channel = 0; channel < 2; ++channel) {
      float* out = reinterpret_cast<float*>(frame->data[channel]);
      for (int i = 0; i < frame->nb_samples; ++i)
        out[i] = i < count ? samples_[size_t(samplesWritten_ + i) * 2 + channel] : 0.0f;
    }
    frame->pts = samplesWritten_;
    if (!Send(audio_, audioStream_, frame)) return false;
    samplesWritten_ += count;
  }
  return true;
}

bool MediaWriter::WriteVideoFrame(const uint8_t* rgb) {
  FrameHolder holder;
  AVFrame* frame = holder.frame;
  frame->format = video_->pix_fmt;
  frame->width = video_->width;
  frame->height = video_->height;
  if (av_frame_get_buffer(frame, 0) < 0) return Fail("out of memory");
  const uint8_t* source[1] = {rgb};
  const int stride[1] = {3 * video_->width};
  sws_scale(scaler_, source, stride, 0, video_->height, frame->data, frame->linesize);
  frame->pts = framesWritten_++;
  frame->quality = FF_QP2LAMBDA * quantiser_;
  if (!Send(video_, videoStream_, frame)) return false;
  return WriteAudioUntil(framesWritten_ * kAudioRate * video_->time_base.num / video_->time_base.den);
}

bool MediaWriter::Finish() {
  if (!headerWritten_) return Fail("the file was not begun");
  if (!WriteAudioUntil(INT64_MAX)) return false;
  if (video_ && !Send(video_, videoStream_, nullptr)) return false;
  if (audio_ && !Send(audio_, audioStream_, nullptr)) return false;
  const int written = av_write_trailer(format_);
  if (written < 0) return Fail("cannot finish the file", written);
  avio_closep(&format_->pb);
  fileOpen_ = false;
  return true;
}
