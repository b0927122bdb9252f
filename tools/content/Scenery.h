// Painted landscape pieces shared by the backdrops, menu panels and title
// pictures: skies, clouds, mountain ridges, pine forests, floating islands,
// and the wooden boards and buttons of the menus.
#pragma once

#include <cstdint>
#include <string>

#include "tools/content/Raster.h"

// Vertical gradient over the whole image through three colours.
void PaintSky(Image& image, Rgba top, Rgba middle, Rgba bottom, float middleAt = 0.55f);
void PaintGlow(Image& image, Vec centre, float radius, Rgba colour, float strength);
void PaintStars(Image& image, uint32_t seed, int count, float maxY);
// A soft cumulus cloud, flat underneath, about width wide.
void PaintCloud(Image& image, Vec centre, float width, uint32_t seed, Rgba light, Rgba shade, float alpha = 1);
// Soft cloud shading from light at top to shade at bottom.
Shader CloudShader(Rgba light, Rgba shade, float top, float bottom, float alpha = 1);
// A ridge of mountains filling the image below a noisy skyline around baseY.
void PaintRidge(Image& image, float baseY, float height, uint32_t seed, Rgba top, Rgba bottom, bool snow);
// Rolling hills below a smooth line around baseY.
void PaintHills(Image& image, float baseY, float height, uint32_t seed, Rgba top, Rgba bottom);
// A pine tree standing at base.
void PaintPine(Image& image, Vec base, float height, Rgba colour, bool outlined);
// A row of pines standing on baseY, filled below.
void PaintForest(Image& image, float baseY, float treeHeight, uint32_t seed, Rgba colour, float spacing);
// A floating island of rock with grass on top and pines, centred on top.
void PaintIsland(Image& image, Vec top, float width, uint32_t seed, bool trees = true);

// A button picture (width x height) with a label: raised when released,
// lit and pressed in when pressed.
Image ButtonPicture(int width, int height, const std::string& label, bool pressed);
// A framed message panel in the middle of a picture: darkened board with a
// title line.
void PaintMessagePanel(Image& image, float x0, float y0, float x1, float y1);
