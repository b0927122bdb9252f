#include "tools/content/PictureGroups.h"

#include "tools/content/Content.h"

bool BuildPictures(const std::string& contentDir) {
  return BuildFont(contentDir) && BuildPlayPictures(contentDir) && BuildSpriteSheets(contentDir) &&
         BuildLevelScenery(contentDir) && BuildLevelScreens(contentDir) && BuildMainMenu(contentDir) &&
         BuildSplashAndTitles(contentDir) && BuildMessages(contentDir) && BuildOptionsAndStatistics(contentDir);
}
