#include "data/DataFile.h"

#include <charconv>
#include <cstdio>
#include <memory>

#include "platform/Files.h"
#include "platform/MessageBox.h"

namespace {

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};

// Where the number part of a field starts: after the leading blanks.
size_t SkipBlanks(std::string_view field) {
  size_t i = 0;
  while (i < field.size() && field[i] == ' ') ++i;
  return i;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The field as "[-]digits[.digits]" for from_chars: leading blanks, an
// optional sign, digits and, if allowed, one point or comma. nullopt if the
// field has anything else or no digit at all.
std::optional<std::string> NormalizeNumber(std::string_view field, bool separatorAllowed) {
  size_t i = SkipBlanks(field);
  std::string number;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
    if (field[i] == '-') number += '-';
    ++i;
  }
  bool separatorSeen = false;
  bool digitSeen = false;
  for (; i < field.size(); ++i) {
    const char c = field[i];
    if (IsDigit(c)) {
      digitSeen = true;
      number += c;
    } else if ((c == '.' || c == ',') && separatorAllowed && !separatorSeen) {
      separatorSeen = true;
      number += '.';
    } else {
      return std::nullopt;
    }
  }
  if (!digitSeen) return std::nullopt;
  return number;
}

// from_chars never looks at the locale, unlike strtod and the streams.
template <class Number>
std::optional<Number> ConvertNumber(std::string_view field, bool separatorAllowed) {
  const std::optional<std::string> number = NormalizeNumber(field, separatorAllowed);
  if (!number) return std::nullopt;
  Number value{};
  const char* end = number->data() + number->size();
  const auto [stop, error] = std::from_chars(number->data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::vector<uint8_t>> ReadPlainFile(const std::string& fileName, size_t maxBytes) {
  const std::optional<std::string> path = ResolvePath(fileName);
  if (!path || !FileExists(fileName)) return std::nullopt;
  const std::unique_ptr<FILE, FileCloser> file(std::fopen(path->c_str(), "rb"));
  if (!file) return std::nullopt;
  std::vector<uint8_t> bytes(maxBytes);
  bytes.resize(std::fread(bytes.data(), 1, maxBytes, file.get()));
  if (std::ferror(file.get())) return std::nullopt;
  return bytes;
}

std::optional<std::vector<uint8_t>> ReadShiftedFile(const std::string& fileName, size_t maxBytes) {
  std::optional<std::vector<uint8_t>> bytes = ReadPlainFile(fileName, maxBytes);
  if (bytes) {
    for (uint8_t& byte : *bytes) byte = uint8_t(byte - 2);
  }
  return bytes;
}

std::optional<int32_t> ParseInteger(std::string_view field) {
  return ConvertNumber<int32_t>(field, false);
}

std::optional<float> ParseFraction(std::string_view field) {
  return ConvertNumber<float>(field, true);
}

std::string CannotLoadMessage(const std::string& what) {
  return "Nevar iel\xE2\x64\xE7t " + what;
}

void ReportConversionError(const std::string& fileName, size_t position) {
  // "...: nav skaitlis pozīcijā N" (not a number at byte N).
  ReportFileLoadFailure(fileName, CannotLoadMessage(fileName + ": nav skaitlis poz\xEE" "cij\xE2 " +
                                      std::to_string(position)));
}

std::optional<std::vector<uint8_t>> ReadConfigFile(const std::string& fileName, bool shifted,
                                                   size_t bufferSize,
                                                   const std::string& missingMessage) {
  // One byte more than the buffer tells a longer file without reading it all.
  std::optional<std::vector<uint8_t>> bytes = shifted ? ReadShiftedFile(fileName, bufferSize + 1)
                                                      : ReadPlainFile(fileName, bufferSize + 1);
  if (!bytes) {
    ReportFileLoadFailure(fileName, missingMessage);
    return std::nullopt;
  }
  if (bytes->size() > bufferSize) {
    // "...: garāks par N baitiem" (longer than N bytes).
    ReportFileLoadFailure(fileName, CannotLoadMessage(fileName + ": gar\xE2ks par " +
                                        std::to_string(bufferSize) + " baitiem"));
    return std::nullopt;
  }
  return bytes;
}

cDataText::cDataText(std::string fileName, std::vector<uint8_t> bytes)
    : fileName(std::move(fileName)), bytes(std::move(bytes)) {}

bool cDataText::KeyAt(size_t p, std::string_view key) const {
  if (key.empty() || !Holds(p, p + key.size() - 1)) return false;
  for (size_t i = 0; i < key.size(); ++i) {
    if (key[i] != '?' && bytes[p + i] != uint8_t(key[i])) return false;
  }
  return true;
}

std::optional<size_t> cDataText::Find(uint8_t c, size_t from) const {
  for (size_t p = from; p < bytes.size(); ++p) {
    if (bytes[p] == c) return p;
  }
  return std::nullopt;
}

std::string cDataText::Text(size_t begin, size_t end) const {
  return std::string(bytes.begin() + begin, bytes.begin() + end);
}

int32_t cDataText::Integer(size_t p, size_t width) const {
  const std::optional<int32_t> value = ParseInteger(Text(p, p + width));
  if (!value) throw tConversionError{p};
  return *value;
}

float cDataText::Fraction(size_t p, size_t width) const {
  const std::optional<float> value = ParseFraction(Text(p, p + width));
  if (!value) throw tConversionError{p};
  return *value;
}

bool ParseReportingErrors(const cDataText& text,
                          const std::function<void(const cDataText&)>& parse) {
  try {
    parse(text);
    return true;
  } catch (const tConversionError& error) {
    ReportConversionError(text.FileName(), error.position);
    return false;
  }
}

void cDataText::WarnIgnored(const std::string& what) const {
  if (!warned) std::fprintf(stderr, "%s: %s ignored\n", fileName.c_str(), what.c_str());
  warned = true;
}
