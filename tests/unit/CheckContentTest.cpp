// check-content on a complete folder, on broken copies of it, and on the
// default content; the JSON report against the readers' own tables.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/GameState.h"
#include "app/Startup.h"
#include "data/AnimTables.h"
#include "data/LevelFile.h"
#include "game/Gameplay.h"
#include "game/Units.h"
#include "screens/Screens.h"
#include "tests/unit/CheckTestContent.h"
#include "tools/cli/Checks.h"
#include "tools/cli/ReaderSession.h"

using namespace checktest;
using nlohmann::json;

namespace {

class CheckContentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteContent(folder.path());
    WriteLevel(folder / kLevelFile, level);
  }
  void WriteLevelAgain() { WriteLevel(folder / kLevelFile, level); }

  json CheckJson(int expectedStatus) {
    const ToolRun run = RunTool(RunCheckContent, {folder.path().string(), "--json"});
    EXPECT_EQ(run.status, expectedStatus) << run.out;
    return json::parse(run.out);
  }

  TempFolder folder;
  TestLevel level = GroundLevel();
};

std::vector<std::string> Strings(const json& list) { return list.get<std::vector<std::string>>(); }

bool Contains(const json& list, const std::string& value) {
  for (const std::string& s : Strings(list))
    if (s == value) return true;
  return false;
}

void ExpectSequence(const json& j, const tAnimSeq& seq, const std::string& where) {
  EXPECT_EQ(j["start"], seq.start) << where;
  EXPECT_EQ(j["stop"], seq.stop) << where;
  // The real printed must read back to the very same 32-bit value.
  EXPECT_EQ(float(j["delay"].get<double>()), seq.delay) << where;
}

void ExpectAnim(const json& j, const tAnimData& anim, const std::string& where) {
  EXPECT_EQ(j["fileName"], anim.fileName) << where;
  EXPECT_EQ(j["width"], anim.width) << where;
  EXPECT_EQ(j["height"], anim.height) << where;
  const std::pair<const char*, const tAnimSeq*> sequences[] = {
      {"standA", &anim.standA}, {"standB", &anim.standB}, {"runA", &anim.runA},
      {"runB", &anim.runB},     {"jump", &anim.jump},     {"fall", &anim.fall},
      {"punch", &anim.punch},   {"actA", &anim.actA},     {"actB", &anim.actB},
      {"actC", &anim.actC},     {"actD", &anim.actD},     {"actE", &anim.actE}};
  for (const auto& [name, seq] : sequences) ExpectSequence(j[name], *seq, where + "." + name);
}

