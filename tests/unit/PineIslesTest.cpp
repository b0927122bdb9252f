// The Pine Isles, the default content's level: its source passes every
// check; the recorded route through it ends the level on its own last frame,
// without falling out on the way, with every cone it passes taken; the route
// keeps a first play's pace; every challenge forgives a late or misplaced
// jump and a stone met at any time; every pickup can be taken.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "game/CollisionMap.h"
#include "tests/unit/CheckTestContent.h"
#include "tests/unit/RoutePlay.h"
#include "tools/cli/Checks.h"
#include "tools/level/LevelCheck.h"

using namespace checktest;

namespace {

namespace fs = std::filesystem;

// Beside tests/data, an absolute path (__FILE__ may be relative to the build folder).
const fs::path kSource = fs::path(VIRKO_TEST_DATA).parent_path().parent_path() / "tools/levels/pine-isles.level";
const fs::path kRoutes = fs::path(VIRKO_TEST_DATA).parent_path() / "routes";
const fs::path kRoute = kRoutes / "pine-isles.route";
constexpr double kStartX = 300, kStartY = 830;  // the player's start in the level source
constexpr double kEndX = 23500;                 // where the level says it ends
constexpr double kSectionWidth = 2400;
constexpr int kSections = 10;
constexpr int kFramesPerSecond = 100;
// The boxes the level is laid out for: the player's, around his position,
// and a pickup's, from its top-left corner.
constexpr double kPlayerWidth = 40, kPlayerHeight = 100, kPickupSize = 50;
// What the screen shows around the player, who is drawn at its centre.
constexpr double kHalfScreenWidth = 400, kHalfScreenHeight = 300;

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
    if (!path.empty() && path.back().x > kStartX + 100) {
      ASSERT_GT(p.x, kStartX + 100) << "restarted at frame " << fields[0];
    }
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

// ---- Playing the route in this process ----------------------------------

bool Restarted(const routeplay::Position& p) { return p.x == kStartX && p.y == kStartY; }

class PineIslesPlay : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path content = VIRKO_CONTENT_DIR;
    if (!fs::exists(content / "levels.cfg")) GTEST_SKIP() << "the default content is not built";
    // Checking the source uses the game's reader too: before the level is loaded.
    std::vector<LevelProblem> problems;
    source_ = ReadSource(problems);
    ASSERT_TRUE(routeplay::LoadLevel(content.string()));
    route_ = routeplay::ReadRoute(kRoute.string());
    ASSERT_FALSE(route_.empty());
  }

  // Plays the route from the level's start, calling visit before each frame
  // with its index; visit may play variants from a saved state, as long as
  // it leaves the play as it found it.
  void PlayRoute(const std::function<void(size_t)>& visit = nullptr) {
    for (size_t i = 0; i < route_.size(); ++i) {
      if (visit) visit(i);
      routeplay::PlayFrame(route_[i]);
      ASSERT_FALSE(Restarted(routeplay::Player())) << "the route fell out at frame " << i + 1;
    }
  }

  LevelSource source_;
  std::vector<InputSet> route_;
};

bool HoldsOnly(const InputSet& held, int state) {
  InputSet only{};
  only.Add(state);
  return std::equal(std::begin(held.bits), std::end(held.bits), std::begin(only.bits));
}

// The longest run of frames holding one direction and nothing else.
int LongestOneDirection(const std::vector<InputSet>& frames) {
  int longest = 0, run = 0;
  for (size_t i = 0; i < frames.size(); ++i) {
    const bool oneWay = HoldsOnly(frames[i], isRight) || HoldsOnly(frames[i], isLeft);
    const bool same = i > 0 && std::equal(std::begin(frames[i].bits), std::end(frames[i].bits),
                                          std::begin(frames[i - 1].bits));
    run = !oneWay ? 0 : same ? run + 1 : 1;
    longest = std::max(longest, run);
  }
  return longest;
}

