// Decoding of the game's videos (ASF files with WMV pictures and WMA sound).
// The decoder lives in a module of its own, loaded while a video plays and
// unloaded when it ends: the codec libraries it needs hold some twenty
// megabytes that the rest of the game has no use for.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

// What the decoder hands back of the sound: 44100 Hz stereo, 16 bits.
class cVideoSoundSink {
 public:
  virtual ~cVideoSoundSink() = default;
  // Whether sound that ends at endMs (file time from the start) is still
  // worth decoding; late sound is left out.
  virtual bool Wants(int64_t endMs) = 0;
  virtual void Push(const int16_t* pcm, int frames) = 0;
};

struct tVideoInfo {
  int width = 0;  // the picture as stored
  int height = 0;
  double pixelAspect = 0;     // 0 when the file does not say
  int64_t lengthMs = -1;      // -1 when the file does not say
  int64_t frameStepMs = 40;   // one picture's duration
  std::string otherSound;     // the format of sound that is not WMA, not played
};

class cVideoDecoder {
 public:
  virtual ~cVideoDecoder() = default;

  // Opens a local ASF file whose video is WMV1, WMV2, WMV3 or VC-1; nothing
  // else is read (no protocols, no other container). False with the reason
  // in error.
  virtual bool Open(const std::string& path, std::string& error) = 0;
  virtual tVideoInfo Info() const = 0;
  // Whether the file has WMA sound (sound in another format is left out).
  virtual bool HasSound() const = 0;
  // Starts decoding the sound into sink, which must outlive the decoder.
  virtual bool OpenSound(cVideoSoundSink* sink) = 0;

  enum class Picture { decoded, later, ended };
  // Decodes the next picture, reading at most packetBudget packets: decoded
  // (its time in timeMs), later (the budget ran out; call again), or ended
  // (no more pictures, or too many damaged ones).
  virtual Picture DecodeNext(int packetBudget, int64_t& timeMs) = 0;
  // The picture decoded last becomes the one shown.
  virtual void ShowNext() = 0;
  // The shown picture scaled to width x height RGBA pixels, rows from the
  // top and width * 4 bytes apart; nothing is written past the last row.
  // False when it cannot be converted.
  virtual bool ConvertShown(int width, int height, uint8_t* rgba) = 0;
};

// Loads the module and makes a decoder; null, with the reason in error, when
// the module cannot be loaded. Dropping the decoder unloads the module.
struct tVideoModuleUnloader {
  void* module = nullptr;
  void operator()(cVideoDecoder* decoder) const;
};
using VideoDecoderPtr = std::unique_ptr<cVideoDecoder, tVideoModuleUnloader>;
VideoDecoderPtr LoadVideoDecoder(std::string& error);

// The one function the module exports.
extern "C" cVideoDecoder* VirkoCreateVideoDecoder();
