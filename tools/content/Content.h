// The default content pack: every file the game reads, made from sources in
// this repository, written under one content folder (the folder the game is
// started in). Each step writes its files and returns false after printing
// what went wrong. The output is the same, byte for byte, on every run.
#pragma once

#include <string>

// Compiles the level sources into binary level files (DATA/levels/...).
bool BuildLevels(const std::string& contentDir, const std::string& sourceDir);
// settings.cfg, levels.cfg, pAnim.cfg, uAnim.cfg, UStats.cfg, mainSCR.cfg.
bool BuildConfigFiles(const std::string& contentDir);
// Every picture: font, splash, menu, messages, options, statistics, loading
// title, backdrop, clouds, items, display, blocks, nut, sparkle, sprites, and
// the level's screen pictures drawn from its compiled level file.
bool BuildPictures(const std::string& contentDir);
// Sound effects (WAV) and music (MP3).
bool BuildSounds(const std::string& contentDir);
// Intro and credits videos (WMV), made from the pictures already written.
bool BuildVideos(const std::string& contentDir);
// The application icon, square PNGs of 48, 64, 128 and 256 pixels, written as
// ICON_DIR/hicolor/<n>x<n>/apps/<name>.png (the layout of the freedesktop
// icon theme).
bool BuildIcons(const std::string& iconDir, const std::string& name);
