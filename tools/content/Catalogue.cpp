#include "tools/content/Catalogue.h"

#include <algorithm>

std::string OnDisk(const std::string& contentDir, const std::string& gamePath) {
  std::string path = gamePath;
  std::replace(path.begin(), path.end(), '\\', '/');
  return contentDir + "/" + path;
}
