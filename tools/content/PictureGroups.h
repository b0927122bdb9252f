// The picture groups of the content pack. Each Build* writes its files under
// the content folder and returns false after reporting a failure.
#pragma once

#include <string>

#include "tools/content/Raster.h"

bool BuildFont(const std::string& contentDir);
bool BuildSplashAndTitles(const std::string& contentDir);
bool BuildMainMenu(const std::string& contentDir);
bool BuildMessages(const std::string& contentDir);
bool BuildOptionsAndStatistics(const std::string& contentDir);
bool BuildPlayPictures(const std::string& contentDir);
bool BuildSpriteSheets(const std::string& contentDir);
bool BuildLevelScenery(const std::string& contentDir);
bool BuildLevelScreens(const std::string& contentDir);

// Screens across the level that the cloud band is stretched over: that of
// the compiled demo level, or 8 when it cannot be read.
int LevelScreensAcross(const std::string& contentDir);

// Menu backdrop panel 0 to 5, also behind the message screens.
Image MenuPanel(int index);
