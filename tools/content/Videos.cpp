// The intro and credits videos (ASF with WMV2 pictures and WMA sound, 800 x
// 600, 25 frames a second), composed from the content already written: the
// demo level's screen pictures, backdrop, clouds, items, stones and sprites,
// and the game's font. Whatever picture is missing is drawn plainly instead
// (the collision map for a screen, a gradient for the sky).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/GameState.h"
#include "data/AnimTables.h"
#include "data/LevelLoader.h"
#include "data/UnitStats.h"
#include "game/CollisionMap.h"
#include "game/Gameplay.h"
#include "game/Units.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "tools/content/Content.h"
#include "tools/content/MediaWriter.h"
#include "tools/content/Music.h"
#include "tools/content/VideoPictures.h"

namespace fs = std::filesystem;

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kFramesPerSecond = 25;
// The pictures are flat colours and soft gradients: 8 still shows them
// clean, at under half the size of 3, and the videos are most of the package.
constexpr int kVideoQuantiser = 8;
constexpr int kSoundBitRate = 128000;
constexpr int kPickupSize = 50;
constexpr int kCloudTop = 1150;  // where the game draws the cloud band
constexpr int kCloudHeight = 1200;

constexpr Colour kWhite{255, 255, 255};
constexpr Colour kNoTint{1, 1, 1};

double Smoothstep(double t) {
  t = std::clamp(t, 0.0, 1.0);
  return t * t * (3.0 - 2.0 * t);
}

// Rises from 0 to 1 between a and b, falls back to 0 between c and d.
float Window(double t, double a, double b, double c, double d) {
  return float(std::min(Smoothstep((t - a) / (b - a)), 1.0 - Smoothstep((t - c) / (d - c))));
}

std::optional<Picture> ReadGamePicture(const std::string& gamePath) {
  const std::optional<std::string> path = ResolvePath(gamePath);
  return path ? ReadPicture(*path) : std::nullopt;
}

// The walking frames of a sprite sheet, cut as the game cuts them: frames
// as wide as the sheet, stacked from the top.
struct Sprite {
  Picture sheet;
  int frameHeight = 0;
  int drawWidth = 0;
  int drawHeight = 0;
  int firstFrame = 1;
  int frameCount = 1;

  void Draw(Frame& frame, double centreX, double centreY, double seconds, bool mirrored) const {
    const int step = int(seconds * 12.0) % frameCount;
    const int top = (firstFrame - 1 + step) * frameHeight;
    if (top < 0 || top + frameHeight > sheet.height) return;
    frame.DrawScaled(sheet, 0, top, sheet.width, frameHeight, centreX - drawWidth / 2.0, centreY - drawHeight / 2.0,
                     drawWidth, drawHeight, kNoTint, 1.0f, mirrored);
  }
};

std::optional<Sprite> LoadSprite(const tAnimData& anim) {
  if (anim.fileName.empty() || anim.width <= 0 || anim.height <= 0) return std::nullopt;
  std::optional<Picture> sheet = ReadGamePicture(anim.fileName);
  if (!sheet || sheet->width == 0 || sheet->height < sheet->width) return std::nullopt;
  Sprite sprite;
  sprite.frameHeight = sheet->height / (sheet->height / sheet->width);
  sprite.sheet = std::move(*sheet);
  sprite.drawWidth = anim.width;
  sprite.drawHeight = anim.height;
  sprite.firstFrame = std::max(1, anim.runA.start);
  sprite.frameCount = std::max(1, anim.runA.stop - anim.runA.start);
  return sprite;
}

// Text in the game's font: its atlas holds 16 x 16 cells in byte order. The
// game sets every glyph in a full cell; the videos set them by their ink,
// which reads better at large sizes.
class Font {
 public:
  bool Load() {
    atlas_ = ReadGamePicture("HTX\\lvFont.tga");
    if (!atlas_ || atlas_->width < 16 || atlas_->height < atlas_->width) return false;
    cell_ = atlas_->width / 16;
    for (int c = 0; c < 256; ++c) MeasureInk(c);
    return true;
  }

  void DrawCentred(Frame& frame, const std::string& text, double centreX, double y, int size, Colour colour,
                   float alpha) const {
    if (!atlas_ || alpha <= 0.0f) return;
    const double scale = double(size) / cell_;
    double x = centreX - Width(text, size) / 2.0;
    for (unsigned char c : text) {
      const Ink& ink = ink_[c];
      if (ink.right >= ink.left) {
        frame.DrawScaled(*atlas_, (c % 16) * cell_ + ink.left, (c / 16) * cell_, ink.right - ink.left + 1, cell_,
                         x, y, (ink.right - ink.left + 1) * scale, size,
                         {colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f}, alpha);
      }
      x += Advance(c, size);
    }
  }

