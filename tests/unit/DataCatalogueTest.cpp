#include "data/AnimTables.h"

#include "DataTestFolder.h"

namespace {

class DataCatalogue : public DataFolderTest {
 protected:
  void SetUp() override {
    DataFolderTest::SetUp();
    WriteShifted("levels.cfg", "<levels\\l1.vrk;DATA\\lev1>\r\n");
    WriteShifted("uAnim.cfg", "");
  }
};

// A record in the layout the game's own files use: every key's value from
// offset 8 on.
const std::string kPlayerRecord =
    "ID: 0\r\n"
    "address:DATA\\virko.tga>\r\n"
    "izm._W: 064\r\n"
    "izm._H: 128\r\n"
    "st\xE2v_A: 001 005 0.05\r\n"
    "st\xE2v_B: 005 009 0,10\r\n"
    "skr\xE7_A: 010 020 0.04\r\n"
    "skr\xE7_B: 020 030 0.04\r\n"
    "lekt__: 030 031 1.00\r\n"
    "kris__: 031 032 1.00\r\n"
    "punch_: 032 036 0.05\r\n"
    "actA__: 036 043 0.03\r\n"
    "actB__: 043 044 0.03\r\n"
    "actC__: 044 045 0.03\r\n"
    "actD__: 045 046 0.03\r\n"
    "actE__: 046 047 0.03\r\n";

void ExpectSequence(const tAnimSeq& seq, int start, int stop, float delay) {
  EXPECT_EQ(seq.start, start);
  EXPECT_EQ(seq.stop, stop);
  EXPECT_FLOAT_EQ(seq.delay, delay);
}

}  // namespace

TEST_F(DataCatalogue, EntriesFillFileAndFolderTablesInOrder) {
  WriteShifted("levels.cfg",
               "levels of the game\r\n<l1.dat;lev1>\r\n<l2.dat;lev2>\r\n; lone folder>\r\n");
  EXPECT_TRUE(LoadLevelCatalogue());
  EXPECT_EQ(game.levelFile[0], "l1.dat");
  EXPECT_EQ(game.levelDir[0], "lev1");
  EXPECT_EQ(game.levelFile[1], "l2.dat");
  EXPECT_EQ(game.levelDir[1], "lev2");
  // A ";" without a "<" still makes an entry, with an empty level file.
  EXPECT_EQ(game.levelFile[2], "");
  EXPECT_EQ(game.levelDir[2], " lone folder");
  for (int n = 3; n < kMaxLevels; ++n) EXPECT_EQ(game.levelDir[n], "");
  EXPECT_TRUE(messages().empty());
}

TEST_F(DataCatalogue, EntriesBeyondTheTableAndOverlongOrUnterminatedPathsAreSkipped) {
  std::string text;
  for (int n = 0; n < 20; ++n) text += "<f" + std::to_string(n) + ";d" + std::to_string(n) + ">";
  WriteShifted("levels.cfg", text);
  testing::internal::CaptureStderr();
  LoadLevelCatalogue();
  EXPECT_NE(testing::internal::GetCapturedStderr().find("levels.cfg"), std::string::npos);
  EXPECT_EQ(game.levelFile[0], "f0");  // the entry counter does not wrap
  EXPECT_EQ(game.levelFile[15], "f15");
  EXPECT_EQ(game.levelDir[15], "d15");

  ResetGameState();
  game.levelFile[0] = "older";
  WriteShifted("levels.cfg", "<" + std::string(256, 'x') + ";dir0>" + "<" + std::string(255, 'y') +
                                 ";dir1><f2;" + std::string(256, 'z') + "><f3;d3");
  testing::internal::CaptureStderr();
  LoadLevelCatalogue();
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(game.levelFile[0], "older");
  EXPECT_EQ(game.levelDir[0], "dir0");
  EXPECT_EQ(game.levelFile[1], std::string(255, 'y'));
  EXPECT_EQ(game.levelDir[1], "dir1");
  // The overlong folder path made no entry: f3 overwrites f2, and its folder
  // has no ">".
  EXPECT_EQ(game.levelFile[2], "f3");
  EXPECT_EQ(game.levelDir[2], "");
  EXPECT_TRUE(messages().empty());
}

