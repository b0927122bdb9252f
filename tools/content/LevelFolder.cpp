// A folder that plays another level than the default content's, without a
// copy of the content: the files that depend on the level are its own,
// every other file is a link into the content folder.
#include <cstdio>
#include <filesystem>

#include "tools/content/Content.h"
#include "tools/content/PictureGroups.h"

namespace fs = std::filesystem;

namespace {

// Links every entry of from that to lacks; folders that both hold are
// walked into. Links are absolute, so that a copy of the folder still
// finds the content.
bool LinkMissing(const fs::path& from, const fs::path& to) {
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(from, error)) {
    const fs::path target = to / entry.path().filename();
    if (fs::is_directory(target) && entry.is_directory()) {
      if (!LinkMissing(entry.path(), target)) return false;
    } else if (!fs::exists(fs::symlink_status(target))) {
      fs::create_symlink(fs::absolute(entry.path()), target, error);
    }
    if (error) break;
  }
  if (error) std::fprintf(stderr, "virko-content: cannot link %s: %s\n", from.c_str(), error.message().c_str());
  return !error;
}

}  // namespace

bool BuildLevelFolder(const std::string& folder, const std::string& sourceDir, const LevelEntry& level,
                      const std::string& contentDir) {
  std::error_code error;
  fs::remove_all(folder, error);
  fs::create_directories(folder);
  return BuildLevels(folder, sourceDir, level) && BuildSettingsAndCatalogue(folder, level) &&
         BuildCloudBand(folder, level) && BuildLevelScreens(folder, level) && LinkMissing(contentDir, folder);
}
