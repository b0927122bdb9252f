#include "app/DisplayChoice.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "platform/Files.h"

namespace {

constexpr std::string_view kFullScreen = "full screen";
constexpr std::string_view kWindow = "window";
constexpr size_t kLongestFile = 64;  // more than either word and its line end

std::string keptAt;

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

std::optional<bool> KeepDisplayChoiceIn(const std::string& path) {
  keptAt = path;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    const int error = errno;
    if (error != ENOENT)  // a missing file: no choice made yet
      std::fprintf(stderr, "%s: %s; full screen\n", path.c_str(), std::strerror(error));
    return std::nullopt;
  }
  std::string text(kLongestFile + 1, '\0');
  in.read(text.data(), std::streamsize(text.size()));
  text.resize(size_t(in.gcount()));
  const std::string_view word = Trimmed(text);
  if (word == kFullScreen || word == kWindow) return word == kFullScreen;
  std::fprintf(stderr, "%s: neither \"full screen\" nor \"window\"; ignored, full screen\n",
               path.c_str());
  return std::nullopt;
}

void DisplayChoiceMade(bool fullScreen) {
  if (keptAt.empty()) return;
  const std::string text = std::string(fullScreen ? kFullScreen : kWindow) + "\n";
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(keptAt).parent_path(), error);
  if (error || !ReplaceFile(keptAt, reinterpret_cast<const uint8_t*>(text.data()), text.size())) {
    std::fprintf(stderr, "%s not saved: %s\n", keptAt.c_str(),
                 error ? error.message().c_str() : std::strerror(errno));
  }
}
