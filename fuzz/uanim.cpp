// uAnim.cfg (stored shifted) through LoadLevelAndAnimTables, after a longer
// pAnim.cfg has been read.
#include "FuzzFolder.h"
#include "data/AnimTables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cFuzzFolder folder;
  WriteShiftedText("levels.cfg", "<levels\\l1.vrk;DATA\\lev1>");
  WriteShiftedText("pAnim.cfg", "ID: 0 address:DATA\\virko.tga>" + std::string(200, '5') + ">");
  WriteFile("uAnim.cfg", data, size);
  LoadLevelAndAnimTables();
  return 0;
}
