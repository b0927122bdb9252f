// levels.cfg (stored shifted) through LoadLevelAndAnimTables.
#include "FuzzFolder.h"
#include "data/AnimTables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cFuzzFolder folder;
  WriteFile("levels.cfg", data, size);
  WriteShiftedText("pAnim.cfg", "");
  WriteShiftedText("uAnim.cfg", "");
  LoadLevelAndAnimTables();
  return 0;
}
