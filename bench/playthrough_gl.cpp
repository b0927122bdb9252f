// The whole game's frame rate: the recorded demo play-through replayed as
// fast as frames can be drawn, each frame with its recorded frame time
// factor (so runs compare across machines), under an X server with Mesa's
// software renderer. Prints per screen the median, 95th and 99th
// percentile and the longest frame time, then every frame over 25 ms (the
// first frame and the frame that reads the level aside: those are reported
// on their own as the time from start to the first frame and the level
// load), and the peak memory.
//
//   cp -r build/content-demo /tmp/bench && cd /tmp/bench &&
//   xvfb-run -a -s "-screen 0 800x600x24" <build>/bench/bench_playthrough_gl [RECORDING]
//
// The demo play-through needs the demo level's folder (build/content-demo);
// the default level's completion, tests/e2e/pine-isles.rec, is replayed the
// same way in a copy of build/content.
//
// bench/displays.sh runs it full screen at every common display size.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "app/GameState.h"
#include "tools/replay/Recording.h"
#include "tools/replay/Session.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Resident now (statm's second field, in pages).
double ResidentMb() {
  long pages = 0, resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double PeakMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

// Times every frame from the end of the one before (events, audio and the
// frame handler with its swap), filed under the screen it started on.
class cTimedSession : public cSession {
 public:
  cTimedSession() : cSession({"", nullptr, false, true, {}}) {}

  void Start() { last_ = start_ = Clock::now(); screen_ = ScreenName(); }
  void FrameRun() override {
    // The first frame and the one that reads the level are reported on
    // their own, not among their screen's frames.
    const Clock::time_point now = Clock::now();
    if (FramesRun() == 0) {
      firstFrameMs = Ms(now - start_);
      firstFramePeakMb = PeakMb();
    } else if (screen_ == std::string("loading") && ScreenName() != std::string("loading")) {
      levelLoadMs = Ms(now - last_);
      levelLoadPeakMb = PeakMb();
    } else {
      const double ms = Ms(now - last_);
      frameMs[screen_].push_back(ms);
      if (ms > kSlowFrameMs) slowFrames.push_back({FramesRun(), screen_, ms});
    }
    cSession::FrameRun();
    double& peak = residentMb[screen_];
    peak = std::max(peak, ResidentMb());
    screen_ = ScreenName();
    last_ = Clock::now();  // the bookkeeping above is not the game's
  }

  std::map<std::string, std::vector<double>> frameMs;
  std::map<std::string, double> residentMb;  // the most after a frame of each screen
  // Frames a player would see as a stall (the line below which the
  // once-a-second measure keeps its frame factor), by frame number.
  static constexpr double kSlowFrameMs = 25;
  struct tSlowFrame {
    int64_t frame;
    const char* screen;
    double ms;
  };
  std::vector<tSlowFrame> slowFrames;
  double firstFrameMs = 0, levelLoadMs = 0;
  double firstFramePeakMb = 0, levelLoadPeakMb = 0;

 private:
  Clock::time_point start_, last_;
  const char* screen_ = "";
};

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  const size_t i = std::min(v.size() - 1, size_t(p / 100 * double(v.size())));
  return v[i];
}

}  // namespace

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : VIRKO_PLAYTHROUGH;
  std::vector<tRecordItem> items;
  std::string error;
  if (!ReadRecording(path, items, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  cTimedSession session;
  session.Start();
  size_t next = 0;
  for (; next < items.size() && items[next].kind == tRecordItem::Input; ++next)
    session.Execute(items[next]);
  if (!session.Open()) return 1;
  for (; next < items.size() && !session.Ended(); ++next) session.Execute(items[next]);
  const bool ended = session.Ended();
  session.Close();
  if (!ended) {
    std::fprintf(stderr, "the recording ended before the game: wrong content folder?\n");
    return 1;
  }

  std::printf("%-12s %7s %9s %9s %9s %9s %11s\n", "screen", "frames", "median", "p95", "p99",
              "max", "resident");
  for (const auto& [screen, ms] : session.frameMs)
    std::printf("%-12s %7zu %6.2f ms %6.2f ms %6.2f ms %6.2f ms %7.1f MB\n", screen.c_str(),
                ms.size(), Percentile(ms, 50), Percentile(ms, 95), Percentile(ms, 99),
                *std::max_element(ms.begin(), ms.end()), session.residentMb[screen]);
  std::printf("frames over %.0f ms: %zu\n", cTimedSession::kSlowFrameMs, session.slowFrames.size());
  for (const auto& slow : session.slowFrames)
    std::printf("  frame %lld (%s): %.1f ms\n", (long long)slow.frame, slow.screen, slow.ms);
  std::printf("level load (the frame that reads the level): %.1f ms\n", session.levelLoadMs);
  std::printf("start to first frame: %.1f ms\n", session.firstFrameMs);
  std::printf("peak memory: %.1f MB (%.1f MB at the first frame, %.1f MB once the level is in)\n",
              PeakMb(), session.firstFramePeakMb, session.levelLoadPeakMb);
  return 0;
}
