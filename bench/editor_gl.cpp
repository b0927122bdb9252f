// The level editor's figures on a level (the Pine Isles by default): opening
// its text, saving it (text and compiled file), undo and redo steps, and the
// editor's frame with the whole level in view. Run under
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/bench_editor_gl
//     build/content tools/levels/pine-isles.level [frames]
// It prints the median and the worst (open, save, steps) or the median and
// 99th percentile (frames) in milliseconds. Each frame is finished
// (glFinish) before its time is taken; the frames' processor time is
// printed too, as the wall clock on a busy machine also counts the others.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/GameFolder.h"
#include "app/Startup.h"
#include "gfx/Render.h"
#include "platform/MessageBox.h"
#include "tools/editor/EditorUi.h"
#include "tools/editor/EditorWindow.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, size_t(p * double(values.size())))];
}

double ProcessCpuMilliseconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

void Report(const char* what, const std::vector<double>& times) {
  std::printf("%-34s median %8.3f ms  p99 %8.3f ms  worst %8.3f ms  (%zu runs)\n", what, Percentile(times, 0.5),
              Percentile(times, 0.99), Percentile(times, 1.0), times.size());
}

std::vector<double> Time(int runs, const std::function<void()>& run) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const Clock::time_point start = Clock::now();
    run();
    times.push_back(Milliseconds(Clock::now() - start));
  }
  return times;
}

void FilesAndSteps(const std::string& levelPath) {
  std::string error;
  std::optional<EditDocument> document;
  Report("open (text)", Time(20, [&] { document = OpenLevel(levelPath, error); }));
  if (!document) {
    std::fprintf(stderr, "bench_editor_gl: %s\n", error.c_str());
    std::exit(1);
  }
  const fs::path folder = fs::temp_directory_path() / ("virko-edit-bench-" + std::to_string(getpid()));
  fs::create_directories(folder);
  document->textPath = (folder / "level.level").string();
  document->binaryPath.clear();
  document->textOnDisk.reset();
  std::string message;
  int64_t nudge = 1;
  Report("save (text and compiled file)", Time(20, [&] {
           document->Do(MoveItems(document->level, {{ItemKind::kUnit, 0, 0}}, nudge = -nudge, 0));
           if (SaveLevel(*document, true, message) == SaveResult::kFailed) std::fprintf(stderr, "%s\n", message.c_str());
         }));
  fs::remove_all(folder);

  const ItemRef items[] = {{ItemKind::kUnit, 0, 3}, {ItemKind::kPickup, 0, 10}, {ItemKind::kPoint, 0, 2, 1},
                           {ItemKind::kBlock, 0, 1}};
  int step = 0;
  Report("edit step (move one item)", Time(300, [&] {
           const ItemRef& item = items[step++ % 4];
           document->Do(MoveItems(document->level, {item}, 10, 0));
         }));
  Report("undo step", Time(300, [&] { document->Undo(); }));
  Report("redo step", Time(300, [&] { document->Redo(); }));
  Report("live check (tool's check + marks)", Time(20, [&] {
           CheckForEditor(document->level);
           HiddenDangers(document->level);
         }));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: bench_editor_gl CONTENT_DIR LEVEL_TEXT [frames]\n");
    return 2;
  }
  const std::string levelPath = fs::absolute(argv[2]).string();
  const int frames = argc > 3 ? std::max(10, std::atoi(argv[3])) : 300;
  FilesAndSteps(levelPath);

  std::string error;
  const std::optional<tGameFolder> folder = ChooseGameFolder(std::string(argv[1]), "", error);
  if (!folder || !EnterGameFolder(*folder, error)) {
    std::fprintf(stderr, "bench_editor_gl: %s\n", error.c_str());
    return 1;
  }
  SetMessageBoxHandler([](const std::string&, const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); });
  ReadConfigurationFiles();
  SetUpPickupKinds();
  EditorWindow window;
  if (!window.Open(1920, 1080, error)) {
    std::fprintf(stderr, "bench_editor_gl: %s\n", error.c_str());
    return 1;
  }
  std::optional<EditDocument> document = OpenLevel(levelPath, error);
  Editor editor(EditorSetup{fs::current_path().string(), "", "", "", fs::current_path().string()},
                std::move(*document), {});
  Report("pictures loaded (once a run)", Time(1, [&] { editor.LoadPictures(); }));
  std::printf("window %d x %d\n", window.Width(), window.Height());
  bool closeAsked = false;
  // The first frames fit the level into the view and run the live check.
  for (int i = 0; i < 5; ++i) {
    window.Events(false, 0, closeAsked);
    window.Frame(editor);
  }
  RenderFinish();
  const double cpuBefore = ProcessCpuMilliseconds();
  Report("frame, whole level in view", Time(frames, [&] {
           window.Events(false, 0, closeAsked);
           window.Frame(editor);
           RenderFinish();
         }));
  // On a shared machine the wall clock counts the others' work too; the
  // processor time of all the process's threads (the renderer's included)
  // does not.
  std::printf("frame, processor time of all threads: %.3f ms a frame\n",
              (ProcessCpuMilliseconds() - cpuBefore) / frames);
  editor.Close();
  return 0;
}
