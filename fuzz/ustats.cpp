// UStats.cfg through LoadUnitStats.
#include "FuzzFolder.h"
#include "data/UnitStats.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cFuzzFolder folder;
  WriteFile("UStats.cfg", data, size);
  LoadUnitStats();
  return 0;
}
