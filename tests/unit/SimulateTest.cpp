// simulate: short scenarios on tiny levels, checked against the numbers the
// game's rules give, and the trace's format and input files.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/unit/CheckTestContent.h"
#include "tools/cli/Checks.h"

using namespace checktest;

namespace {

// One trace line, by field name.
struct Frame {
  std::vector<std::string> fields;

  double Get(const std::string& name) const {
    static const std::vector<std::string> kNames = {
        "N",        "x",      "y",      "cameraX", "cameraY", "jumping", "falling",
        "attacking", "currentFrame", "inFlight", "weaponX", "weaponY", "points", "kills",
        "cones",    "puffs",  "bullets", "fuel",   "grenades", "levelDone"};
    for (size_t i = 0; i < kNames.size(); ++i)
      if (kNames[i] == name) return std::stod(fields.at(i));
    ADD_FAILURE() << "no field " << name;
    return 0;
  }
  double foot() const { return Get("y") + 40; }  // the test player is 80 high
  // Unit i's "i:x:y:health:active", split.
  std::vector<std::string> Unit(int i) const {
    std::vector<std::string> parts;
    std::stringstream unit(fields.at(19 + size_t(i)));
    for (std::string part; std::getline(unit, part, ':');) parts.push_back(part);
    return parts;
  }
};

std::vector<Frame> ParseTrace(const std::string& out) {
  std::vector<Frame> frames;
  std::stringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    Frame frame;
    std::stringstream words(line);
    for (std::string word; words >> word;) frame.fields.push_back(word);
    frames.push_back(frame);
  }
  return frames;
}

// The player starts at (450, 448): 80 pixels high, his feet (y + 40) rest
// on the white ground line at y = 500, whose top row is 489.
class SimulateTest : public ::testing::Test {
 protected:
  SimulateTest() {
    WriteContent(folder.path());
    level.white = {{{0, 500}, {1600, 500}}};
    level.units = {{450, 448, 0}};
  }

  ToolRun Run(int frames, const std::string& input = "", const std::string& random = "",
              const std::string& factor = "2") {
    WriteLevel(folder / kLevelFile, level);
    Args args = {folder.path().string(), "--frames", std::to_string(frames), "--factor", factor};
    if (!input.empty()) {
      WriteBytes(folder / "input.txt", input);
      args.insert(args.end(), {"--input", (folder / "input.txt").string()});
    }
    if (!random.empty()) {
      WriteBytes(folder / "random.txt", random);
      args.insert(args.end(), {"--random", (folder / "random.txt").string()});
    }
    return RunTool(RunSimulate, args);
  }

  std::vector<Frame> Play(int frames, const std::string& input = "",
                          const std::string& random = "") {
    const ToolRun run = Run(frames, input, random);
    EXPECT_EQ(run.status, 0);
    std::vector<Frame> trace = ParseTrace(run.out);
    EXPECT_EQ(trace.size(), size_t(frames));
    // Missing lines read as frames without fields: the test then fails on
    // its first look at them instead of reading past the trace.
    trace.resize(size_t(frames));
    return trace;
  }

  static std::string Repeat(const std::string& line, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += line + "\n";
    return text;
  }

  TempFolder folder;
  TestLevel level;
};

TEST_F(SimulateTest, TraceLineHasEveryFieldAndExactReals) {
  level.units.push_back({1300, 458, 1});
  const std::vector<Frame> trace = Play(3);
  for (int n = 0; n < 3; ++n) {
    ASSERT_EQ(trace[n].fields.size(), 21u);
    EXPECT_EQ(trace[n].fields[0], std::to_string(n + 1));
  }
  // Standing at rest: nothing moves, the camera keeps him at (400, 300).
  EXPECT_EQ(trace[2].fields[1], "450");
  EXPECT_EQ(trace[2].fields[2], "448");
  EXPECT_EQ(trace[2].fields[3], "-50");
  EXPECT_EQ(trace[2].fields[4], "-148");
  EXPECT_EQ(trace[2].Get("falling"), 0);
  EXPECT_EQ(trace[2].Unit(1), (std::vector<std::string>{"1", "1300", "458", "30", "0"}));
}

