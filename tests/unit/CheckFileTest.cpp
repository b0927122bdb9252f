// check-file: one file of each kind through its reader, under any name.
#include <gtest/gtest.h>

#include <sstream>

#include <nlohmann/json.hpp>

#include "platform/MessageBox.h"
#include "tests/unit/CheckTestContent.h"
#include "tools/cli/Checks.h"

using namespace checktest;
using nlohmann::json;

namespace {

class CheckFileTest : public ::testing::Test {
 protected:
  json Check(const std::string& kind, const fs::path& path, int expectedStatus) {
    const ToolRun run = RunTool(RunCheckFile, {kind, path.string(), "--json"});
    EXPECT_EQ(run.status, expectedStatus) << run.out;
    return json::parse(run.out);
  }

  TempFolder folder;
};

TEST_F(CheckFileTest, MissingFileIsRefusedWithTheGamesMessage) {
  const json report = Check("settings", folder / "nothing-here", 1);
  EXPECT_EQ(report["refused"], "Nevar ielādēt settings.cfg");
  EXPECT_EQ(report["messages"], json::array({{{"caption", "VIRKO"},
                                              {"text", "Nevar ielādēt settings.cfg"}}}));
  // The catalogue and animation readers name the file the game asks for.
  EXPECT_EQ(Check("levels", folder / "nothing-here", 1)["refused"], "Nevar ielādēt levels.txt");
  EXPECT_EQ(Check("panim", folder / "nothing-here", 1)["refused"], "Nevar ielādēt anim.txt");
  EXPECT_EQ(Check("uanim", folder / "nothing-here", 1)["refused"], "Nevar ielādēt anim.txt");
}

TEST_F(CheckFileTest, CatalogueEntriesFillInOrder) {
  WriteShifted(folder / "cat", "<l1.dat;lev1>\r\n<l2.dat;lev2>");
  const json report = Check("levels", folder / "cat", 0);
  EXPECT_EQ(report["levelFile"], json({"l1.dat", "l2.dat", "", "", "", "", "", "", "", "", "", "",
                                       "", "", "", ""}));
  EXPECT_EQ(report["levelDir"][1], "lev2");
}

TEST_F(CheckFileTest, WhatTheReaderIgnoresShowsAsAWarning) {
  std::string catalogue;
  for (int n = 0; n < 17; ++n) catalogue += "<l" + std::to_string(n) + ".dat;d>";
  WriteShifted(folder / "cat", catalogue);
  const json report = Check("levels", folder / "cat", 0);
  EXPECT_EQ(report["levelFile"][15], "l15.dat");
  ASSERT_EQ(report["warnings"].size(), 1u);
  EXPECT_NE(report["warnings"][0].get<std::string>().find("levels.cfg"), std::string::npos);
  EXPECT_FALSE(report.contains("refused"));
}

TEST_F(CheckFileTest, PlayerAnimationsReadAsTheFirstFileOfTheirReader) {
  WriteShifted(folder / "p.cfg", PlayerAnimText() + "ID: 2\r\nimageW: 128\r\n");
  const json report = Check("panim", folder / "p.cfg", 0);
  const json& set0 = report["playerAnims"][0];
  EXPECT_EQ(set0["fileName"], "DATA\\Sprites\\player.tga");
  EXPECT_EQ(set0["height"], 96);
  EXPECT_EQ(set0["actA"], json({{"start", 37}, {"stop", 43}, {"delay", 0.0199999996}}));
  EXPECT_EQ(float(set0["runA"]["delay"].get<double>()), 0.03f);
  EXPECT_EQ(report["playerAnims"][2]["width"], 128);
  EXPECT_EQ(report["playerAnims"].size(), 6u);
}

TEST_F(CheckFileTest, UnitAnimationNamesAreConvertedFromWindows1257) {
  // 0xE2 is "ā" in Windows-1257; it stays one byte in the table.
  WriteShifted(folder / "u.cfg", "uType: 03\r\naddr:   DATA\\v\xE2rna.tga>\r\nskrieA: 001 005 0.05");
  const json report = Check("uanim", folder / "u.cfg", 0);
  EXPECT_EQ(report["unitTypes"][3]["anim"]["fileName"], "DATA\\vārna.tga");
  EXPECT_EQ(report["unitTypes"][3]["anim"]["runA"]["stop"], 5);
  EXPECT_EQ(report["unitTypes"].size(), 7u);
}

TEST_F(CheckFileTest, UnitStatsShowTheStoredByteValues) {
  WriteBytes(folder / "stats.txt", "< 300 032 -03 040 1.0 2,5 1");
  const json report = Check("ustats", folder / "stats.txt", 0);
  const json& first = report["unitTypes"][0];
  EXPECT_EQ(first["width"], 44);  // 300 keeps its low 8 bits
  EXPECT_EQ(first["health"], -3);
  EXPECT_EQ(first["fallSpeed"], 2.5);
}

TEST_F(CheckFileTest, MenuItemsAreTenRowsOfSix) {
  WriteShifted(folder / "m.cfg", "#010,020,030,040,050,060 first\r\n#  1,  2,003,004,005,006");
  const json report = Check("mainscr", folder / "m.cfg", 0);
  ASSERT_EQ(report["items"].size(), 10u);
  EXPECT_EQ(report["items"][0], json({10, 20, 30, 40, 50, 60}));
  EXPECT_EQ(report["items"][1], json({1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(report["items"][9], json({0, 0, 0, 0, 0, 0}));
}

TEST_F(CheckFileTest, LevelListsRunFromEntryZeroToTheirCount) {
  TestLevel level;
  level.grid = {1, 2};
  level.white = {{{0, 500}, {800, 500}}, {{900, 500}, {1600, 500}}};
  level.units = {{200, 400, 0}, {1000, 440, 5}};
  level.pickups[6] = {{10, 20}};
  level.blocks = {{100, 200, 1, 1}};
  WriteLevel(folder / "lvl.bin", level);
  const json report = Check("level", folder / "lvl.bin", 0);
  EXPECT_EQ(report["screenGrid"][1][0], 2);
  EXPECT_EQ(report["screenGrid"].size(), 31u);
  EXPECT_EQ(report["screenGrid"][0].size(), 11u);
  // Four drawn points and the unused last one; the pen lifts after point 1.
  EXPECT_EQ(report["lineCountA"], 4);
  EXPECT_EQ(report["lineA"], json({{0, 500}, {800, 500}, {900, 500}, {1600, 500}, {1600, 500}}));
  EXPECT_EQ(report["lineBreakA"], json({0, 1, 0, 0, 0}));
  EXPECT_EQ(report["lineCountB"], 0);
  EXPECT_EQ(report["lineB"], json({{0, 0}}));
  EXPECT_EQ(report["unitCount"], 1);
  EXPECT_EQ(report["unitStart"], json({{200, 400}, {1000, 440}}));
  EXPECT_EQ(report["unitType"], json({0, 5}));
  EXPECT_EQ(report["pickupKinds"][6], json({{"lastItem", 0}, {"items", {{10.0, 20.0}}}}));
  EXPECT_EQ(report["blocks"], json::array({{{"x", 100}, {"y", 200}, {"permanent", 1},
                                           {"solidNow", 1}}}));
}

TEST_F(CheckFileTest, RefusedLevelFillsNothing) {
  WriteBytes(folder / "bad.bin", FloatBytes({2, 1, 1, 1, -3}));  // negative line count
  const json report = Check("level", folder / "bad.bin", 1);
  ASSERT_TRUE(report.contains("refused"));
  EXPECT_FALSE(report["refused"].get<std::string>().empty());
  EXPECT_FALSE(report.contains("lineA"));
  EXPECT_EQ(report["messages"].size(), 1u);
}

TEST_F(CheckFileTest, PicturesAreDecodedAsTheGameLoadsThem) {
  WriteBytes(folder / "a.tga", Tga(320, 512));
  const json report = Check("tga", folder / "a.tga", 0);
  EXPECT_EQ(report["width"], 320);
  EXPECT_EQ(report["height"], 512);
  EXPECT_TRUE(report["messages"].empty());

  std::string cut = Tga(320, 512);
  cut.resize(cut.size() / 2);  // a whole header, half the pixels
  WriteBytes(folder / "cut.tga", cut);
  const std::string name = (folder / "cut.tga").string();
  EXPECT_EQ(Check("tga", folder / "cut.tga", 1)["refused"], "Couldn't read file \"" + name + "\".");
  WriteBytes(folder / "short.tga", cut.substr(0, 17));
  EXPECT_EQ(Check("tga", folder / "short.tga", 1)["refused"], "shorter than its 18-byte header");
  EXPECT_EQ(Check("tga", folder / "none.tga", 1)["refused"], "missing");

  WriteJpg(folder / "a.jpg");
  EXPECT_FALSE(Check("jpg", folder / "a.jpg", 0).contains("refused"));
  WriteBytes(folder / "b.jpg", "not a picture");
  EXPECT_NE(Check("jpg", folder / "b.jpg", 1)["refused"].get<std::string>().find("b.jpg"),
            std::string::npos);
  EXPECT_EQ(Check("jpg", folder / "none.jpg", 1)["refused"], "missing");
}

TEST_F(CheckFileTest, PictureProblemsAreReportedAsTheScreenShowsThem) {
  // Wider than the renderers the check assumes: the game would show it shrunk.
  WriteBytes(folder / "wide.tga", Tga(8192, 1));
  const json wide = Check("tga", folder / "wide.tga", 1);
  EXPECT_NE(wide["refused"].get<std::string>().find("8192 x 1 pixels: a side above 4096"),
            std::string::npos);
  EXPECT_TRUE(wide["messages"].empty());
  EXPECT_TRUE(wide.contains("pixels"));

  // The message box of a refusal, wrapped to fit the screen.
  std::string sixteen = Tga(8, 8).substr(0, 18 + 8 * 8 * 2);
  sixteen[16] = 16;
  const fs::path longName = folder / "a-sixteen-bit-picture-from-a-paint-program.tga";
  WriteBytes(longName, sixteen);
  const json refused = Check("tga", longName, 1);
  ASSERT_EQ(refused["messages"].size(), 1u);
  const std::string text = refused["messages"][0]["text"];
  EXPECT_NE(text.find('\n'), std::string::npos);
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), kMessageBoxColumns);
}

TEST_F(CheckFileTest, TextReport) {
  WriteBytes(folder / "s", "\x01\x02\x03");
  const ToolRun run = RunTool(RunCheckFile, {"settings", (folder / "s").string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "kind: \"settings\"\nfile: \"" + (folder / "s").string() +
                "\"\nmusicVolume: 1\nsoundVolume: 2\nlightLevel: 3\nmessages: []\n"
                "warnings: []\nclean: read without a message\n");
}

TEST(CheckFileArgs, WrongArgumentsGiveStatus2) {
  EXPECT_EQ(RunTool(RunCheckFile, {"picture", "x.tga"}).status, 2);
  EXPECT_EQ(RunTool(RunCheckFile, {"tga"}).status, 2);
  EXPECT_EQ(RunTool(RunCheckFile, {"tga", "a", "b"}).status, 2);
  const ToolRun help = RunTool(RunCheckFile, {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: virko-tool check-file KIND PATH"), std::string::npos);
}

}  // namespace
