// The input recording: what the recorder writes for a run of the loop, and
// the reader's round trip and its refusals.
#include <gtest/gtest.h>

#include <SDL.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/GameState.h"
#include "tools/replay/Recording.h"

namespace {

InputSet held;
InputSet Held() { return held; }

class Recording : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    held = InputSet{};
  }
  void TearDown() override {
    ResetGameState();
    std::filesystem::remove(path_);
  }

  std::string Text() {
    std::ifstream in(path_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void Write(const std::string& text) { std::ofstream(path_) << text; }
  bool Read(std::vector<tRecordItem>& items, std::string& error) {
    return ReadRecording(path_.string(), items, error);
  }

  std::filesystem::path path_ = std::filesystem::temp_directory_path() /
                                ("virko-recording-" + std::to_string(getpid()) + ".rec");
};

SDL_Event MouseDown(int x, int y) {
  SDL_Event event{};
  event.type = SDL_MOUSEBUTTONDOWN;
  event.button.button = SDL_BUTTON_LEFT;
  event.button.x = x;
  event.button.y = y;
  return event;
}

TEST_F(Recording, TheRecorderWritesFramesInRunsAndStatesBeforeTheFrameThatReadThem) {
  std::FILE* out = std::fopen(path_.c_str(), "w");
  ASSERT_TRUE(out);
  {
    cRecorder recorder(out, Held);
    held.Add(isRight);
    RefreshInput();  // start-up's refresh
    frameFactor = 0;
    recorder.FrameRun();
    recorder.FrameRun();
    recorder.SecondTicked();
    frameFactor = 2;
    recorder.FrameRun();
    recorder.EventHandled(MouseDown(12, 34));
    held.Add(isButton1 + 6);
    RefreshInput();  // in the next frame
    recorder.FrameRun();
    recorder.FrameRun();  // no refresh: the states stand
    SDL_Event repeat{};
    repeat.type = SDL_KEYDOWN;
    repeat.key.repeat = 1;
    recorder.EventHandled(repeat);  // key repeats are not new presses
    SDL_Event toggle{};
    toggle.type = SDL_KEYDOWN;
    toggle.key.type = SDL_KEYDOWN;
    toggle.key.keysym.sym = SDLK_F11;
    recorder.EventHandled(toggle);  // full screen or not is the player's, not the game's
    recorder.Stage("end");
  }
  std::fclose(out);
  EXPECT_EQ(Text(),
            "# VIRKO input recording 1\n"
            "I 0800000000\n"
            "F 2 0\n"
            "T\n"
            "F 1 2\n"
            "D 12 34 1\n"
            "I 0804000000\n"
            "F 2 2\n"
            "S end\n");

  std::vector<tRecordItem> items;
  std::string error;
  ASSERT_TRUE(Read(items, error)) << error;
  ASSERT_EQ(items.size(), 8u);
  std::string again;
  for (const tRecordItem& item : items) again += ItemLine(item) + "\n";
  EXPECT_EQ("# VIRKO input recording 1\n" + again, Text());
}

TEST_F(Recording, TheReaderTakesCommentsBlankLinesAndCrLf) {
  Write("# a comment\r\n\r\n  # indented\r\nF 3 0.10000000000000001\r\nK 27\r\n");
  std::vector<tRecordItem> items;
  std::string error;
  ASSERT_TRUE(Read(items, error)) << error;
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].count, 3);
  EXPECT_EQ(items[0].factor, 0.1);
  EXPECT_EQ(items[1].key, 27);
}

TEST_F(Recording, TheReaderRefusesABrokenItemNamingItsLine) {
  for (const char* bad : {"F 0 2", "F -5 2", "F x", "F 1 2 3", "I 12", "I zz00000000",
                          "I 0800000000ff", "D 1 2 9", "U 1 2", "M 5", "S", "X", "FF 1 2"}) {
    Write(std::string("T\n") + bad + "\n");
    std::vector<tRecordItem> items;
    std::string error;
    EXPECT_FALSE(Read(items, error)) << bad;
    EXPECT_NE(error.find(":2: "), std::string::npos) << bad << " gave: " << error;
  }
  std::vector<tRecordItem> items;
  std::string error;
  std::filesystem::remove(path_);
  EXPECT_FALSE(Read(items, error));
  EXPECT_NE(error.find("cannot open"), std::string::npos);
}

}  // namespace
