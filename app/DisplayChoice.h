// The player's choice of full screen or a window, kept between runs in a
// one-word text file of their config folder: "full screen" or "window".
#pragma once

#include <optional>
#include <string>

// Keeps later choices at path, and returns the choice kept there, true for
// full screen; nullopt if none is. A file that holds neither word is ignored
// with one line on stderr.
std::optional<bool> KeepDisplayChoiceIn(const std::string& path);
// Called after every switch: writes the choice where it is kept (nothing if
// it is not kept). A failed write costs one line on stderr.
void DisplayChoiceMade(bool fullScreen);
