// The levels of the default content: every level text of the source folder
// compiled into DATA/levels/NAME.vrk, after the same checks as the level
// tool's, and read back with the game's reader.
#include <algorithm>
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

bool BuildLevels(const std::string& contentDir, const std::string& sourceDir) {
  std::vector<fs::path> sources;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(sourceDir, error))
    if (entry.path().extension() == ".level") sources.push_back(entry.path());
  if (error || sources.empty()) {
    std::fprintf(stderr, "virko-content: no level texts (*.level) in %s\n", sourceDir.c_str());
    return false;
  }
  std::sort(sources.begin(), sources.end());
  const fs::path levelDir = fs::path(contentDir) / "DATA" / "levels";
  fs::create_directories(levelDir);
  for (const fs::path& source : sources)
    if (!CompileLevelFile(source, levelDir / source.filename().replace_extension(".vrk"))) return false;
  return true;
}
