// settings.cfg through cGameSet::LoadSettings.
#include "FuzzFolder.h"
#include "data/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cFuzzFolder folder;
  WriteFile("settings.cfg", data, size);
  gameSettings.LoadSettings();
  return 0;
}
