#include <random>

#include "GameTestSupport.h"

using gametest::Line;

namespace {

// Independent reference: the distance from the point to the segment, in
// plain floating point.
bool WithinPen(double px, double py, const Line& l) {
  const double dx = l.x1 - l.x0, dy = l.y1 - l.y0;
  const double length2 = dx * dx + dy * dy;
  double t = length2 == 0 ? 0 : ((px - l.x0) * dx + (py - l.y0) * dy) / length2;
  t = std::clamp(t, 0.0, 1.0);
  const double ex = px - (l.x0 + t * dx), ey = py - (l.y0 + t * dy);
  return ex * ex + ey * ey <= 11.5 * 11.5;
}

class CollisionMapTest : public ::testing::Test {
 protected:
  void SetUp() override { CollisionMap.Resize(203, 151); }
  void TearDown() override { CollisionMap.Free(); }
};

TEST_F(CollisionMapTest, RasteriserMatchesDistanceTestOnRandomSegments) {
  // Segments of every slope and length, some leaving the map, some of zero
  // length, drawn over each other in all three classes; the odd width makes
  // rows end inside a byte of the packed storage.
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> xs(-40, 243), ys(-40, 191), pick(0, 9);
  std::vector<uint8_t> expected(203 * 151, 0);
  for (int n = 0; n < 400; ++n) {
    Line l{xs(random), ys(random), xs(random), ys(random)};
    if (pick(random) == 0) l.x1 = l.x0, l.y1 = l.y0;
    if (pick(random) == 1) l.y1 = l.y0;
    if (pick(random) == 2) l.x1 = l.x0;
    const PixelClass pen = PixelClass(n % 3);
    CollisionMap.SetPen(pen);
    CollisionMap.MoveTo(l.x0, l.y0);
    CollisionMap.LineTo(l.x1, l.y1);
    for (int y = 0; y < 151; ++y)
      for (int x = 0; x < 203; ++x)
        if (WithinPen(x, y, l)) expected[y * 203 + x] = uint8_t(pen);
    if (n % 40 != 39) continue;
    int wrong = 0;
    for (int y = 0; y < 151; ++y)
      for (int x = 0; x < 203; ++x)
        wrong += CollisionMap.Get(x, y) != PixelClass(expected[y * 203 + x]);
    ASSERT_EQ(wrong, 0) << "after segment " << n;
  }
}

TEST_F(CollisionMapTest, LinesAre23PixelsWideWithRoundEnds) {
  CollisionMap.SetPen(PixelClass::solid);
  CollisionMap.MoveTo(50, 70);
  CollisionMap.LineTo(150, 70);
  // Rows 59 to 81 exactly.
  EXPECT_FALSE(CollisionMap.Supports(100, 58));
  EXPECT_TRUE(CollisionMap.IsSolid(100, 59));
  EXPECT_TRUE(CollisionMap.IsSolid(100, 81));
  EXPECT_FALSE(CollisionMap.Supports(100, 82));
  // The ends are discs of radius 11.5: 11 past the end, (8, 8) and (9, 7)
  // inside, (9, 8) and 12 past the end outside.
  EXPECT_TRUE(CollisionMap.IsSolid(161, 70));
  EXPECT_FALSE(CollisionMap.Supports(162, 70));
  EXPECT_TRUE(CollisionMap.IsSolid(158, 78));
  EXPECT_TRUE(CollisionMap.IsSolid(41, 63));
  EXPECT_FALSE(CollisionMap.Supports(159, 78));
  EXPECT_FALSE(CollisionMap.Supports(38, 70));
}

TEST_F(CollisionMapTest, OutsideIsEmptyAndClassesOverwriteEachOther) {
  CollisionMap.SetPen(PixelClass::solid);
  CollisionMap.MoveTo(-30, 0);
  CollisionMap.LineTo(300, 0);
  EXPECT_TRUE(CollisionMap.IsSolid(0, 0));
  EXPECT_EQ(CollisionMap.Get(-1, 0), PixelClass::empty);
  EXPECT_EQ(CollisionMap.Get(0, -1), PixelClass::empty);
  EXPECT_EQ(CollisionMap.Get(203, 0), PixelClass::empty);
  EXPECT_EQ(CollisionMap.Get(0, 151), PixelClass::empty);

  CollisionMap.DrawOutline(100, 100, 70, 35, PixelClass::platform);
  EXPECT_EQ(CollisionMap.Get(135, 100), PixelClass::platform);
  EXPECT_TRUE(CollisionMap.Supports(135, 100));
  EXPECT_FALSE(CollisionMap.IsSolid(135, 100));
  EXPECT_EQ(CollisionMap.Get(135, 117), PixelClass::empty);  // inside the frame
  CollisionMap.DrawOutline(100, 100, 70, 35, PixelClass::empty);
  EXPECT_EQ(CollisionMap.Get(135, 100), PixelClass::empty);
}

TEST_F(CollisionMapTest, FarAwayEndPointsStillDrawTheirPartOfTheLine) {
  CollisionMap.SetPen(PixelClass::solid);
  CollisionMap.MoveTo(-2000000000, 50);
  CollisionMap.LineTo(2000000000, 50);
  for (int x : {0, 101, 202}) {
    EXPECT_FALSE(CollisionMap.Supports(x, 38));
    EXPECT_TRUE(CollisionMap.IsSolid(x, 39));
    EXPECT_TRUE(CollisionMap.IsSolid(x, 61));
    EXPECT_FALSE(CollisionMap.Supports(x, 62));
  }
}

// Exact against the segment as given, for ends up to 2^26 away: with
// q = p - a and d = b - a, the squared distance is |q|^2 - (q.d)^2 / |d|^2
// between the ends.
bool WithinPenExactly(int64_t px, int64_t py, int64_t ax, int64_t ay, int64_t bx, int64_t by) {
  using Wide = __int128;
  const Wide dx = bx - ax, dy = by - ay, qx = px - ax, qy = py - ay;
  const Wide length2 = dx * dx + dy * dy, dot = qx * dx + qy * dy;
  if (dot <= 0) return 4 * (qx * qx + qy * qy) <= 529;
  if (dot >= length2) return 4 * ((px - bx) * Wide(px - bx) + (py - by) * Wide(py - by)) <= 529;
  return 4 * ((qx * qx + qy * qy) * length2 - dot * dot) <= 529 * length2;
}

TEST_F(CollisionMapTest, SegmentsReachingFarBeyondTheMapCoverExactlyTheirOwnBand) {
  std::mt19937 random(11);
  auto uniform = [&](int64_t lo, int64_t hi) {
    return std::uniform_int_distribution<int64_t>(lo, hi)(random);
  };
  for (int round = 0; round < 40; ++round) {
    CollisionMap.Resize(203, 151);
    // Through two points near the map, ends 5 to 60 million pixels away,
    // nudged off the lattice line so that cutting them down must round.
    const int64_t px = uniform(-20, 222), py = uniform(-20, 170);
    const int64_t qx = uniform(-20, 222), qy = uniform(-20, 170);
    if (px == qx && py == qy) continue;
    const int64_t k = uniform(200000, 250000);
    const int64_t ax = px + (px - qx) * k + uniform(-9, 9), ay = py + (py - qy) * k + uniform(-9, 9);
    const int64_t bx = qx + (qx - px) * k + uniform(-9, 9), by = qy + (qy - py) * k + uniform(-9, 9);
    CollisionMap.SetPen(PixelClass::solid);
    CollisionMap.MoveTo(ax, ay);
    CollisionMap.LineTo(bx, by);
    int wrong = 0;
    for (int y = 0; y < 151; ++y) {
      for (int x = 0; x < 203; ++x)
        wrong += CollisionMap.IsSolid(x, y) != WithinPenExactly(x, y, ax, ay, bx, by);
    }
    EXPECT_EQ(wrong, 0) << "(" << ax << ", " << ay << ") to (" << bx << ", " << by << ")";
  }
}

TEST(CollisionMapProbe, TruncatesTowardZeroAndSendsFarValuesOutside) {
  EXPECT_EQ(cCollisionMap::ToPixel(10.9), 10);
  EXPECT_EQ(cCollisionMap::ToPixel(-0.9), 0);
  EXPECT_EQ(cCollisionMap::ToPixel(99.99) + 5, 104);
  EXPECT_LT(cCollisionMap::ToPixel(1e12), 0);
  EXPECT_LT(cCollisionMap::ToPixel(std::nan("")), 0);
}

TEST(CollisionMapSize, LargestLevelFitsIn64MegabytesAndFreeReleasesIt) {
  cCollisionMap map;
  map.Resize(31 * 800, 11 * 600);
  EXPECT_LE(map.Bytes(), 64u << 20);
  EXPECT_EQ(map.Get(24799, 6599), PixelClass::empty);
  map.Free();
  EXPECT_EQ(map.Bytes(), 0u);
  EXPECT_EQ(map.Width(), 0);
}

// Resizing makes a new empty map, also at the same size; a copy keeps its
// own pixels.
TEST(CollisionMapSize, ResizingEmptiesTheMapAndACopyKeepsItsOwnPixels) {
  cCollisionMap map;
  map.Resize(500, 300);
  map.MoveTo(10, 100);
  map.LineTo(400, 100);
  ASSERT_TRUE(map.IsSolid(200, 100));
  const cCollisionMap copy = map;
  map.Resize(500, 300);
  EXPECT_EQ(map.Get(200, 100), PixelClass::empty);
  EXPECT_TRUE(copy.IsSolid(200, 100));
  EXPECT_EQ(copy.Width(), 500);
  map = copy;
  EXPECT_TRUE(map.IsSolid(200, 100));
  EXPECT_EQ(map.Get(200, 150), PixelClass::empty);
}

}  // namespace