TEST_F(PineIslesPlay, RouteKeepsAFirstPlaysPaceWithJumpsInEverySectionLandingOnScreenAndAnEarlyHit) {
  const int frames = int(route_.size());
  EXPECT_GE(frames, 150 * kFramesPerSecond) << "a perfect run takes two and a half minutes";
  EXPECT_LE(frames, 180 * kFramesPerSecond) << "and not much more: CI replays it twice";
  EXPECT_LE(LongestOneDirection(route_), 10 * kFramesPerSecond);

  std::vector<int> jumps(kSections, 0);
  std::optional<routeplay::Position> takeOff;
  bool rose = false;
  std::optional<size_t> firstEnemySeen, firstHit;
  PlayRoute([&](size_t i) {
    const routeplay::Position p = routeplay::Player();
    if (!firstEnemySeen && routeplay::UnitOnScreen()) firstEnemySeen = i;
    if (!firstHit && routeplay::Points() > 0) firstHit = i;
    if (routeplay::PressesJump(route_, i)) {
      ++jumps[std::clamp(int(p.x / kSectionWidth), 0, kSections - 1)];
      takeOff = p;
      rose = false;
    }
    rose = rose || p.jumping;
    if (takeOff && rose && !p.jumping && !p.falling) {
      EXPECT_LT(std::abs(p.x - takeOff->x), kHalfScreenWidth)
          << "off screen from the take-off at x " << takeOff->x << ", frame " << i;
      EXPECT_LT(std::abs(p.y - takeOff->y), kHalfScreenHeight)
          << "off screen from the take-off at x " << takeOff->x << ", frame " << i;
      takeOff.reset();
    }
  });
  for (int s = 0; s < kSections; ++s) EXPECT_GE(jumps[s], 2) << "section " << s + 1;
  // Throwing earns points where it is taught: at the first enemy met.
  ASSERT_TRUE(firstEnemySeen && firstHit);
  EXPECT_LE(*firstHit - *firstEnemySeen, size_t(10 * kFramesPerSecond));
}

// Beyond the first pits every fall lands on something: dropped from the top
// of the level anywhere from there to the right edge, the player comes to
// stand without leaving the level.
TEST_F(PineIslesPlay, NothingBeyondTheFirstPitsDropsOutOfTheLevel) {
  constexpr double kLastPitEnd = 3300, kStep = 25;
  constexpr int kFallFrames = 400;  // the whole height, at three pixels a time unit
  const routeplay::SavedPlay start{InputSet{}};
  for (double x = kLastPitEnd; x < kEndX; x += kStep) {
    start.Restore();
    routeplay::PlacePlayer(x, kPlayerHeight / 2);
    routeplay::Position p = routeplay::Player();
    for (int i = 0; i < kFallFrames && (i < 2 || p.falling) && !Restarted(p); ++i) {
      routeplay::PlayFrame(InputSet{});
      p = routeplay::Player();
    }
    if (Restarted(p)) {
      ADD_FAILURE() << "dropped at x " << x << ", he fell out of the level";
    } else {
      EXPECT_FALSE(p.falling) << "dropped at x " << x << ", he is still falling at y " << p.y;
    }
  }
}

// ---- Every pickup can be taken --------------------------------------------

// The secrets, each a route of its own from where the main route first
// reaches its x.
struct Secret {
  const char* route;
  double fromX;
};
constexpr Secret kSecrets[] = {
    {"pine-isles-bee-loft.route", 3380},
    {"pine-isles-tower-loft.route", 11600},
    {"pine-isles-pocket.route", 21150},
};

// Point in a closed outline (its last point its first), by ray casting.
bool Inside(const LevelStroke& outline, double x, double y) {
  const std::vector<LevelPoint>& p = outline.points;
  if (p.size() < 4 || !(p.front() == p.back())) return false;
  bool inside = false;
  for (size_t i = 1; i < p.size(); ++i) {
    const LevelPoint a = p[i - 1], b = p[i];
    if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * double(b.x - a.x) / double(b.y - a.y))
      inside = !inside;
  }
  return inside;
}

TEST_F(PineIslesPlay, EveryPickupIsTakenByTheRouteOrASecretAndNoneIsBeyondTheEndOrInGround) {
  const std::vector<routeplay::Item> placed = routeplay::Items();
  for (const routeplay::Item& item : placed) {
    EXPECT_LT(item.x + kPickupSize, kEndX) << "kind " << item.kind << " at x " << item.x << " lies beyond the end";
    const double cx = item.x + kPickupSize / 2, cy = item.y + kPickupSize / 2;
    for (const LevelStroke& outline : source_.lines[kSolidLines])
      EXPECT_FALSE(Inside(outline, cx, cy))
          << "kind " << item.kind << " at " << item.x << "," << item.y << " lies inside the solid outline of line "
          << outline.line;
    for (double y = item.y; y < item.y + kPickupSize; ++y)
      for (double x = item.x; x < item.x + kPickupSize; ++x)
        ASSERT_FALSE(CollisionMap.IsSolid(int(x), int(y)))
            << "kind " << item.kind << " at " << item.x << "," << item.y << " overlaps solid ground";
  }

  std::set<std::pair<int, int>> taken;
  const auto note = [&] {
    for (const routeplay::Item& item : routeplay::Items())
      if (item.taken) taken.insert({item.kind, item.index});
  };
  size_t secret = 0;
  PlayRoute([&](size_t i) {
    if (secret == std::size(kSecrets) || routeplay::Player().x < kSecrets[secret].fromX) return;
    const routeplay::SavedPlay branch(i > 0 ? route_[i - 1] : InputSet{});
    for (const InputSet& held : routeplay::ReadRoute((kRoutes / kSecrets[secret].route).string()))
      routeplay::PlayFrame(held);
    EXPECT_FALSE(Restarted(routeplay::Player())) << kSecrets[secret].route;
    note();
    branch.Restore();
    ++secret;
  });
  EXPECT_EQ(secret, std::size(kSecrets)) << "the route did not pass every secret's start";
  note();
  for (const routeplay::Item& item : placed)
    EXPECT_TRUE(taken.count({item.kind, item.index}))
        << "no route takes the item of kind " << item.kind << " at " << item.x << "," << item.y;
}

