#include "GameTestSupport.h"

using gametest::GameTest;

namespace {

// The player 40 x 50 at (400, 364): his box spans x 380..420, y 339..389.
class PickupTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    PlacePlayer(400, 364);
    for (PickupKind& kind : pickupKinds) {
      kind.boxWidth = 50;
      kind.size = 50;
      kind.lastItem = 0;
      kind.items[0] = {1000, 1000, 0, 0};  // out of reach
    }
  }
  static tPickupItem& Item(int kind, int j, float x, float y) {
    pickupKinds[kind].items[j] = {x, y, 0, 0};
    return pickupKinds[kind].items[j];
  }
};

TEST_F(PickupTest, RewardIsGivenOnceAndTheItemFliesAway) {
  tPickupItem& cone = Item(0, 0, 380, 340);
  UpdatePickups();
  EXPECT_EQ(stats.cones, 1);
  EXPECT_EQ(cone.taken, 1);
  EXPECT_FLOAT_EQ(cone.y, 310);  // 15 x f per frame
  int frames = 1;
  while (!cone.gone && frames < 100) {
    UpdatePickups();
    ++frames;
  }
  EXPECT_EQ(stats.cones, 1);
  EXPECT_FLOAT_EQ(cone.y, -20);
  EXPECT_EQ(frames, 13);  // 12 rises to -20, then dropped
}

TEST_F(PickupTest, EveryKindGivesItsReward) {
  for (int k = 0; k < kPickupKinds; ++k) Item(k, 0, 390, 350);
  game.bullets = 5;
  UpdatePickups();
  EXPECT_EQ(stats.cones, 1);
  EXPECT_EQ(stats.puffs, 1);
  EXPECT_EQ(game.bullets, 15);
  EXPECT_EQ(game.fuel, 2);
  EXPECT_EQ(game.grenades, 1);
  for (int k = 0; k < kPickupKinds; ++k) EXPECT_EQ(pickupKinds[k].items[0].taken, 1) << k;
}

TEST_F(PickupTest, ItemAtTheTopEdgeIsGoneInTheFrameItIsCollected) {
  PlacePlayer(400, 10);
  tPickupItem& atTop = Item(1, 0, 390, 0);
  tPickupItem& above = Item(2, 0, 390, -10);
  UpdatePickups();
  EXPECT_EQ(stats.puffs, 1);
  EXPECT_EQ(game.bullets, 10);
  EXPECT_EQ(atTop.gone, 1);
  EXPECT_EQ(above.gone, 1);
  EXPECT_FLOAT_EQ(atTop.y, 0);
}

TEST_F(PickupTest, OnlyItemsUpToLastItemAreInPlayAndEdgesMustOverlap) {
  pickupKinds[0].lastItem = 1;
  Item(0, 0, 420, 350);  // starts where the player's box ends
  Item(0, 1, 330, 350);  // ends where it starts
  Item(0, 2, 390, 350);  // beyond lastItem
  UpdatePickups();
  EXPECT_EQ(stats.cones, 0);
  Item(0, 0, 419.5f, 350);
  UpdatePickups();
  EXPECT_EQ(stats.cones, 1);
  EXPECT_EQ(pickupKinds[0].items[2].taken, 0);
}

// Blocks 70 x 35: block 0 permanent at (100, 400), blocks 1 and 2 dormant
// at (200, 400) and (300, 400).
class BlockTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    game.blockCount = 2;
    game.blocks[0] = {100, 400, 0, 1, 0, 0, 0};
    game.blocks[1] = {200, 400, 0, 0, 0, 0, 0};
    game.blocks[2] = {300, 400, 0, 0, 0, 0, 0};
  }
  // Feet on the block's top edge, centre over it.
  static void StandOn(int i) {
    PlacePlayer(game.blocks[i].x + 35, game.blocks[i].y - 25);
  }
};

