// The frame cutter on a decoded strip: the first two bytes are the frame
// height asked for, the rest a TGA file. Every frame handed out must lie
// inside the decoded pixels.
#include <cstddef>
#include <cstdint>

#include "gfx/ImageDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int frameHeight = data[0] | data[1] << 8;
  tImage strip;
  if (DecodeTga(std::span(data + 2, size - 2), strip) != TgaStatus::ok) return 0;
  const tFrameStrip frames = CutFrameStrip(strip.width, strip.height, frameHeight);
  const size_t frameBytes = size_t(strip.width) * frames.frameHeight * 4;
  unsigned sum = 0;
  for (int i = 1; i <= frames.count; ++i) {
    const uint8_t* first = FramePixels(strip, frames, i);
    if (first < strip.rgba.data() || first + frameBytes > strip.rgba.data() + strip.rgba.size())
      __builtin_trap();
    sum += first[0] + first[frameBytes - 1];  // the frame's first and last bytes
  }
  return sum == 0xFFFFFFFF;
}
