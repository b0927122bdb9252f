// Encodes the content's music and videos with FFmpeg's libraries: one audio
// stream and, for a video, one video stream, muxed into a file. Every
// encoder and muxer runs bit-exact, so the same input gives the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

class MediaWriter {
 public:
  MediaWriter() = default;
  MediaWriter(const MediaWriter&) = delete;
  MediaWriter& operator=(const MediaWriter&) = delete;
  ~MediaWriter();

  // The container by FFmpeg's muxer name ("mp3", "asf").
  bool Open(const std::string& path, const char* format);
  // Stereo audio at 44.1 kHz from interleaved samples in -1..1; a bit rate
  // of 0 asks for a variable bit rate of high quality.
  bool AddAudio(AVCodecID codec, int bitRate, std::vector<float> interleaved);
  // RGB frames at a fixed quantiser (2 best .. 31 worst).
  bool AddVideo(AVCodecID codec, int width, int height, int framesPerSecond, int quantiser);
  bool Begin();
  // One frame of width x height x 3 bytes, top row first; the audio is
  // written along with the pictures.
  bool WriteVideoFrame(const uint8_t* rgb);
  // Writes what is left of the audio, flushes the encoders, closes the file.
  bool Finish();

  const std::string& Error() const { return error_; }

 private:
  bool Fail(const std::string& what, int code = 0);
  AVStream* NewStream(AVCodecContext* context);
  bool Send(AVCodecContext* context, AVStream* stream, AVFrame* frame);
  bool WriteAudioUntil(int64_t sampleEnd);

  AVFormatContext* format_ = nullptr;
  bool fileOpen_ = false;
  bool headerWritten_ = false;
  std::string error_;

  AVCodecContext* audio_ = nullptr;
  AVStream* audioStream_ = nullptr;
  std::vector<float> samples_;  // interleaved stereo
  int64_t samplesWritten_ = 0;

  AVCodecContext* video_ = nullptr;
  AVStream* videoStream_ = nullptr;
  SwsContext* scaler_ = nullptr;
  int quantiser_ = 0;
  int64_t framesWritten_ = 0;
};