TEST_F(DataCatalogue, PlayerRecordFillsEverySequence) {
  WriteShifted("pAnim.cfg", kPlayerRecord);
  LoadLevelAndAnimTables();
  EXPECT_TRUE(messages().empty());
  const tAnimData& a = playerAnims[0];
  EXPECT_EQ(a.fileName, "DATA\\virko.tga");
  EXPECT_EQ(a.width, 64);
  EXPECT_EQ(a.height, 128);
  ExpectSequence(a.standA, 1, 5, 0.05f);
  ExpectSequence(a.standB, 5, 9, 0.10f);  // comma separator
  ExpectSequence(a.runA, 10, 20, 0.04f);
  ExpectSequence(a.runB, 20, 30, 0.04f);
  ExpectSequence(a.jump, 30, 31, 1.0f);
  ExpectSequence(a.fall, 31, 32, 1.0f);
  ExpectSequence(a.punch, 32, 36, 0.05f);
  ExpectSequence(a.actA, 36, 43, 0.03f);
  ExpectSequence(a.actB, 43, 44, 0.03f);
  ExpectSequence(a.actC, 44, 45, 0.03f);
  ExpectSequence(a.actD, 45, 46, 0.03f);
  ExpectSequence(a.actE, 46, 47, 0.03f);
  EXPECT_EQ(game.levelFile[0], "levels\\l1.vrk");
}

TEST_F(DataCatalogue, UnitKeysDifferFromThePlayers) {
  WriteShifted("pAnim.cfg", "ID: 1\r\nlekXYZ: 002 006 0.10\r\nkrisXY: 003 007 0.20\r\n");
  WriteShifted("uAnim.cfg",
               "uType: 03\r\n"
               "address:DATA\\enemy.tga>\r\n"
               "lekXYZ: 002 006 0.10\r\n"
               "krisXY: 003 007 0.20\r\n"
               "st\xE2v_B: 005 009 0.10\r\n"
               "skr\xE7_B: 005 009 0.10\r\n"
               "actC__: 044 045 0.03\r\n"
               "actB__: 043 044 0.03\r\n");
  LoadLevelAndAnimTables();
  EXPECT_TRUE(messages().empty());
  // The player's jump and fall keys need "_" at offset 5.
  ExpectSequence(playerAnims[1].jump, 0, 0, 0);
  ExpectSequence(playerAnims[1].fall, 0, 0, 0);
  const tAnimData& u = unitTypes[3].anim;
  EXPECT_EQ(u.fileName, "DATA\\enemy.tga");
  ExpectSequence(u.jump, 2, 6, 0.10f);
  ExpectSequence(u.fall, 3, 7, 0.20f);
  ExpectSequence(u.actB, 43, 44, 0.03f);
  ExpectSequence(u.standB, 0, 0, 0);
  ExpectSequence(u.runB, 0, 0, 0);
  ExpectSequence(u.actC, 0, 0, 0);
}

TEST_F(DataCatalogue, KeysInsideValuesAndLaterKeysOverwrite) {
  // "ID" inside the path selects set 2 from the character four places on.
  WriteShifted("pAnim.cfg",
               "ID: 0\r\naddress:>\r\nizm._W: 010\r\n"
               "address:DATA\\VID__2.tga>\r\nizm._W: 020\r\nizm._W: 030\r\n");
  LoadLevelAndAnimTables();
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(playerAnims[0].fileName, "DATA\\VID__2.tga");
  EXPECT_EQ(playerAnims[0].width, 10);
  EXPECT_EQ(playerAnims[2].width, 30);
}

