// The level of a content folder: its level text compiled into
// DATA/levels/NAME.vrk, after the same checks as the level tool's.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/content/Content.h"
#include "tools/level/LevelBinary.h"
#include "tools/level/LevelCheck.h"

namespace fs = std::filesystem;

namespace {

bool CompileLevelFile(const fs::path& source, const fs::path& target) {
  const std::optional<std::vector<uint8_t>> bytes = ReadBinaryFile(source.string());
  if (!bytes) {
    std::fprintf(stderr, "virko-content: cannot read %s\n", source.string().c_str());
    return false;
  }
  std::vector<LevelProblem> problems;
  const std::optional<LevelSource> level = ReadCheckedLevel(std::string(bytes->begin(), bytes->end()), problems);
  for (const LevelProblem& problem : problems)
    std::fprintf(stderr, "%s\n", FormatProblem(source.string(), problem).c_str());
  if (!level) return false;
  const std::vector<uint8_t> compiled = LevelFileBytes(CompileLevel(*level));
  std::string error;
  if (!WriteBinaryFile(target.string(), compiled, error)) {
    std::fprintf(stderr, "virko-content: %s\n", error.c_str());
    return false;
  }
  return true;
}

}  // namespace

bool BuildLevels(const std::string& contentDir, const std::string& sourceDir, const LevelEntry& level) {
  const fs::path target = OnDisk(contentDir, level.file);
  fs::create_directories(target.parent_path());
  return CompileLevelFile(fs::path(sourceDir) / (level.name + ".level"), target);
}
