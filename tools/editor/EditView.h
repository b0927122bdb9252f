// Which part of the level the editor's view shows, and at what scale.
#pragma once

#include "tools/level/LevelText.h"

struct EditView {
  static constexpr double kMinScale = 1.0 / 16;
  static constexpr double kMaxScale = 4;

  double left = 0;    // world x at the view's left edge
  double top = 0;     // world y at the view's top edge
  double scale = 1;   // view pixels per world pixel

  // The world pixel under a view position (rounded down).
  LevelPoint ToWorld(double x, double y) const;
  double ToViewX(double worldX) const { return (worldX - left) * scale; }
  double ToViewY(double worldY) const { return (worldY - top) * scale; }
  // Zooms by factor (clamped to the limits), keeping the world point under
  // the view position (x, y) where it is.
  void ZoomAt(double x, double y, double factor);
  // The whole rectangle of the world in view, centred, with a margin.
  void Fit(double worldWidth, double worldHeight, double viewWidth, double viewHeight);
  void CentreOn(const LevelPoint& world, double viewWidth, double viewHeight);
  // Moves the view by view pixels (a drag moves the world with the pointer).
  void Pan(double dx, double dy);
};
