#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace {

std::string overlayFolder;
tSaveFault injectedFault = tSaveFault::none;

std::vector<std::string> SplitGamePath(const std::string& gamePath) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : gamePath) {
    if (c == '\\' || c == '/') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

// The entry of folder whose name equals name, compared without case; an exact
// match wins over the others.
std::optional<fs::path> FindEntry(const fs::path& folder, const std::string& name) {
  std::error_code error;
  const fs::path exact = folder / name;
  if (fs::exists(exact, error)) return exact;
  for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error), end;
       !error && it != end; it.increment(error)) {
    const std::string entry = it->path().filename().string();
    if (strcasecmp(entry.c_str(), name.c_str()) == 0) return folder / entry;
  }
  return std::nullopt;
}

// The game path's parts looked up one by one under root (empty: the working
// folder). ".." steps back within the path, never above root: a file's
// name cannot lead out of the game folder or the player's overlay.
std::optional<fs::path> ResolveUnder(fs::path root, const std::vector<std::string>& parts) {
  int depth = 0;
  for (const std::string& part : parts) {
    if (part == ".") continue;
    if (part == "..") {
      if (depth == 0) return std::nullopt;
      root = root.parent_path();
      --depth;
      continue;
    }
    std::optional<fs::path> found = FindEntry(root, part);
    if (!found) return std::nullopt;
    root = *found;
    ++depth;
  }
  return root;
}

bool IsAbsolute(const std::string& gamePath) { return !gamePath.empty() && gamePath[0] == '/'; }

std::optional<std::string> ResolveInWorkingFolder(const std::string& gamePath) {
  const std::vector<std::string> parts = SplitGamePath(gamePath);
  if (parts.empty()) return std::nullopt;
  const std::optional<fs::path> path = ResolveUnder(IsAbsolute(gamePath) ? "/" : "", parts);
  return path ? std::optional<std::string>(path->string()) : std::nullopt;
}

bool WriteAll(int fd, const uint8_t* bytes, size_t count) {
  if (injectedFault == tSaveFault::whileWriting) {
    errno = ENOSPC;
    return false;
  }
  while (count > 0) {
    const ssize_t written = write(fd, bytes, count);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    count -= size_t(written);
  }
  return true;
}

// Some file systems (FUSE, shared folders of virtual machines) cannot sync a
// file: that leaves the bytes as safe as the system can keep them, not lost.
bool Synced(int fd) {
  if (injectedFault == tSaveFault::syncUnsupported) {
    errno = EINVAL;
  } else if (fsync(fd) == 0) {
    return true;
  }
  return errno == EINVAL || errno == ENOTSUP;
}

