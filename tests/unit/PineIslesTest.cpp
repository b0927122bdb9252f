// The Pine Isles, the default content's level: its source passes every
// check, and the recorded route through it reaches the level's end at the
// same frame on every run, without falling out on the way.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/unit/CheckTestContent.h"
#include "tools/cli/Checks.h"
#include "tools/level/LevelCheck.h"

using namespace checktest;

namespace {

namespace fs = std::filesystem;

const fs::path kSource = fs::path(__FILE__).parent_path() / "../../tools/levels/pine-isles.level";
const fs::path kRoute = fs::path(__FILE__).parent_path() / "../routes/pine-isles.route";
constexpr int kRouteFrames = 12407;  // 124 seconds: the level's perfect run
constexpr double kStartX = 300;
constexpr double kEndX = 23500;  // 30 screens x 800 - 500

TEST(PineIsles, SourceIsClean) {
  std::ifstream in(kSource);
  std::stringstream text;
  text << in.rdbuf();
  std::vector<LevelProblem> problems;
  const std::optional<LevelSource> level = ReadCheckedLevel(text.str(), problems);
  ASSERT_TRUE(level);
  for (const LevelProblem& problem : problems) ADD_FAILURE() << FormatProblem(kSource.string(), problem);
}

TEST(PineIsles, RouteReachesTheEndAtAFixedFrame) {
  const fs::path content = VIRKO_CONTENT_DIR;
  if (!fs::exists(content / "levels.cfg")) GTEST_SKIP() << "the default content is not built";
  const ToolRun run = RunTool(RunSimulate, {content.string(), "--frames", std::to_string(kRouteFrames),
                                            "--factor", "2", "--input", kRoute.string()});
  ASSERT_EQ(run.status, 0);
  std::stringstream lines(run.out);
  int frames = 0;
  double maxX = 0;
  for (std::string line; std::getline(lines, line); ++frames) {
    std::stringstream words(line);
    std::vector<std::string> fields;
    for (std::string word; words >> word;) fields.push_back(word);
    ASSERT_GE(fields.size(), 20u);
    const double x = std::stod(fields[1]);
    // A fall out of the level would put him back at the start.
    if (maxX > kStartX + 100) ASSERT_GT(x, kStartX + 100) << "restarted at frame " << fields[0];
    maxX = std::max(maxX, x);
    const bool done = fields[19] == "1";
    ASSERT_EQ(done, frames + 1 == kRouteFrames) << "frame " << fields[0] << " at x " << x;
  }
  EXPECT_EQ(frames, kRouteFrames);
  EXPECT_GT(maxX, kEndX);
}

}  // namespace
