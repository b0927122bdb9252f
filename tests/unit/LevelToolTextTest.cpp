// The level text: reading, problems with their lines, the limits of the
// level file, and the canonical text.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tools/level/LevelCheck.h"
#include "tools/level/LevelText.h"

namespace {

// The smallest complete level: one screen, a floor, the player, one item of
// every kind and one block.
const char* const kSmallLevel = R"(size 1 1
row 1
solid 0,500 800,500
player 100,430 type 0
pickup 10,10 kind 0
pickup 20,10 kind 1
pickup 30,10 kind 2
pickup 40,10 kind 3
pickup 50,10 kind 4
pickup 60,10 kind 5
pickup 70,10 kind 6
block 300,500 permanent
)";

std::vector<LevelProblem> ProblemsOf(const std::string& text) {
  std::vector<LevelProblem> problems;
  const LevelSource level = ParseLevelText(text, problems);
  if (!HasErrors(problems)) problems = CheckLevel(level);
  return problems;
}

// "line: message" of every error, for compact expectations.
std::vector<std::string> ErrorsOf(const std::string& text) {
  std::vector<std::string> errors;
  for (const LevelProblem& problem : ProblemsOf(text))
    if (problem.severity == LevelProblem::kError)
      errors.push_back(std::to_string(problem.line) + ": " + problem.message);
  return errors;
}

bool AnyErrorContains(const std::vector<std::string>& errors, const std::string& part) {
  for (const std::string& error : errors)
    if (error.find(part) != std::string::npos) return true;
  return false;
}

TEST(LevelToolText, ReadsEveryStatementWithCommentsAndContinuations) {
  std::vector<LevelProblem> problems;
  const LevelSource level = ParseLevelText(R"(# a comment line
size 2 1   # two screens
row 3 0
solid 0,500 400,500 \
      800 , 450      # a point may have blanks around its comma
platform 100,300 200,300
unused 1,2
player 10,20
unit -5,7 type 6
pickup 1,2 kind 5
block 3,4 solidnow 2 permanent
)", problems);
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(level.screensX, 2);
  EXPECT_EQ(level.sizeLine, 2);
  ASSERT_EQ(level.rows.size(), 1u);
  EXPECT_EQ(level.rows[0], (std::vector<int64_t>{3, 0}));
  ASSERT_EQ(level.lines[kSolidLines].size(), 1u);
  EXPECT_EQ(level.lines[kSolidLines][0].points,
            (std::vector<LevelPoint>{{0, 500}, {400, 500}, {800, 450}}));
  EXPECT_EQ(level.lines[kSolidLines][0].line, 4);
  EXPECT_EQ(level.lines[kPlatformLines].size(), 1u);
  EXPECT_EQ(level.lines[kUnusedLines].size(), 1u);
  ASSERT_TRUE(level.player);
  EXPECT_EQ(level.player->type, 0);  // the type may be left out for the player
  ASSERT_EQ(level.units.size(), 1u);
  EXPECT_EQ(level.units[0].at, (LevelPoint{-5, 7}));
  EXPECT_EQ(level.units[0].type, 6);
  EXPECT_EQ(level.pickups[0].kind, 5);
  ASSERT_EQ(level.blocks.size(), 1u);
  EXPECT_TRUE(level.blocks[0].permanent);
  EXPECT_EQ(level.blocks[0].solidNow, 2);
  EXPECT_EQ(level.lastLine, 11);
}

TEST(LevelToolText, ReportsEverySyntaxProblemWithItsLine) {
  std::vector<LevelProblem> problems;
  ParseLevelText(R"(size 10
row 1 x
solid 0,500 800
wall 1,2
player 1,2 type
unit 5,5 kind 1
pickup 1.5,2 kind 0
block 1,2 permanent permanent
size 1 1
size 2 2
)", problems);
  std::vector<int> lines;
  for (const LevelProblem& problem : problems) {
    EXPECT_EQ(problem.severity, LevelProblem::kError);
    lines.push_back(problem.line);
  }
  EXPECT_EQ(lines, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 10}));
  EXPECT_NE(problems[3].message.find("unknown statement 'wall'"), std::string::npos);
  EXPECT_NE(problems[6].message.find("not a whole number"), std::string::npos);
  EXPECT_NE(problems[8].message.find("first is on line 9"), std::string::npos);
}

TEST(LevelToolText, AProblemInAContinuedStatementNamesTheLineOfItsToken) {
  std::vector<LevelProblem> problems;
  ParseLevelText("size 1 1\nsolid 0,0 \\\n  5,5 \\\n  7,oops\n", problems);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].line, 4);
}

TEST(LevelToolText, TheSmallLevelIsClean) { EXPECT_TRUE(ProblemsOf(kSmallLevel).empty()); }