// ---- Fairness ---------------------------------------------------------------

// The challenges of the level, in route order. A challenge spans the route
// from the frame where the player first reaches fromX to the one where he
// first reaches toX; every take-off of the route lies in one. Safe and soft
// ones must never restart the level, whatever the perturbation, and a soft
// one must be failed by some (the player ends lower, in a hollow or on the
// ground below); the success rate of lethal ones is printed, and the first
// must forgive four in five.
enum Risk { kSafe, kSoft, kLethal };
struct Challenge {
  const char* name;
  double fromX, toX;
  Risk risk;
  double stonesX;  // where he stands on the stone that brings up the next; 0: none
};
constexpr Challenge kChallenges[] = {
    {"low step", 500, 760, kSafe, 0},
    {"stones over the meadow's hollow", 1000, 1520, kSoft, 1060},
    {"high step", 1600, 1900, kSafe, 0},
    {"the pit", 1950, 2300, kLethal, 0},
    {"stone bridge over the pit", 2700, 3250, kLethal, 2860},
    {"first climb", 4400, 4700, kSafe, 0},
    {"isles", 5200, 6500, kSoft, 0},
    {"log and rocks of the jay hollow", 7500, 9100, kSafe, 0},
    {"way out of the jay hollow", 9300, 9700, kSafe, 0},
    {"tower", 10400, 11000, kSafe, 0},
    {"long bridge", 12300, 13900, kSoft, 12370},
    {"rock and ledges", 13950, 15500, kSoft, 0},
    {"stepping isles", 16900, 18200, kSoft, 0},
    {"climb to the high isles", 19550, 20600, kSafe, 0},
    {"rising stones", 21900, 22500, kSoft, 21970},
    {"pillar", 22550, 23100, kSafe, 0},
};
constexpr double kSecondHalf = 12000;  // at least two soft challenges beyond it
constexpr double kFellLower = 60;      // pixels below where the route's own play ends

// The perturbations: pauses before a take-off, take-off points moved by
// whole frames of walking (two pixels each), pauses on a stone.
constexpr int kPauseStep = 10, kMostPause = 150;
constexpr int kShiftStep = 10, kMostShift = 60;  // pixels
constexpr int kPhaseStep = 5, kCycle = 150;      // a stone's life is 150 frames

InputSet Holding(int state) {
  InputSet held{};
  held.Add(state);
  return held;
}

// The direction a take-off carries on: that of the jump's own frame, else
// that of the frame before, else right.
int Forward(const std::vector<InputSet>& route, size_t takeOff) {
  for (const InputSet& held : {route[takeOff], route[takeOff > 0 ? takeOff - 1 : 0]}) {
    if (held.Has(isRight)) return isRight;
    if (held.Has(isLeft)) return isLeft;
  }
  return isRight;
}

// Plays the inserted frames, then the route from frame `from` until the
// jump that starts there has landed (or the challenge's end is passed,
// without a jump), a little beyond: whether the level restarted meanwhile,
// and where the player ended.
struct Outcome {
  bool restarted;
  double y;
};
Outcome PlayVariant(const std::vector<InputSet>& route, size_t from, const std::vector<InputSet>& inserted,
                    bool judgeLanding, double toX) {
  for (const InputSet& held : inserted) {
    routeplay::PlayFrame(held);
    if (Restarted(routeplay::Player())) return {true, 0};
  }
  constexpr int kMostFrames = 600, kSettle = 30;
  bool rose = false;
  int settled = -1;
  for (size_t i = from; i < route.size() && i < from + kMostFrames; ++i) {
    routeplay::PlayFrame(route[i]);
    const routeplay::Position p = routeplay::Player();
    if (Restarted(p)) return {true, 0};
    rose = rose || p.jumping;
    const bool over = judgeLanding ? rose && !p.jumping && !p.falling : p.x >= toX;
    if (settled < 0 && over) settled = 0;
    if (settled >= 0 && ++settled == kSettle) break;
  }
  return {false, routeplay::Player().y};
}

