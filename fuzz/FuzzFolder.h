// What every fuzz target shares: the input is written as a file into a
// private temporary working folder, and the game's own reader reads it there.
// Message boxes are dropped.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/MessageBox.h"

// While it lives, the working folder is the target's private folder; the
// fuzzer's own relative paths (corpus, artifacts) are used outside of it.
class cFuzzFolder {
 public:
  cFuzzFolder() : previous(std::filesystem::current_path()) {
    std::filesystem::current_path(Folder());
  }
  ~cFuzzFolder() { std::filesystem::current_path(previous); }

 private:
  static const std::string& Folder() {
    static const std::string folder = [] {
      // In memory where possible: rewriting a file on a disk file system
      // flushes it on every run.
      const char* base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
      std::string name = std::string(base) + "/virko-fuzz-XXXXXX";
      if (!mkdtemp(name.data())) abort();
      SetMessageBoxHandler([](const std::string&, const std::string&) {});
      return name;
    }();
    static const bool removedAtExit = [] {
      return std::atexit([] { std::filesystem::remove_all(Folder()); }) == 0;
    }();
    (void)removedAtExit;
    return folder;
  }
  std::filesystem::path previous;
};

inline void WriteFile(const char* name, const uint8_t* data, size_t size) {
  FILE* file = std::fopen(name, "wb");
  if (!file) abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) abort();
  std::fclose(file);
}

// Writes plain text as the game stores its shifted files: every byte plus 2.
inline void WriteShiftedText(const char* name, const std::string& text) {
  std::string stored = text;
  for (char& c : stored) c = char(uint8_t(c) + 2);
  WriteFile(name, reinterpret_cast<const uint8_t*>(stored.data()), stored.size());
}
