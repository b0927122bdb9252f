// Where the game's files are. Every file is found relative to the working
// folder; start-up chooses it:
//  1. the folder given on the command line (--data DIR);
//  2. otherwise the current folder if it holds levels.cfg (a modder's
//     folder, or the build's content folder as the run command does);
//  3. otherwise the installed content (../share/virko from the program), or
//     the build's content folder beside the program in a build tree.
// The installed content counts as installed by whichever rule it was chosen.
// The game never writes into an installed folder: its settings are the
// player's, and the player's own files lie over the installed ones.
#pragma once

#include <optional>
#include <string>

struct tGameFolder {
  std::string path;
  bool installed = false;  // the installed content, or chosen by the third rule
};

// The folder by the rules above, for a program in programFolder. nullopt,
// with the reason in error, when a given folder has no levels.cfg or when
// no folder holds one.
std::optional<tGameFolder> ChooseGameFolder(const std::optional<std::string>& given,
                                            const std::string& programFolder,
                                            std::string& error);
// Makes it the working folder. An installed folder also gets the player's
// folders: settings kept in the config folder, the player's files found
// first.
bool EnterGameFolder(const tGameFolder& folder, std::string& error);
