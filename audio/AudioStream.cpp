#include "audio/AudioStream.h"

#include <AL/alext.h>

#include <algorithm>
#include <cmath>

std::unique_ptr<AudioStream> AudioStream::Open(const std::string& path, bool withOutput) {
  std::unique_ptr<AudioStream> stream(new AudioStream);
  if (!stream->decoder_.Open(path)) return nullptr;
  stream->lengthFrames_ = stream->decoder_.HeaderFrames();
  if (stream->lengthFrames_ < 0) {
    AudioStream* counted = stream.get();
    stream->counter_ = std::jthread([counted, path](std::stop_token stop) {
      counted->countedFrames_ = CountFrames(path, stop);
    });
  }
  // Without a source (no device, or the device has no more) the stream is
  // silent but otherwise the same.
  if (withOutput && stream->CreateSource()) stream->Update();
  return stream;
}

bool AudioStream::CreateSource() {
  alGetError();
  alGenSources(1, &source_);
  if (alGetError() != AL_NO_ERROR) {
    source_ = 0;
    return false;
  }
  alGenBuffers(kBufferCount, buffers_.data());
  if (alGetError() != AL_NO_ERROR) {
    alDeleteSources(1, &source_);
    source_ = 0;
    return false;
  }
  freeBuffers_.assign(buffers_.begin(), buffers_.end());
  samples_.resize(size_t(std::max(decoder_.Rate() / kBuffersPerSecond, 1) * Channels()));
  // Pan places the source around the listener at distance 1, never fainter.
  alSourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);
  alSourcef(source_, AL_ROLLOFF_FACTOR, 0.0f);
  SetAttributes(0, 100, 0);
  return true;
}

AudioStream::~AudioStream() {
  if (!source_) return;
  alSourceStop(source_);
  alSourcei(source_, AL_BUFFER, 0);
  alDeleteSources(1, &source_);
  alDeleteBuffers(kBufferCount, buffers_.data());
}

void AudioStream::SetAttributes(int frequency, int volume, int pan) {
  volumeGain_ = float(std::clamp(volume, 0, 100)) / 100.0f;
  if (!source_) return;
  const float pitch = frequency > 0 ? float(frequency) / float(decoder_.Rate()) : 1.0f;
  alSourcef(source_, AL_PITCH, pitch);
  const float x = float(std::clamp(pan, -100, 100)) / 100.0f;
  alSource3f(source_, AL_POSITION, x, 0.0f, -std::sqrt(1.0f - x * x));
  ApplyGain();
}

void AudioStream::SetGainDb100(int db100) {
  extraGain_ = std::pow(10.0f, float(db100) / 2000.0f);
  ApplyGain();
}

void AudioStream::ApplyGain() {
  if (source_) alSourcef(source_, AL_GAIN, volumeGain_ * extraGain_);
}

int64_t AudioStream::LengthFrames() {
  if (lengthFrames_ < 0) {
    if (counter_.joinable()) counter_.join();
    lengthFrames_ = std::max<int64_t>(countedFrames_, 0);
  }
  return lengthFrames_;
}

ALint AudioStream::SourceState() const {
  ALint state = AL_INITIAL;
  alGetSourcei(source_, AL_SOURCE_STATE, &state);
  return state;
}

int64_t AudioStream::PositionFrames() const {
  if (!source_) return queueStart_;
  // The offset counts from the oldest buffer still queued, played or not.
  // Read before the state: a source that stops in between reports 0.
  ALint offset = 0;
  alGetSourcei(source_, AL_SAMPLE_OFFSET, &offset);
  if (SourceState() != AL_STOPPED) return queueStart_ + offset;
  // A stopped source has played everything queued: it ran dry, or reached
  // the end.
  int64_t position = queueStart_;
  for (const QueuedBuffer& queued : queued_) position += queued.frames;
  return position;
}

void AudioStream::Play() {
  playing_ = true;
  Update();
}

void AudioStream::Stop() {
  playing_ = false;
  if (source_ && SourceState() == AL_PLAYING) alSourcePause(source_);
}

void AudioStream::SetPositionFrames(int64_t frame) {
  if (source_) RestartQueue(queued_.size());
  queueStart_ = decoder_.Seek(frame);
  Update();
}

void AudioStream::Update() {
  if (!source_) return;
  ReclaimPlayedBuffers();
  const size_t heard = queued_.size();
  QueueDecodedBuffers();
  // Stopped now, the source ran dry before the buffers just queued (it would
  // have gone on into them): the ones before have been heard, these not yet.
  // OpenAL would count them all as played and play them all again.
  if (SourceState() == AL_STOPPED) RestartQueue(heard);
  if (playing_ && !queued_.empty() && SourceState() != AL_PLAYING) alSourcePlay(source_);
}

void AudioStream::ReclaimPlayedBuffers() {
  ALint played = 0;
  alGetSourcei(source_, AL_BUFFERS_PROCESSED, &played);
  for (; played > 0 && !queued_.empty(); --played) {
    ALuint buffer = 0;
    alSourceUnqueueBuffers(source_, 1, &buffer);
    freeBuffers_.push_back(buffer);
    queueStart_ += queued_.front().frames;
    queued_.pop_front();
  }
}

void AudioStream::QueueDecodedBuffers() {
  const ALenum format = Channels() == 1 ? AL_FORMAT_MONO_FLOAT32 : AL_FORMAT_STEREO_FLOAT32;
  const int64_t bufferFrames = int64_t(samples_.size()) / Channels();
  while (!freeBuffers_.empty()) {
    const int64_t frames = decoder_.Read(samples_.data(), bufferFrames);
    if (frames == 0) return;
    const ALuint buffer = freeBuffers_.back();
    freeBuffers_.pop_back();
    alBufferData(buffer, format, samples_.data(), ALsizei(frames * Channels() * sizeof(float)),
                 decoder_.Rate());
    alSourceQueueBuffers(source_, 1, &buffer);
    queued_.push_back({buffer, frames});
  }
}

// Takes every buffer off the source, which goes back to its start: the first
// `heard` are done with (the stream has passed them), the others are queued
// again, unplayed.
void AudioStream::RestartQueue(size_t heard) {
  alSourceRewind(source_);
  alSourcei(source_, AL_BUFFER, 0);
  for (; heard > 0; --heard) {
    freeBuffers_.push_back(queued_.front().buffer);
    queueStart_ += queued_.front().frames;
    queued_.pop_front();
  }
  for (const QueuedBuffer& queued : queued_) alSourceQueueBuffers(source_, 1, &queued.buffer);
}
