#include "data/MainScreenConfig.h"

#include "DataTestFolder.h"

using DataMainScreen = DataFolderTest;

TEST_F(DataMainScreen, EveryHashFillsTheNextItem) {
  WriteShifted("mainSCR.cfg",
               "menu items: left top right bottom drawX drawY\r\n"
               "#100,200,300,250,090,195 new game\r\n"
               "# 10| 20|  0|-05|000|  1\r\n");
  LoadMainScreenConfig();
  EXPECT_TRUE(messages().empty());
  const tMenuItem& a = mainScreen.items[0];
  EXPECT_EQ((std::vector<int>{a.left, a.top, a.right, a.bottom, a.drawX, a.drawY}),
            (std::vector<int>{100, 200, 300, 250, 90, 195}));
  const tMenuItem& b = mainScreen.items[1];
  EXPECT_EQ((std::vector<int>{b.left, b.top, b.right, b.bottom, b.drawX, b.drawY}),
            (std::vector<int>{10, 20, 0, -5, 0, 1}));
  EXPECT_EQ(mainScreen.items[2].right, 0);
}

TEST_F(DataMainScreen, ItemsBeyondTheTableOrCutShortAreIgnored) {
  std::string text;
  for (int k = 0; k < 12; ++k) text += "#" + std::to_string(100 + k) + ",001,002,003,004,005\n";
  WriteShifted("mainSCR.cfg", text + "#999,001,002,003,004,00");
  testing::internal::CaptureStderr();
  LoadMainScreenConfig();
  EXPECT_NE(testing::internal::GetCapturedStderr().find("mainSCR.cfg"), std::string::npos);
  EXPECT_TRUE(messages().empty());
  for (int k = 0; k < 10; ++k) EXPECT_EQ(mainScreen.items[k].left, 100 + k);

  WriteShifted("mainSCR.cfg", "#777,001,002,003,004,00");
  LoadMainScreenConfig();
  EXPECT_EQ(mainScreen.items[0].left, 100);
}

TEST_F(DataMainScreen, BadMissingAndOverlongFilesAreReported) {
  WriteShifted("mainSCR.cfg", "#100,200,3x0,250,090,195");
  LoadMainScreenConfig();
  WriteShifted("mainSCR.cfg", std::string(9002, ' '));
  LoadMainScreenConfig();
  std::filesystem::remove("mainSCR.cfg");
  LoadMainScreenConfig();
  EXPECT_EQ(messages(), (std::vector<std::string>{
                            "VIRKO|" + kCannotLoad + "mainSCR.cfg: nav skaitlis poz\xEE" "cij\xE2 9",
                            "VIRKO|" + kCannotLoad + "mainSCR.cfg: gar\xE2ks par 9001 baitiem",
                            "VIRKO|" + kCannotLoad + "mainSCR.cfg"}));
  EXPECT_EQ(mainScreen.items[0].left, 0);
}
