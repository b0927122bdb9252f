// Modal message boxes and the request to end the program.
#pragma once

#include <cstddef>
#include <string>

// Shows a modal box with one OK button. Caption and text are the game's
// single-byte Windows-1257 bytes; they are converted, and the text wrapped
// (WrapMessageText), for display only.
void ShowMessageBox(const std::string& caption, const std::string& text);
// The longest line of a message box: 64 characters stay within the 800-pixel
// screen even at 12 pixels a character, with the box's margins.
constexpr size_t kMessageBoxColumns = 64;
// Breaks every line longer than kMessageBoxColumns after its last blank that
// keeps it within them, or, in a word longer than a line, at the limit.
// Only line breaks are put in: without them the text is as it was.
std::string WrapMessageText(const std::string& text);
// Where message boxes go: the screen by default; tools and tests collect them.
using MessageBoxHandler = void (*)(const std::string& caption, const std::string& text);
void SetMessageBoxHandler(MessageBoxHandler handler);

// Asks the program to end; the main loop acts on it when it next runs.
void RequestTerminate();
bool TerminateRequested();
// Whether a load failure asked for the end: the program's exit status then
// says it failed.
bool LoadFailureReported();
// Forgets both, for a game started again in the same process.
void ClearTerminateRequest();

// "VIRKO" box with the given text, then a terminate request. The caller
// carries on.
void ReportLoadFailure(const std::string& text);
// A box about one of the game's files, and one line on stderr that names
// the real file: a player's own file may lie over the installed one.
void ShowFileMessage(const std::string& gamePath, const std::string& caption,
                     const std::string& text);
// That line alone, for what the player should hear of without a box.
void WarnAboutFile(const std::string& gamePath, const std::string& text);
// ReportLoadFailure about one of the game's files, with the same line.
void ReportFileLoadFailure(const std::string& gamePath, const std::string& text);

// Windows-1257 bytes to UTF-8.
std::string Cp1257ToUtf8(const std::string& bytes);