TEST_F(DataCatalogue, KeysWithoutARecordAreSkippedUnread) {
  WriteShifted("pAnim.cfg",
               "izm._W: bad\r\nID: 0\r\nizm._W: 011\r\nID: 7\r\nizm._W: xyz\r\nizm._H: 005\r\n");
  WriteShifted("uAnim.cfg", "uType: 07\r\nizm._W: bad\r\nuType: -1\r\nizm._W: 012\r\n");
  testing::internal::CaptureStderr();
  LoadLevelAndAnimTables();
  testing::internal::GetCapturedStderr();
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(playerAnims[0].width, 11);
  EXPECT_EQ(playerAnims[0].height, 0);
  for (const tUnitType& type : unitTypes) EXPECT_EQ(type.anim.width, 0);
}

TEST_F(DataCatalogue, LaterShorterFileNeverReadsAnEarlierFilesBytes) {
  // Read through one long buffer, the path and the fields cut off at the end
  // of pAnim.cfg would run on into what levels.cfg left behind.
  WriteShifted("levels.cfg", "<l1;d1>" + std::string(40, '7') + ">>>>");
  WriteShifted("pAnim.cfg", "ID: 0 st\xE2v_A: 001 005 0.0");
  WriteShifted("uAnim.cfg", "uType: 01 address:");
  LoadLevelAndAnimTables();
  EXPECT_TRUE(messages().empty());
  ExpectSequence(playerAnims[0].standA, 0, 0, 0);
  EXPECT_EQ(unitTypes[1].anim.fileName, "");
}

TEST_F(DataCatalogue, FieldThatIsNotANumberIsReportedWithItsPosition) {
  WriteShifted("pAnim.cfg", "ID: 0\r\naddress:DATA\\VIDEO.tga>\r\nizm._W: 064\r\n");
  WriteShifted("uAnim.cfg", "uType: 00\r\nizm._W: 020\r\n");
  LoadLevelAndAnimTables();
  // "ID" of VIDEO stands at byte 21; its digit, a ".", at byte 25.
  EXPECT_EQ(messages(), std::vector<std::string>{"VIRKO|" + kCannotLoad +
                                                 "pAnim.cfg: nav skaitlis poz\xEE" "cij\xE2 25"});
  EXPECT_TRUE(TerminateRequested());
  EXPECT_EQ(playerAnims[0].width, 0);  // parsing stopped there
  EXPECT_EQ(unitTypes[0].anim.width, 0);  // and uAnim.cfg was not read
}

TEST_F(DataCatalogue, MissingFileStopsTheStagesAfterIt) {
  WriteShifted("uAnim.cfg", "uType: 00\r\nizm._W: 020\r\n");
  LoadLevelAndAnimTables();
  EXPECT_EQ(messages(), std::vector<std::string>{"VIRKO|" + kCannotLoad + "anim.txt"});
  EXPECT_EQ(unitTypes[0].anim.width, 0);

  messages().clear();
  std::filesystem::remove("levels.cfg");
  WriteShifted("pAnim.cfg", kPlayerRecord);
  LoadLevelAndAnimTables();
  EXPECT_EQ(messages(), std::vector<std::string>{"VIRKO|" + kCannotLoad + "levels.txt"});
  EXPECT_EQ(playerAnims[0].width, 0);

  messages().clear();
  WriteShifted("LEVELS.CFG", "<a;b>");
  std::filesystem::remove("uAnim.cfg");
  LoadLevelAndAnimTables();
  EXPECT_EQ(messages(), std::vector<std::string>{"VIRKO|" + kCannotLoad + "anim.txt"});
  EXPECT_EQ(playerAnims[0].width, 64);
}

TEST_F(DataCatalogue, FileLongerThanTheSharedBufferIsRefused) {
  WriteShifted("pAnim.cfg", kPlayerRecord + std::string(8001 - kPlayerRecord.size(), ' '));
  WriteShifted("uAnim.cfg", "uType: 00\r\nizm._W: 020\r\n" + std::string(8000, ' '));
  LoadLevelAndAnimTables();
  EXPECT_EQ(playerAnims[0].width, 64);
  EXPECT_EQ(messages(), std::vector<std::string>{"VIRKO|" + kCannotLoad +
                                                 "uAnim.cfg: gar\xE2ks par 8001 baitiem"});
  EXPECT_EQ(unitTypes[0].anim.width, 0);
}
