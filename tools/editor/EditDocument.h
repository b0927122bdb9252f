// The level being edited: its items, its undo history and selection, and
// the files it was read from and is saved to.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/editor/EditHistory.h"
#include "tools/editor/EditItems.h"

struct EditDocument {
  LevelSource level;
  EditHistory history;
  Selection selection;
  std::string textPath;    // where Save writes the text; empty for a new level
  std::string binaryPath;  // where Save writes the compiled file
  // The text file's bytes as last read or written; nullopt when none is
  // known (a new level, or one opened from its compiled file).
  std::optional<std::string> textOnDisk;
  // The level that text holds: saving an unchanged level writes the text
  // back as it was, comments and layout included.
  LevelSource saved;
  // Why the file was not read whole (the level keeps what could be read).
  std::vector<std::string> openProblems;

  bool Modified() const { return history.Modified(); }
  // Runs the command through the history; the selection keeps what exists.
  bool Do(EditCommand command);
  bool Undo();
  bool Redo();
};

// Files larger than this are not levels (a level file is at most 36004
// bytes, its text a few hundred kilobytes).
constexpr size_t kLargestLevelFile = 8 << 20;

// A level text, or a compiled level file (read by the game's own reader).
// nullopt, with the reason, when nothing could be read; a text with errors
// opens with them listed in openProblems.
std::optional<EditDocument> OpenLevel(const std::string& path, std::string& error);
// A level of the size with the player's start and what the file format needs
// (one item of every pickup kind and one block, out of the way). Not yet
// saved, but unchanged: nothing is lost by leaving it.
EditDocument NewLevel(int64_t screensX, int64_t screensY);

// The text Save writes: the text as read if the level is unchanged,
// otherwise the opening comment of the text followed by the level.
std::string TextToSave(const EditDocument& document);

enum class SaveResult {
  kSaved,            // text and compiled file written
  kSavedWithErrors,  // text written; the level has errors, so no compiled file
  kChangedOutside,   // nothing written: the text on disk is not the one read
  kFailed,           // nothing written (the reason in message)
};
// Saves to textPath (and binaryPath, by default the text's path with the
// extension .vrk). Both files are replaced atomically. overwrite: write even
// if the text was changed outside the editor.
SaveResult SaveLevel(EditDocument& document, bool overwrite, std::string& message);
// The compiled file beside a level text.
std::string BinaryPathFor(const std::string& textPath);
