// Sounds and videos not built yet.
#include "tools/content/Content.h"

bool BuildSounds(const std::string&) { return true; }
bool BuildVideos(const std::string&) { return true; }
