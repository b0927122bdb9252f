// Frame time of a typical play frame, drawn uncapped with the game's drawing
// routines on the real OpenGL back end. Run under
//   xvfb-run -a -s "-screen 0 800x600x24" build/bench/bench_play_frame_gl [frames]
// It prints the median, 95th and 99th percentile frame time and the frames
// per second. With "--dump out.ppm" it writes the picture of one frame
// instead, so that a change meant to be faster can be shown to draw the same.
//
// The frame follows the frame handler's play block: the background and its
// drifting copy, the level's screens covering the view (a level 8 x 2 screens
// large, the camera between four of them), the cloud band, 40 pickups, 20
// blocks, the player and 30 units of 128 x 128, the on-screen display with
// its full-screen mask and digits, and the frame-rate text. Every picture
// lies on screen except where the level puts it elsewhere (the screens and
// the cloud band).
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/GameState.h"
#include "app/Startup.h"
#include "data/LevelLoader.h"
#include "game/Anim.h"
#include "gfx/Draw.h"
#include "gfx/Hud.h"
#include "gfx/Render.h"
#include "gfx/Texture.h"
#include "platform/Window.h"

namespace {

using Clock = std::chrono::steady_clock;

// Pictures made here instead of read from the content folder, so that the
// benchmark depends on nothing but the code. Each has the kind of alpha its
// counterpart in the game has.
struct Picture {
  int width, height;
  std::vector<uint8_t> rgba;  // bottom row first
  uint8_t* At(int x, int y) { return &rgba[(size_t(y) * width + x) * 4]; }
};

Picture MakePicture(int width, int height, auto colourAt) {
  Picture p{width, height, std::vector<uint8_t>(size_t(width) * height * 4)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) colourAt(x, y, p.At(x, y));
  return p;
}

uint8_t Wave(int a, int b, int seed) {
  return uint8_t(128 + 100 * std::sin(a * 0.05 + seed) * std::cos(b * 0.07 + seed));
}

TextureName Upload(const Picture& p, bool jpg = false) {
  return jpg ? RenderUploadTexture(p.width, p.height, p.rgba.data(), true)
             : BuildTexture(uint16_t(p.width), uint16_t(p.height), p.rgba.data());
}

// An opaque picture, as every JPG is.
TextureName OpaquePicture(int width, int height, int seed, bool jpg) {
  return Upload(MakePicture(width, height,
                            [&](int x, int y, uint8_t* px) {
                              px[0] = Wave(x, y, seed);
                              px[1] = Wave(y, x, seed + 1);
                              px[2] = Wave(x + y, x, seed + 2);
                              px[3] = 255;
                            }),
                jpg);
}

// A disc on a transparent ground, with a soft edge (items, icons, knobs).
TextureName DiscPicture(int size, int seed) {
  return Upload(MakePicture(size, size, [&](int x, int y, uint8_t* px) {
    const double r = std::hypot(x - size / 2.0, y - size / 2.0) / (size / 2.0);
    px[0] = Wave(x, y, seed);
    px[1] = Wave(y, x, seed);
    px[2] = 200;
    px[3] = r < 0.8 ? 255 : r < 1 ? uint8_t(255 * (1 - r) / 0.2) : 0;
  }));
}

// A level screen: opaque ground below a transparent sky.
TextureName ScreenPicture(int seed) {
  return Upload(MakePicture(800, 600, [&](int x, int y, uint8_t* px) {
    const int ground = 260 + int(60 * std::sin(x * 0.01 + seed));
    px[0] = Wave(x, y, seed);
    px[1] = Wave(y, x, seed);
    px[2] = 90;
    px[3] = y < ground ? 255 : 0;
  }));
}

// The display's mask: dark edges over a transparent middle.
TextureName MaskPicture() {
  return Upload(MakePicture(800, 600, [](int x, int y, uint8_t* px) {
    const int edge = std::min(std::min(x, 799 - x), std::min(y, 599 - y));
    px[0] = px[1] = px[2] = 10;
    px[3] = edge < 40 ? uint8_t(200 - edge * 5) : 0;
  }));
}

TextureName CloudPicture() {
  return Upload(MakePicture(1024, 256, [](int x, int y, uint8_t* px) {
    px[0] = px[1] = px[2] = 240;
    px[3] = uint8_t(std::clamp(y, 0, 255) * Wave(x, y, 3) / 255);
  }));
}

// A 16 x 16 atlas of glyph-like marks (the font), or a strip of ten cells
// (the digits).
TextureName GlyphPicture(int width, int height, int cell) {
  return Upload(MakePicture(width, height, [&](int x, int y, uint8_t* px) {
    const int cx = x % cell, cy = y % cell;
    const bool ink = (cx > cell / 5 && cx < cell / 3) || (cy > cell / 3 && cy < cell / 2);
    px[0] = px[1] = px[2] = 255;
    px[3] = ink ? 255 : 0;
  }));
}

// A sprite sheet of square frames written as a TGA file, loaded the way the
// level loader does.
std::string WriteSpriteSheet(const std::filesystem::path& folder, int frameSide, int frames) {
  const int height = frameSide * frames;
  std::vector<uint8_t> file(18 + size_t(frameSide) * height * 4);
  file[2] = 2;
  file[12] = uint8_t(frameSide);
  file[13] = uint8_t(frameSide >> 8);
  file[14] = uint8_t(height);
  file[15] = uint8_t(height >> 8);
  file[16] = 32;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < frameSide; ++x) {
      uint8_t* px = &file[18 + (size_t(y) * frameSide + x) * 4];
      const double dx = (x - frameSide / 2.0) / frameSide, dy = (y % frameSide) / double(frameSide);
      const bool body = std::abs(dx) < 0.2 + 0.1 * std::sin(dy * 6 + y / frameSide) && dy > 0.1 &&
                        dy < 0.9;
      px[0] = Wave(x, y, 5);
      px[1] = Wave(y, x, 6);
      px[2] = 180;
      px[3] = body ? 255 : 0;
    }
  }
  const std::filesystem::path path = folder / "sheet.tga";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                              std::streamsize(file.size()));
  return path.string();
}

