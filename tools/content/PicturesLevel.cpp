// The level's screen pictures, "DATA\levels\NAME\0.tga" and on: one 800 x 600
// picture per screen slot of the compiled level's grid, stored at the size
// of its texture. The game's own
// collision map of the level decides which pixels are drawn, so that what
// looks solid is exactly what is solid: white (solid) pixels become earth,
// grass and rock, blue (platform) pixels, which carry the player from above
// only, become wooden walkways, and empty pixels stay transparent so that the
// backdrop shows through. The level's segments give the shading: how deep a
// pixel lies in its line and which way the line faces. Steep lines are the
// faces of cliffs, whose rock reaches into the island behind them. The
// colours, plants and landmark change section by section (LevelThemes.h),
// and no scenery reaches into a screen that has no picture, where it would
// be cut off at the screen's edge.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <optional>

#include "app/GameState.h"
#include "data/LevelFile.h"
#include "data/LevelLoader.h"
#include "game/CollisionMap.h"
#include "gfx/render_gl/BoxScale.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "tools/content/Catalogue.h"
#include "tools/content/ImageFiles.h"
#include "tools/content/Landmarks.h"
#include "tools/content/LevelThemes.h"
#include "tools/content/Palette.h"
#include "tools/content/PictureGroups.h"
#include "tools/content/Scenery.h"

namespace {

constexpr float kHalfPen = float(cCollisionMap::kPenRadius);
constexpr float kTau = 2 * std::numbers::pi_v<float>;
// How deep the rock of a cliff reaches into its island behind the face.
constexpr float kCliffDepth = 240;
// The level ends when the player passes this far before its right edge.
constexpr float kEndMargin = 500;

enum class Look { earth, rock, stone, planks };

struct Segment {
  Vec a, b;
  Look look;
};

// The segments the level loader draws for one line list (to shade them):
// from point i to point i + 1 for i up to count - 2, except where the pen is
// lifted.
void AddDrawnSegments(const TPoint* points, const uint8_t* breaks, int count, Look look,
                      std::vector<Segment>& out) {
  for (int i = 0; i + 1 < count; ++i) {
    if (breaks[i] == 1) continue;
    const Vec a{float(points[i].x), float(points[i].y)};
    const Vec b{float(points[i + 1].x), float(points[i + 1].y)};
    // Steep lines are walls of rock, the others ground.
    const bool steep = std::fabs(b.y - a.y) > std::fabs(b.x - a.x) * 1.5f;
    out.push_back({a, b, look == Look::planks ? look : steep ? Look::rock : Look::earth});
  }
}

struct Terrain {
  std::vector<Segment> solid;     // white lines and permanent blocks
  std::vector<Segment> platform;  // blue lines
  std::vector<Segment> walls;     // the steep ones of the solid, faces of cliffs
  std::vector<Segment> flat;      // the rest of the solid
};

Terrain TerrainOfLevel() {
  Terrain terrain;
  AddDrawnSegments(game.lineA, game.lineBreakA, game.lineCountA, Look::earth, terrain.solid);
  AddDrawnSegments(game.lineB, game.lineBreakB, game.lineCountB, Look::planks, terrain.platform);
  for (int i = 0; i <= game.blockCount; ++i) {
    const tBlock& block = game.blocks[i];
    if (block.permanent != 1) continue;
    const Vec corners[5] = {{float(block.x), float(block.y)}, {float(block.x + 70), float(block.y)},
                            {float(block.x + 70), float(block.y + 35)}, {float(block.x), float(block.y + 35)},
                            {float(block.x), float(block.y)}};
    for (int k = 0; k < 4; ++k) terrain.solid.push_back({corners[k], corners[k + 1], Look::stone});
  }
  for (const Segment& s : terrain.solid) (s.look == Look::rock ? terrain.walls : terrain.flat).push_back(s);
  return terrain;
}

// Nearest point of a segment to p, and how far along the segment it lies.
Vec Closest(const Segment& s, Vec p, float* along) {
  const Vec ab = s.b - s.a;
  const float length2 = Dot(ab, ab);
  const float t = length2 > 0 ? Clamp01(Dot(p - s.a, ab) / length2) : 0;
  if (along) *along = t * std::sqrt(length2);
  return s.a + ab * t;
}

float DistanceTo(const std::vector<Segment>& segments, Vec p) {
  float best = 1e9f;
  for (const Segment& s : segments) best = std::min(best, Length(p - Closest(s, p, nullptr)));
  return best;
}

// What covers one pixel: the nearest segment of a set, how far it is, which
// way is out, and (for planks) how far along the segment the pixel lies.
struct Nearest {
  float distance = 1e9f;
  Vec normal;
  float along = 0;
  const Segment* segment = nullptr;
};

class Field {
 public:
  Field(int width, int height) : width_(width), cells_(size_t(width) * height) {}
  Nearest& At(int x, int y) { return cells_[size_t(y) * width_ + x]; }

