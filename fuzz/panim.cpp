// pAnim.cfg (stored shifted) through LoadLevelAndAnimTables, after a longer
// levels.cfg has been read.
#include "FuzzFolder.h"
#include "data/AnimTables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cFuzzFolder folder;
  WriteShiftedText("levels.cfg", "<levels\\l1.vrk;DATA\\lev1>" + std::string(200, '7') + ">");
  WriteFile("pAnim.cfg", data, size);
  WriteShiftedText("uAnim.cfg", "");
  LoadLevelAndAnimTables();
  return 0;
}
