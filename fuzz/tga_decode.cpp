// The TGA decoder on arbitrary bytes: it must refuse or decode, never read
// or write out of bounds.
#include <cstddef>
#include <cstdint>

#include "gfx/ImageDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tImage image;
  if (DecodeTga(std::span(data, size), image) == TgaStatus::ok &&
      image.rgba.size() != size_t(image.width) * image.height * 4)
    __builtin_trap();
  return 0;
}
