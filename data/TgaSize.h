#pragma once
#include <cstdint>
#include <optional>
#include <string>
// Width and height from a TGA file's 18-byte header; nullopt when the file is
// missing or shorter than its header.
std::optional<uint16_t> TgaWidth(const std::string& fileName);
std::optional<uint16_t> TgaHeight(const std::string& fileName);
