// The default content pack: every file the game reads, made from sources in
// this repository, written under one content folder (the folder the game is
// started in). Each step writes its files and returns false after printing
// what went wrong. The output is the same, byte for byte, on every run.
#pragma once

#include <string>

#include "tools/content/Catalogue.h"

// Compiles the level's source, SOURCE_DIR/NAME.level, into its binary level
// file (DATA/levels/NAME.vrk).
bool BuildLevels(const std::string& contentDir, const std::string& sourceDir,
                 const LevelEntry& level = LevelEntryNamed(kDefaultLevel));
// settings.cfg, levels.cfg (the level as entry 0), pAnim.cfg, uAnim.cfg,
// UStats.cfg, mainSCR.cfg.
bool BuildConfigFiles(const std::string& contentDir, const LevelEntry& level = LevelEntryNamed(kDefaultLevel));
// settings.cfg and levels.cfg alone: what differs between folders that play
// different levels (and what the game writes).
bool BuildSettingsAndCatalogue(const std::string& contentDir, const LevelEntry& level);
// Every picture: font, splash, menu, messages, options, statistics, loading
// title, backdrop, clouds, items, display, blocks, nut, sparkle, sprites, and
// the level's screen pictures drawn from its compiled level file.
bool BuildPictures(const std::string& contentDir, const LevelEntry& level = LevelEntryNamed(kDefaultLevel));
// A folder that plays another level with the files of a content folder:
// its own settings, catalogue, level file, screen pictures and cloud band
// (stretched over its level), and links to every other file of contentDir.
bool BuildLevelFolder(const std::string& folder, const std::string& sourceDir, const LevelEntry& level,
                      const std::string& contentDir);
// Sound effects (WAV) and music (MP3).
bool BuildSounds(const std::string& contentDir);
// Intro and credits videos (WMV), made from the pictures already written.
bool BuildVideos(const std::string& contentDir);
// The application icon, square PNGs of 48, 64, 128 and 256 pixels, written as
// ICON_DIR/hicolor/<n>x<n>/apps/<name>.png (the layout of the freedesktop
// icon theme).
bool BuildIcons(const std::string& iconDir, const std::string& name);
