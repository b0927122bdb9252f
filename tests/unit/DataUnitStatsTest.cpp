#include "data/UnitStats.h"

#include "DataTestFolder.h"

using DataUnitStats = DataFolderTest;

TEST_F(DataUnitStats, RecordsFillTheTypesInOrder) {
  WritePlain("UStats.cfg",
             "unit types: width height health jump param fall collides\r\n"
             "< 016 032 003 040 1.0 2.5 1\r\n"
             "<|-01|300|-05|  7|,75|2,0|0 comment\r\n");
  LoadUnitStats();
  EXPECT_TRUE(messages().empty());
  const tUnitType& a = unitTypes[0];
  EXPECT_EQ(a.width, 16);
  EXPECT_EQ(a.height, 32);
  EXPECT_EQ(a.health, 3);
  EXPECT_EQ(a.jumpMax, 40);
  EXPECT_FLOAT_EQ(a.typeParam, 1.0f);
  EXPECT_FLOAT_EQ(a.fallSpeed, 2.5f);
  EXPECT_EQ(a.collides, 1);
  // Byte fields keep the low 8 bits.
  const tUnitType& b = unitTypes[1];
  EXPECT_EQ(b.width, 255);
  EXPECT_EQ(b.height, 44);
  EXPECT_EQ(b.health, -5);
  EXPECT_EQ(b.jumpMax, 7);
  EXPECT_FLOAT_EQ(b.typeParam, 0.75f);
  EXPECT_FLOAT_EQ(b.fallSpeed, 2.0f);
  EXPECT_EQ(b.collides, 0);
  for (int n = 2; n < kUnitTypes; ++n) EXPECT_EQ(unitTypes[n].health, 0);
}

TEST_F(DataUnitStats, RecordsBeyondTheTableOrCutShortAreSkipped) {
  std::string text;
  for (int n = 1; n <= 9; ++n) text += "< 016 032 00" + std::to_string(n) + " 040 1.0 2.5 1\n";
  WritePlain("UStats.cfg", text + "< 016 032 009 040 1.0 2.");
  testing::internal::CaptureStderr();
  LoadUnitStats();
  EXPECT_NE(testing::internal::GetCapturedStderr().find("UStats.cfg"), std::string::npos);
  EXPECT_TRUE(messages().empty());
  for (int n = 0; n < kUnitTypes; ++n) EXPECT_EQ(unitTypes[n].health, n + 1);

  ResetGameState();
  for (tUnitType& type : unitTypes) type = tUnitType{};
  WritePlain("UStats.cfg", "< 016 032 003 040 1.0 2.5 ");
  LoadUnitStats();
  EXPECT_EQ(unitTypes[0].health, 0);
  WritePlain("UStats.cfg", "");
  LoadUnitStats();
  EXPECT_TRUE(messages().empty());
}

TEST_F(DataUnitStats, BadFieldStopsWithItsPosition) {
  WritePlain("UStats.cfg", "< 016 032 003 040 1.0 2.5 1\n< 016 032 003 040 1.0 2.5 x\n");
  LoadUnitStats();
  EXPECT_EQ(messages(), std::vector<std::string>{"VIRKO|" + kCannotLoad +
                                                 "UStats.cfg: nav skaitlis poz\xEE" "cij\xE2 54"});
  EXPECT_EQ(unitTypes[0].health, 3);
  EXPECT_EQ(unitTypes[1].health, 0);  // the bad record stores nothing
}

TEST_F(DataUnitStats, MissingOrOverlongFileIsReported) {
  LoadUnitStats();
  EXPECT_EQ(messages(), std::vector<std::string>{"VIRKO|" + kCannotLoad + "ustats.txt"});
  messages().clear();
  WritePlain("ustats.CFG", "< 016 032 003 040 1.0 2.5 1" + std::string(5000 - 27, ' '));
  LoadUnitStats();
  EXPECT_EQ(unitTypes[0].health, 3);
  WritePlain("ustats.CFG", "< 016 032 004 040 1.0 2.5 1" + std::string(5000 - 26, ' '));
  LoadUnitStats();
  EXPECT_EQ(messages(), std::vector<std::string>{"VIRKO|" + kCannotLoad +
                                                 "UStats.cfg: gar\xE2ks par 5000 baitiem"});
  EXPECT_EQ(unitTypes[0].health, 3);
}
