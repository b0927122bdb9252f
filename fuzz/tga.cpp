// A TGA header through TgaWidth and TgaHeight.
#include "FuzzFolder.h"
#include "data/TgaSize.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cFuzzFolder folder;
  WriteFile("picture.tga", data, size);
  const std::optional<uint16_t> width = TgaWidth("picture.tga");
  const std::optional<uint16_t> height = TgaHeight("picture.tga");
  if (width.has_value() != height.has_value() || width.has_value() != (size >= 18)) abort();
  return 0;
}
