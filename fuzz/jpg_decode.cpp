// The JPG decoder on arbitrary bytes: every failure of libjpeg must come
// back as a refusal, never end the process or touch memory out of bounds.
#include <cstddef>
#include <cstdint>

#include "gfx/ImageDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tImage image;
  if (DecodeJpg(std::span(data, size), image) &&
      image.rgba.size() != size_t(image.width) * image.height * 4)
    __builtin_trap();
  return 0;
}
