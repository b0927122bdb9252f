// Push streams on the OpenAL context that the audio library made current.
// Each stream is one source fed with a queue of buffers; played buffers are
// taken back and reused.
#include <AL/al.h>
#include <AL/alc.h>

#include <deque>
#include <vector>

#include "audio/AudioLibrary.h"

struct AudioPcmStream {
  ALCcontext* context = nullptr;
  ALuint source = 0;
  ALenum format = AL_FORMAT_STEREO16;
  int sampleRate = 0;
  int channels = 0;
  bool playing = false;
  struct Queued {
    ALuint buffer;
    int frames;
  };
  std::deque<Queued> queued;  // oldest first, as in the source's queue
  std::vector<ALuint> spare;
};

namespace {

constexpr int kMaxQueuedMs = 2000;

// The stream's context is gone once the library has been released.
bool Usable(const AudioPcmStream* stream) {
  return stream && stream->context && alcGetCurrentContext() == stream->context;
}

void TakeBackPlayed(AudioPcmStream* stream) {
  ALint processed = 0;
  alGetSourcei(stream->source, AL_BUFFERS_PROCESSED, &processed);
  for (; processed > 0 && !stream->queued.empty(); --processed) {
    ALuint buffer = stream->queued.front().buffer;
    alSourceUnqueueBuffers(stream->source, 1, &buffer);
    stream->queued.pop_front();
    stream->spare.push_back(buffer);
  }
}

int QueuedFrames(const AudioPcmStream* stream) {
  int frames = 0;
  for (const AudioPcmStream::Queued& q : stream->queued) frames += q.frames;
  ALint offset = 0;  // within the first buffer still queued
  alGetSourcei(stream->source, AL_SAMPLE_OFFSET, &offset);
  return frames > offset ? frames - offset : 0;
}

int FramesToMs(const AudioPcmStream* stream, int frames) {
  return int(int64_t(frames) * 1000 / stream->sampleRate);
}

void ResumeIfDry(AudioPcmStream* stream) {
  if (!stream->playing || stream->queued.empty()) return;
  ALint state = 0;
  alGetSourcei(stream->source, AL_SOURCE_STATE, &state);
  if (state != AL_PLAYING) alSourcePlay(stream->source);
}

}  // namespace

AudioPcmStream* AudioPcmStreamCreate(int sampleRate, int channels) {
  ALCcontext* context = alcGetCurrentContext();
  if (!context || sampleRate <= 0 || (channels != 1 && channels != 2)) return nullptr;
  alGetError();
  ALuint source = 0;
  alGenSources(1, &source);
  if (alGetError() != AL_NO_ERROR) return nullptr;
  // Not placed in space: played as it is.
  alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
  alSource3f(source, AL_POSITION, 0, 0, 0);
  alSourcef(source, AL_ROLLOFF_FACTOR, 0);
  auto* stream = new AudioPcmStream;
  stream->context = context;
  stream->source = source;
  stream->format = channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
  stream->sampleRate = sampleRate;
  stream->channels = channels;
  return stream;
}

void AudioPcmStreamPush(AudioPcmStream* stream, const int16_t* samples, int frames) {
  if (!Usable(stream) || !samples || frames <= 0) return;
  TakeBackPlayed(stream);
  if (FramesToMs(stream, QueuedFrames(stream) + frames) > kMaxQueuedMs) return;
  ALuint buffer = 0;
  if (!stream->spare.empty()) {
    buffer = stream->spare.back();
    stream->spare.pop_back();
  } else {
    alGetError();
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR) return;
  }
  alBufferData(buffer, stream->format, samples,
               ALsizei(frames * stream->channels * sizeof(int16_t)), stream->sampleRate);
  alSourceQueueBuffers(stream->source, 1, &buffer);
  stream->queued.push_back({buffer, frames});
  ResumeIfDry(stream);
}

void AudioPcmStreamPlay(AudioPcmStream* stream) {
  if (!Usable(stream)) return;
  stream->playing = true;
  ResumeIfDry(stream);
}

void AudioPcmStreamSetVolume(AudioPcmStream* stream, int volume) {
  if (!Usable(stream)) return;
  if (volume < 0) volume = 0;
  if (volume > 100) volume = 100;
  alSourcef(stream->source, AL_GAIN, volume / 100.0f);
}

int AudioPcmStreamQueuedMs(AudioPcmStream* stream) {
  if (!Usable(stream)) return 0;
  TakeBackPlayed(stream);
  return FramesToMs(stream, QueuedFrames(stream));
}

void AudioPcmStreamFree(AudioPcmStream* stream) {
  if (!stream) return;
  if (Usable(stream)) {
    alSourceStop(stream->source);
    alSourcei(stream->source, AL_BUFFER, 0);
    for (const AudioPcmStream::Queued& q : stream->queued) alDeleteBuffers(1, &q.buffer);
    if (!stream->spare.empty()) alDeleteBuffers(ALsizei(stream->spare.size()), stream->spare.data());
    alDeleteSources(1, &stream->source);
  }
  delete stream;
}
