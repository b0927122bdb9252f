// virko-content: writes the default content pack into a folder, and the
// application icon into an icon folder when one is given; or a folder that
// plays another level with the files of a content folder.
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "tools/content/Content.h"

int main(int argc, char** argv) {
  if (argc == 6 && std::strcmp(argv[1], "--level") == 0)
    return BuildLevelFolder(argv[3], argv[4], LevelEntryNamed(argv[2]), argv[5]) ? 0 : 1;
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr,
                 "usage: virko-content CONTENT_DIR LEVEL_SOURCE_DIR [ICON_DIR]\n"
                 "       virko-content --level NAME FOLDER LEVEL_SOURCE_DIR CONTENT_DIR\n");
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
