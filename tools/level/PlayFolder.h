// Folders that play a level with the files of a content folder, without a
// copy of them: what differs is their own, every other file is a link.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Links every entry of from that to lacks; folders that both hold are
// walked into. Links are absolute, so that a copy of the folder still
// finds the content. false, with the reason, on the first failure.
bool LinkMissing(const std::string& from, const std::string& to, std::string& error);

// Makes folder afresh: the level file at levelPath (relative to the folder;
// the path of catalogue entry 0's level file), its own copy of settings.cfg
// (the game writes its settings there), and links to every other file of
// contentDir.
bool MakePlayFolder(const std::string& folder, const std::string& contentDir, const std::string& levelPath,
                    const std::vector<uint8_t>& levelFile, std::string& error);
