#include "data/AnimTables.h"

#include <span>
#include <string_view>

#include "data/DataFile.h"
#include "game/Units.h"

tAnimData playerAnims[kPlayerAnimSets];

namespace {

// A sequence key: its characters from the key's position on ('?' is not
// tested) and the sequence its value fills.
struct tSequenceKey {
  std::string_view key;
  tAnimSeq tAnimData::*sequence;
};

// The keys are tested in this order; byte 0xE2 is the a with macron.
constexpr tSequenceKey kPlayerSequences[] = {
    {"st\xE2??A", &tAnimData::standA}, {"st\xE2??B", &tAnimData::standB},
    {"skr??A", &tAnimData::runA},      {"skr??B", &tAnimData::runB},
    {"lek??_", &tAnimData::jump},      {"kri??_", &tAnimData::fall},
    {"punc", &tAnimData::punch},       {"actA", &tAnimData::actA},
    {"actB", &tAnimData::actB},        {"actC", &tAnimData::actC},
    {"actD", &tAnimData::actD},        {"actE", &tAnimData::actE},
};
// Unit types have no second variants and no actions C to E, and their jump
// and fall keys are told apart by fewer characters.
constexpr tSequenceKey kUnitSequences[] = {
    {"st\xE2??A", &tAnimData::standA}, {"skr??A", &tAnimData::runA},
    {"lek", &tAnimData::jump},         {"kris", &tAnimData::fall},
    {"punc", &tAnimData::punch},       {"actA", &tAnimData::actA},
    {"actB", &tAnimData::actB},
};

// What sets pAnim.cfg and uAnim.cfg apart.
struct tAnimFile {
  const char* fileName;
  std::string_view selectorKey;
  size_t selectorOffset;  // the record number's digits
  size_t selectorWidth;
  int tableSize;
  tAnimData& (*record)(int index);
  std::span<const tSequenceKey> sequences;
};

const tAnimFile kPlayerAnimFile = {
    "pAnim.cfg", "ID", 4, 1, kPlayerAnimSets,
    [](int index) -> tAnimData& { return playerAnims[index]; }, kPlayerSequences};
const tAnimFile kUnitAnimFile = {
    "uAnim.cfg", "uT", 7, 2, kUnitTypes,
    [](int index) -> tAnimData& { return unitTypes[index].anim; }, kUnitSequences};

tAnimSeq SequenceAt(const cDataText& text, size_t p) {
  return tAnimSeq{text.Integer(p + 8, 3), text.Integer(p + 12, 3), text.Fraction(p + 16, 4)};
}

// The keys of one record at position p; their values stand from offset 8 on.
// A key whose value runs past the end of the file is skipped and its field
// keeps its value.
void ParseRecordKeys(const cDataText& text, size_t p, std::span<const tSequenceKey> sequences,
                     tAnimData& record) {
  if (text.KeyAt(p, "add")) {
    if (const std::optional<size_t> end = text.Find('>', p + 8)) {
      record.fileName = text.Text(p + 8, *end);
    }
  }
  const bool sizeInFile = text.Holds(p, p + 10);
  if (text.KeyAt(p, "i????W") && sizeInFile) record.width = text.Integer(p + 8, 3);
  if (text.KeyAt(p, "i????H") && sizeInFile) record.height = text.Integer(p + 8, 3);
  for (const tSequenceKey& key : sequences) {
    if (text.KeyAt(p, key.key) && text.Holds(p, p + 19)) record.*key.sequence = SequenceAt(text, p);
  }
}

// Walks every position: a selector picks the record that the following keys
// fill. Keys before the first selector, or after one outside the table, have
// no record and are skipped.
void ParseAnimFile(const cDataText& text, const tAnimFile& format) {
  tAnimData* record = nullptr;
  for (size_t p = 0; p < text.Size(); ++p) {
    const size_t digits = p + format.selectorOffset;
    if (text.KeyAt(p, format.selectorKey) &&
        text.Holds(digits, digits + format.selectorWidth - 1)) {
      const int32_t index = text.Integer(digits, format.selectorWidth);
      record = index >= 0 && index < format.tableSize ? &format.record(index) : nullptr;
      if (!record) text.WarnIgnored("records outside the table");
    }
    if (record) ParseRecordKeys(text, p, format.sequences, *record);
  }
}

bool LoadAnimFile(const tAnimFile& format) {
  std::optional<std::vector<uint8_t>> bytes = ReadConfigFile(
      format.fileName, true, kCatalogueBufferSize, CannotLoadMessage("anim.txt"));
  if (!bytes) return false;
  return ParseReportingErrors(cDataText(format.fileName, std::move(*bytes)),
                              [&](const cDataText& text) { ParseAnimFile(text, format); });
}

}  // namespace

bool LoadPlayerAnims() { return LoadAnimFile(kPlayerAnimFile); }
bool LoadUnitAnims() { return LoadAnimFile(kUnitAnimFile); }