TEST_F(BlockTest, StandingOnASolidBlockArmsTheNextInTableOrder) {
  StandOn(0);
  UpdateBlocks(300);
  EXPECT_EQ(standingBlock, 0);
  EXPECT_EQ(game.blocks[0].solidNow, 1);
  EXPECT_TRUE(CollisionMap.IsSolid(135, 400));
  EXPECT_EQ(game.blocks[1].armed, 1);
  EXPECT_EQ(game.blocks[1].solidNow, 0);  // solid from the next update on
  EXPECT_EQ(game.blocks[2].armed, 0);

  UpdateBlocks(300);
  EXPECT_EQ(game.blocks[1].solidNow, 1);
  EXPECT_TRUE(CollisionMap.IsSolid(235, 400));
  EXPECT_FLOAT_EQ(game.blocks[1].timer, 2);
  EXPECT_EQ(game.blocks[2].armed, 0);

  StandOn(1);
  UpdateBlocks(300);
  EXPECT_EQ(standingBlock, 1);
  EXPECT_EQ(game.blocks[2].armed, 1);

  // Standing on the last block in play arms the entry after it, which is
  // never updated.
  StandOn(2);
  UpdateBlocks(300);
  UpdateBlocks(300);
  EXPECT_EQ(game.blocks[3].armed, 1);
  EXPECT_EQ(game.blocks[3].solidNow, 0);
}

TEST_F(BlockTest, ArmedBlockExpiresAfterItsLifetime) {
  StandOn(0);
  UpdateBlocks(300);
  PlacePlayer(400, 100);  // within 450 pixels, standing on nothing
  for (int update = 1; update <= 150; ++update) {
    UpdateBlocks(300);
    ASSERT_EQ(game.blocks[1].solidNow, 1) << update;
  }
  EXPECT_FLOAT_EQ(game.blocks[1].timer, 300);
  UpdateBlocks(300);
  EXPECT_EQ(game.blocks[1].armed, 0);
  EXPECT_EQ(game.blocks[1].solidNow, 0);
  EXPECT_FLOAT_EQ(game.blocks[1].timer, 0);
  EXPECT_FALSE(CollisionMap.Supports(235, 400));
}

TEST_F(BlockTest, BlocksBeyond450PixelsAreLeftAsTheyAre) {
  game.blocks[1] = {1000, 400, 1, 0, 0, 1, 10};
  PlacePlayer(550.5f, 100);  // 449.5 to the left of block 1's x
  UpdateBlocks(300);
  EXPECT_FLOAT_EQ(game.blocks[1].timer, 12);
  PlacePlayer(550, 100);
  UpdateBlocks(300);
  EXPECT_FLOAT_EQ(game.blocks[1].timer, 12);
  EXPECT_EQ(game.blocks[1].solidNow, 1);
  EXPECT_EQ(game.blocks[0].solidNow, 0);  // exactly 450 to its right is not near
}

TEST_F(BlockTest, ErasingABlockCutsTheGroundUnderItsOutline) {
  Draw(PixelClass::solid, {{0, 420, 1600, 420}});  // rows 409 to 431
  PlacePlayer(150, 100);
  UpdateBlocks(300);  // dormant block 1 is drawn black
  EXPECT_FALSE(CollisionMap.Supports(235, 410));  // under the top edge
  EXPECT_FALSE(CollisionMap.Supports(235, 428));  // under the bottom edge
  EXPECT_FALSE(CollisionMap.Supports(205, 415));  // under the left edge
  EXPECT_TRUE(CollisionMap.IsSolid(235, 415));    // inside the frame
  EXPECT_TRUE(CollisionMap.IsSolid(800, 420));
}

// There is no entry after the table's last to arm: under the sanitizers a
// look past the table ends the test.
TEST_F(BlockTest, LastTableEntryArmsNothing) {
  game.blockCount = 500;
  game.blocks[500] = {100, 400, 0, 1, 0, 0, 0};
  StandOn(500);
  UpdateBlocks(300);
  EXPECT_EQ(standingBlock, 500);
}

}  // namespace
