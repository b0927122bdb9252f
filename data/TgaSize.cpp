#include "data/TgaSize.h"

#include <cstdio>

#include "platform/Files.h"

namespace {

// The 16-bit little-endian field at offset of the file's 18-byte header.
std::optional<uint16_t> ReadHeaderField(const std::string& fileName, int offset) {
  const std::optional<std::string> path = ResolvePath(fileName);
  if (!path) return std::nullopt;
  FILE* file = std::fopen(path->c_str(), "rb");
  if (!file) return std::nullopt;
  unsigned char header[18];
  const size_t got = std::fread(header, 1, sizeof header, file);
  std::fclose(file);
  if (got != sizeof header) return std::nullopt;
  return uint16_t(header[offset] + 256 * header[offset + 1]);
}

}  // namespace

std::optional<uint16_t> TgaWidth(const std::string& fileName) {
  return ReadHeaderField(fileName, 12);
}

std::optional<uint16_t> TgaHeight(const std::string& fileName) {
  return ReadHeaderField(fileName, 14);
}
