#include "tools/editor/EditView.h"

#include <algorithm>
#include <cmath>

LevelPoint EditView::ToWorld(double x, double y) const {
  return {int64_t(std::floor(left + x / scale)), int64_t(std::floor(top + y / scale))};
}

void EditView::ZoomAt(double x, double y, double factor) {
  const double worldX = left + x / scale, worldY = top + y / scale;
  scale = std::clamp(scale * factor, kMinScale, kMaxScale);
  left = worldX - x / scale;
  top = worldY - y / scale;
}

void EditView::Fit(double worldWidth, double worldHeight, double viewWidth, double viewHeight) {
  if (worldWidth <= 0 || worldHeight <= 0 || viewWidth <= 0 || viewHeight <= 0) return;
  constexpr double kMargin = 0.95;
  scale = std::clamp(std::min(viewWidth / worldWidth, viewHeight / worldHeight) * kMargin, kMinScale, kMaxScale);
  CentreOn({int64_t(worldWidth / 2), int64_t(worldHeight / 2)}, viewWidth, viewHeight);
}

void EditView::CentreOn(const LevelPoint& world, double viewWidth, double viewHeight) {
  left = double(world.x) - viewWidth / 2 / scale;
  top = double(world.y) - viewHeight / 2 / scale;
}

void EditView::Pan(double dx, double dy) {
  left -= dx / scale;
  top -= dy / scale;
}
