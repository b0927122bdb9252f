// The streamed screen pictures with the loader thread running: a picture that
// fails is reported as LoadTGA reports it, once, in the first frame that shows
// it, and files changed in the level's folder while playing change nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/GameState.h"
#include "gfx/ScreenPictures.h"
#include "platform/MessageBox.h"
#include "tests/unit/GfxPictureFiles.h"

using gfxtest::MakeTga;
using gfxtest::Rgba;
using gfxtest::ScratchFolder;

namespace {

std::vector<std::string> shown;
void Collect(const std::string& caption, const std::string& text) { shown.push_back(caption + "|" + text); }

Rgba Grey(int, int) { return {128, 128, 128, 255}; }

constexpr int kColumns = 12;

class StreamedScreens : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    shown.clear();
    SetMessageBoxHandler(Collect);
    // One row of twelve screens, screen c showing picture c + 1 ("c.tga").
    game.screensX = kColumns;
    game.screensY = 1;
    for (int c = 0; c < kColumns; ++c) game.screenGrid[c][0] = uint8_t(c + 1);
    for (int c = 0; c < kColumns; ++c) folder.Write(Name(c), MakeTga(16, 8, Grey));
  }
  void TearDown() override {
    StopScreenPictures();
    SetMessageBoxHandler(nullptr);
    ResetGameState();
  }
  static std::string Name(int c) { return std::to_string(c) + ".tga"; }
  // Walks the camera from its place to the left edge of screen column, a
  // step a frame, and gives the messages of each frame.
  std::vector<std::vector<std::string>> WalkTo(int column) {
    std::vector<std::vector<std::string>> frames;
    const double target = -column * 800.0;
    while (cameraX != target) {
      cameraX = cameraX > target ? std::max(target, cameraX - 100) : std::min(target, cameraX + 100);
      shown.clear();
      ScreenPicturesFrame();
      frames.push_back(shown);
    }
    return frames;
  }
  ScratchFolder folder;
};

}  // namespace

TEST_F(StreamedScreens, FailuresAreReportedOnceInTheFirstFrameThatShowsThem) {
  std::vector<uint8_t> damaged = MakeTga(16, 8, Grey);
  damaged.resize(damaged.size() - 4);
  const std::string damagedPath = folder.Write(Name(6), damaged);
  std::filesystem::remove(folder.Path(Name(9)));
  cameraX = cameraY = 0;
  StartScreenPictures(folder.Path(""), kColumns);
  EXPECT_TRUE(shown.empty());

  const auto there = WalkTo(kColumns - 1);
  const std::string damagedText = "TGA File Error|Couldn't read file \"" + folder.Path("") + "\\" + Name(6) + "\".";
  for (size_t frame = 0; frame < there.size(); ++frame) {
    // Screen 6 (x 4800) comes into view once the camera is past -4000, screen
    // 9 (x 7200) past -6400; steps of 100 from 0.
    if (frame == 40)
      EXPECT_EQ(there[frame], std::vector<std::string>{damagedText});
    else if (frame == 64)
      EXPECT_EQ(there[frame], std::vector<std::string>{"Load unit|Nevar iel\xE2" "d\xE7t TGA "});
    else
      EXPECT_TRUE(there[frame].empty()) << "frame " << frame << ": " << there[frame][0];
  }
  for (const auto& messages : WalkTo(0)) EXPECT_TRUE(messages.empty()) << messages[0];
}

TEST_F(StreamedScreens, FilesChangedWhilePlayingChangeNothing) {
  cameraX = cameraY = 0;
  StartScreenPictures(folder.Path(""), kColumns);
  // Far screens, not yet read: one replaced by a damaged file (written beside
  // and renamed over it, as installers do), one deleted, one added.
  std::vector<uint8_t> damaged = MakeTga(16, 8, Grey);
  damaged.resize(20);
  std::filesystem::rename(folder.Write("new.tga", damaged), folder.Path(Name(10)));
  std::filesystem::remove(folder.Path(Name(11)));
  folder.Write(Name(kColumns), MakeTga(16, 8, Grey));
  for (const auto& messages : WalkTo(kColumns - 1)) EXPECT_TRUE(messages.empty()) << messages[0];
}
