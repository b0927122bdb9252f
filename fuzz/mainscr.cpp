// mainSCR.cfg (stored shifted) through LoadMainScreenConfig.
#include "FuzzFolder.h"
#include "data/MainScreenConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cFuzzFolder folder;
  WriteFile("mainSCR.cfg", data, size);
  LoadMainScreenConfig();
  return 0;
}
