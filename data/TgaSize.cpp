#include "data/TgaSize.h"

#include "data/DataFile.h"

namespace {

constexpr size_t kHeaderSize = 18;

// The 16-bit little-endian field at offset of the file's 18-byte header.
std::optional<uint16_t> ReadHeaderField(const std::string& fileName, int offset) {
  const std::optional<std::vector<uint8_t>> header = ReadPlainFile(fileName, kHeaderSize);
  if (!header || header->size() != kHeaderSize) return std::nullopt;
  return uint16_t((*header)[offset] + 256 * (*header)[offset + 1]);
}

}  // namespace

std::optional<uint16_t> TgaWidth(const std::string& fileName) {
  return ReadHeaderField(fileName, 12);
}

std::optional<uint16_t> TgaHeight(const std::string& fileName) {
  return ReadHeaderField(fileName, 14);
}
