// Fitting a picture into a rectangle: as large as fits, aspect kept, centred,
// with bands of the rectangle left over at two sides.
#pragma once

#include <algorithm>

#include "app/GameState.h"

// The largest rectangle of the picture's display aspect (width x height
// pixels of aspect pixelAspect) that fits in area, centred in it; never
// smaller than 1 x 1 when the area is not empty.
inline TRect FitPicture(int width, int height, double pixelAspect, const TRect& area) {
  if (width <= 0 || height <= 0 || area.width <= 0 || area.height <= 0) return area;
  if (!(pixelAspect > 0)) pixelAspect = 1;
  const double aspect = width * pixelAspect / height;
  int w = area.width, h = area.height;
  if (aspect > double(area.width) / area.height)
    h = std::max(1, int(area.width / aspect + 0.5));
  else
    w = std::max(1, int(area.height * aspect + 0.5));
  return TRect{area.left + (area.width - w) / 2, area.top + (area.height - h) / 2, w, h};
}

// Where the 800 x 600 scene is shown in a drawable of width x height pixels
// (top-left origin).
inline TRect SceneRectIn(int width, int height) {
  return FitPicture(kScreenWidth, kScreenHeight, 1, TRect{0, 0, width, height});
}