  // Takes in every segment within reach of the picture whose top-left world
  // point is origin; beside: only the pixels beside a segment, not those
  // around its ends.
  void Add(const std::vector<Segment>& segments, Vec origin, int height, float reach = kHalfPen + 2,
           bool beside = false) {
    for (const Segment& s : segments) {
      const float length = Length(s.b - s.a);
      const int x0 = std::max(0, int(std::floor(std::min(s.a.x, s.b.x) - reach - origin.x)));
      const int x1 = std::min(width_ - 1, int(std::ceil(std::max(s.a.x, s.b.x) + reach - origin.x)));
      const int y0 = std::max(0, int(std::floor(std::min(s.a.y, s.b.y) - reach - origin.y)));
      const int y1 = std::min(height - 1, int(std::ceil(std::max(s.a.y, s.b.y) + reach - origin.y)));
      for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
          const Vec p = origin + Vec{x + 0.5f, y + 0.5f};
          float along = 0;
          const Vec q = Closest(s, p, &along);
          if (beside && (along <= 0 || along >= length)) continue;
          const float d = Length(p - q);
          Nearest& cell = At(x, y);
          if (d < cell.distance) {
            const Vec dir = Normalize(s.b - s.a);
            cell = {d, d > 1e-3f ? (p - q) * (1 / d) : Vec{-dir.y, dir.x}, along, &s};
          }
        }
    }
  }

 private:
  int width_;
  std::vector<Nearest> cells_;
};

// Empty pixels that can be reached from the level's edges or the player's
// start. The others lie inside closed outlines (the bodies of islands): no one
// can get there, so they are painted as the island's earth.
class OpenAir {
 public:
  void Find() {
    width_ = CollisionMap.Width();
    height_ = CollisionMap.Height();
    open_.assign(size_t(width_) * height_, 0);
    std::vector<int> queue;
    auto visit = [&](int x, int y) {
      if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
      uint8_t& mark = open_[size_t(y) * width_ + x];
      if (mark || CollisionMap.Get(x, y) != PixelClass::empty) return;
      mark = 1;
      queue.push_back(y * width_ + x);
    };
    for (int x = 0; x < width_; ++x) {
      visit(x, 0);
      visit(x, height_ - 1);
    }
    for (int y = 0; y < height_; ++y) {
      visit(0, y);
      visit(width_ - 1, y);
    }
    visit(game.unitStart[0].x, game.unitStart[0].y);
    while (!queue.empty()) {
      const int at = queue.back();
      queue.pop_back();
      const int x = at % width_;
      const int y = at / width_;
      visit(x + 1, y);
      visit(x - 1, y);
      visit(x, y + 1);
      visit(x, y - 1);
    }
    MeasureDepth();
  }
  // Outside the map counts as open air.
  bool Open(int x, int y) const {
    return x < 0 || y < 0 || x >= width_ || y >= height_ || open_[size_t(y) * width_ + x];
  }
  bool Inside(int x, int y) const { return !Open(x, y) && CollisionMap.Get(x, y) == PixelClass::empty; }
  // How far (in pixels, roughly) an inside pixel lies from the island's lines.
  float Depth(int x, int y) const { return depth_[size_t(y) * width_ + x] / 3.0f; }

 private:
  // Chamfer distance (3 straight, 4 diagonal) of every inside pixel to the
  // nearest pixel that is not inside, in two passes over the map.
  void MeasureDepth() {
    depth_.assign(size_t(width_) * height_, 0);
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        if (Inside(x, y)) depth_[size_t(y) * width_ + x] = 0xFFFF;
    auto relax = [&](int x, int y, int dx, int dy, int cost) {
      const int nx = x + dx;
      const int ny = y + dy;
      if (nx < 0 || ny < 0 || nx >= width_ || ny >= height_) return;
      uint16_t& here = depth_[size_t(y) * width_ + x];
      here = uint16_t(std::min<int>(here, depth_[size_t(ny) * width_ + nx] + cost));
    };
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        if (!depth_[size_t(y) * width_ + x]) continue;
        relax(x, y, -1, 0, 3);
        relax(x, y, 0, -1, 3);
        relax(x, y, -1, -1, 4);
        relax(x, y, 1, -1, 4);
      }
    for (int y = height_ - 1; y >= 0; --y)
      for (int x = width_ - 1; x >= 0; --x) {
        if (!depth_[size_t(y) * width_ + x]) continue;
        relax(x, y, 1, 0, 3);
        relax(x, y, 0, 1, 3);
        relax(x, y, 1, 1, 4);
        relax(x, y, -1, 1, 4);
      }
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> open_;
  std::vector<uint16_t> depth_;
};

const Vec kToLight = Normalize(Vec{-0.5f, -0.86f});

// Round stones scattered in earth: at most one in each cell of the given
// size, with the given chance, radius about r.
Rgba WithPebbles(Rgba c, Vec p, float cellW, float cellH, float chance, float r0, uint32_t seed) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      const int cx = int(std::floor(p.x / cellW)) + dx;
      const int cy = int(std::floor(p.y / cellH)) + dy;
      if (HashUnit(uint32_t(cx), uint32_t(cy), seed) > chance) continue;
      const Vec centre{(cx + HashUnit(uint32_t(cx), uint32_t(cy), seed + 1)) * cellW,
                       (cy + HashUnit(uint32_t(cx), uint32_t(cy), seed + 2)) * cellH};
      const float r = r0 * (1 + 0.85f * HashUnit(uint32_t(cx), uint32_t(cy), seed + 3));
      const Vec offset = p - centre;
      const float d = Length(offset);
      if (d < r + 0.6f) {
        const Rgba stone = Mix(Mix(palette::rock, palette::earth, 0.35f), palette::rockDark,
                               Clamp01(offset.y / r * 0.8f + 0.3f));
        c = Mix(c, d < r ? stone : palette::earthDark, d < r ? 1.0f : 0.6f);
      }
    }
  return c;
}