struct Scene {
  TextureName screens[17]{};
  TextureName items[7]{};
  TextureName stone = 0;
  cAnim sprites[31];
  struct Thing {
    double x, y;
  };
  std::vector<Thing> pickups, blocks, units;
};

void BuildScene(Scene& s, const std::filesystem::path& folder) {
  backdropTex = OpaquePicture(800, 600, 1, true);
  cloudTex = CloudPicture();
  fontTex = GlyphPicture(256, 256, 16);
  for (int v = 1; v <= 16; ++v) s.screens[v] = ScreenPicture(v);
  for (TextureName& item : s.items) item = DiscPicture(64, int(&item - s.items));
  s.stone = OpaquePicture(128, 64, 9, false);
  hudTextures.mask = MaskPicture();
  hudTextures.cone = DiscPicture(64, 11);
  hudTextures.colon = DiscPicture(16, 12);
  hudTextures.fontx2 = GlyphPicture(64, 640, 64);

  screenTex[0] = 0;
  for (int v = 1; v <= 16; ++v) screenTex[v] = s.screens[v];
  game.screensX = 8;
  game.screensY = 2;
  for (int c = 0; c < 8; ++c)
    for (int r = 0; r < 2; ++r) game.screenGrid[c][r] = uint8_t(1 + c * 2 + r);
  game.currentLevel = 0;
  cameraX = -1234;
  cameraY = -590;

  const std::string sheet = WriteSpriteSheet(folder, 128, 12);
  for (int i = 0; i <= 30; ++i) {
    cAnim& sprite = s.sprites[i];
    sprite.LoadSheet(sheet);
    sprite.drawWidth = sprite.drawHeight = 128;
    sprite.looping = 1;
    sprite.mirrored = uint8_t(i % 2);
    sprite.SetAnimRange(tAnimSeq{1 + i % 4, 9 + i % 4, 0.02f});
  }
  // On screen, spread over the view (world positions).
  for (int i = 0; i < 40; ++i)
    s.pickups.push_back({1234 + 20 + (i % 10) * 75.0, 590 + 60 + (i / 10) * 120.0});
  for (int i = 0; i < 20; ++i)
    s.blocks.push_back({1234 + 10 + (i % 10) * 78.0, 590 + 380 + (i / 10) * 60.0});
  for (int i = 0; i < 30; ++i)
    s.units.push_back({1234 + 70 + (i % 10) * 70.0, 590 + 100 + (i / 10) * 160.0});
  stats.cones = 17;
  stats.points = 12345;
  game.playSeconds = 754;
  fpsShown = 100;
  frameFactor = 2;
}

