#include "data/MainScreenConfig.h"

#include "data/DataFile.h"
#include "screens/Screens.h"

namespace {

const char kMainScreenFile[] = "mainSCR.cfg";
constexpr int kMenuItems = 10;

// The six numbers at offsets 1, 5, 9, 13, 17 and 21 after the "#" at p.
tMenuItem ItemAt(const cDataText& text, size_t p) {
  return tMenuItem{text.Integer(p + 1, 3),  text.Integer(p + 5, 3),  text.Integer(p + 9, 3),
                   text.Integer(p + 13, 3), text.Integer(p + 17, 3), text.Integer(p + 21, 3)};
}

// Every "#" counts, wherever it stands; one without its 23 bytes is ignored.
void ParseMainScreen(const cDataText& text) {
  int k = 0;
  for (size_t p = 0; p < text.Size(); ++p) {
    if (text.At(p) != '#' || !text.Holds(p, p + 23)) continue;
    if (k < kMenuItems) {
      mainScreen.items[k++] = ItemAt(text, p);
    } else {
      text.WarnIgnored("items after the 10th");
    }
  }
}

}  // namespace

void LoadMainScreenConfig() {
  std::optional<std::vector<uint8_t>> bytes = ReadConfigFile(
      kMainScreenFile, true, kMainScreenBufferSize, CannotLoadMessage(kMainScreenFile));
  if (bytes) ParseReportingErrors(cDataText(kMainScreenFile, std::move(*bytes)), ParseMainScreen);
}