struct Tally {
  int variants = 0, restarts = 0, fellLower = 0;
  std::vector<std::string> failures;
};

TEST_F(PineIslesPlay, ChallengesForgivePausesMovedTakeOffsAndEveryStonePhase) {
  std::vector<Tally> tallies(std::size(kChallenges));
  size_t current = 0;
  bool active = false, stonesDone = false;
  double routeEndsAt = 0;  // y where the unperturbed variant of this point ended
  const auto run = [&](size_t i, const std::vector<InputSet>& inserted, bool judgeLanding, const std::string& what) {
    const routeplay::SavedPlay here(i > 0 ? route_[i - 1] : InputSet{});
    Tally& tally = tallies[current];
    ++tally.variants;
    const Outcome outcome = PlayVariant(route_, i, inserted, judgeLanding, kChallenges[current].toX);
    if (inserted.empty()) routeEndsAt = outcome.y;
    if (outcome.restarted) {
      ++tally.restarts;
      tally.failures.push_back(what);
    } else if (outcome.y > routeEndsAt + kFellLower) {
      ++tally.fellLower;
    }
    here.Restore();
  };
  PlayRoute([&](size_t i) {
    const double x = routeplay::Player().x;
    if (!active && current < std::size(kChallenges) && x >= kChallenges[current].fromX) {
      active = true;
      stonesDone = kChallenges[current].stonesX == 0;
    }
    if (active && x >= kChallenges[current].toX) {
      active = false;
      ++current;
      return;
    }
    if (active && !stonesDone && x >= kChallenges[current].stonesX) {
      stonesDone = true;
      for (int pause = 0; pause <= kCycle; pause += kPhaseStep)
        run(i, std::vector<InputSet>(size_t(pause)), false, "a pause of " + std::to_string(pause) + " on the stones");
    }
    if (!routeplay::PressesJump(route_, i)) return;
    ASSERT_TRUE(active) << "the take-off at x " << x << " (frame " << i + 1 << ") is in no challenge";
    const std::string at = " before the take-off at x " + std::to_string(int(x));
    for (int pause = 0; pause <= kMostPause; pause += kPauseStep)
      run(i, std::vector<InputSet>(size_t(pause)), true, "a pause of " + std::to_string(pause) + at);
    const int forward = Forward(route_, i);
    const int back = forward == isRight ? isLeft : isRight;
    for (int shift = -kMostShift; shift <= kMostShift; shift += kShiftStep) {
      if (shift == 0) continue;
      const std::vector<InputSet> walk(size_t(std::abs(shift) / 2), Holding(shift > 0 ? forward : back));
      run(i, walk, true, "moved by " + std::to_string(shift) + " px" + at);
    }
  });
  EXPECT_EQ(current, std::size(kChallenges)) << "the route did not pass every challenge";

  bool firstLethal = true;
  int softLater = 0;
  for (size_t c = 0; c < std::size(kChallenges); ++c) {
    const Challenge& challenge = kChallenges[c];
    const Tally& tally = tallies[c];
    EXPECT_GT(tally.variants, 0) << challenge.name;
    const double success = tally.variants ? 1 - double(tally.restarts) / tally.variants : 0;
    constexpr const char* kRiskNames[] = {"safe", "soft", "lethal"};
    std::printf("%-34s %-6s %4d variants, %3d restarts (success %5.1f %%), %3d ended lower\n", challenge.name,
                kRiskNames[challenge.risk], tally.variants, tally.restarts, 100 * success, tally.fellLower);
    if (challenge.risk == kLethal) {
      if (firstLethal) {
        EXPECT_GE(success, 0.8) << "the first lethal challenge, " << challenge.name;
      }
      firstLethal = false;
      continue;
    }
    for (const std::string& failure : tally.failures) ADD_FAILURE() << challenge.name << ": restarted after " << failure;
    if (challenge.risk == kSoft) {
      EXPECT_GT(tally.fellLower, 0) << challenge.name << " cannot be failed";
      if (challenge.fromX >= kSecondHalf && tally.fellLower > 0) ++softLater;
    }
  }
  EXPECT_GE(softLater, 2) << "challenges that can be failed in the second half";
}

}  // namespace
