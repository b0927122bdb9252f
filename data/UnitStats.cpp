#include "data/UnitStats.h"

#include "data/DataFile.h"
#include "game/Units.h"

namespace {

const char kUnitStatsFile[] = "UStats.cfg";
constexpr size_t kRecordLength = 27;

// The record from the "<" at p on; the bytes between the fields are not read.
// Byte fields keep the low 8 bits of their value.
void ParseRecord(const cDataText& text, size_t p, tUnitType& type) {
  const uint8_t width = uint8_t(text.Integer(p + 2, 3));
  const uint8_t height = uint8_t(text.Integer(p + 6, 3));
  const int32_t health = text.Integer(p + 10, 3);
  const uint8_t jumpMax = uint8_t(text.Integer(p + 14, 3));
  const float typeParam = text.Fraction(p + 18, 3);
  const float fallSpeed = text.Fraction(p + 22, 3);
  const uint8_t collides = uint8_t(text.Integer(p + 26, 1));
  type.width = width;
  type.height = height;
  type.health = health;
  type.jumpMax = jumpMax;
  type.typeParam = typeParam;
  type.fallSpeed = fallSpeed;
  type.collides = collides;
}

// Every "<" starts a record; one cut short by the end of the file is skipped.
void ParseUnitStats(const cDataText& text) {
  int n = 0;
  for (size_t p = 0; p < text.Size(); ++p) {
    if (text.At(p) != '<' || !text.Holds(p, p + kRecordLength - 1)) continue;
    if (n < kUnitTypes) {
      ParseRecord(text, p, unitTypes[n++]);
    } else {
      text.WarnIgnored("records after the 7th");
    }
  }
}

}  // namespace

void LoadUnitStats() {
  std::optional<std::vector<uint8_t>> bytes = ReadConfigFile(
      kUnitStatsFile, false, kUnitStatsBufferSize, CannotLoadMessage("ustats.txt"));
  if (bytes) ParseReportingErrors(cDataText(kUnitStatsFile, std::move(*bytes)), ParseUnitStats);
}