// The earth inside an island: soft layers, a few stones, darker the deeper
// it lies.
Rgba InsideColour(Vec p, float depth) {
  const Rgba earth = ThemeColour(p.x, &Theme::earth);
  const Rgba earthDark = ThemeColour(p.x, &Theme::earthDark);
  const float strata = Fractal(p.x / 90, p.y / 14, 73, 3);
  const Rgba c = Mix(Scale(earth, 0.9f), Scale(earthDark, 0.95f), Smoothstep(0.3f, 0.75f, strata) * 0.8f);
  const Rgba stony = WithPebbles(c, p, 26, 20, 0.25f, 2.5f, 86);
  return Mix(stony, Mix(Scale(earthDark, 0.6f), palette::night, 0.2f), Smoothstep(6, 180, depth) * 0.6f);
}

// Soft light from the upper left on an edge facing that way (normal), shade
// on one facing away; rim, 0 to 1, says how near the edge the pixel lies.
Rgba Lit(Rgba c, Vec normal, float rim) {
  const float facing = Dot(normal, kToLight);
  return facing > 0 ? Mix(c, palette::haze, rim * facing * 0.35f) : Mix(c, Scale(c, 0.6f), rim * -facing * 0.6f);
}

// A cliff's rock at world point p, depth pixels behind its face: upright
// joints split it into columns of their own width, and cracks along its beds
// cross them, staggered from column to column; each block between them has
// a tone of its own and is lit on its left, and darker the deeper it lies.
// Flat within a block, so that the pictures' runs stay long.
Rgba CliffRock(Vec p, float depth) {
  const Rgba rock = ThemeColour(p.x, &Theme::rock);
  const Rgba dark = ThemeColour(p.x, &Theme::rockDark);
  const float column = p.x / 17 + 0.6f * ValueNoise(p.y / 70, 0.5f, 92);
  const uint32_t which = uint32_t(int(std::floor(column)));
  const float across = column - std::floor(column);
  const float bed = p.y / (22 + 30 * HashUnit(which, 95)) + HashUnit(which, 93) + 0.3f * ValueNoise(p.x / 9, 0.5f, 96);
  const float down = bed - std::floor(bed);
  if (across < 0.08f || down < 0.06f) return Mix(rock, dark, 0.8f);
  const uint32_t block = uint32_t(int(std::floor(bed)));
  Rgba c = Mix(rock, dark, 0.4f * HashUnit(which, block, 94));
  if (across < 0.25f) c = Mix(c, palette::haze, 0.15f);
  constexpr float kStep = 30;
  return Mix(c, Scale(dark, 0.8f), Smoothstep(0, kCliffDepth, std::floor(depth / kStep) * kStep) * 0.55f);
}

// How much of an island's inside at p is the rock behind a cliff: near a
// wall (face pixels away), under a layer of soil along its other lines (soil
// pixels away), giving way to earth deeper in, along ragged edges.
float CliffShare(Vec p, float face, float soil) {
  constexpr float kSoil = 30;
  const float ragged = Fractal(p.x / 40, p.y / 40, 94, 2) - 0.5f;
  return Smoothstep(kCliffDepth + 4, kCliffDepth - 4, face + 60 * ragged) *
         Smoothstep(kSoil - 3, kSoil + 3, soil + 20 * ragged);
}

// Colour of a covered pixel of solid ground at world point p; facesOut tells
// whether the nearest edge borders open air (else the island's inside).
Rgba GroundColour(const Nearest& n, Vec p, bool facesOut) {
  const float depth = kHalfPen - n.distance;  // 0 at the edge, 11.5 on the line
  const float up = -n.normal.y;
  Rgba c;
  switch (n.segment->look) {
    case Look::rock:
      c = CliffRock(p, 0);
      break;
    case Look::stone: {
      const float grain = Fractal(p.x / 18, p.y / 18, 71, 3);
      c = Mix(Mix(palette::rock, palette::rockDark, 0.25f), palette::rockDark, Smoothstep(0.45f, 0.75f, grain));
      c = Mix(c, palette::rune, 0.12f);
      // Cracks between blocks of rock.
      const float crack = std::fabs(ValueNoise(p.x / 9, p.y / 30, 72) - 0.5f);
      if (crack < 0.035f) c = Mix(c, palette::rockDark, 0.7f);
      break;
    }
    default: {
      const float strata = Fractal(p.x / 60, p.y / 7, 73, 3);
      c = Mix(ThemeColour(p.x, &Theme::earth), ThemeColour(p.x, &Theme::earthDark), Smoothstep(0.4f, 0.7f, strata));
      c = WithPebbles(c, p, 8, 6, 0.3f, 1.3f, 76);
      // Grass on ground that faces up, its lower edge hanging in little drips.
      const float drip = std::pow(ValueNoise(p.x / 2.6f, 0, 75), 3.0f);
      const float grassDepth = 5.0f + 7.0f * drip;
      if (facesOut && up > 0.3f && depth < grassDepth) {
        c = Mix(ThemeColour(p.x, &Theme::grass), ThemeColour(p.x, &Theme::grassLight), Smoothstep(3.5f, 1.5f, depth));
        if (depth > grassDepth - 1.3f) c = ThemeColour(p.x, &Theme::grassDark);
      }
      break;
    }
  }
  return Lit(c, n.normal, facesOut ? Smoothstep(6, 0, depth) : 0);
}

