// The picture groups of the content pack. Each Build* writes its files under
// the content folder and returns false after reporting a failure.
#pragma once

#include <string>

#include "tools/content/Catalogue.h"
#include "tools/content/Raster.h"

bool BuildFont(const std::string& contentDir);
bool BuildSplashAndTitles(const std::string& contentDir);
bool BuildMainMenu(const std::string& contentDir);
bool BuildMessages(const std::string& contentDir);
bool BuildOptionsAndStatistics(const std::string& contentDir);
bool BuildPlayPictures(const std::string& contentDir);
bool BuildSpriteSheets(const std::string& contentDir);
// The backdrop, shared by every level.
bool BuildBackdrop(const std::string& contentDir);
// The cloud band, stretched over the level.
bool BuildCloudBand(const std::string& contentDir, const LevelEntry& level);
bool BuildLevelScreens(const std::string& contentDir, const LevelEntry& level = LevelEntryNamed(kDefaultLevel));

// Screens across the level that the cloud band is stretched over: that of
// the compiled level, or 8 when it cannot be read.
int LevelScreensAcross(const std::string& contentDir, const LevelEntry& level);

// Menu backdrop panel 0 to 5, also behind the message screens.
Image MenuPanel(int index);
