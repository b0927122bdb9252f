// The landmarks of a level's sections: one great piece of scenery each, in
// the section's own colours, standing on the ground at a foot point.
#pragma once

#include "tools/content/LevelThemes.h"
#include "tools/content/Raster.h"

// How much room a landmark takes above its foot.
struct LandmarkSize {
  float halfWidth;
  float height;
};

LandmarkSize SizeOfLandmark(LandmarkKind kind);
void PaintLandmark(Image& image, LandmarkKind kind, Vec foot, const Theme& theme);
