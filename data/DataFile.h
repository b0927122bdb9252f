// What the configuration readers share: reading whole files, the byte shift,
// the conversion of fixed-width number fields, and the text walked by the
// parsers, in which nothing is ever read past the file's own last byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The file's bytes, each lowered by 2 (modulo 256), at most maxBytes of them;
// nullopt if the file is missing or cannot be read.
std::optional<std::vector<uint8_t>> ReadShiftedFile(const std::string& fileName, size_t maxBytes);
// The file's bytes as they are, at most maxBytes of them; nullopt if the file
// is missing or cannot be read.
std::optional<std::vector<uint8_t>> ReadPlainFile(const std::string& fileName, size_t maxBytes);

// Decimal integer: optional leading blanks, optional sign, digits, nothing else.
std::optional<int32_t> ParseInteger(std::string_view field);
// The same with at most one decimal separator, point or comma, whatever the
// process's locale (".5" and "5." are numbers, "." is not).
std::optional<float> ParseFraction(std::string_view field);

// "Nevar ielādēt " (cannot load) followed by what, in Windows-1257.
std::string CannotLoadMessage(const std::string& what);

// Reports a field that is not a number ("VIRKO" box naming file and byte
// position, counted from 0) and asks the program to end, as for a missing file.
void ReportConversionError(const std::string& fileName, size_t position);

// Reads a text configuration file into its reader's buffer of bufferSize
// bytes. A missing file is reported with missingMessage, a longer file is
// refused with a message naming the file and the limit; both ask the program
// to end and give nullopt.
std::optional<std::vector<uint8_t>> ReadConfigFile(const std::string& fileName, bool shifted,
                                                   size_t bufferSize,
                                                   const std::string& missingMessage);

// The bytes of one text file as its parser walks them.
class cDataText {
 public:
  cDataText(std::string fileName, std::vector<uint8_t> bytes);

  const std::string& FileName() const { return fileName; }
  size_t Size() const { return bytes.size(); }
  uint8_t At(size_t p) const { return bytes[p]; }
  // Whether positions p .. last all lie within the file.
  bool Holds(size_t p, size_t last) const { return p <= last && last < bytes.size(); }
  // Whether the key's characters stand at p, p + 1, ...; a '?' in the key is
  // a character that is not tested. A key reaching past the end never matches.
  bool KeyAt(size_t p, std::string_view key) const;
  // The first position at or after from that holds c.
  std::optional<size_t> Find(uint8_t c, size_t from) const;
  // The bytes from begin up to, not including, end.
  std::string Text(size_t begin, size_t end) const;
  // The number fields of width bytes at p, which must lie within the file.
  // A field that is not a number throws tConversionError.
  int32_t Integer(size_t p, size_t width) const;
  float Fraction(size_t p, size_t width) const;
  // One line on stderr, the first time only, for entries the reader ignores
  // (beyond its table, or too long).
  void WarnIgnored(const std::string& what) const;

 private:
  std::string fileName;
  std::vector<uint8_t> bytes;
  mutable bool warned = false;
};

struct tConversionError {
  size_t position;
};

// Runs parse over the text. A field that is not a number stops it and is
// reported; returns whether the parse ran to its end.
bool ParseReportingErrors(const cDataText& text,
                          const std::function<void(const cDataText&)>& parse);
