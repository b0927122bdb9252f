#include "app/GameState.h"
#include "data/AnimTables.h"
#include "data/DataFile.h"

namespace {

const char kCatalogueFile[] = "levels.cfg";
// Path lengths are counted in 8 bits.
constexpr size_t kMaxPathLength = 255;

// The catalogue is "<file;folder>" entries. Every "<" takes the text up to
// the next ";" as the level file of entry n, every ";" the text up to the
// next ">" as its folder, and moves on to the next entry.
void ParseCatalogue(const cDataText& text) {
  size_t n = 0;
  // The path from p + 1 up to the terminator, which is searched from p + 2.
  auto pathAt = [&](size_t p, uint8_t terminator) -> std::optional<std::string> {
    const std::optional<size_t> end = text.Find(terminator, p + 2);
    if (!end) return std::nullopt;
    if (*end - (p + 1) > kMaxPathLength) {
      text.WarnIgnored("a path longer than 255 bytes");
      return std::nullopt;
    }
    return text.Text(p + 1, *end);
  };

  for (size_t p = 0; p < text.Size(); ++p) {
    if (text.At(p) == '<') {
      if (std::optional<std::string> levelFile = pathAt(p, ';')) {
        if (n < kMaxLevels) game.levelFile[n] = std::move(*levelFile);
        else text.WarnIgnored("entries after the 16th");
      }
    }
    if (text.At(p) == ';') {
      if (std::optional<std::string> levelDir = pathAt(p, '>')) {
        if (n < kMaxLevels) game.levelDir[n++] = std::move(*levelDir);
        else text.WarnIgnored("entries after the 16th");
      }
    }
  }
}

}  // namespace

bool LoadLevelCatalogue() {
  std::optional<std::vector<uint8_t>> bytes =
      ReadConfigFile(kCatalogueFile, true, kCatalogueBufferSize, CannotLoadMessage("levels.txt"));
  if (!bytes) return false;
  ParseCatalogue(cDataText(kCatalogueFile, std::move(*bytes)));
  return true;
}

void LoadLevelAndAnimTables() {
  if (!LoadLevelCatalogue()) return;
  if (!LoadPlayerAnims()) return;
  LoadUnitAnims();
}
