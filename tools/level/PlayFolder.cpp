#include "tools/level/PlayFolder.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

bool LinkMissing(const std::string& from, const std::string& to, std::string& error) {
  std::error_code code;
  for (const fs::directory_entry& entry : fs::directory_iterator(from, code)) {
    const fs::path target = fs::path(to) / entry.path().filename();
    if (fs::is_directory(target) && entry.is_directory()) {
      if (!LinkMissing(entry.path().string(), target.string(), error)) return false;
    } else if (!fs::exists(fs::symlink_status(target))) {
      fs::create_symlink(fs::absolute(entry.path()), target, code);
    }
    if (code) break;
  }
  if (code) error = "cannot link " + from + ": " + code.message();
  return !code;
}

bool MakePlayFolder(const std::string& folder, const std::string& contentDir, const std::string& levelPath,
                    const std::vector<uint8_t>& levelFile, std::string& error) {
  std::error_code code;
  fs::remove_all(folder, code);
  const fs::path level = fs::path(folder) / levelPath;
  fs::create_directories(level.parent_path(), code);
  if (code) {
    error = "cannot make " + level.parent_path().string() + ": " + code.message();
    return false;
  }
  std::ofstream out(level, std::ios::binary);
  out.write(reinterpret_cast<const char*>(levelFile.data()), std::streamsize(levelFile.size()));
  out.close();
  if (!out) {
    error = "cannot write " + level.string();
    return false;
  }
  const fs::path settings = fs::path(contentDir) / "settings.cfg";
  if (fs::exists(settings)) fs::copy_file(settings, fs::path(folder) / "settings.cfg", code);
  return LinkMissing(contentDir, folder, error);
}
