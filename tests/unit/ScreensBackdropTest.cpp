#include <algorithm>

#include "ScreensTestSupport.h"
#include "screens/Screens.h"

namespace {

int drawn = 0;  // what the random source hands out next
int Draw(int range) { return drawn % range; }

class BackdropTest : public ScreensTest {
 protected:
  void SetUp() override {
    ScreensTest::SetUp();
    drawn = 0;
    SetRandomSource(Draw);
  }
  static tBackdropPanel& A() { return menuBackdrop.panels[0]; }
  static tBackdropPanel& B() { return menuBackdrop.panels[1]; }
};

}  // namespace

TEST_F(BackdropTest, TheFirstFrameResetsPanelBAndStartsPanelA) {
  DrawMenuBackdrop();
  EXPECT_FLOAT_EQ(A().x, 400 - 0.16f);  // 16 pixels a second
  EXPECT_FLOAT_EQ(A().time, 0.01f);
  EXPECT_FLOAT_EQ(A().alpha, 0.001f);
  EXPECT_EQ(B().x, 400);
  EXPECT_FLOAT_EQ(B().time, 12.51f);
  EXPECT_FLOAT_EQ(B().alpha, -0.001f);  // past 12.5 seconds: only fades out
  EXPECT_EQ(A().picture, 0);
  EXPECT_EQ(B().picture, 1);
}

TEST_F(BackdropTest, PanelsFadeInAndOutHalfACycleApart) {
  float lowestB = 0;
  int frames = 0;
  // Until B's cycle restarts, about 12.5 seconds in.
  while (B().time != 0 && frames < 2000) {
    DrawMenuBackdrop();
    ++frames;
    if (B().time != 0) lowestB = std::min(lowestB, B().alpha);
  }
  EXPECT_NEAR(frames, 1250, 2);
  EXPECT_NEAR(lowestB, -0.1, 0.002);  // fades to just below zero and stays
  EXPECT_NEAR(A().alpha, 1.0, 0.01);   // in over 10 seconds, then held
  EXPECT_NEAR(A().x, 200, 1);          // half way across
  // B went back to the right edge as its cycle ended, and moves on.
  EXPECT_FLOAT_EQ(B().x, 400 - 0.16f);

  // From here on one fades out while the other fades in.
  for (int i = 0; i < 500; ++i) DrawMenuBackdrop();
  EXPECT_LT(A().alpha, 0.8f);
  EXPECT_GT(B().alpha, 0.4f);
}

TEST_F(BackdropTest, ARestartingPanelNeverTakesTheOtherPanelsPicture) {
  // The draw equals the other panel's picture: the panel takes one less.
  B().picture = 4;
  drawn = 4;
  A().time = 25;  // the cycle restarts in this frame
  DrawMenuBackdrop();
  EXPECT_EQ(A().time, 0);
  EXPECT_EQ(A().picture, 3);

  // And picture 0 gives 1.
  B().picture = 0;
  drawn = 0;
  A().time = 25;
  DrawMenuBackdrop();
  EXPECT_EQ(A().picture, 1);

  // A different draw is taken as it is; B chooses against A the same way.
  drawn = 5;
  B().time = 25;
  DrawMenuBackdrop();
  EXPECT_EQ(B().picture, 5);
  EXPECT_EQ(A().picture, 1);  // not restarting: keeps its picture

  // Over many cycles the two never match right after a choice.
  SetRandomSource(nullptr);
  SeedRandom(7);
  for (int i = 0; i < 20000; ++i) {
    DrawMenuBackdrop();
    if (A().time == 0 || B().time == 0) {
      ASSERT_NE(A().picture, B().picture) << "frame " << i;
    }
  }
}

TEST_F(BackdropTest, SymbolsBounceOffTheirBoundsWithNewSpeeds) {
  tBackdropSymbol& inside = menuBackdrop.symbols[1];  // (400, 100), going right and up
  DrawMenuBackdrop();
  EXPECT_FLOAT_EQ(inside.x, 400.2f);  // 0.2 is 20 pixels a second
  EXPECT_FLOAT_EQ(inside.y, 99.8f);

  // Symbol 3 starts beyond x = 810: it turns round in every frame until
  // its new speed carries it back inside.
  tBackdropSymbol& outside = menuBackdrop.symbols[3];
  drawn = 9;  // a speed of 10 x 0.035
  const float direction = outside.dirX;
  DrawMenuBackdrop();
  EXPECT_EQ(outside.dirX, -direction);
  EXPECT_FLOAT_EQ(outside.speedX, 0.35f);
  EXPECT_FLOAT_EQ(outside.speedY, 0.35f);

  tBackdropSymbol& low = menuBackdrop.symbols[0];
  low.y = 611;
  low.dirY = 1;
  drawn = 0;
  DrawMenuBackdrop();
  EXPECT_EQ(low.dirY, -1);
  EXPECT_FLOAT_EQ(low.speedY, 0.035f);
}