// The file a link at path names, followed to its end: players who keep their
// settings as links (dotfile managers) keep them so after a save.
fs::path FinalTarget(const std::string& path) {
  constexpr int kMostLinks = 40;  // as the kernel follows
  fs::path target = path;
  std::error_code error;
  for (int hop = 0; hop < kMostLinks && fs::is_symlink(target, error); ++hop) {
    const fs::path next = fs::read_symlink(target, error);
    if (error) break;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return target;
}

// The mode the replacement gets: the replaced file's, or that of a new file.
mode_t ModeFor(const fs::path& path) {
  struct stat existing {};
  if (stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// Writes the bytes to a new file beside target, of a name no other writer
// has (two games saving at once), flushed to the disk. Its path goes to
// tempPath; an open file is left nowhere on failure.
bool WriteSynced(const fs::path& target, const uint8_t* bytes, size_t count,
                 std::string& tempPath) {
  tempPath = target.string() + ".XXXXXX";
  const int fd = mkostemp(tempPath.data(), O_CLOEXEC);
  if (fd < 0) {
    tempPath.clear();
    return false;
  }
  const bool written =
      fchmod(fd, ModeFor(target)) == 0 && WriteAll(fd, bytes, count) && Synced(fd);
  const int writeError = errno;
  const bool closed = close(fd) == 0;
  if (!written) errno = writeError;
  return written && closed;
}

// The rename itself is durable only once the folder is synced too.
void SyncFolder(const std::string& path) {
  const std::string folder = fs::path(path).parent_path().string();
  const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

void SetOverlayFolder(const std::string& folder) { overlayFolder = folder; }

std::optional<std::string> ResolvePath(const std::string& gamePath) {
  if (!overlayFolder.empty() && !IsAbsolute(gamePath)) {
    const std::vector<std::string> parts = SplitGamePath(gamePath);
    if (parts.empty()) return std::nullopt;
    if (const std::optional<fs::path> path = ResolveUnder(overlayFolder, parts)) return path->string();
  }
  return ResolveInWorkingFolder(gamePath);
}

bool FileExists(const std::string& gamePath) {
  const std::optional<std::string> path = ResolvePath(gamePath);
  std::error_code error;
  return path && fs::is_regular_file(*path, error);
}

std::string RealPath(const std::string& gamePath) {
  const std::optional<std::string> found = ResolvePath(gamePath);
  std::error_code error;
  const fs::path path = fs::absolute(found ? *found : WritablePath(gamePath), error);
  return (error ? fs::path(gamePath) : path.lexically_normal()).string();
}

std::vector<std::string> ListFolder(const std::string& gamePath) {
  std::vector<std::optional<fs::path>> folders;
  const std::vector<std::string> parts = SplitGamePath(gamePath);
  if (!overlayFolder.empty() && !IsAbsolute(gamePath)) folders.push_back(ResolveUnder(overlayFolder, parts));
  folders.push_back(ResolveUnder(IsAbsolute(gamePath) ? "/" : "", parts));
  std::vector<std::string> names;
  for (const std::optional<fs::path>& folder : folders) {
    if (!folder) continue;
    std::error_code error;
    for (fs::directory_iterator it(folder->empty() ? fs::path(".") : *folder, error), end;
         !error && it != end; it.increment(error)) {
      const std::string name = it->path().filename().string();
      bool known = false;
      for (const std::string& seen : names) known = known || strcasecmp(seen.c_str(), name.c_str()) == 0;
      if (!known) names.push_back(name);
    }
  }
  return names;
}

cHeldFile::cHeldFile(const std::string& gamePath) {
  const std::optional<std::string> path = ResolvePath(gamePath);
  if (path) fd_ = open(path->c_str(), O_RDONLY | O_CLOEXEC);
}

cHeldFile::~cHeldFile() {
  if (fd_ >= 0) close(fd_);
}

cHeldFile::cHeldFile(cHeldFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

cHeldFile& cHeldFile::operator=(cHeldFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

std::optional<std::vector<uint8_t>> cHeldFile::Read(size_t maxBytes) const {
  struct stat info {};
  if (fd_ < 0 || fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  std::vector<uint8_t> bytes(std::min(size_t(info.st_size), maxBytes));
  size_t done = 0;
  // pread keeps no shared position: two threads may read at once.
  while (done < bytes.size()) {
    const ssize_t got = pread(fd_, bytes.data() + done, bytes.size() - done, off_t(done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return std::nullopt;
    done += size_t(got);
  }
  return bytes;
}

std::string WritablePath(const std::string& gamePath) {
  std::vector<std::string> parts = SplitGamePath(gamePath);
  if (parts.empty()) return gamePath;
  const std::string name = parts.back();
  parts.pop_back();
  std::string folder;
  for (const std::string& part : parts) folder += part + "/";
  if (const std::optional<std::string> existing = ResolveInWorkingFolder(gamePath)) return *existing;
  if (folder.empty()) return name;
  const std::optional<std::string> resolvedFolder = ResolveInWorkingFolder(folder);
  return (resolvedFolder ? *resolvedFolder : folder) + "/" + name;
}

void InjectSaveFault(tSaveFault fault) { injectedFault = fault; }

bool ReplaceFile(const std::string& path, const uint8_t* bytes, size_t count) {
  const fs::path target = FinalTarget(path);
  std::string tempPath;
  bool saved = WriteSynced(target, bytes, count, tempPath);
  if (saved && injectedFault == tSaveFault::beforeRename) {
    errno = EIO;
    saved = false;
  }
  if (saved) saved = std::rename(tempPath.c_str(), target.c_str()) == 0;
  if (!saved) {
    const int error = errno;
    if (!tempPath.empty()) unlink(tempPath.c_str());
    errno = error;
    return false;
  }
  SyncFolder(target.string());
  return true;
}

std::string ProgramFolder() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  return error ? std::string() : program.parent_path().string();
}