TEST(LevelToolText, CheckReportsSizeAndGridLimits) {
  std::string text = kSmallLevel;
  text.replace(0, 8, "size 32 0");
  std::vector<std::string> errors = ErrorsOf(text);
  EXPECT_TRUE(AnyErrorContains(errors, "1: screens across must be 1 to 31, not 32")) << errors[0];
  EXPECT_TRUE(AnyErrorContains(errors, "1: screens down must be 1 to 11, not 0"));

  text = kSmallLevel;
  text.replace(text.find("row 1"), 5, "row 100 2\nrow 1");
  errors = ErrorsOf(text);
  EXPECT_TRUE(AnyErrorContains(errors, "2: the row has 2 screens; the size says 1"));
  EXPECT_TRUE(AnyErrorContains(errors, "2: screen picture 100 is not 0 to 99"));
  EXPECT_TRUE(AnyErrorContains(errors, "3: the grid has 2 rows; the size says 1"));
}

TEST(LevelToolText, CheckReportsListLimitsAtTheStatementThatPassesThem) {
  std::string text = kSmallLevel;
  std::string many = "solid";
  for (int i = 0; i < 508; ++i) many += " " + std::to_string(i) + ",1";
  text += many + "\nplatform 1,1 2,2\nsolid 1,1 2,2\n";  // lines 13, 14, 15
  for (int i = 0; i < 501; ++i) text += "unit 5,5 type 1\n";  // lines 16..516
  const std::vector<std::string> errors = ErrorsOf(text);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_TRUE(AnyErrorContains(errors, "15: line list solid (A) reaches more than 511 points"));
  EXPECT_TRUE(AnyErrorContains(errors, "516: unit 501"));
}

TEST(LevelToolText, CheckReportsTypesKindsAndItemCounts) {
  std::string text = kSmallLevel;
  text.replace(text.find("pickup 70,10 kind 6"), 19, "pickup 70,10 kind 7");
  text.replace(text.find("type 0"), 6, "type 7");
  for (int i = 0; i < 100; ++i) text += "pickup 1,1 kind 2\n";  // 101st on line 112
  const std::vector<std::string> errors = ErrorsOf(text);
  EXPECT_TRUE(AnyErrorContains(errors, "4: the player's type 7 is not 0 to 6"));
  EXPECT_TRUE(AnyErrorContains(errors, "11: pickup kind 7 is not 0 to 6"));
  EXPECT_TRUE(AnyErrorContains(errors, "0: no pickup of kind 6"));
  EXPECT_TRUE(AnyErrorContains(errors, "112: pickup 101 of kind 2"));
}

TEST(LevelToolText, CheckReportsBlocksPlayerCoordinatesAndFileSize) {
  std::string text = kSmallLevel;
  text.replace(text.find("block 300,500 permanent"), 23, "");
  text.replace(text.find("player 100,430 type 0"), 21, "");
  text += "solid 16777217,0 16777216,0\n";  // line 13; the first is not exact
  std::vector<std::string> errors = ErrorsOf(text);
  EXPECT_TRUE(AnyErrorContains(errors, "0: no block"));
  EXPECT_TRUE(AnyErrorContains(errors, "0: no player statement"));
  EXPECT_TRUE(AnyErrorContains(errors, "13: point 16777217,0"));
  EXPECT_EQ(errors.size(), 3u);

  text = kSmallLevel;
  for (int i = 0; i < 501; ++i) text += "block 1,1\n";  // the 502nd block on line 513
  for (int i = 0; i < 1000; ++i) text += "solid 1,1 2,2 3,3\n";
  errors = ErrorsOf(text);
  EXPECT_TRUE(AnyErrorContains(errors, "513: block 502"));
  EXPECT_TRUE(AnyErrorContains(errors, "numbers; a level file holds at most 9001"));
}

TEST(LevelToolText, CheckWarnsOfUnplayableLayouts) {
  std::string text = kSmallLevel;
  text.replace(text.find("player 100,430"), 14, "player 700,2400");
  text.replace(text.find("block 300,500 permanent"), 23, "block 300,500");
  text += "unit 900,100 type 2\nsolid 5,5\n";
  std::vector<int> warned;
  for (const LevelProblem& problem : ProblemsOf(text)) {
    EXPECT_EQ(problem.severity, LevelProblem::kWarning) << problem.message;
    warned.push_back(problem.line);
  }
  std::sort(warned.begin(), warned.end());
  // Player outside, past the end and below the fall-out depth; the first
  // block never solid; the unit outside; a stroke that draws nothing.
  EXPECT_EQ(warned, (std::vector<int>{4, 4, 4, 12, 13, 14}));
}

TEST(LevelToolText, CanonicalTextReadsBackToTheSameLevel) {
  std::vector<LevelProblem> problems;
  const LevelSource level = ParseLevelText(std::string(kSmallLevel) +
                                               "solid 1,2 3,4 5,6 7,8 9,10 11,12 13,14\n"
                                               "block 5,6 solidnow 3\n",
                                           problems);
  const std::string text = WriteLevelText(level, {"header"});
  EXPECT_EQ(text.rfind("# header\n", 0), 0u);
  EXPECT_NE(text.find("11,12 \\\n      13,14\n"), std::string::npos);  // long strokes continue
  const LevelSource reread = ParseLevelText(text, problems);
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(WriteLevelText(reread, {"header"}), text);
}

}  // namespace
