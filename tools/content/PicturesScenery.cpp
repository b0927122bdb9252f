// The level's backdrop "DATA\levels\d01.JPG", a still sky behind the whole
// level, and the cloud band "DATA\levels\LielaisMakonis.tga" that the game
// stretches along the bottom of the level (from y 1150, 1200 pixels high,
// as wide as the level).
#include <cmath>

#include "app/GameState.h"
#include "tools/content/Catalogue.h"
#include "tools/content/ImageFiles.h"
#include "tools/content/Palette.h"
#include "tools/content/PictureGroups.h"
#include "tools/content/Scenery.h"

namespace {

// A far island, faded into the haze of the sky.
void PaintFarIsland(Image& image, Vec top, float width, uint32_t seed, float haze) {
  Image island(image.Width(), image.Height());
  PaintIsland(island, top, width, seed);
  for (int y = 0; y < island.Height(); ++y)
    for (int x = 0; x < island.Width(); ++x) {
      const Rgba c = island.Get(x, y);
      if (c.a > 0) image.Blend(x, y, WithAlpha(Mix(c, Mix(palette::skyLow, palette::skyMid, 0.5f), haze), 1), c.a);
    }
}

Image Backdrop() {
  Image image(800, 600);
  PaintSky(image, palette::skyHigh, palette::skyMid, Mix(palette::haze, palette::skyLow, 0.4f), 0.6f);
  PaintGlow(image, {610, 120}, 260, palette::sun, 0.55f);
  PaintGlow(image, {610, 120}, 60, palette::white, 0.8f);
  PaintCloud(image, {150, 130}, 230, 11, palette::white, palette::cloudShade, 0.85f);
  PaintCloud(image, {420, 70}, 150, 12, palette::white, palette::cloudShade, 0.7f);
  PaintCloud(image, {720, 250}, 190, 13, palette::white, palette::cloudShade, 0.75f);
  PaintFarIsland(image, {330, 150}, 110, 15, 0.55f);
  PaintFarIsland(image, {470, 110}, 60, 16, 0.7f);
  // Far mountains fade into the haze; nearer ones are bluer.
  PaintRidge(image, 400, 190, 21, Mix(palette::mountainFar, palette::skyLow, 0.25f), Mix(palette::mountainFar, palette::haze, 0.5f), true);
  PaintRidge(image, 470, 120, 22, palette::mountain, Mix(palette::mountain, palette::mountainFar, 0.6f), true);
  PaintForest(image, 540, 70, 23, Mix(palette::pine, palette::mountain, 0.55f), 20);
  PaintForest(image, 580, 80, 24, Mix(palette::pine, palette::mountain, 0.3f), 26);
  return image;
}

// Cloud tops along the upper edge, dense cloud below. The game stretches the
// picture to the level's width, so the puffs are drawn squeezed to look round.
Image CloudBand(int levelScreens) {
  constexpr int kWidth = 2048;
  constexpr int kHeight = 512;
  // The game draws the band from y 1150 down, 1200 pixels high. The screen
  // pictures above it end at y 1200, and below them only the backdrop
  // shows: from there down the band must hide everything, or the pictures'
  // lower edge shows through it as a seam wherever the camera looks that
  // low. Its fill is whole a little above that line, so that the texture's
  // filter does not fetch the fainter rows above.
  constexpr float kPicturesEnd = 1200 - 1150;
  Image image(kWidth, kHeight);
  const float stretchX = float(levelScreens * kScreenWidth) / kWidth;
  const float stretchY = 1200.0f / kHeight;
  // The band below the tops: white to sky blue, then deeper down a pale haze.
  for (int y = 0; y < kHeight; ++y) {
    const float t = float(y) / kHeight;
    const Rgba c = Mix(palette::white, Mix(palette::skyLow, palette::skyMid, 0.4f), Smoothstep(0.1f, 0.9f, t));
    const float alpha = Smoothstep(10, kPicturesEnd - 12, (y + 0.5f) * stretchY);
    for (int x = 0; x < kWidth; ++x) image.Set(x, y, WithAlpha(c, alpha));
  }
  // Rows of puffs, the highest first so lower ones overlap them; sizes in
  // world pixels, turned into picture pixels per axis.
  for (int row = 0; row < 3; ++row) {
    int k = 0;
    for (float worldX = 0; worldX < kWidth * stretchX + 80; ++k) {
      const float radius = 40 + 35 * HashUnit(32, uint32_t(row), uint32_t(k));
      const float worldY = radius + 12 + row * 38 + 10 * HashUnit(33, uint32_t(row), uint32_t(k));
      const Vec c{worldX / stretchX, worldY / stretchY};
      const Shape puff = Ellipse(c, radius / stretchX, radius / stretchY);
      const Rgba light = Mix(palette::white, palette::skyLow, 0.2f * row);
      Paint(image, puff, CloudShader(light, Mix(palette::cloudShade, palette::white, 0.45f), c.y - radius / stretchY,
                                     c.y + radius / stretchY), 0);
      worldX += radius * (1.1f + 0.5f * HashUnit(31, uint32_t(row), uint32_t(k)));
    }
  }
  return image;
}

}  // namespace

bool BuildBackdrop(const std::string& contentDir) {
  return WriteJpg(OnDisk(contentDir, "DATA\\levels\\d01.JPG"), Backdrop());
}

bool BuildCloudBand(const std::string& contentDir, const LevelEntry& level) {
  return WriteTga(OnDisk(contentDir, "DATA\\levels\\LielaisMakonis.tga"),
                  CloudBand(LevelScreensAcross(contentDir, level)));
}