 private:
  struct Ink {
    int left = 0;
    int right = -1;  // none: a blank glyph
  };

  void MeasureInk(int c) {
    Ink& ink = ink_[c];
    for (int x = 0; x < cell_; ++x) {
      for (int y = 0; y < cell_; ++y) {
        const size_t i = (size_t((c / 16) * cell_ + y) * atlas_->width + (c % 16) * cell_ + x) * 4 + 3;
        if (atlas_->rgba[i] > 24) {
          if (ink.right < ink.left) ink.left = x;
          ink.right = x;
          break;
        }
      }
    }
  }

  double Advance(unsigned char c, int size) const {
    const Ink& ink = ink_[c];
    if (ink.right < ink.left) return 0.3 * size;
    return (ink.right - ink.left + 1) * double(size) / cell_ + 0.08 * size;
  }

  double Width(const std::string& text, int size) const {
    double width = 0;
    for (unsigned char c : text) width += Advance(c, size);
    return width;
  }

  std::optional<Picture> atlas_;
  int cell_ = 0;
  Ink ink_[256];
};

// The demo level as the game loaded it, with its pictures.
class LevelScene {
 public:
  bool Load() {
    if (FileExists("levels.cfg")) LoadLevelAndAnimTables();
    if (FileExists("UStats.cfg")) LoadUnitStats();
    if (game.levelFile[0].empty()) game.levelFile[0] = "DATA\\levels\\demo.vrk";
    if (game.levelDir[0].empty()) game.levelDir[0] = "DATA\\levels\\demo";
    if (!LoadLevelState(0)) return false;
    width_ = game.screensX * kScreenWidth;
    height_ = game.screensY * kScreenHeight;
    for (int slot = 1; slot < 100; ++slot)
      screens_[slot] = ReadGamePicture(game.levelDir[0] + "\\" + std::to_string(slot - 1) + ".tga");
    backdrop_ = ReadGamePicture("DATA\\levels\\d01.JPG");
    clouds_ = ReadGamePicture("DATA\\levels\\LielaisMakonis.tga");
    stone_ = ReadGamePicture("DATA\\Objects\\mstone.tga");
    for (int kind = 0; kind < kPickupKinds; ++kind)
      items_[kind] = ReadGamePicture("DATA\\Items\\" + std::to_string(kind) + ".tga");
    player_ = LoadSprite(playerAnims[0]);
    for (int type = 0; type < kUnitTypes; ++type) unitSprites_[type] = LoadSprite(unitTypes[type].anim);
    MeasureRoute();
    return true;
  }

  int Width() const { return width_; }
  int Height() const { return height_; }
  double StartX() const { return game.unitStart[0].x; }

  // Where a walker's centre is over column x: on the first surface from
  // the top, or (over a gap) where it was before.
  double RouteCentre(double x) const {
    const int column = std::clamp(int(x), 0, width_ - 1);
    return route_[size_t(column)];
  }

  // The level with its world point (cameraX, cameraY) at the frame's centre.
  void Draw(Frame& frame, double cameraX, double cameraY, double seconds, bool withPlayer) const {
    const int left = int(std::lround(cameraX)) - kWidth / 2, top = int(std::lround(cameraY)) - kHeight / 2;
    if (backdrop_) {
      DrawFull(frame, *backdrop_, 0, 0);
    } else {
      frame.VerticalGradient({90, 150, 215}, {200, 225, 245});
    }
    for (int c = 0; c < game.screensX; ++c) {
      for (int r = 0; r < game.screensY; ++r) {
        const int slot = game.screenGrid[c][r];
        const int x = c * kScreenWidth - left, y = r * kScreenHeight - top;
        if (x >= kWidth || y >= kHeight || x + kScreenWidth <= 0 || y + kScreenHeight <= 0) continue;
        if (slot > 0 && screens_[slot]) {
          DrawFull(frame, *screens_[slot], x, y);
        } else if (slot > 0) {
          DrawMapPlainly(frame, left, top, x, y);
        }
      }
    }
    if (clouds_) {
      frame.DrawScaled(*clouds_, 0, 0, clouds_->width, clouds_->height, -left, kCloudTop - top, width_,
                       kCloudHeight);
    }
    DrawPickups(frame, left, top, seconds);
    DrawBlocks(frame, left, top);
    for (int i = 1; i <= game.unitCount; ++i) {
      const std::optional<Sprite>& sprite = unitSprites_[units[i].unitType];
      if (sprite) sprite->Draw(frame, game.unitStart[i].x - left, game.unitStart[i].y - top, seconds + i * 0.3, false);
    }
    if (withPlayer && player_) player_->Draw(frame, kWidth / 2.0, kHeight / 2.0, seconds, false);
  }