// Colour of a covered pixel of a wooden walkway.
Rgba PlankColour(const Nearest& n) {
  const float depth = kHalfPen - n.distance;
  const float up = -n.normal.y;
  const float grain = Fractal(n.along / 30, depth / 3, 81, 3);
  Rgba c = Mix(palette::wood, Scale(palette::wood, 0.82f), Smoothstep(0.45f, 0.7f, grain));
  // Seams between planks, with a nail on each side of a seam.
  const float plank = 28;
  const float inPlank = std::fmod(n.along + 1000 * plank, plank);
  if (inPlank < 1.6f) c = palette::woodDark;
  const float nail = Length(Vec{inPlank - 4.5f, n.distance});
  if (nail < 1.6f && n.distance < 3) c = palette::rockDark;
  // The top edge is lighter, the underside darker.
  if (up > 0.3f && depth < 4) c = Mix(c, palette::woodLight, 0.6f);
  if (up < -0.3f && depth < 5) c = Mix(c, palette::woodDark, 0.5f);
  return c;
}

// Ink along the covered area's edge where it meets open air, the shared
// outline of all the art.
Rgba WithEdge(Rgba c, float distance, bool facesOut) {
  if (!facesOut) return c;
  const float depth = kHalfPen - distance;
  return Mix(palette::ink, c, Smoothstep(1.0f, 2.3f, depth));
}

// ---- What the screens show: a piece of scenery is drawn only where it is
// shown whole ----

// Whether the world point lies on a screen of the level that has a picture.
bool Pictured(float x, float y) {
  const int c = int(std::floor(x / kScreenWidth));
  const int r = int(std::floor(y / kScreenHeight));
  return c >= 0 && r >= 0 && c < game.screensX && r < game.screensY && game.screenGrid[c][r] != 0;
}

struct Box {
  float x0, y0, x1, y1;
};

Box Around(Vec at, float halfWidth, float up, float down) {
  return {at.x - halfWidth, at.y - up, at.x + halfWidth, at.y + down};
}

// Whether a world box reaches into the picture whose top-left world point
// is origin.
bool Reaches(const Box& b, const Image& image, Vec origin) {
  return b.x1 >= origin.x && b.y1 >= origin.y && b.x0 <= origin.x + image.Width() && b.y0 <= origin.y + image.Height();
}

// Every screen the box reaches has a picture, so nothing of it is cut off
// at a screen's edge; two pixels more, which the scaling to the texture's
// size mixes into a screen's edge texels. The boxes are smaller than a
// screen: their corners reach every screen they touch.
bool ShownWhole(const Box& b) {
  constexpr float kMixed = 2;
  const Box g{b.x0 - kMixed, b.y0 - kMixed, b.x1 + kMixed, b.y1 + kMixed};
  return Pictured(g.x0, g.y0) && Pictured(g.x1, g.y0) && Pictured(g.x0, g.y1) && Pictured(g.x1, g.y1);
}

// ---- Decorations along the ground, placed in world coordinates ----

struct Decoration {
  enum Kind { tuft, flower, mushroom, root, vine, pine, landmark } kind;
  Vec at;  // foot (or hanging point) in world pixels
  float size;
  uint32_t seed;
  const Theme* theme;
  LandmarkKind landmarkKind = LandmarkKind::greatPine;  // of a landmark
};

bool IsTree(const Decoration& d) { return d.kind == Decoration::pine || d.kind == Decoration::landmark; }

float PineHeight(const Decoration& d) { return 46 * d.size * d.theme->treeSize; }

// The world box a decoration is painted in.
Box Extent(const Decoration& d) {
  switch (d.kind) {
    case Decoration::tuft: return Around(d.at, 8, 10 * d.size + 2, 3);
    case Decoration::flower: return Around(d.at, 6, 9 * d.size + 7, 2);
    case Decoration::mushroom: return Around(d.at, 5 * d.size + 3, 11 * d.size + 3, 2);
    case Decoration::root:
    case Decoration::vine: return Around(d.at, 12, 2, 26 * d.size + 4);
    case Decoration::pine: {
      // The top tier ends 1.1 heights above the trunk's foot, 3 below at.
      const float h = PineHeight(d);
      return Around(d.at, 0.42f * h + 3, 1.1f * h + 3, 7);
    }
    case Decoration::landmark: {
      const LandmarkSize size = SizeOfLandmark(d.landmarkKind);
      return Around(d.at, size.halfWidth + 1, size.height + 1, 6);
    }
  }
  return {};
}

