// Runs the game's own readers for a tool: inside a content folder (the
// readers look their files up in the working folder), from clean tables,
// with the message boxes they would show (their texts wrapped as on the
// screen) and the lines they write on stderr collected instead of shown.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct GameMessage {
  std::string caption;  // the game's Windows-1257 bytes
  std::string text;
};

class ReaderSession {
 public:
  // Enters folder and clears every table; entered() tells whether it could.
  explicit ReaderSession(const std::filesystem::path& folder);
  // Goes back to the previous working folder and shows message boxes again.
  ~ReaderSession();
  ReaderSession(const ReaderSession&) = delete;
  ReaderSession& operator=(const ReaderSession&) = delete;

  bool entered() const { return entered_; }
  // Runs one step; what it writes on stderr is kept as warnings.
  void Run(const std::function<void()>& step);

  const std::vector<GameMessage>& messages() const { return messages_; }
  const std::vector<std::string>& warnings() const { return warnings_; }

 private:
  static void Collect(const std::string& caption, const std::string& text);

  std::filesystem::path previousFolder_;
  bool entered_ = false;
  std::vector<GameMessage> messages_;
  std::vector<std::string> warnings_;
};

// Puts every table the readers and the level fill back to zero.
void ResetAllTables();