// The drawing of one play frame in the frame handler's order, up to the swap.
void DrawPlayFrame(Scene& s) {
  RenderClear();
  RenderLoadIdentity();
  ApplyLight(0);
  RenderSetProjection();
  RenderSetCamera(cameraX, cameraY);

  DrawBackground(2);
  for (int c = 0; c < game.screensX; ++c)
    for (int r = 0; r < game.screensY; ++r)
      DrawQuad(screenTex[game.screenGrid[c][r]], c * 800 + cameraX, r * 600 + cameraY, -0.7, 800,
               600, 1);
  DrawOverlay(cloudTex, cameraX, 1150 + cameraY, -0.6, game.screensX * 800, 1200, 1);
  for (size_t i = 0; i < s.pickups.size(); ++i)
    DrawQuad(s.items[i % 7], s.pickups[i].x + cameraX, s.pickups[i].y + cameraY, -0.5, 50, 50, 1);
  for (const Scene::Thing& block : s.blocks)
    DrawOverlay(s.stone, block.x + cameraX, block.y + cameraY, -0.5, 70, 35, 1);
  s.sprites[0].Draw(400, 300, -0.2);
  for (size_t i = 0; i < s.units.size(); ++i)
    s.sprites[i + 1].Draw(s.units[i].x + cameraX, s.units[i].y + cameraY, -0.1);
  DrawHud();
  DrawText(16, "FPS: " + std::to_string(fpsShown), fontTex, 10, 10);
}

// The picture of the frame drawn after a fixed number of frames, as a binary
// PPM: two builds that draw the same picture write the same file.
void DumpFrame(Scene& s, const char* path) {
  for (int i = 0; i < 40; ++i) DrawPlayFrame(s);
  std::vector<uint8_t> rgba(800 * 600 * 4);
  RenderReadScene(0, 0, 800, 600, rgba.data());
  std::ofstream out(path, std::ios::binary);
  out << "P6\n800 600\n255\n";
  for (size_t i = 0; i < rgba.size(); i += 4) out.write(reinterpret_cast<const char*>(&rgba[i]), 3);
}

// Processor time of the whole process, the renderer's threads included: a
// figure that other programs on the machine disturb less than the wall clock.
// The calling thread's alone is what the renderer's threads wait for.
double ProcessorMs(clockid_t clock = CLOCK_PROCESS_CPUTIME_ID) {
  timespec t;
  clock_gettime(clock, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double Percentile(std::vector<double> sorted, double p) {
  const size_t i = std::min(sorted.size() - 1, size_t(p / 100 * double(sorted.size())));
  return sorted[i];
}

}  // namespace

int main(int argc, char** argv) {
  const bool dump = argc > 2 && std::string(argv[1]) == "--dump";
  const int frames = argc > 1 && !dump ? std::max(10, std::atoi(argv[1])) : 1000;
  std::string error;
  if (!CreateGameWindow(error)) {
    std::fprintf(stderr, "bench_play_frame_gl: %s\n", error.c_str());
    return 1;
  }
  SetupContext(0, 0, 800, 600, 32, 100, 1);
  game.lightLevel = 50;
  SetupLights();

  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("virko_bench_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  static Scene scene;
  BuildScene(scene, folder);
  std::filesystem::remove_all(folder);

  if (dump) {
    DumpFrame(scene, argv[2]);
    DestroyGameWindow();
    return 0;
  }
  for (int i = 0; i < 100; ++i) {  // warm-up
    DrawPlayFrame(scene);
    SwapGameWindow();
  }
  std::vector<double> ms;
  ms.reserve(size_t(frames));
  const Clock::time_point start = Clock::now();
  const double startProcessor = ProcessorMs();
  const double startMainThread = ProcessorMs(CLOCK_THREAD_CPUTIME_ID);
  for (int i = 0; i < frames; ++i) {
    const Clock::time_point t0 = Clock::now();
    DrawPlayFrame(scene);
    SwapGameWindow();
    glFinish();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const double processorPerFrame = (ProcessorMs() - startProcessor) / frames;
  const double mainThreadPerFrame = (ProcessorMs(CLOCK_THREAD_CPUTIME_ID) - startMainThread) / frames;
  std::sort(ms.begin(), ms.end());
  std::printf("play frame, %d frames: median %.2f ms, p95 %.2f ms, p99 %.2f ms, %.1f fps\n",
              frames, Percentile(ms, 50), Percentile(ms, 95), Percentile(ms, 99),
              frames / seconds);
  std::printf("processor time per frame: %.2f ms in all threads, %.2f ms in this one; %s\n",
              processorPerFrame, mainThreadPerFrame,
              reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
  DestroyGameWindow();
  return 0;
}
