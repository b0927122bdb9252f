#include <SDL.h>

#include <filesystem>

#include "ScreensTestSupport.h"
#include "app/KeyPointer.h"
#include "audio/AudioLibrary.h"
#include "gfx/Focus.h"
#include "screens/Screens.h"

namespace {

class MenuTest : public ScreensTest {
 protected:
  void SetUp() override {
    ScreensTest::SetUp();
    StartMenu();
  }
  // The splash over, five items in a column, 200 x 40 each, drawn 10
  // pixels up and left.
  static void StartMenu() {
    ResetGameState();
    frameFactor = 2;
    IntroState.finished = 1;
    for (int i = 0; i < 5; ++i)
      mainScreen.items[i] = tMenuItem{300, 200 + 50 * i, 500, 240 + 50 * i, 290, 190 + 50 * i};
  }
  static void Pointer(int x, int y) {
    mouseX = x;
    mouseY = y;
  }
  static void Click(int x, int y) {
    Pointer(x, y);
    screenFlags.clicked = 1;
    MainMenuFrame();
  }
};

}  // namespace

TEST_F(MenuTest, AnItemIsHitStrictlyInsideItsRectangle) {
  const tMenuItem* items = mainScreen.items;
  Pointer(301, 201);
  EXPECT_TRUE(ItemHit(items, 0));
  Pointer(499, 239);
  EXPECT_TRUE(ItemHit(items, 0));
  for (auto [x, y] : {std::pair{300, 220}, {500, 220}, {400, 200}, {400, 240}}) {
    Pointer(x, y);
    EXPECT_FALSE(ItemHit(items, 0)) << x << "," << y;
  }
  // An item left at zero by a short mainSCR.cfg can never be hit.
  Pointer(0, 0);
  EXPECT_FALSE(ItemHit(items, 7));
  EXPECT_TRUE(NoItemHit(items, 10));

  Pointer(400, 420);  // item 4
  EXPECT_FALSE(NoItemHit(items, 5));
  EXPECT_TRUE(NoItemHit(items, 4));
}

TEST_F(MenuTest, EachItemOpensItsScreenOrEndsTheProgram) {
  Click(400, 270);
  EXPECT_TRUE(mainScreen.loadMessageShown);
  EXPECT_TRUE(mainScreen.menuHidden);
  EXPECT_EQ(screenFlags.clicked, 0);

  StartMenu();
  optionsBuilt = 1;
  Click(400, 320);
  EXPECT_TRUE(mainScreen.optionsShown);
  EXPECT_EQ(optionsBuilt, 0);  // built afresh each time it opens
  EXPECT_TRUE(mainScreen.menuHidden);

  // A hidden menu ignores clicks, and the click is used up all the same.
  Click(400, 370);
  EXPECT_FALSE(mainScreen.bonusShown);
  EXPECT_EQ(screenFlags.clicked, 0);

  mainScreen.menuHidden = 0;
  Click(400, 370);
  EXPECT_TRUE(mainScreen.bonusShown);

  StartMenu();
  Click(400, 420);
  EXPECT_TRUE(mainScreen.exitChosen);
  EXPECT_TRUE(mainScreen.menuHidden);
  EXPECT_TRUE(TerminateRequested());
}

TEST_F(MenuTest, NewGameClosesTheMenuAndStopsTheTitleMusic) {
  MainMenuFrame();
  EXPECT_TRUE(mainScreen.menuLoaded);
  EXPECT_TRUE(mainScreen.titleMusicOn);
  // Stand-ins for pictures loaded by a renderer: the message screens' go too.
  menuState.loadMessageTex = 5;
  menuState.bonusMessageTex = 6;
  Click(400, 220);
  EXPECT_EQ(menuState.loadMessageTex, 0u);
  EXPECT_EQ(menuState.bonusMessageTex, 0u);
  EXPECT_TRUE(mainScreen.newGameChosen);
  EXPECT_TRUE(mainScreen.menuHidden);
  EXPECT_FALSE(mainScreen.titleMusicOn);
  EXPECT_EQ(mainScreen.menuSound, 0u);
  EXPECT_FALSE(TerminateRequested());
}

