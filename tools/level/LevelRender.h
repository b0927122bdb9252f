// Pictures of a loaded level for the level designer: the collision map as the
// game drew it, with the layout (screens, pickups, blocks, units, the
// player's start and the level's end) drawn over it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/CollisionMap.h"

struct RgbColour {
  uint8_t r, g, b;
  bool operator==(const RgbColour&) const = default;
};

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // r, g, b per pixel, top row first

  RgbImage(int w, int h, RgbColour fill);
  RgbColour At(int x, int y) const;
  void Set(int x, int y, RgbColour colour);  // ignores pixels outside
};

// Colours of the three map classes in the picture.
constexpr RgbColour kEmptyColour{18, 22, 34};
constexpr RgbColour kSolidColour{236, 236, 236};
constexpr RgbColour kPlatformColour{60, 110, 255};

// Loads a binary level file into the game state as the level loader does,
// without pictures, sprites or sounds: the game's reader, its check against
// the tables, the units' set-up from their types and the collision map.
// Returns false with the game's messages if the level is refused.
bool LoadLevelForPicture(const std::string& path, std::vector<std::string>& messages);

// One picture pixel per shrink x shrink map pixels; a pixel shows the
// strongest class among them (solid, then platform), so thin lines stay.
RgbImage RenderCollisionMap(const cCollisionMap& map, int shrink);

// Draws the layout of the level held in the game state (as the level loader
// left it) over a picture made by RenderCollisionMap with the same shrink.
void DrawLevelLayout(RgbImage& image, int shrink);

bool WritePng(const std::string& path, const RgbImage& image, std::string& error);
