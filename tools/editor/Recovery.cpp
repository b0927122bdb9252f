#include "tools/editor/Recovery.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/Files.h"

namespace {

const char kFirstLine[] = "# virko-edit recovery of: ";
const char kNewLevel[] = "(a new level)";

std::string NameHash(const std::string& text) {
  uint64_t hash = 1469598103934665603ull;  // FNV-1a
  for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
  char name[40];
  std::snprintf(name, sizeof name, "recovery-%016llx.level", static_cast<unsigned long long>(hash));
  return name;
}

std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

std::optional<RecoveredLevel> ReadRecovery(const std::filesystem::path& file) {
  std::error_code error;
  if (std::filesystem::file_size(file, error) > kLargestLevelFile || error) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!text.starts_with(kFirstLine)) return std::nullopt;
  const size_t end = text.find('\n');
  if (end == std::string::npos) return std::nullopt;
  RecoveredLevel recovered{file.string(), text.substr(sizeof kFirstLine - 1, end - (sizeof kFirstLine - 1)), {}};
  if (recovered.levelPath == kNewLevel) recovered.levelPath.clear();
  std::vector<LevelProblem> problems;
  recovered.level = ParseLevelText(text, problems);
  return recovered;
}

}  // namespace

std::string RecoveryFolder() {
  std::filesystem::path folder;
  if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/') {
    folder = state;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    folder = std::filesystem::path(home) / ".local/state";
  } else {
    return "";
  }
  folder /= "virko-edit";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return error ? "" : folder.string();
}

std::string RecoveryFileFor(const std::string& folder, const std::string& levelPath) {
  return (std::filesystem::path(folder) / NameHash(levelPath.empty() ? kNewLevel : AbsolutePath(levelPath))).string();
}

bool WriteRecovery(const std::string& folder, const EditDocument& document, std::string& error) {
  if (folder.empty()) {
    error = "no folder for recovery files (HOME is not set)";
    return false;
  }
  const std::string owner = document.textPath.empty() ? kNewLevel : AbsolutePath(document.textPath);
  const std::string text = kFirstLine + owner + "\n" + WriteLevelText(document.level, {});
  const std::string file = RecoveryFileFor(folder, document.textPath);
  if (ReplaceFile(file, reinterpret_cast<const uint8_t*>(text.data()), text.size())) return true;
  error = "cannot write the recovery file " + file;
  return false;
}

void RemoveRecovery(const std::string& folder, const EditDocument& document) {
  if (folder.empty()) return;
  std::error_code error;
  std::filesystem::remove(RecoveryFileFor(folder, document.textPath), error);
}

std::vector<RecoveredLevel> FindRecoveries(const std::string& folder) {
  std::vector<std::pair<std::filesystem::file_time_type, RecoveredLevel>> found;
  std::error_code error;
  if (folder.empty()) return {};
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (!entry.is_regular_file(error) || !entry.path().filename().string().starts_with("recovery-")) continue;
    if (std::optional<RecoveredLevel> recovered = ReadRecovery(entry.path()))
      found.push_back({entry.last_write_time(error), std::move(*recovered)});
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<RecoveredLevel> out;
  for (auto& [time, recovered] : found) out.push_back(std::move(recovered));
  return out;
}

EditDocument RestoreRecovery(const RecoveredLevel& recovered) {
  std::string error;
  std::optional<EditDocument> document;
  if (!recovered.levelPath.empty()) document = OpenLevel(recovered.levelPath, error);
  if (!document) {
    document.emplace();
    document->textPath = recovered.levelPath;
    if (!recovered.levelPath.empty()) document->binaryPath = BinaryPathFor(recovered.levelPath);
  }
  document->level = recovered.level;
  document->selection.clear();
  document->history.MarkUnsaved();
  return std::move(*document);
}
