#include "data/Settings.h"

#include "DataTestFolder.h"

using DataSettings = DataFolderTest;

TEST_F(DataSettings, SaveWritesThreeBytesThatLoadBack) {
  WritePlain("settings.cfg", "a much longer older file");
  ASSERT_TRUE(gameSettings.SaveSettings(32, 0, 100));
  EXPECT_EQ(ReadBytes("settings.cfg"), (std::vector<uint8_t>{0x20, 0x00, 0x64}));
  gameSettings.LoadSettings();
  EXPECT_EQ(game.musicVolume, 32);
  EXPECT_EQ(game.soundVolume, 0);
  EXPECT_EQ(game.lightLevel, 100);
  EXPECT_TRUE(messages().empty());
  EXPECT_FALSE(std::filesystem::exists("settings.cfg.tmp"));
}

TEST_F(DataSettings, LoadTakesTheFirstThreeBytesAndFillsWhatAShortFileLacks) {
  WriteBytes("settings.cfg", {1, 2, 3, 4, 5});
  gameSettings.LoadSettings();
  EXPECT_EQ((std::vector<int>{game.musicVolume, game.soundVolume, game.lightLevel}),
            (std::vector<int>{1, 2, 3}));
  WriteBytes("settings.cfg", {7});
  gameSettings.LoadSettings();
  EXPECT_EQ((std::vector<int>{game.musicVolume, game.soundVolume, game.lightLevel}),
            (std::vector<int>{7, 80, 50}));
  WriteBytes("settings.cfg", {});
  gameSettings.LoadSettings();
  EXPECT_EQ((std::vector<int>{game.musicVolume, game.soundVolume, game.lightLevel}),
            (std::vector<int>{80, 80, 50}));
}

TEST_F(DataSettings, MissingFileIsReportedAndLeavesTheSettings) {
  game.musicVolume = 9;
  gameSettings.LoadSettings();
  EXPECT_EQ(messages(), std::vector<std::string>{"VIRKO|Nevar iel\xE2\x64\xE7t settings.cfg"});
  EXPECT_TRUE(TerminateRequested());
  EXPECT_EQ(game.musicVolume, 9);
}

TEST_F(DataSettings, FileNamedInOtherCaseIsReadAndReplacedInPlace) {
  WriteBytes("SETTINGS.CFG", {10, 20, 30});
  gameSettings.LoadSettings();
  EXPECT_EQ(game.lightLevel, 30);
  ASSERT_TRUE(gameSettings.SaveSettings(1, 2, 3));
  EXPECT_EQ(ReadBytes("SETTINGS.CFG"), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_FALSE(std::filesystem::exists("settings.cfg"));
}

TEST_F(DataSettings, FailedSaveLeavesTheOldFileWholeAndNoTemporaryFile) {
  WriteBytes("settings.cfg", {11, 22, 33});
  for (const tSaveFault fault : {tSaveFault::whileWriting, tSaveFault::beforeRename}) {
    InjectSaveFault(fault);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(gameSettings.SaveSettings(1, 2, 3));
    const std::string stderrText = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(stderrText.begin(), stderrText.end(), '\n'), 1) << stderrText;
    EXPECT_NE(stderrText.find("settings.cfg"), std::string::npos);
    EXPECT_EQ(ReadBytes("settings.cfg"), (std::vector<uint8_t>{11, 22, 33}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."),
                            std::filesystem::directory_iterator()),
              1);
  }
  EXPECT_TRUE(messages().empty());
}
