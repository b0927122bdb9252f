// Modal message boxes and the request to end the program.
#pragma once

#include <string>

// Shows a modal box with one OK button. Caption and text are the game's
// single-byte Windows-1257 bytes; they are converted for display only.
void ShowMessageBox(const std::string& caption, const std::string& text);
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
// ReportLoadFailure about one of the game's files, with the same line.
void ReportFileLoadFailure(const std::string& gamePath, const std::string& text);

// Windows-1257 bytes to UTF-8.
std::string Cp1257ToUtf8(const std::string& bytes);
