#include "platform/Files.h"

#include <strings.h>

#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> SplitGamePath(const std::string& gamePath) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : gamePath) {
    if (c == '\\' || c == '/') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

// The entry of folder whose name equals name, compared without case; an exact
// match wins over the others.
std::optional<fs::path> FindEntry(const fs::path& folder, const std::string& name) {
  std::error_code error;
  const fs::path exact = folder / name;
  if (fs::exists(exact, error)) return exact;
  for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error), end;
       !error && it != end; it.increment(error)) {
    const std::string entry = it->path().filename().string();
    if (strcasecmp(entry.c_str(), name.c_str()) == 0) return folder / entry;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ResolvePath(const std::string& gamePath) {
  const std::vector<std::string> parts = SplitGamePath(gamePath);
  if (parts.empty()) return std::nullopt;
  fs::path path = (!gamePath.empty() && gamePath[0] == '/') ? fs::path("/") : fs::path();
  for (const std::string& part : parts) {
    if (part == "." || part == "..") {
      path /= part;
      continue;
    }
    std::optional<fs::path> found = FindEntry(path, part);
    if (!found) return std::nullopt;
    path = *found;
  }
  return path.string();
}

bool FileExists(const std::string& gamePath) {
  const std::optional<std::string> path = ResolvePath(gamePath);
  std::error_code error;
  return path && fs::is_regular_file(*path, error);
}

std::string WritablePath(const std::string& gamePath) {
  std::vector<std::string> parts = SplitGamePath(gamePath);
  if (parts.empty()) return gamePath;
  const std::string name = parts.back();
  parts.pop_back();
  std::string folder;
  for (const std::string& part : parts) folder += part + "/";
  if (const std::optional<std::string> existing = ResolvePath(gamePath)) return *existing;
  if (folder.empty()) return name;
  const std::optional<std::string> resolvedFolder = ResolvePath(folder);
  return (resolvedFolder ? *resolvedFolder : folder) + "/" + name;
}
