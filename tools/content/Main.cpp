// virko-content: writes the default content pack into a folder.
#include <cstdio>
#include <filesystem>

#include "tools/content/Content.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: virko-content CONTENT_DIR LEVEL_SOURCE_DIR\n");
    return 2;
  }
  const std::string contentDir = argv[1];
  const std::string sourceDir = argv[2];
  std::filesystem::create_directories(contentDir);
  // Levels first: the screen pictures are drawn from the compiled level, and
  // the videos from the pictures.
  const bool ok = BuildLevels(contentDir, sourceDir) && BuildConfigFiles(contentDir) &&
                  BuildPictures(contentDir) && BuildSounds(contentDir) &&
                  BuildVideos(contentDir);
  return ok ? 0 : 1;
}