// Scenery that would reach a screen without a picture would be cut off at
// that screen's edge: trees are made smaller until they fit, the rest that
// does not fit is left out.
void KeepWithinPictures(std::vector<Decoration>& decorations) {
  for (Decoration& d : decorations)
    while (d.kind == Decoration::pine && d.size > 0.4f && !ShownWhole(Extent(d))) d.size *= 0.85f;
  std::erase_if(decorations, [](const Decoration& d) { return !ShownWhole(Extent(d)); });
}

bool Overlap(const Box& a, const Box& b) { return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1; }

// Whether a landmark standing at foot is shown whole, clear of every line,
// of the islands' insides and of the other landmarks, on ground under both
// halves of its foot.
bool LandmarkFits(LandmarkKind kind, Vec foot, const OpenAir& air, const std::vector<Decoration>& placed) {
  const LandmarkSize size = SizeOfLandmark(kind);
  const Box box = Around(foot, size.halfWidth + 1, size.height + 1, 6);
  if (!ShownWhole(box)) return false;
  for (const Decoration& other : placed)
    if (Overlap(box, Extent(other))) return false;
  for (float y = box.y0 - 10; y < foot.y - 24; y += 8)
    for (float x = box.x0; x <= box.x1; x += 8) {
      const int px = int(std::floor(x));
      const int py = int(std::floor(y));
      if (!air.Open(px, py) || CollisionMap.Get(px, py) != PixelClass::empty) return false;
    }
  for (float side : {-0.4f, 0.4f})
    if (!CollisionMap.Supports(int(std::floor(foot.x + side * size.halfWidth)), int(std::floor(foot.y + 12))))
      return false;
  return true;
}

// Places a landmark on the spot from lo to hi nearest to x where it fits,
// if there is one.
void Place(LandmarkKind kind, const Theme& theme, float x, float lo, float hi, const std::vector<Vec>& spots,
           const OpenAir& air, std::vector<Decoration>& landmarks) {
  std::optional<Vec> best;
  for (Vec spot : spots) {
    const float off = std::fabs(spot.x - x);
    if (spot.x < lo || spot.x > hi || (best && off >= std::fabs(best->x - x))) continue;
    if (LandmarkFits(kind, spot, air, landmarks)) best = spot;
  }
  if (best) landmarks.push_back({Decoration::landmark, *best, 1, 0, &theme, kind});
}

// The finish gate stands just before the level's end, so that it shows from
// 400 pixels before it; then each section's landmark near where the section
// begins, a little ahead of the player arriving there (or starting the
// level).
std::vector<Decoration> Landmarks(const std::vector<Vec>& spots, const OpenAir& air) {
  constexpr float kAhead = 250;
  std::vector<Decoration> landmarks;
  const float width = float(game.screensX) * kScreenWidth;
  const float end = width - kEndMargin;
  Place(LandmarkKind::finishGate, SectionTheme(kSectionCount - 1), end - 150, end - 400, end, spots, air, landmarks);
  for (int section = 0; section < kSectionCount && section * kSectionLength < width; ++section) {
    const Theme& theme = SectionTheme(section);
    if (theme.landmark == LandmarkKind::finishGate) continue;
    const float begin = float(section) * kSectionLength;
    const float at = std::max(begin, float(game.unitStart[0].x)) + kAhead;
    Place(theme.landmark, theme, at, begin, begin + kSectionLength, spots, air, landmarks);
  }
  return landmarks;
}

std::vector<Decoration> Decorate(const Terrain& terrain, const OpenAir& air) {
  std::vector<Decoration> out;
  std::vector<Vec> spots;  // on open ground, facing up
  uint32_t serial = 0;
  auto isFree = [&](Vec p) {
    return air.Open(int(std::floor(p.x)), int(std::floor(p.y))) && DistanceTo(terrain.solid, p) > kHalfPen + 0.5f &&
           DistanceTo(terrain.platform, p) > kHalfPen + 0.5f;
  };
  for (const Segment& s : terrain.solid) {
    if (s.look != Look::earth) continue;
    const Vec dir = Normalize(s.b - s.a);
    Vec up{dir.y, -dir.x};
    if (up.y > 0) up = up * -1;
    const float length = Length(s.b - s.a);
    for (float t = 6; t < length; t += 9 + 14 * HashUnit(++serial, 1)) {
      const Vec line = s.a + dir * t;
      const Vec top = line + up * (kHalfPen - 1.5f);
      const Vec bottom = line - up * (kHalfPen - 1.0f);
      if (isFree(line + up * (kHalfPen + 3))) {
        const Theme& theme = ThemeForPiece(top.x, serial);
        const float pick = HashUnit(serial, 2);
        const Decoration::Kind kind = pick < theme.trees                                     ? Decoration::pine
                                      : pick < theme.trees + theme.flowers                   ? Decoration::flower
                                      : pick < theme.trees + theme.flowers + theme.mushrooms ? Decoration::mushroom
                                                                                             : Decoration::tuft;
        out.push_back({kind, top, 0.7f + 0.6f * HashUnit(serial, 3), serial, &theme});
        if (up.y < -0.9f) spots.push_back(top);
      }
      if (HashUnit(serial, 4) < 0.22f && isFree(line - up * (kHalfPen + 4)))
        out.push_back({HashUnit(serial, 5) < 0.5f ? Decoration::root : Decoration::vine, bottom,
                       0.6f + 0.8f * HashUnit(serial, 6), serial, &ThemeForPiece(bottom.x, serial)});
    }
  }
  KeepWithinPictures(out);
  const std::vector<Decoration> landmarks = Landmarks(spots, air);
  // A landmark stands alone: no small tree crowds it.
  std::erase_if(out, [&](const Decoration& d) {
    return d.kind == Decoration::pine && std::any_of(landmarks.begin(), landmarks.end(), [&](const Decoration& l) {
             return Overlap(Extent(d), Extent(l));
           });
  });
  out.insert(out.end(), landmarks.begin(), landmarks.end());
  // Trees stand behind everything else; draw them first.
  std::stable_sort(out.begin(), out.end(), [](const Decoration& a, const Decoration& b) {
    return IsTree(a) > IsTree(b);
  });
  return out;
}

