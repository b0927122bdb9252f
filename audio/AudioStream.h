// One opened sound file: decoded a few buffers ahead into an OpenAL source's
// queue, which AudioUpdate keeps filled. Positions count frames of the decoded
// stream from its start.
#pragma once

#include <AL/al.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "audio/AudioDecoder.h"

class AudioStream {
 public:
  // Null if the file cannot be decoded. Without output (no audio device) the
  // stream has no source: it keeps its attributes and its position, but
  // nothing plays and the position does not move.
  static std::unique_ptr<AudioStream> Open(const std::string& path, bool withOutput);
  AudioStream(const AudioStream&) = delete;
  AudioStream& operator=(const AudioStream&) = delete;
  ~AudioStream();

  int Channels() const { return decoder_.Channels(); }
  // Playback rate in Hz (0 or less: the file's own rate), volume 0..100, pan
  // -100..100 (heard on mono files only).
  void SetAttributes(int frequency, int volume, int pan);
  void SetGainDb100(int db100);
  // May wait for the count of an MP3 file's frames, which runs from Open on.
  int64_t LengthFrames();
  int64_t PositionFrames() const;
  void Play();
  // Pauses: the position stays.
  void Stop();
  void SetPositionFrames(int64_t frame);
  // Takes back the buffers played, queues newly decoded ones, and starts the
  // source again if it ran dry while it should be playing.
  void Update();

 private:
  static constexpr int kBufferCount = 4;
  // Half a second of sound per buffer: the queue holds two seconds, enough
  // for the main loop's longest sleep (one second while the window has no
  // focus).
  static constexpr int kBuffersPerSecond = 2;

  AudioStream() = default;
  bool CreateSource();
  void ApplyGain();
  ALint SourceState() const;
  void ReclaimPlayedBuffers();
  void QueueDecodedBuffers();
  void RestartQueue(size_t heard);

  AudioDecoder decoder_;
  int64_t lengthFrames_ = -1;  // -1 until known

  ALuint source_ = 0;  // 0: no output
  std::array<ALuint, kBufferCount> buffers_{};
  std::vector<ALuint> freeBuffers_;
  struct QueuedBuffer {
    ALuint buffer;
    int64_t frames;
  };
  std::deque<QueuedBuffer> queued_;  // oldest first
  int64_t queueStart_ = 0;           // stream frame at which the oldest queued buffer starts
  std::vector<float> samples_;       // one buffer's decoded samples
  bool playing_ = false;             // played and not stopped since
  float volumeGain_ = 1.0f;
  float extraGain_ = 1.0f;

  // Counts the frames of a file whose header cannot be trusted; declared last
  // so that it is stopped and joined before the rest goes.
  std::atomic<int64_t> countedFrames_{-1};
  std::jthread counter_;
};
