// Looking up the game's paths ("DATA\\levels\\d01.JPG") relative to the
// working folder: backslashes become slashes and every component is matched
// without regard to case, as on the file system the game was made for.
#pragma once

#include <optional>
#include <string>

// The path on this file system, or nullopt if no such file or folder exists.
std::optional<std::string> ResolvePath(const std::string& gamePath);
bool FileExists(const std::string& gamePath);
// A path for writing a file in an existing folder (the file may not exist).
std::string WritablePath(const std::string& gamePath);