void DrawDecoration(Image& image, const Decoration& d, Vec origin) {
  if (!Reaches(Extent(d), image, origin)) return;
  const Vec at = d.at - origin;
  const uint32_t s = d.seed;
  const Theme& theme = *d.theme;
  switch (d.kind) {
    case Decoration::tuft: {
      for (int k = 0; k < 4; ++k) {
        const float lean = (HashUnit(s, 10, uint32_t(k)) - 0.5f) * 6;
        const float h = (4 + 5 * HashUnit(s, 11, uint32_t(k))) * d.size;
        const Vec base = at + Vec{(k - 1.5f) * 2.5f, 1.5f};
        Paint(image, Stroke({base, base + Vec{lean * 0.4f, -h * 0.6f}, base + Vec{lean, -h}}, 1.3f, 0.3f),
              Flat(k % 2 ? theme.grassLight : theme.grass), 0.9f);
      }
      break;
    }
    case Decoration::flower: {
      const float h = 9 * d.size;
      const Vec head = at + Vec{1.5f, -h};
      Paint(image, Stroke({at + Vec{0, 1}, at + Vec{-1, -h * 0.5f}, head}, 0.9f, 0.7f), Flat(theme.grassDark), 0.8f);
      const Rgba petals = theme.petals[HashUnit(s, 12) < 0.5f ? 0 : 1];
      for (int k = 0; k < 5; ++k)
        Paint(image, Circle(head + Rotate(Vec{2.4f, 0}, k * kTau / 5), 1.9f), Soft(petals, 1.5f), 0.9f);
      Paint(image, Circle(head, 1.4f), Flat(palette::gold), 0);
      break;
    }
    case Decoration::mushroom: {
      const float h = 7 * d.size;
      Paint(image, Capsule(at + Vec{0, 1}, at + Vec{0, -h}, 1.8f, 1.5f), palette::cream, 1.0f);
      Paint(image, Intersect(Ellipse(at + Vec{0, -h}, 5 * d.size, 4 * d.size), RoundBox(at + Vec{0, -h - 5}, 9, 5, 0)),
            palette::red, 1.0f);
      break;
    }
    case Decoration::root:
    case Decoration::vine: {
      const float length = 26 * d.size;
      const float sway = (HashUnit(s, 13) - 0.5f) * 10;
      const std::vector<Vec> path = BezierPath(at, at + Vec{sway, length * 0.35f}, at + Vec{-sway, length * 0.7f},
                                               at + Vec{sway * 0.5f, length}, 8);
      const bool vine = d.kind == Decoration::vine;
      Paint(image, Stroke(path, vine ? 1.3f : 1.8f, 0.5f), Flat(vine ? theme.grassDark : theme.earthDark), 0);
      if (vine)
        for (size_t k = 2; k < path.size(); k += 2)
          Paint(image, Ellipse(path[k] + Vec{k % 4 ? 2.5f : -2.5f, 0}, 2.6f, 1.5f, k % 4 ? 0.5f : -0.5f),
                Soft(theme.grass, 1.5f), 0.8f);
      break;
    }
    case Decoration::pine:
      // Small and a little hazy, so they read as scenery behind the path.
      PaintPine(image, at + Vec{0, 3}, PineHeight(d), Mix(theme.tree, palette::mountain, 0.25f), true);
      break;
    case Decoration::landmark:
      PaintLandmark(image, d.landmarkKind, at, theme);
      break;
  }
}

// ---- Walls drawn as cliffs ----

// A wall standing free, open air on both sides, is the front of a rock
// that reaches back behind it: drawn as a crag, wide at its foot, narrowing
// upward, so that it reads as a cliff and not as a pole to hop over. Its
// outline and the fallen rocks at its foot are in world pixels, kept off
// screens without a picture like the rest of the scenery.
struct Crag {
  std::vector<Vec> outline;
  std::vector<Vec> rubble;
  Rgba rock;
  Box box;
};