// Reads the folder again with the readers themselves and compares every
// table of the report with what they stored. Text is ASCII in the folders
// used here, so the UTF-8 of the report equals the game's bytes.
void ExpectReportMatchesReaders(const json& report, const fs::path& folder) {
  ReaderSession session(folder);
  ReadConfigurationFiles();
  ASSERT_TRUE(LoadLevelFile(game.levelFile[0]));

  EXPECT_EQ(report["musicVolume"], game.musicVolume);
  EXPECT_EQ(report["soundVolume"], game.soundVolume);
  EXPECT_EQ(report["lightLevel"], game.lightLevel);
  for (int n = 0; n < kMaxLevels; ++n) {
    EXPECT_EQ(report["levelFile"][n], game.levelFile[n]);
    EXPECT_EQ(report["levelDir"][n], game.levelDir[n]);
  }
  ASSERT_EQ(report["playerAnims"].size(), 6u);
  for (int s = 0; s < kPlayerAnimSets; ++s)
    ExpectAnim(report["playerAnims"][s], playerAnims[s], "playerAnims" + std::to_string(s));
  ASSERT_EQ(report["unitTypes"].size(), 7u);
  for (int t = 0; t < kUnitTypes; ++t) {
    const json& j = report["unitTypes"][t];
    const tUnitType& type = unitTypes[t];
    EXPECT_EQ(j["width"], type.width);
    EXPECT_EQ(j["height"], type.height);
    EXPECT_EQ(j["health"], type.health);
    EXPECT_EQ(j["jumpMax"], type.jumpMax);
    EXPECT_EQ(float(j["typeParam"].get<double>()), type.typeParam);
    EXPECT_EQ(float(j["fallSpeed"].get<double>()), type.fallSpeed);
    EXPECT_EQ(j["collides"], type.collides);
    ExpectAnim(j["anim"], type.anim, "unitTypes" + std::to_string(t));
  }
  ASSERT_EQ(report["items"].size(), 10u);
  for (int k = 0; k < 10; ++k) {
    const tMenuItem& item = mainScreen.items[k];
    EXPECT_EQ(report["items"][k],
              json({item.left, item.top, item.right, item.bottom, item.drawX, item.drawY}));
  }

  EXPECT_EQ(report["screensX"], game.screensX);
  EXPECT_EQ(report["screensY"], game.screensY);
  for (int c = 0; c < kGridColumns; ++c)
    for (int r = 0; r < kGridRows; ++r) EXPECT_EQ(report["screenGrid"][c][r], game.screenGrid[c][r]);
  EXPECT_EQ(report["lineCountA"], game.lineCountA);
  ASSERT_EQ(report["lineA"].size(), game.lineCountA + 1u);
  for (int i = 0; i <= game.lineCountA; ++i) {
    EXPECT_EQ(report["lineA"][i], json({game.lineA[i].x, game.lineA[i].y}));
    EXPECT_EQ(report["lineBreakA"][i], game.lineBreakA[i]);
  }
  EXPECT_EQ(report["lineCountB"], game.lineCountB);
  ASSERT_EQ(report["lineB"].size(), game.lineCountB + 1u);
  for (int i = 0; i <= game.lineCountB; ++i)
    EXPECT_EQ(report["lineB"][i], json({game.lineB[i].x, game.lineB[i].y}));
  EXPECT_EQ(report["lineCountC"], game.lineCountC);
  EXPECT_EQ(report["unitCount"], game.unitCount);
  ASSERT_EQ(report["unitStart"].size(), game.unitCount + 1u);
  for (int i = 0; i <= game.unitCount; ++i) {
    EXPECT_EQ(report["unitStart"][i], json({game.unitStart[i].x, game.unitStart[i].y}));
    EXPECT_EQ(report["unitType"][i], units[i].unitType);
  }
  ASSERT_EQ(report["pickupKinds"].size(), 7u);
  for (int k = 0; k < kPickupKinds; ++k) {
    const json& j = report["pickupKinds"][k];
    EXPECT_EQ(j["lastItem"], pickupKinds[k].lastItem);
    ASSERT_EQ(j["items"].size(), pickupKinds[k].lastItem + 1u);
    for (int i = 0; i <= pickupKinds[k].lastItem; ++i) {
      EXPECT_EQ(float(j["items"][i][0].get<double>()), pickupKinds[k].items[i].x);
      EXPECT_EQ(float(j["items"][i][1].get<double>()), pickupKinds[k].items[i].y);
    }
  }
  EXPECT_EQ(report["blockCount"], game.blockCount);
  ASSERT_EQ(report["blocks"].size(), game.blockCount + 1u);
  for (int i = 0; i <= game.blockCount; ++i) {
    const tBlock& block = game.blocks[i];
    EXPECT_EQ(report["blocks"][i],
              json({{"x", block.x}, {"y", block.y}, {"permanent", block.permanent},
                    {"solidNow", block.solidNow}}));
  }
}

TEST_F(CheckContentTest, CompleteFolderIsCleanAndReportMatchesReaders) {
  level.blue = {{{300, 350}, {600, 350}}};
  level.pickups[2] = {{700, 430}, {760, 430}};
  level.blocks = {{900, 480, 1, 1}, {980, 480, 0, 1}};
  WriteLevelAgain();
  const json report = CheckJson(0);
  EXPECT_TRUE(report["messages"].empty()) << report["messages"];
  EXPECT_TRUE(report["missing"].empty()) << report["missing"];
  EXPECT_TRUE(report["unplayableSounds"].empty()) << report["unplayableSounds"];
  EXPECT_EQ(report["clean"], true);
  // The blocks as the file gives them: the loader clears solidNow later.
  EXPECT_EQ(report["blocks"][1]["solidNow"], 1);
  EXPECT_EQ(report["pickupKinds"][2]["items"], json({{700.0, 430.0}, {760.0, 430.0}}));
  ExpectReportMatchesReaders(report, folder.path());
}