 private:
  // A screen-sized picture at a screen's place.
  static void DrawFull(Frame& frame, const Picture& picture, int x, int y) {
    if (picture.width == kScreenWidth && picture.height == kScreenHeight) {
      frame.Draw(picture, x, y);
    } else {
      frame.DrawScaled(picture, 0, 0, picture.width, picture.height, x, y, kScreenWidth, kScreenHeight);
    }
  }

  // A screen without its picture: the collision map's solid and platform
  // pixels over the sky.
  void DrawMapPlainly(Frame& frame, int left, int top, int screenX, int screenY) const {
    for (int y = std::max(0, screenY); y < std::min(kHeight, screenY + kScreenHeight); ++y) {
      for (int x = std::max(0, screenX); x < std::min(kWidth, screenX + kScreenWidth); ++x) {
        const PixelClass pixel = CollisionMap.Get(x + left, y + top);
        if (pixel == PixelClass::solid) frame.FillRect(x, y, 1, 1, {225, 220, 205}, 1.0f);
        if (pixel == PixelClass::platform) frame.FillRect(x, y, 1, 1, {80, 130, 255}, 1.0f);
      }
    }
  }

  void DrawPickups(Frame& frame, int left, int top, double seconds) const {
    for (int kind = 0; kind < kPickupKinds; ++kind) {
      if (!items_[kind]) continue;
      const PickupKind& row = pickupKinds[kind];
      for (int j = 0; j <= row.lastItem && j < 100; ++j) {
        const double bob = 3.0 * std::sin(seconds * 3.0 + j);
        frame.DrawScaled(*items_[kind], 0, 0, items_[kind]->width, items_[kind]->height, row.items[j].x - left,
                         row.items[j].y - top + bob, kPickupSize, kPickupSize);
      }
    }
  }

  // Every stone of the level, as if the path were walked.
  void DrawBlocks(Frame& frame, int left, int top) const {
    if (!stone_) return;
    for (int i = 0; i <= game.blockCount; ++i) {
      const tBlock& block = game.blocks[i];
      frame.DrawScaled(*stone_, 0, 0, stone_->width, stone_->height, block.x - left, block.y - top, 70, 35);
    }
  }

