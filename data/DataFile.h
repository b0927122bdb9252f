// What the configuration readers share: reading whole files, the byte shift,
// and the conversion of fixed-width number fields.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The file's bytes, each lowered by 2 (modulo 256); nullopt if it is missing.
std::optional<std::vector<uint8_t>> ReadShiftedFile(const std::string& fileName);
// The file's bytes as they are; nullopt if it is missing.
std::optional<std::vector<uint8_t>> ReadPlainFile(const std::string& fileName);

// Decimal integer: optional leading blanks, optional sign, digits, nothing else.
std::optional<int32_t> ParseInteger(std::string_view field);
// The same with at most one decimal separator, point or comma.
std::optional<float> ParseFraction(std::string_view field);

// Reports a field that is not a number ("VIRKO" box naming file and byte
// position) and asks the program to end, as for a missing file.
void ReportConversionError(const std::string& fileName, size_t position);
