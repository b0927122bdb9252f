// The player's own folders for this game, after the XDG base directory rules.
#pragma once

#include <string>

// $XDG_CONFIG_HOME/virko, else ~/.config/virko: settings and the display
// choice. Empty when neither variable nor HOME gives an absolute path.
std::string PlayerConfigFolder();
// $XDG_DATA_HOME/virko, else ~/.local/share/virko: the player's own game
// files, found before the installed ones. Empty as above.
std::string PlayerDataFolder();
