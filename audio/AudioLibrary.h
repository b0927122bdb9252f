// The audio library: music streams and sound effects played from WAV and MP3
// files (OpenAL Soft plays, libsndfile decodes). Every operation is a harmless
// no-op on a handle whose file could not be opened (handle 0) and after
// AudioFree. Without an audio device everything works silently: streams open
// and report their length, but nothing plays and positions stay where they
// are put. Positions and lengths are bytes of the decoded 16-bit stream
// (frames x channels x 2); files of more than two channels play mixed down
// to stereo, and count as that. Files are decoded as they play, a couple of
// seconds ahead; an MP3 file's length is counted by decoding it once in the
// background from the moment it is opened.
#pragma once

#include <cstdint>

using AudioHandle = uint32_t;  // 0 = no stream

// Opens the default output device, mixing at outputRate Hz. Once; again only
// after AudioFree.
void AudioInit(int outputRate);
// The game's path ("DATA\\AUDIO\\hev.mp3"); 0 if it cannot be opened as a
// sound.
AudioHandle AudioStreamCreateFile(const char* path);
// Playback rate in Hz (the file's own rate for 0; 40000 on a 44100 Hz file
// plays slower and lower), volume 0..100 (linear), pan -100..100 (mono files).
void AudioChannelSetAttributes(AudioHandle handle, int frequency, int volume, int pan);
// For an MP3 file, waits for its count if that is still running.
uint64_t AudioStreamGetLength(AudioHandle handle);
uint64_t AudioChannelGetPosition(AudioHandle handle);
// Starts or resumes playback from the current position (from the start with
// restart). At the end of the stream it plays nothing until rewound.
void AudioChannelPlay(AudioHandle handle, bool restart);
// Stops playback; the position stays where it was.
void AudioChannelStop(AudioHandle handle);
void AudioChannelSetPosition(AudioHandle handle, uint64_t position);
// Releases one stream; its handle then names nothing.
void AudioStreamFree(AudioHandle handle);
// Releases every stream and the device.
void AudioFree();
// Gain in hundredths of a decibel (0 = full, -500 = 5 dB down), applied on
// top of the volume; used by the menu's hover sound.
void AudioChannelSetGainDb100(AudioHandle handle, int db100);
// Keeps the streams fed; called once per pass of the main loop.
void AudioUpdate();

// ---------------------------------------------------------------------------
// Push streams: 16-bit PCM made by the program while it plays (a video's
// sound), played on the library's device. Like the rest of the library,
// every operation is a harmless no-op when no device is open, after
// AudioFree, and on a null stream.
struct AudioPcmStream;
// Interleaved 16-bit samples at sampleRate, 1 or 2 channels. Null when no
// device is open. The stream starts paused.
AudioPcmStream* AudioPcmStreamCreate(int sampleRate, int channels);
// Queues frames (frames x channels samples). At most two seconds are held;
// sound beyond that is dropped. A playing stream that ran dry plays on as
// soon as more sound is pushed.
void AudioPcmStreamPush(AudioPcmStream* stream, const int16_t* samples, int frames);
void AudioPcmStreamPlay(AudioPcmStream* stream);
// Volume 0..100, on the same scale as AudioChannelSetAttributes.
void AudioPcmStreamSetVolume(AudioPcmStream* stream, int volume);
// Milliseconds of sound queued and not yet played.
int AudioPcmStreamQueuedMs(AudioPcmStream* stream);
// Stops the sound and frees the stream.
void AudioPcmStreamFree(AudioPcmStream* stream);