// A point of a crag's flank, pulled back toward the wall until it lies on a
// screen with a picture.
Vec WithinPictures(Vec flank, Vec wall) {
  for (float t = 0; t < 1; t += 0.1f) {
    const Vec p = Lerp(flank, wall, t);
    if (ShownWhole(Around(p, 1, 1, 1))) return p;
  }
  return wall;
}

Crag CragOf(Vec foot, Vec top) {
  Crag crag;
  crag.rock = Mix(ThemeColour(foot.x, &Theme::rock), palette::mountain, 0.3f);
  // Both flanks, from the foot up, jagged by a little noise.
  const int steps = std::max(2, int(Length(foot - top) / 28));
  std::vector<Vec> right;
  for (int k = 0; k <= steps; ++k) {
    const float t = float(k) / steps;
    const Vec c = Lerp(foot, top, t);
    const float half = 56 - 32 * t;
    const uint32_t cell = uint32_t(std::lround(foot.x)) * 131 + uint32_t(k);
    crag.outline.push_back(WithinPictures(c + Vec{-half - 6 * HashUnit(cell, 61), 0}, c));
    right.push_back(WithinPictures(c + Vec{half + 6 * HashUnit(cell, 62), 0}, c));
  }
  crag.outline.insert(crag.outline.end(), right.rbegin(), right.rend());
  for (int k = 0; k < 4; ++k) {
    const float side = k % 2 ? 1.0f : -1.0f;
    const Vec at = foot + Vec{side * (30 + 22 * HashUnit(k, 63, uint32_t(foot.x))), -3};
    if (ShownWhole(Around(at, 14, 8, 8))) crag.rubble.push_back(at);
  }
  crag.box = {std::min(foot.x, top.x) - 80, std::min(foot.y, top.y) - 10, std::max(foot.x, top.x) + 80,
              std::max(foot.y, top.y) + 10};
  return crag;
}

// Takes the walls that stand free out of the terrain's walls (which are the
// faces of islands) as crags.
std::vector<Crag> TakeCrags(Terrain& terrain, const OpenAir& air) {
  std::vector<Crag> crags;
  std::vector<Segment> faces;
  for (const Segment& s : terrain.walls) {
    const Vec normal = Normalize(Vec{s.a.y - s.b.y, s.b.x - s.a.x});
    int open = 0;
    for (float t : {0.25f, 0.5f, 0.75f})
      for (float side : {-1.0f, 1.0f}) {
        const Vec p = Lerp(s.a, s.b, t) + normal * (side * (kHalfPen + 3));
        open += air.Open(int(std::floor(p.x)), int(std::floor(p.y))) ? 1 : 0;
      }
    if (open == 6)
      crags.push_back(s.a.y > s.b.y ? CragOf(s.a, s.b) : CragOf(s.b, s.a));
    else
      faces.push_back(s);
  }
  terrain.walls = faces;
  return crags;
}

void PaintCrag(Image& image, const Crag& crag, Vec origin) {
  if (!Reaches(crag.box, image, origin)) return;
  std::vector<Vec> outline;
  for (Vec p : crag.outline) outline.push_back(p - origin);
  // The cliff's rock, a little hazy: it stands behind the wall.
  Paint(image, Polygon(outline), [origin](Vec p, float d, Vec n) {
    return Lit(Mix(CliffRock(p + origin, 0), palette::mountain, 0.3f), n, Smoothstep(-12, 0.5f, d));
  }, 1.6f);
  for (size_t k = 0; k < crag.rubble.size(); ++k)
    Paint(image, Ellipse(crag.rubble[k] - origin, 7 + 4 * HashUnit(uint32_t(k), 64), 5), Soft(crag.rock, 4), 1.4f);
}