TEST_F(CheckContentTest, TextReportShowsTablesAndOneLinePerMessage) {
  fs::remove(folder / "mainSCR.cfg");
  const ToolRun run = RunTool(RunCheckContent, {folder.path().string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("musicVolume: 80\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("levelFile: [\"DATA\\levels\\test.vrk\", \"\""), std::string::npos);
  EXPECT_NE(run.out.find("  [0]: {caption: \"VIRKO\", text: \"Nevar ielādēt mainSCR.cfg\"}\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("not clean: 1 message(s), 1 missing file(s)"), std::string::npos);
}

TEST_F(CheckContentTest, MissingConfigurationFileGivesItsMessage) {
  fs::remove(folder / "pAnim.cfg");
  const json report = CheckJson(1);
  ASSERT_FALSE(report["messages"].empty());
  EXPECT_EQ(report["messages"][0], json({{"caption", "VIRKO"}, {"text", "Nevar ielādēt anim.txt"}}));
  EXPECT_TRUE(Contains(report["missing"], "pAnim.cfg"));
  // uAnim.cfg is then not read at all.
  EXPECT_EQ(report["unitTypes"][1]["anim"]["fileName"], "");
}

TEST_F(CheckContentTest, BadNumberIsReportedAndStopsTheReader) {
  WriteBytes(folder / "UStats.cfg", "< 040 080 1x0 060 1.0 1.0 1\r\n");
  const json report = CheckJson(1);
  ASSERT_EQ(report["messages"].size(), 1u);
  EXPECT_EQ(report["messages"][0]["caption"], "VIRKO");
  EXPECT_NE(report["messages"][0]["text"].get<std::string>().find("UStats.cfg"), std::string::npos)
      << report["messages"][0];
  EXPECT_TRUE(report["missing"].empty());
}

TEST_F(CheckContentTest, MissingPictureAndShortTgaHeaderAreListed) {
  fs::remove(folder / "DATA/Items/3.tga");
  WriteBytes(folder / "DATA/onscreen/Sem.tga", std::string(10, '\0'));
  const json report = CheckJson(1);
  EXPECT_EQ(Strings(report["missing"]), std::vector<std::string>{"DATA\\Items\\3.tga"});
  EXPECT_EQ(report["messages"], json::array({{{"caption", "TGA File Error"},
                                              {"text", "Couldn't read file \"DATA\\onscreen\\Sem.tga\"."}}}));
  EXPECT_EQ(report["clean"], false);
}

// Files the game would refuse on opening them give the game's own messages:
// a picture whose pixels are cut short, a JPG that is not one, a video that
// is not one; a sound that is not one would play as silence and is listed.
TEST_F(CheckContentTest, FilesTheGameWouldRefuseGiveItsMessages) {
  std::string cut = Tga(4, 4);
  cut.resize(cut.size() - 8);
  WriteBytes(folder / "DATA/MainScreen/symb3.tga", cut);
  WriteBytes(folder / "DATA/Options/title.jpg", "not a picture");
  WriteBytes(folder / "DATA/FMV/intro.WMV", "not a video");
  WriteBytes(folder / "DATA/AUDIO/mest.wav", "not a sound");
  WriteBytes(folder / "DATA/FX/sparkle128.tga", Tga(4, 3));  // no whole frame
  const json report = CheckJson(1);
  EXPECT_EQ(report["messages"].size(), 4u) << report["messages"];
  const std::string all = report["messages"].dump();
  for (const char* named : {"symb3.tga", "title.jpg", "intro.WMV", "sparkle128.tga"})
    EXPECT_NE(all.find(named), std::string::npos) << named << " " << all;
  EXPECT_EQ(Strings(report["unplayableSounds"]),
            std::vector<std::string>{"DATA\\AUDIO\\mest.wav: not a sound the game can decode"});
  EXPECT_TRUE(report["missing"].empty());
}

// A video whose sound the game does not play (MP3 in ASF) plays silently
// and says nothing: the checker names it.
TEST_F(CheckContentTest, AVideoThatWouldPlaySilentlyIsAProblem) {
  WriteWmv(folder / "DATA/FMV/credits.WMV", AV_CODEC_ID_MP3);
  const json report = CheckJson(1);
  EXPECT_TRUE(report["messages"].empty()) << report["messages"];
  ASSERT_EQ(report["videoProblems"].size(), 1u) << report["videoProblems"];
  const std::string problem = report["videoProblems"][0];
  EXPECT_NE(problem.find("credits.WMV plays without sound: its sound is mp3"), std::string::npos)
      << problem;
  EXPECT_EQ(report["clean"], false);
}

TEST_F(CheckContentTest, LevelFilesScreenPicturesAndSpriteSheetsAreChecked) {
  // The grid asks for picture 2 ("1.tga"), which the folder lacks; unit
  // type 2's sheet is missing too.
  level.grid = {1, 2};
  level.units.push_back({900, 440, 2});
  WriteLevelAgain();
  fs::remove(folder / "DATA/Sprites/unit2.tga");
  const json report = CheckJson(1);
  EXPECT_TRUE(Contains(report["missing"], "DATA\\levels\\test\\1.tga")) << report["missing"];
  EXPECT_TRUE(Contains(report["missing"], "DATA\\Sprites\\unit2.tga")) << report["missing"];
}

TEST_F(CheckContentTest, RefusedLevelGivesItsMessageAndNoLevelTables) {
  level.units.assign(502, {100, 100, 1});  // unit count 501: beyond the table
  WriteLevelAgain();
  const json report = CheckJson(1);
  ASSERT_EQ(report["messages"].size(), 1u);
  EXPECT_EQ(report["messages"][0]["caption"], "VIRKO");
  EXPECT_FALSE(report.contains("screensX"));
  EXPECT_FALSE(report.contains("unitCount"));
}

TEST_F(CheckContentTest, MissingLevelFileIsAMessageAndAMissingFile) {
  fs::remove(folder / kLevelFile);
  const json report = CheckJson(1);
  ASSERT_EQ(report["messages"].size(), 1u);
  EXPECT_EQ(report["messages"][0]["text"], "Nevar ielādēt VRK");
  EXPECT_TRUE(Contains(report["missing"], kLevelPath));
}

TEST_F(CheckContentTest, LevelThatTheLoaderRefusesIsReported) {
  level.screensY = 0;  // read as the file says, but no level has no rows
  WriteLevelAgain();
  const json report = CheckJson(1);
  EXPECT_EQ(report["screensY"], 0);
  ASSERT_EQ(report["messages"].size(), 1u) << report["messages"];
  EXPECT_EQ(report["messages"][0]["caption"], "VIRKO");
}

TEST(CheckContentArgs, WrongArgumentsGiveStatus2) {
  EXPECT_EQ(RunTool(RunCheckContent, {}).status, 2);
  EXPECT_EQ(RunTool(RunCheckContent, {"/no/such/folder"}).status, 2);
  EXPECT_EQ(RunTool(RunCheckContent, {".", "--verbose"}).status, 2);
  const ToolRun help = RunTool(RunCheckContent, {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: virko-tool check-content DIR"), std::string::npos);
}

TEST(CheckDefaultContent, IsCleanAndReportMatchesReaders) {
  const fs::path content = VIRKO_CONTENT_DIR;
  if (!fs::exists(content / "levels.cfg")) GTEST_SKIP() << "the default content is not built";
  const ToolRun run = RunTool(RunCheckContent, {content.string(), "--json"});
  const json report = json::parse(run.out);
  EXPECT_EQ(run.status, 0) << report["messages"] << report["missing"]
                           << report["unplayableSounds"];
  EXPECT_TRUE(report["messages"].empty());
  ExpectReportMatchesReaders(report, content);
}

}  // namespace
