// A folder that plays another level than the default content's, without a
// copy of the content: the files that depend on the level are its own,
// every other file is a link into the content folder.
#include <cstdio>
#include <filesystem>

#include "tools/content/Content.h"
#include "tools/content/PictureGroups.h"
#include "tools/level/PlayFolder.h"

namespace fs = std::filesystem;

namespace {

bool LinkAll(const std::string& contentDir, const std::string& folder) {
  std::string error;
  if (LinkMissing(contentDir, folder, error)) return true;
  std::fprintf(stderr, "virko-content: %s\n", error.c_str());
  return false;
}

}  // namespace

bool BuildLevelFolder(const std::string& folder, const std::string& sourceDir, const LevelEntry& level,
                      const std::string& contentDir) {
  std::error_code error;
  fs::remove_all(folder, error);
  fs::create_directories(folder);
  return BuildLevels(folder, sourceDir, level) && BuildSettingsAndCatalogue(folder, level) &&
         BuildCloudBand(folder, level) && BuildLevelScreens(folder, level) && LinkAll(contentDir, folder);
}