TEST_F(SimulateTest, PlayerWalkingIntoAWallStandsStillAgainstIt) {
  // A wall at x = 400 covers columns 389 to 411; the right-side probe is
  // x + 20, so the player stops at 368, pushed back by f every frame.
  level.units = {{200, 448, 0}};
  level.white = {{{400, 100}, {400, 500}}, {{0, 500}, {1600, 500}}};
  const std::vector<Frame> trace = Play(300, Repeat("Right", 300), "");
  for (const Frame& frame : trace) EXPECT_EQ(frame.Get("cameraX"), 400 - frame.Get("x"));
  for (int n = 200; n < 300; ++n) {
    EXPECT_EQ(trace[n].Get("x"), 368) << "frame " << n + 1;
    EXPECT_EQ(trace[n].Get("y"), 448);
  }
}

TEST_F(SimulateTest, JumpThroughABluePlatformLandsOnIt) {
  level.blue = {{{300, 350}, {600, 350}}};
  // Jump held for the whole run: one full jump, since the physics takes
  // the jump state when the rise ends and it stays out while held.
  const std::vector<Frame> trace = Play(120, Repeat("Button7", 120));
  EXPECT_EQ(trace[0].Get("jumping"), 1);
  EXPECT_EQ(trace[0].Get("y"), 442);  // 3 x f up in the first frame
  double top = 1e9;
  for (const Frame& frame : trace) top = std::min(top, frame.Get("y"));
  // A full jump rises 3 x jumpMax = 180, a little more where the feet
  // pass through the blue line and the sunk test lifts them.
  EXPECT_LE(top, 448 - 180);
  EXPECT_GT(top, 448 - 200);
  const Frame& last = trace.back();
  EXPECT_EQ(last.Get("jumping"), 0);
  EXPECT_EQ(last.Get("falling"), 0);
  EXPECT_LT(last.foot(), 339);  // on top of the blue line (rows 339 to 361)
  EXPECT_GT(last.foot(), 330);
  EXPECT_EQ(trace[100].Get("y"), last.Get("y"));
}

TEST_F(SimulateTest, ThrowHitsAWalkerOnce) {
  level.units.push_back({490, 458, 1});  // a walker touching the player
  const std::vector<Frame> trace = Play(60, "Button3\n");
  // Launched and stopped by the hit in the first frame: 20 damage, no points
  // for a walker, and no second hit while the throw animation runs on.
  EXPECT_EQ(trace[0].Get("attacking"), 1);
  EXPECT_EQ(trace[0].Get("kills"), 1);
  EXPECT_EQ(trace[0].Get("inFlight"), 0);
  EXPECT_EQ(trace[0].Unit(1)[3], "10");
  bool throwEnded = false;
  for (const Frame& frame : trace) {
    EXPECT_EQ(frame.Get("kills"), 1);
    EXPECT_EQ(frame.Get("points"), 0);
    if (frame.Get("attacking") == 0) {
      throwEnded = true;
      EXPECT_EQ(frame.Get("currentFrame"), 42);
      break;
    }
  }
  EXPECT_TRUE(throwEnded);
}

TEST_F(SimulateTest, FallOutOfTheLevelRestartsAtTheStart) {
  // Ground only up to x = 600: walking right drops the player into the pit.
  // A flier hit first earns 10 points, which the restart takes away.
  level.white = {{{0, 500}, {600, 500}}};
  level.units.push_back({480, 420, 3});
  // Right is held long enough to walk off the edge, not to the level's end.
  const std::vector<Frame> trace = Play(500, "Button3\n" + Repeat("Right", 120));
  EXPECT_EQ(trace[0].Get("points"), 10);
  EXPECT_EQ(trace[0].Unit(1)[3], "10");
  size_t restart = 0;
  for (size_t n = 1; n < trace.size() && !restart; ++n)
    if (trace[n - 1].Get("y") > 1500 && trace[n].Get("y") < 1500) restart = n;
  ASSERT_NE(restart, 0u);
  const Frame& after = trace[restart];
  EXPECT_GT(trace[restart - 1].Get("y"), 2000 - 6.0 - 1);
  EXPECT_EQ(after.Get("x"), 450);
  EXPECT_EQ(after.Get("y"), 448);
  EXPECT_EQ(after.Get("cameraX"), -50);
  EXPECT_EQ(after.Get("cameraY"), -148);
  EXPECT_EQ(after.Get("points"), 0);
  EXPECT_EQ(after.Get("kills"), 1);
  const std::vector<std::string> flier = after.Unit(1);
  EXPECT_EQ(flier[1], "480");
  EXPECT_EQ(flier[2], "420");
  EXPECT_EQ(flier[3], "30");
}

