// virko-content: writes the default content pack into a folder, and the
// application icon into an icon folder when one is given.
#include <cstdio>
#include <filesystem>

#include "tools/content/Content.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: virko-content CONTENT_DIR LEVEL_SOURCE_DIR [ICON_DIR]\n");
    return 2;
  }
  const std::string contentDir = argv[1];
  const std::string sourceDir = argv[2];
  std::filesystem::create_directories(contentDir);
  // Levels first: the screen pictures are drawn from the compiled level, and
  // the videos from the pictures.
  bool ok = BuildLevels(contentDir, sourceDir) && BuildConfigFiles(contentDir) &&
            BuildPictures(contentDir) && BuildSounds(contentDir) && BuildVideos(contentDir);
  if (ok && argc == 4) ok = BuildIcons(argv[3], "lv.virko.Virko");
  return ok ? 0 : 1;
}
