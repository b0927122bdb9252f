// The game run twice in one process, as the replay tool's soak does: after
// CloseGame and ResetGameState the second OpenGame runs the whole start-up
// again in the new window's context, and the splash, the menu and its Exit
// item work as in the first run.
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/GameState.h"
#include "app/MainLoop.h"
#include "platform/MessageBox.h"
#include "platform/Window.h"
#include "screens/Screens.h"

namespace {

class Restart : public ::testing::Test {
 protected:
  void SetUp() override {
    previous = std::filesystem::current_path();
    std::filesystem::current_path(VIRKO_CONTENT_DIR);  // only read: nothing is saved here
  }
  void TearDown() override {
    if (open) CloseGame();
    ResetGameState();
    ClearTerminateRequest();
    std::filesystem::current_path(previous);
  }
  bool Open() { return open = OpenGame(); }
  int Close() {
    open = false;
    return CloseGame();
  }
  // Frames as the loop runs them, the queued events handled before each.
  void Frames(int count) {
    for (int i = 0; i < count && !TerminateRequested(); ++i) {
      SDL_Event event;
      while (SDL_PollEvent(&event)) HandleEvent(event);
      RunFrame();
    }
  }
  void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError(); }
  void Escape() {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = SDLK_ESCAPE;
    event.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    Push(event);
  }
  // A left click in the middle of the menu's item.
  void ClickItem(int index) {
    const tMenuItem& item = mainScreen.items[index];
    int x = 0, y = 0;
    SceneToWindow(GameWindowSize(), (item.left + item.right) / 2, (item.top + item.bottom) / 2, x, y);
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = x;
    event.motion.y = y;
    Push(event);
    Frames(2);
    for (uint32_t type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
      event = SDL_Event{};
      event.type = type;
      event.button.button = SDL_BUTTON_LEFT;
      event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
      event.button.clicks = 1;
      event.button.x = x;
      event.button.y = y;
      Push(event);
      Frames(2);
    }
  }
  // From the splash to the menu, and out by its Exit item.
  void SplashMenuExit() {
    Frames(10);
    Escape();
    for (int i = 0; i < 300 && !(IntroState.finished && mainScreen.menuLoaded); ++i) Frames(1);
    ASSERT_TRUE(IntroState.finished);
    ASSERT_TRUE(mainScreen.menuLoaded);
    Frames(20);
    EXPECT_FALSE(TerminateRequested());
    ClickItem(4);
    EXPECT_TRUE(mainScreen.exitChosen);
    EXPECT_TRUE(TerminateRequested());
  }

  std::filesystem::path previous;
  bool open = false;
};

TEST_F(Restart, SecondRunStartsUpAgainInItsOwnContext) {
  ASSERT_TRUE(Open());
  ASSERT_NE(fontTex, 0u);
  const tMenuItem exitItem = mainScreen.items[4];
  ASSERT_GT(exitItem.right, exitItem.left);
  const uint8_t light = game.lightLevel;
  SplashMenuExit();
  EXPECT_EQ(Close(), 0) << "the player's exit is a success";

  ResetGameState();
  ClearTerminateRequest();
  ASSERT_EQ(fontTex, 0u);
  ASSERT_EQ(mainScreen.items[4].right, 0);
  ASSERT_TRUE(Open());
  // The start-up ran once more: the configuration read, the shared
  // pictures loaded into textures of the new context.
  EXPECT_EQ(mainScreen.items[4].left, exitItem.left);
  EXPECT_EQ(mainScreen.items[4].right, exitItem.right);
  EXPECT_EQ(game.lightLevel, light);
  ASSERT_NE(fontTex, 0u);
  EXPECT_EQ(glIsTexture(fontTex), GL_TRUE);
  ASSERT_NE(exitPromptTex, 0u);
  EXPECT_EQ(glIsTexture(exitPromptTex), GL_TRUE);
  SplashMenuExit();
}

void IgnoreMessageBox(const std::string&, const std::string&) {}

TEST_F(Restart, GameWhoseFilesCannotBeLoadedEndsWithFailure) {
  const std::filesystem::path empty = testing::TempDir() + "virko-no-game-files";
  std::filesystem::create_directories(empty);
  std::filesystem::current_path(empty);
  SetMessageBoxHandler(IgnoreMessageBox);
  ASSERT_TRUE(Open());
  EXPECT_TRUE(TerminateRequested());
  EXPECT_EQ(Close(), 1);
  SetMessageBoxHandler(nullptr);
}

}  // namespace