TEST_F(SimulateTest, PassingTheEndFinishesTheLevelAndStopsPlay) {
  // Two screens: the level ends once x is greater than 2 x 800 - 500.
  level.units = {{1090, 448, 0}};
  const std::vector<Frame> trace = Play(10, Repeat("Right", 10));
  EXPECT_EQ(trace[4].Get("x"), 1100);
  EXPECT_EQ(trace[4].Get("levelDone"), 0);
  EXPECT_EQ(trace[5].Get("x"), 1102);
  EXPECT_EQ(trace[5].Get("levelDone"), 1);
  EXPECT_EQ(trace[9].Get("x"), 1102);
}

TEST_F(SimulateTest, FliersDrawTheirAmplitudeFromTheRandomFile) {
  level.units.push_back({800, 300, 3});  // active at once, does not collide
  // Amplitude 0: no sine motion at all.
  std::vector<Frame> trace = Play(100, "", "0\n0\n0\n0\n");
  for (const Frame& frame : trace) EXPECT_EQ(frame.Unit(1)[2], "300");
  // Amplitude 99 from the first draw on (after about 3 / 0.1 frames).
  trace = Play(100, "", "99\n99\n99\n99\n");
  EXPECT_EQ(trace[20].Unit(1)[2], "300");
  EXPECT_NE(trace[99].Unit(1)[2], "300");
}

TEST_F(SimulateTest, RunningOutOfRandomNumbersStopsWithAnError) {
  level.units.push_back({800, 300, 3});
  const ToolRun run = Run(100, "", "5\n");
  EXPECT_EQ(run.status, 1);
  // The lines of the frames before the second draw are all there.
  const size_t lines = ParseTrace(run.out).size();
  EXPECT_GT(lines, 40u);
  EXPECT_LT(lines, 99u);
}

TEST_F(SimulateTest, SameRunGivesTheSameTrace) {
  level.units.push_back({800, 300, 4});
  level.units.push_back({900, 458, 2});
  const std::string input = "Right\nRight Button7\n\nLeft Up\n" + Repeat("Right", 50);
  const ToolRun first = Run(200, input);
  const ToolRun second = Run(200, input);
  EXPECT_EQ(first.status, 0);
  EXPECT_EQ(first.out, second.out);
}

// A count of frames stands for that many lines alike; comments are no
// frames, an empty line still is one.
TEST_F(SimulateTest, CountedLinesAndCommentsPlayAsTheLinesTheyStandFor) {
  level.units.push_back({800, 300, 4});
  const std::string written = Repeat("Right", 30) + "Right Button7\nRight Button7\n\n" + Repeat("Left Up", 20);
  const std::string counted =
      "# walk, jump, wait, walk back\n30 Right\n2 Right Button7  # a short press\n\n  # nothing\n20 Left Up\n";
  const ToolRun plain = Run(80, written);
  EXPECT_EQ(plain.status, 0);
  EXPECT_EQ(Run(80, counted).out, plain.out);
}

TEST_F(SimulateTest, BadArgumentsAndFiles) {
  EXPECT_EQ(Run(5, "0 Right\n").status, 1);
  EXPECT_EQ(Run(5, "1000001 Right\n").status, 1);
  EXPECT_EQ(Run(5, "99999999999999999999 Right\n").status, 1);
  EXPECT_EQ(Run(5, Repeat("1000000 Right", 11)).status, 1);  // ten million frames at most
  EXPECT_EQ(Run(5, "Right Jump\n").status, 1);
  EXPECT_EQ(Run(5, "Button33\n").status, 1);
  EXPECT_EQ(Run(5, "", "100\n").status, 1);
  EXPECT_EQ(Run(5, "", "", "fast").status, 2);
  EXPECT_EQ(Run(5, "", "", "-1").status, 2);
  EXPECT_EQ(RunTool(RunSimulate, {folder.path().string(), "--frames", "3"}).status, 2);
  EXPECT_EQ(RunTool(RunSimulate, {"--frames", "3", "--factor", "2"}).status, 2);
  // A folder without a level: the level cannot be loaded.
  TempFolder empty;
  EXPECT_EQ(RunTool(RunSimulate, {empty.path().string(), "--frames", "3", "--factor", "2"}).status,
            1);
  const ToolRun help = RunTool(RunSimulate, {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: virko-tool simulate DIR"), std::string::npos);
}

}  // namespace
