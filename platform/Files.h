// Looking up the game's paths ("DATA\\levels\\d01.JPG") relative to the
// working folder: backslashes become slashes and every component is matched
// without regard to case, as on the file system the game was made for.
// A player's folder of changed files (a mod) may lie over the working folder:
// its files are found first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The folder whose files take precedence over the working folder's files of
// the same game path. Empty (the default): none.
void SetOverlayFolder(const std::string& folder);

// The path on this file system, or nullopt if no such file or folder exists.
// Relative paths look in the overlay folder first.
std::optional<std::string> ResolvePath(const std::string& gamePath);
bool FileExists(const std::string& gamePath);
// The real file behind a game path, as an absolute path, for messages: the
// one found (perhaps a player's own), or where the working folder lacks it.
std::string RealPath(const std::string& gamePath);
// The names in a game folder, the overlay's and the working folder's, each
// name once (the overlay's spelling wins). Empty if neither exists.
std::vector<std::string> ListFolder(const std::string& gamePath);
// A game file kept open to be read later, perhaps on another thread: what is
// read is the file opened, whatever happens to its name meanwhile (renamed,
// replaced or deleted).
class cHeldFile {
 public:
  cHeldFile() = default;
  explicit cHeldFile(const std::string& gamePath);  // not open if missing or unreadable
  ~cHeldFile();
  cHeldFile(cHeldFile&& other) noexcept;
  cHeldFile& operator=(cHeldFile&& other) noexcept;
  cHeldFile(const cHeldFile&) = delete;
  cHeldFile& operator=(const cHeldFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  // The file's bytes from its start, at most maxBytes; nullopt when it is
  // not open or cannot be read. Callable from several threads at once.
  std::optional<std::vector<uint8_t>> Read(size_t maxBytes) const;

 private:
  int fd_ = -1;
};

// A path for writing a file in an existing folder of the working folder (the
// file may not exist). Never in the overlay folder.
std::string WritablePath(const std::string& gamePath);

// Replaces the file at path (a real path) atomically: a temporary file of its
// own beside it is written, synced and renamed over it, so a failure leaves
// the old file whole and two writers never mix their bytes. A link at path is
// followed: its target is replaced, the link stays. A file system that cannot
// sync counts as synced. false, with errno set, on failure.
bool ReplaceFile(const std::string& path, const uint8_t* bytes, size_t count);
// For tests: the step at which the next replacements fail as a full disk or
// a crash would make them, or a file system that cannot sync.
enum class tSaveFault { none, whileWriting, beforeRename, syncUnsupported };
void InjectSaveFault(tSaveFault fault);

// The folder that holds the running program; empty if it cannot be told.
std::string ProgramFolder();
