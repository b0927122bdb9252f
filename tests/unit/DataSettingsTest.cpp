#include "data/Settings.h"

#include <sys/wait.h>
#include <unistd.h>

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

TEST_F(DataSettings, SaveThroughALinkReplacesItsTargetAndKeepsTheLink) {
  std::filesystem::create_directories("dotfiles/virko");
  WriteBytes("dotfiles/virko/settings.cfg", {11, 22, 33});
  std::filesystem::create_symlink("virko/settings.cfg", "dotfiles/link.cfg");
  std::filesystem::create_symlink("dotfiles/link.cfg", "settings.cfg");  // a link to a link
  std::filesystem::permissions("dotfiles/virko/settings.cfg", std::filesystem::perms(0640));
  ASSERT_TRUE(gameSettings.SaveSettings(1, 2, 3));
  EXPECT_TRUE(std::filesystem::is_symlink("settings.cfg"));
  EXPECT_TRUE(std::filesystem::is_symlink("dotfiles/link.cfg"));
  EXPECT_EQ(ReadBytes("dotfiles/virko/settings.cfg"), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(std::filesystem::status("dotfiles/virko/settings.cfg").permissions(),
            std::filesystem::perms(0640));
  for (const char* place : {".", "dotfiles", "dotfiles/virko"}) {
    for (const auto& entry : std::filesystem::directory_iterator(place))
      EXPECT_EQ(entry.path().filename().string().find(".cfg."), std::string::npos) << entry.path();
  }

  // A link whose target is not there yet: the target is made.
  std::filesystem::remove("dotfiles/virko/settings.cfg");
  ASSERT_TRUE(gameSettings.SaveSettings(4, 5, 6));
  EXPECT_TRUE(std::filesystem::is_symlink("settings.cfg"));
  EXPECT_EQ(ReadBytes("dotfiles/virko/settings.cfg"), (std::vector<uint8_t>{4, 5, 6}));
}

TEST_F(DataSettings, TwoGamesSavingAtOnceEachSaveWholeFiles) {
  WriteBytes("settings.cfg.tmp", {9});  // what an older game may have left
  constexpr int kSaves = 300;
  const pid_t other = fork();
  ASSERT_GE(other, 0);
  const uint8_t mine = other == 0 ? 1 : 2;
  int failed = 0;
  for (int i = 0; i < kSaves; ++i) failed += !gameSettings.SaveSettings(mine, mine, mine);
  if (other == 0) _exit(failed);
  int status = 0;
  ASSERT_EQ(waitpid(other, &status, 0), other);
  EXPECT_EQ(failed, 0);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "saves that failed in the other game";
  const std::vector<uint8_t> saved = ReadBytes("settings.cfg");
  EXPECT_TRUE(saved == std::vector<uint8_t>(3, 1) || saved == std::vector<uint8_t>(3, 2));
  EXPECT_EQ(ReadBytes("settings.cfg.tmp"), std::vector<uint8_t>{9});
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."),
                          std::filesystem::directory_iterator()),
            2);
}

TEST_F(DataSettings, FileSystemThatCannotSyncStillSaves) {
  InjectSaveFault(tSaveFault::syncUnsupported);
  ASSERT_TRUE(gameSettings.SaveSettings(7, 8, 9));
  EXPECT_EQ(ReadBytes("settings.cfg"), (std::vector<uint8_t>{7, 8, 9}));
}
