// What playing a video adds to a 10 ms frame: an 800 x 600 WMV2 video at
// 25 pictures a second, decoded, converted, uploaded and drawn. Run under
// xvfb-run -a -s "-screen 0 800x600x24".
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "gfx/Render.h"
#include "platform/MediaPlayer.h"
#include "platform/Window.h"

namespace {

int64_t fakeNow = 0;
int64_t FakeClock() { return fakeNow; }

std::string MakeVideo() {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("virko-bench-" + std::to_string(getpid()) + ".wmv");
  const std::string command =
      "ffmpeg -v error -y -f lavfi -i testsrc=size=800x600:rate=25:duration=5 "
      "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=5 "
      "-c:v wmv2 -b:v 2M -c:a wmav2 -b:a 128k -ac 2 -f asf '" + file.string() + "'";
  return std::system(command.c_str()) == 0 ? file.string() : std::string();
}

void BM_VideoFrame(benchmark::State& state) {
  const std::string video = MakeVideo();
  std::string error;
  if (video.empty() || !CreateGameWindow(error)) {
    state.SkipWithError("needs the ffmpeg command and a display");
    return;
  }
  RenderSetupContext(0, 0, 800, 600);
  SetMediaClock(FakeClock);
  panelVisible = true;
  cMediaPlayer player;
  player.fileName = video;
  for (auto _ : state) {
    if (player.Position() >= player.Length()) {
      state.PauseTiming();
      player.Open();
      player.Play();
      state.ResumeTiming();
    }
    fakeNow += 10;
    player.Frame();
    glFinish();
  }
  state.counters["pictures"] = double(player.FramesDecoded());
  player.Stop();
  SetMediaClock(nullptr);
  DestroyGameWindow();
  std::filesystem::remove(video);
}
BENCHMARK(BM_VideoFrame)->Unit(benchmark::kMillisecond)->Iterations(1000);

}  // namespace

BENCHMARK_MAIN();