TEST_F(MenuTest, ClosingTheMenuFreesItsHoverSound) {
  std::filesystem::create_directories("DATA/AUDIO");
  WriteWav("DATA/AUDIO/selectB.wav", 0.1);
  AudioInit(44100);
  MainMenuFrame();
  const AudioHandle sound = mainScreen.menuSound;
  EXPECT_NE(sound, 0u);
  EXPECT_GT(AudioStreamGetLength(sound), 0u);
  Click(400, 220);  // New Game
  EXPECT_EQ(AudioStreamGetLength(sound), 0u) << "the handle names no stream any more";
  AudioFree();
}

TEST_F(MenuTest, OverlappingItemsBothFireInItemOrder) {
  mainScreen.items[3] = mainScreen.items[1];
  Click(400, 270);
  EXPECT_TRUE(mainScreen.loadMessageShown);
  EXPECT_TRUE(mainScreen.bonusShown);

  StartMenu();
  mainScreen.items[4] = mainScreen.items[0];
  Click(400, 220);
  EXPECT_TRUE(mainScreen.newGameChosen);
  EXPECT_TRUE(mainScreen.exitChosen);
  EXPECT_TRUE(TerminateRequested());
}

TEST_F(MenuTest, NothingHappensBeforeTheSplashHasEnded) {
  IntroState.finished = 0;
  Click(400, 220);
  EXPECT_FALSE(mainScreen.menuLoaded);
  EXPECT_FALSE(mainScreen.newGameChosen);
  EXPECT_EQ(screenFlags.clicked, 0);
}

TEST_F(MenuTest, HoverTimeCountsOverTheItemsAndRestartsOutside) {
  Pointer(400, 220);
  for (int i = 0; i < 3; ++i) MainMenuFrame();
  EXPECT_NEAR(menuState.hoverTime, 0.03, 1e-6);
  Pointer(400, 270);  // straight onto the next item: no new sound
  MainMenuFrame();
  EXPECT_NEAR(menuState.hoverTime, 0.04, 1e-6);
  Pointer(400, 245);  // between two items
  MainMenuFrame();
  EXPECT_EQ(menuState.hoverTime, 0);
  Pointer(400, 270);
  frameFactor = 4;
  MainMenuFrame();
  EXPECT_NEAR(menuState.hoverTime, 0.02, 1e-6);
}

TEST_F(MenuTest, HoveredItemsShakeByOneDrawPerFrame) {
  Pointer(400, 220);
  SetRandomSource([](int range) { return range - 1; });
  MainMenuFrame();
  EXPECT_EQ(menuState.shakeX, 2);
  EXPECT_EQ(menuState.shakeY, 2);
  SetRandomSource([](int) { return 0; });
  MainMenuFrame();
  EXPECT_EQ(menuState.shakeX, -2);
  EXPECT_EQ(menuState.shakeY, -2);
}

TEST_F(MenuTest, KeyPressQueuedBehindAnItemThatFiredDoesNotPressTheScreenItOpened) {
  const auto frame = [] {  // as the loop runs one
    MainMenuFrame();
    EndFocusFrame();
    KeyPointerFrameRun();
  };
  const auto key = [](SDL_Keycode sym) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = sym;
    KeyPointerEvent(event);
  };
  frame();
  for (SDL_Keycode sym : {SDLK_DOWN, SDLK_DOWN, SDLK_DOWN}) key(sym);  // Options
  key(SDLK_RETURN);
  key(SDLK_RETURN);  // a second press before a frame has run
  frame();           // sees the press
  frame();           // sees the click: Options opens, the menu's items are gone
  EXPECT_TRUE(mainScreen.optionsShown);
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(screenFlags.mouseDown);
    frame();
  }
}
