// The audio library on OpenAL Soft: one output device, and a table of
// streams behind the handles the game keeps.
#include "audio/AudioLibrary.h"

#include <AL/alc.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "audio/AudioStream.h"
#include "platform/Files.h"

namespace {

bool started = false;
ALCdevice* device = nullptr;
ALCcontext* context = nullptr;
std::map<AudioHandle, std::unique_ptr<AudioStream>> streams;
AudioHandle lastHandle = 0;

AudioStream* Find(AudioHandle handle) {
  const auto found = streams.find(handle);
  return found == streams.end() ? nullptr : found->second.get();
}

uint64_t BytesPerFrame(const AudioStream& stream) { return uint64_t(stream.Channels()) * 2; }

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// A machine without a sound card is normal for this game: it then plays
// silently. OpenAL Soft and ALSA (which OpenAL Soft loads) would each print
// their failure to open a device; both are told to keep quiet. A log level
// set by whoever started the game is kept.
void QuietDeviceErrors() {
  setenv("ALSOFT_LOGLEVEL", "0", 0);
  // Loaded here first, the library stays loaded, and OpenAL Soft gets this
  // same instance with the handler set.
  static void* const alsa = dlopen("libasound.so.2", RTLD_LAZY);
  if (!alsa) return;
  using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
  using SetHandler = int (*)(ErrorHandler);
  if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
    set(IgnoreAlsaError);
}

void OpenDevice(int outputRate) {
  QuietDeviceErrors();
  device = alcOpenDevice(nullptr);
  if (!device) return;
  const ALCint attributes[] = {ALC_FREQUENCY, outputRate, 0};
  context = alcCreateContext(device, attributes);
  if (context && alcMakeContextCurrent(context)) return;
  if (context) alcDestroyContext(context);
  alcCloseDevice(device);
  context = nullptr;
  device = nullptr;
}

}  // namespace

void AudioInit(int outputRate) {
  if (started) return;
  started = true;
  OpenDevice(outputRate);
}

AudioHandle AudioStreamCreateFile(const char* path) {
  if (!started) return 0;
  const std::optional<std::string> file = ResolvePath(path);
  if (!file) return 0;
  std::unique_ptr<AudioStream> stream = AudioStream::Open(*file, context != nullptr);
  if (!stream) return 0;
  streams[++lastHandle] = std::move(stream);
  return lastHandle;
}

void AudioChannelSetAttributes(AudioHandle handle, int frequency, int volume, int pan) {
  if (AudioStream* stream = Find(handle)) stream->SetAttributes(frequency, volume, pan);
}

void AudioChannelSetGainDb100(AudioHandle handle, int db100) {
  if (AudioStream* stream = Find(handle)) stream->SetGainDb100(db100);
}

uint64_t AudioStreamGetLength(AudioHandle handle) {
  AudioStream* stream = Find(handle);
  return stream ? uint64_t(stream->LengthFrames()) * BytesPerFrame(*stream) : 0;
}

uint64_t AudioChannelGetPosition(AudioHandle handle) {
  const AudioStream* stream = Find(handle);
  return stream ? uint64_t(stream->PositionFrames()) * BytesPerFrame(*stream) : 0;
}

void AudioChannelPlay(AudioHandle handle, bool restart) {
  AudioStream* stream = Find(handle);
  if (!stream) return;
  if (restart) stream->SetPositionFrames(0);
  stream->Play();
}

void AudioChannelStop(AudioHandle handle) {
  if (AudioStream* stream = Find(handle)) stream->Stop();
}

void AudioChannelSetPosition(AudioHandle handle, uint64_t position) {
  AudioStream* stream = Find(handle);
  if (!stream) return;
  const uint64_t frame = position / BytesPerFrame(*stream);
  stream->SetPositionFrames(int64_t(std::min<uint64_t>(frame, INT64_MAX)));
}

void AudioStreamFree(AudioHandle handle) { streams.erase(handle); }

void AudioFree() {
  streams.clear();
  if (context) {
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
  }
  if (device) alcCloseDevice(device);
  context = nullptr;
  device = nullptr;
  started = false;
}

void AudioUpdate() {
  for (auto& [handle, stream] : streams) stream->Update();
}
