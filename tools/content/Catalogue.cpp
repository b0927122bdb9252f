#include "tools/content/Catalogue.h"

#include <algorithm>

LevelEntry LevelEntryNamed(const std::string& name) {
  return {name, "DATA\\levels\\" + name + ".vrk", "DATA\\levels\\" + name};
}

std::string OnDisk(const std::string& contentDir, const std::string& gamePath) {
  std::string path = gamePath;
  std::replace(path.begin(), path.end(), '\\', '/');
  return contentDir + "/" + path;
}
