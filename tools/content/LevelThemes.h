// The looks of a level's sections: every 2400 pixels across (three screens)
// the ground, its plants and its landmark change, so that each stretch of the
// level can be told from the others at a glance. The last theme is the
// finish's and holds to the level's end however wide it is.
#pragma once

#include <cstdint>

#include "tools/content/Raster.h"

// The great piece of scenery that marks a section.
enum class LandmarkKind {
  blossomTree, windmill, greatPine, cairn, toadstools, deadTree, birches, runeStones, snowFir, finishGate
};

struct Theme {
  Rgba earth, earthDark;
  Rgba grass, grassLight, grassDark;
  Rgba rock, rockDark;  // the faces of cliffs and walls
  Rgba petals[2];
  Rgba tree;
  float trees, flowers, mushrooms;  // chances of each, per place; the rest are tufts
  float treeSize;
  LandmarkKind landmark;
};

constexpr float kSectionLength = 2400;
constexpr int kSectionCount = 10;

// The section a world x lies in, 0 to kSectionCount - 1.
int SectionAt(float worldX);
const Theme& SectionTheme(int section);
const Theme& ThemeAt(float worldX);

// A colour of the theme at x, blended with the neighbouring section's over
// the 300 pixels around each boundary, so that the ground shows no seam.
Rgba ThemeColour(float worldX, Rgba Theme::*colour);

// The theme a single piece of scenery at x takes: near a boundary, one of
// the two sections' themes, drawn by chance in proportion to the blend, so
// that plants mingle there as the colours do.
const Theme& ThemeForPiece(float worldX, uint32_t seed);