  void MeasureRoute() {
    const double halfHeight = units[0].height ? units[0].height / 2.0 : (player_ ? player_->drawHeight / 2.0 : 50.0);
    route_.assign(size_t(width_), height_ / 2.0);
    double last = game.unitStart[0].y;
    for (int x = 0; x < width_; ++x) {
      for (int y = 0; y < height_; ++y) {
        if (CollisionMap.Supports(x, y)) {
          last = y - 1 - halfHeight;
          break;
        }
      }
      route_[size_t(x)] = last;
    }
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<double> route_;
  std::optional<Picture> screens_[100];
  std::optional<Picture> backdrop_, clouds_, stone_, items_[kPickupKinds];
  std::optional<Sprite> player_;
  std::optional<Sprite> unitSprites_[kUnitTypes];
};

// Writes frames of a video from a function that draws frame n.
template <typename DrawFrame>
bool WriteVideo(const fs::path& path, const AudioBuffer& music, DrawFrame drawFrame) {
  MediaWriter writer;
  const int frames = int(std::lround(double(music.Frames()) / kSampleRate * kFramesPerSecond));
  bool ok = writer.Open(path.string(), "asf") &&
            writer.AddVideo(AV_CODEC_ID_WMV2, kWidth, kHeight, kFramesPerSecond, kVideoQuantiser) &&
            writer.AddAudio(AV_CODEC_ID_WMAV2, kSoundBitRate, music.InterleavedFloat()) && writer.Begin();
  Frame frame(kWidth, kHeight);
  for (int n = 0; ok && n < frames; ++n) {
    drawFrame(frame, n, double(n) / kFramesPerSecond, double(frames) / kFramesPerSecond);
    ok = writer.WriteVideoFrame(frame.Data());
  }
  ok = ok && writer.Finish();
  if (!ok) std::fprintf(stderr, "virko-content: %s: %s\n", path.string().c_str(), writer.Error().c_str());
  return ok;
}

// The intro: a flight along the level from the start to the end, the player
// running at the centre, the title over the first seconds.
bool WriteIntro(const fs::path& path, const LevelScene& scene, const Font& font) {
  const double endX = scene.Width() - 450.0;
  double walkerY = scene.RouteCentre(scene.StartX());
  return WriteVideo(path, IntroMusic(), [&](Frame& frame, int, double t, double length) {
    const double x = scene.StartX() + (endX - scene.StartX()) * Smoothstep(t / (length - 1.5));
    // Climb and fall at a walker's pace instead of jumping between surfaces.
    const double target = scene.RouteCentre(x);
    walkerY += std::clamp(target - walkerY, -12.0, 20.0);
    scene.Draw(frame, x, walkerY, t, true);
    const float title = Window(t, 0.4, 1.4, 3.6, 4.6);
    font.DrawCentred(frame, "VIRKO", kWidth / 2.0 + 4, 124, 96, {20, 30, 60}, 0.5f * title);
    font.DrawCentred(frame, "VIRKO", kWidth / 2.0, 120, 96, {255, 236, 170}, title);
    font.DrawCentred(frame, "islands above the clouds", kWidth / 2.0, 230, 24, kWhite, Window(t, 1.2, 2.0, 3.6, 4.6));
    frame.Dim(Window(t, 0.0, 0.6, length - 1.2, length));
  });
}

// The credits: the lines rise over a darkened, slowly passing level.
bool WriteCredits(const fs::path& path, const LevelScene& scene, const Font& font) {
  static const char* const kLines[] = {
      "VIRKO", "", "a small platform game", "", "Game design, code and content", "the VIRKO team", "",
      "Pictures drawn by code", "Music and sounds synthesised by code", "", "Made with",
      "SDL2, OpenGL, OpenAL, libjpeg,", "FFmpeg, FreeType and the DejaVu fonts", "", "Thank you for playing!"};
  constexpr int kLineCount = int(sizeof kLines / sizeof kLines[0]);
  constexpr double kLineHeight = 40.0;
  // Low enough to show the ground of the first islands under the text.
  const double y = std::max(kHeight / 2.0, scene.Height() - 420.0);
  return WriteVideo(path, CreditsMusic(), [&](Frame& frame, int, double t, double length) {
    scene.Draw(frame, 1200.0 + 90.0 * t, y, t, false);
    frame.Dim(0.45f);
    // The last line comes to rest at the middle three seconds before the end.
    const double travel = kHeight + kLineCount * kLineHeight - kHeight / 2.0;
    const double scroll = travel * std::min(1.0, t / (length - 3.0));
    for (int i = 0; i < kLineCount; ++i) {
      const double lineY = kHeight + i * kLineHeight - scroll;
      const bool title = i == 0;
      font.DrawCentred(frame, kLines[i], kWidth / 2.0, lineY, title ? 48 : 22,
                       title ? Colour{255, 236, 170} : kWhite, 1.0f);
    }
    frame.Dim(Window(t, 0.0, 0.8, length - 1.5, length));
  });
}

std::vector<std::string> notes;
void CollectNote(const std::string&, const std::string& text) { notes.push_back(Cp1257ToUtf8(text)); }

// The game's readers take their paths from the working folder.
class WorkingFolder {
 public:
  explicit WorkingFolder(const fs::path& folder) : previous_(fs::current_path()) { fs::current_path(folder); }
  ~WorkingFolder() { fs::current_path(previous_); }

 private:
  fs::path previous_;
};

}  // namespace

bool BuildVideos(const std::string& contentDir) {
  const fs::path folder = fs::absolute(contentDir) / "DATA" / "FMV";
  fs::create_directories(folder);
  WorkingFolder inContent(contentDir);
  ResetGameState();
  SetMessageBoxHandler(CollectNote);
  auto scene = std::make_unique<LevelScene>();
  const bool loaded = scene->Load();
  SetMessageBoxHandler(nullptr);
  ClearTerminateRequest();
  for (const std::string& note : notes) std::fprintf(stderr, "virko-content: videos: %s\n", note.c_str());
  if (!loaded) {
    std::fprintf(stderr, "virko-content: videos: the demo level cannot be loaded\n");
    return false;
  }
  Font font;
  if (!font.Load()) std::fprintf(stderr, "virko-content: videos: no font, the videos go without text\n");
  return WriteIntro(folder / "intro.WMV", *scene, font) && WriteCredits(folder / "credits.WMV", *scene, font);
}