// The screen whose top-left corner is the world point origin; the collision
// map must hold the level.
Image Screen(const Terrain& terrain, const std::vector<Decoration>& decorations, const std::vector<Crag>& crags,
             const OpenAir& air, Vec origin) {
  Image image(kScreenWidth, kScreenHeight);
  for (const Crag& crag : crags) PaintCrag(image, crag, origin);
  for (const Decoration& d : decorations)
    if (IsTree(d)) DrawDecoration(image, d, origin);
  // The map's rule measures from a pixel's own corner point.
  const Vec corner = origin - Vec{0.5f, 0.5f};
  Field solid(kScreenWidth, kScreenHeight);
  Field platform(kScreenWidth, kScreenHeight);
  solid.Add(terrain.solid, corner, kScreenHeight);
  platform.Add(terrain.platform, corner, kScreenHeight);
  // How near the islands' insides lie to a wall (beside it) and to the rest
  // of their outline, which the cliff's rock lies between (CliffShare).
  Field wall(kScreenWidth, kScreenHeight);
  Field rest(kScreenWidth, kScreenHeight);
  wall.Add(terrain.walls, corner, kScreenHeight, kCliffDepth, true);
  rest.Add(terrain.flat, corner, kScreenHeight, kCliffDepth);
  // Whether the edge nearest to a covered pixel borders open air: looks just
  // past the line's edge along its normal.
  auto facesOut = [&](const Nearest& n, Vec p) {
    const Vec beyond = p + n.normal * (kHalfPen - n.distance + 1.5f);
    return air.Open(int(std::floor(beyond.x)), int(std::floor(beyond.y)));
  };
  for (int y = 0; y < kScreenHeight; ++y)
    for (int x = 0; x < kScreenWidth; ++x) {
      const Vec p = origin + Vec{float(x), float(y)};
      const int wx = int(origin.x) + x;
      const int wy = int(origin.y) + y;
      Nearest plank = platform.At(x, y);
      Nearest ground = solid.At(x, y);
      switch (CollisionMap.Get(wx, wy)) {
        case PixelClass::platform:
          if (plank.segment) {
            plank.distance = std::min(plank.distance, kHalfPen);
            image.Set(x, y, WithEdge(PlankColour(plank), plank.distance, true));
          }
          break;
        case PixelClass::solid:
          if (ground.segment) {
            ground.distance = std::min(ground.distance, kHalfPen);
            const bool out = facesOut(ground, p);
            image.Set(x, y, WithEdge(GroundColour(ground, p, out), ground.distance, out));
          }
          break;
        case PixelClass::empty:
          if (air.Inside(wx, wy)) {
            const float face = wall.At(x, y).distance;
            const float cliff = CliffShare(p, face, rest.At(x, y).distance);
            image.Set(x, y, Mix(InsideColour(p, air.Depth(wx, wy)), CliffRock(p, face - kHalfPen), cliff));
          } else {
            // Half a pixel of ink beyond the edge smooths it; it is too faint
            // to read as ground.
            const float d = std::min(plank.distance, ground.distance);
            if (d < kHalfPen + 1) image.Blend(x, y, palette::ink, 0.6f * (kHalfPen + 1 - d));
          }
          break;
      }
    }
  for (const Decoration& d : decorations)
    if (!IsTree(d)) DrawDecoration(image, d, origin);
  return image;
}

// Writes a screen at the size its texture gets: the game scales every
// picture whose sides are not powers of two to the nearest ones with GLU's
// box filter before uploading it, so a screen scaled here the same way loads
// into the very same texels, without that work on every level load.
bool WriteScreen(const std::string& path, const Image& screen) {
  const int w = screen.Width();
  const int h = screen.Height();
  const int textureW = GluNearestPower(w);
  const int textureH = GluNearestPower(h);
  return WriteTga(path, textureW, textureH, GluBoxScale(BottomRowFirst(screen).data(), w, h, textureW, textureH));
}

void PrintMessage(const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), Cp1257ToUtf8(text).c_str());
}

// Reads the compiled level into the game state with the game's reader.
bool ReadLevel(const std::string& contentDir, const LevelEntry& level) {
  ResetGameState();
  SetMessageBoxHandler(PrintMessage);
  const bool ok = LoadLevelFile(OnDisk(contentDir, level.file));
  SetMessageBoxHandler(nullptr);
  ClearTerminateRequest();
  return ok;
}

}  // namespace

int LevelScreensAcross(const std::string& contentDir, const LevelEntry& level) {
  const bool read = FileExists(OnDisk(contentDir, level.file)) && ReadLevel(contentDir, level);
  return read && game.screensX > 0 ? game.screensX : 8;
}

bool BuildLevelScreens(const std::string& contentDir, const LevelEntry& level) {
  if (!ReadLevel(contentDir, level)) {
    std::fprintf(stderr, "cannot draw the level's screens: %s was not read\n", level.file.c_str());
    return false;
  }
  // The game loads every .tga of the folder as slots 1 to n: start afresh.
  const std::string folder = OnDisk(contentDir, level.dir);
  std::error_code error;
  std::filesystem::remove_all(folder, error);

  // Which grid cell each slot shows; a slot shared by several cells would
  // need one picture to fit several places, so it is refused.
  int slots = 0;
  std::vector<std::pair<int, int>> cellOfSlot(101, {-1, -1});
  for (int c = 0; c < game.screensX; ++c)
    for (int r = 0; r < game.screensY; ++r) {
      const int v = game.screenGrid[c][r];
      if (v == 0) continue;
      if (cellOfSlot[size_t(v)].first >= 0) {
        std::fprintf(stderr, "screen slot %d is used by more than one screen of the level\n", v);
        return false;
      }
      cellOfSlot[size_t(v)] = {c, r};
      slots = std::max(slots, v);
    }
  std::string reason;
  if (!LevelFitsTables(reason)) {
    std::fprintf(stderr, "cannot draw the level's screens: %s\n", reason.c_str());
    return false;
  }
  BuildCollisionMap();
  OpenAir air;
  air.Find();
  Terrain terrain = TerrainOfLevel();
  const std::vector<Crag> crags = TakeCrags(terrain, air);
  const std::vector<Decoration> decorations = Decorate(terrain, air);
  for (int v = 1; v <= slots; ++v) {
    const auto [c, r] = cellOfSlot[size_t(v)];
    // A slot no screen shows still gets a (clear) picture: the game loads them all.
    const Vec origin{float(c * kScreenWidth), float(r * kScreenHeight)};
    const Image picture =
        c < 0 ? Image(kScreenWidth, kScreenHeight) : Screen(terrain, decorations, crags, air, origin);
    if (!WriteScreen(folder + "/" + std::to_string(v - 1) + ".tga", picture)) return false;
  }
  return true;
}
