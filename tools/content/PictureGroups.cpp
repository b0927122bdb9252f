#include "tools/content/PictureGroups.h"

#include "tools/content/Content.h"

bool BuildPictures(const std::string& contentDir, const LevelEntry& level) {
  return BuildFont(contentDir) && BuildPlayPictures(contentDir) && BuildSpriteSheets(contentDir) &&
         BuildBackdrop(contentDir) && BuildCloudBand(contentDir, level) &&
         BuildLevelScreens(contentDir, level) && BuildMainMenu(contentDir) &&
         BuildSplashAndTitles(contentDir) && BuildMessages(contentDir) && BuildOptionsAndStatistics(contentDir);
}
