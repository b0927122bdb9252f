// The Pine Isles, the default content's level: its source passes every
// check, and the recorded route through it ends the level on its own last
// frame, without falling out on the way, with every cone it passes taken.
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

// Beside tests/data, an absolute path (__FILE__ may be relative to the build folder).
const fs::path kSource = fs::path(VIRKO_TEST_DATA).parent_path().parent_path() / "tools/levels/pine-isles.level";
const fs::path kRoute = fs::path(VIRKO_TEST_DATA).parent_path() / "routes/pine-isles.route";
constexpr double kStartX = 300;
constexpr double kEndX = 23500;  // where the level says it ends
// The boxes the level is laid out for: the player's, around his position,
// and a pickup's, from its top-left corner.
constexpr double kPlayerWidth = 40, kPlayerHeight = 100, kPickupSize = 50;

LevelSource ReadSource(std::vector<LevelProblem>& problems) {
  std::ifstream in(kSource);
  std::stringstream text;
  text << in.rdbuf();
  std::optional<LevelSource> level = ReadCheckedLevel(text.str(), problems);
  return level ? *level : LevelSource{};
}

TEST(PineIsles, SourceIsClean) {
  std::vector<LevelProblem> problems;
  ASSERT_GT(ReadSource(problems).screensX, 0);
  for (const LevelProblem& problem : problems) ADD_FAILURE() << FormatProblem(kSource.string(), problem);
}

struct Position {
  double x, y;
};

// The cones of the level source that the player's box overlaps at any of
// the positions: the ones a route through them must have taken.
int ConesPassed(const LevelSource& level, const std::vector<Position>& path) {
  const double halfWidth = kPlayerWidth / 2, halfHeight = kPlayerHeight / 2;
  int passed = 0;
  for (const LevelPickup& cone : level.pickups) {
    if (cone.kind != 0) continue;
    for (const Position& p : path) {
      if (p.x + halfWidth > cone.at.x && cone.at.x + kPickupSize > p.x - halfWidth &&
          p.y + halfHeight > cone.at.y && cone.at.y + kPickupSize > p.y - halfHeight) {
        ++passed;
        break;
      }
    }
  }
  return passed;
}

TEST(PineIsles, RouteEndsTheLevelOnItsLastFrameTakingTheConesItPasses) {
  const fs::path content = VIRKO_CONTENT_DIR;
  if (!fs::exists(content / "levels.cfg")) GTEST_SKIP() << "the default content is not built";
  const std::optional<std::vector<InputSet>> route = ReadInputFile(kRoute.string());
  ASSERT_TRUE(route);
  const int routeFrames = int(route->size());
  const ToolRun run = RunTool(RunSimulate, {content.string(), "--frames", std::to_string(routeFrames),
                                            "--factor", "2", "--input", kRoute.string()});
  ASSERT_EQ(run.status, 0);
  std::stringstream lines(run.out);
  std::vector<Position> path;
  int cones = 0;
  for (std::string line; std::getline(lines, line);) {
    std::stringstream words(line);
    std::vector<std::string> fields;
    for (std::string word; words >> word;) fields.push_back(word);
    ASSERT_GE(fields.size(), 20u);
    const Position p{std::stod(fields[1]), std::stod(fields[2])};
    // A fall out of the level would put him back at the start.
    if (!path.empty() && path.back().x > kStartX + 100)
      ASSERT_GT(p.x, kStartX + 100) << "restarted at frame " << fields[0];
    path.push_back(p);
    cones = std::stoi(fields[14]);
    const bool done = fields[19] == "1";
    ASSERT_EQ(done, int(path.size()) == routeFrames) << "frame " << fields[0] << " at x " << p.x;
  }
  ASSERT_EQ(int(path.size()), routeFrames);
  EXPECT_GT(path.back().x, kEndX);
  std::vector<LevelProblem> problems;
  EXPECT_EQ(cones, ConesPassed(ReadSource(problems), path));
}

}  // namespace
