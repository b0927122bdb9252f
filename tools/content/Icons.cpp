// The application icon: Virko's head and shoulders rising over a bank of
// clouds, his tail curled up behind him, on a rounded square of the isles'
// sky. Every size is painted at its own resolution, so the outlines keep
// their weight at 48 pixels instead of blurring away in a scaled copy.
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/content/Content.h"
#include "tools/content/Figures.h"
#include "tools/content/Palette.h"
#include "tools/content/Scenery.h"

namespace {

constexpr int kIconSizes[] = {48, 64, 128, 256};

// The badge: a rounded square a little inside the picture, the margin the
// desktop icon themes leave around their squares.
Shape Badge(float n) {
  const float half = n * 0.5f - std::max(1.0f, n / 32);
  return RoundBox({n / 2, n / 2}, half, half, n * 0.22f);
}

HeroPose IconPose(int size) {
  HeroPose pose;
  pose.headTurn = -0.1f;
  pose.lookUp = 0.25f;
  // The open mouth is a dark blot under the nose in a small icon.
  pose.cheer = size > 64;
  pose.armFront = {0.15f, 0.25f};
  pose.armBack = {-0.15f, 0.2f};
  // The tail arches up behind the head; in a small icon it stays further
  // back, so that the head keeps its own outline against the sky.
  pose.tail = size > 64 ? 0.35f : 0.12f;
  pose.tailWave = 0.5f;
  pose.scarfLift = 0.25f;
  pose.scarfPhase = 1.2f;
  return pose;
}

// Everything inside the badge, painted over the whole square.
Image Scene(int size) {
  const float n = float(size);
  // Small icons frame the head a little closer.
  const float zoom = size <= 48 ? 1.3f : size <= 64 ? 1.22f : size <= 128 ? 1.08f : 1.0f;
  const float scale = 3.0f * zoom * n / 256;
  Image scene(size, size);
  PaintSky(scene, palette::skyHigh, palette::skyMid, palette::skyLow, 0.6f);
  PaintGlow(scene, {n * 0.2f, n * 0.18f}, n * 0.55f, palette::sun, 0.55f);
  // Virko from the shoulders up, the head a little above the middle; the
  // rest of him is behind the clouds.
  const Vec head{7, -66};
  DrawHero(Pen(scene, Vec{n * 0.5f, n * (0.43f + 0.15f * (zoom - 1))} - head * scale, scale), IconPose(size));
  for (int k = 0; k < 3; ++k)
    PaintCloud(scene, {n * (0.1f + 0.4f * k), n * (0.95f + 0.03f * (k % 2))}, n * 0.62f, 700 + uint32_t(k),
               palette::white, palette::cloudShade);
  return scene;
}

Image Icon(int size) {
  const float n = float(size);
  const Shape badge = Badge(n);
  const Image scene = Scene(size);
  Image icon(size, size);
  // A dark rim around the badge, then the scene cut to the badge.
  const float rim = std::max(1.2f, n / 64);
  Paint(icon, Grow(badge, rim), Flat(palette::ink), 0);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const float coverage = Clamp01(0.5f - badge.distance({x + 0.5f, y + 0.5f}));
      if (coverage > 0) icon.Blend(x, y, scene.Get(x, y), coverage);
    }
  // A thin light edge just inside the rim.
  Paint(icon, Subtract(badge, Grow(badge, -std::max(1.0f, n / 96))), Flat(WithAlpha(palette::white, 0.35f)), 0);
  return icon;
}

bool WritePng(const std::string& path, const Image& image) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
  if (error) {
    std::fprintf(stderr, "cannot make the folder of %s: %s\n", path.c_str(), error.message().c_str());
    return false;
  }
  // ToRgba8 gives straight alpha, which is what PNG stores.
  const std::vector<uint8_t> rgba = image.ToRgba8();
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = png_uint_32(image.Width());
  png.height = png_uint_32(image.Height());
  png.format = PNG_FORMAT_RGBA;
  if (!png_image_write_to_file(&png, path.c_str(), 0, rgba.data(), 0, nullptr)) {
    std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), png.message);
    return false;
  }
  return true;
}

}  // namespace

bool BuildIcons(const std::string& iconDir, const std::string& name) {
  for (int size : kIconSizes) {
    const std::string folder = std::to_string(size) + "x" + std::to_string(size);
    const std::filesystem::path path = std::filesystem::path(iconDir) / "hicolor" / folder / "apps" / (name + ".png");
    if (!WritePng(path.string(), Icon(size))) return false;
  }
  return true;
}
