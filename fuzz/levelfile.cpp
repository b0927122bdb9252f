// A binary level file through LoadLevelFile.
#include "FuzzFolder.h"
#include "data/LevelFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cFuzzFolder folder;
  WriteFile("level.vrk", data, size);
  LoadLevelFile("level.vrk");
  return 0;
}
