// The title screen after the splash: the animated backdrop under the title
// frame, five items that light up and shake under the pointer with a short
// sound, the title music, and the load and bonus message screens (the latter
// with the credits video).
#include <iterator>
#include <string>
#include <vector>

#include "app/Random.h"
#include "audio/AudioLibrary.h"
#include "data/TgaSize.h"
#include "gfx/Draw.h"
#include "gfx/Focus.h"
#include "gfx/PicturesAhead.h"
#include "gfx/Texture.h"
#include "platform/MediaPlayer.h"
#include "platform/MessageBox.h"
#include "screens/Screens.h"

tMainSCR mainScreen;
tMenuState menuState;

namespace {

constexpr int kItems = 5;
const char* const kItemPictures[kItems] = {
    "DATA\\MainScreen\\new_game.tga", "DATA\\MainScreen\\load.tga",
    "DATA\\MainScreen\\Options.tga", "DATA\\MainScreen\\bonus.tga",
    "DATA\\MainScreen\\exit.tga"};

void ReadItemSizes() {
  for (int i = 0; i < kItems; ++i) {
    // The options item's size is read through its lower-case name.
    const std::string name = i == 2 ? "DATA\\MainScreen\\options.tga" : kItemPictures[i];
    menuState.itemWidth[i] = TgaWidth(name).value_or(0);
    menuState.itemHeight[i] = TgaHeight(name).value_or(0);
  }
}

const char* const kFramePicture = "DATA\\MainScreen\\MainScreen.TGA";
const char* const kBackPictures[2] = {"DATA\\Message\\back_R.tga", "DATA\\Message\\back_P.tga"};
const char* const kCreditsPictures[2] = {"DATA\\Message\\Credit_R.tga", "DATA\\Message\\Credit_P.tga"};
const char* const kLoadMessagePicture = "DATA\\Message\\load.jpg";
const char* const kBonusMessagePicture = "DATA\\Message\\bonus.jpg";
std::string PanelPicture(int i) { return "DATA\\MainScreen\\b0" + std::to_string(i) + ".jpg"; }
std::string SymbolPicture(int i) { return "DATA\\MainScreen\\symb" + std::to_string(i) + ".tga"; }

// Every picture LoadMenu loads, in its order.
std::vector<std::string> MenuPictures() {
  std::vector<std::string> names{kFramePicture};
  for (int i = 0; i < 6; ++i) names.push_back(PanelPicture(i));
  for (int i = 0; i < 10; ++i) names.push_back(SymbolPicture(i));
  names.insert(names.end(), std::begin(kItemPictures), std::end(kItemPictures));
  names.insert(names.end(), std::begin(kBackPictures), std::end(kBackPictures));
  names.insert(names.end(), std::begin(kCreditsPictures), std::end(kCreditsPictures));
  names.push_back(kLoadMessagePicture);
  names.push_back(kBonusMessagePicture);
  return names;
}

void LoadMenu() {
  musicStreams[0] = AudioStreamCreateFile("titlescreen2.mp3");
  mainScreen.titleMusicOn = 1;
  mainScreen.menuSound = AudioStreamCreateFile("DATA\\AUDIO\\selectB.wav");
  AudioChannelSetGainDb100(mainScreen.menuSound, -500);
  LoadTGA(kFramePicture, mainScreen.frameTexture);
  for (int i = 0; i < 6; ++i) LoadJPG(PanelPicture(i), mainScreen.panelTextures[i]);
  for (int i = 0; i < 10; ++i) LoadTGA(SymbolPicture(i), mainScreen.symbolTextures[i]);
  for (int i = 0; i < kItems; ++i) LoadTGA(kItemPictures[i], mainScreen.itemTextures[i]);
  ReadItemSizes();
  CreateButton(menuState.backButton, 100, 35, kBackPictures[0], kBackPictures[1]);
  CreateButton(menuState.creditsButton, 100, 35, kCreditsPictures[0], kCreditsPictures[1]);
  LoadJPG(kLoadMessagePicture, menuState.loadMessageTex);
  LoadJPG(kBonusMessagePicture, menuState.bonusMessageTex);
  mainScreen.menuLoaded = 1;
}

void DrawHoveredItems() {
  menuState.shakeX = RandomInt(5) - 2;
  menuState.shakeY = RandomInt(5) - 2;
  for (int i = 0; i < kItems; ++i) {
    if (!ItemHit(mainScreen.items, i)) continue;
    const tMenuItem& item = mainScreen.items[i];
    DrawQuad(mainScreen.itemTextures[i], item.drawX + menuState.shakeX,
             item.drawY + menuState.shakeY, 0, menuState.itemWidth[i], menuState.itemHeight[i],
             1);
  }
}

void RewindMenuSound() {
  AudioChannelStop(mainScreen.menuSound);
  AudioChannelSetPosition(mainScreen.menuSound, 0);
}

// The sound plays for the first 20 milliseconds over the items, once per
// entry from outside them.
void UpdateHoverSound() {
  if (NoItemHit(mainScreen.items, kItems)) {
    menuState.hoverTime = 0;
    RewindMenuSound();
    return;
  }
  menuState.hoverTime += float(0.005 * frameFactor);
  if (menuState.hoverTime <= 0.02)
    AudioChannelPlay(mainScreen.menuSound, false);
  else
    RewindMenuSound();
}

void RunItemClicks() {
  const auto chosen = [](int i) { return ItemHit(mainScreen.items, i) && screenFlags.clicked; };
  if (chosen(0)) {
    mainScreen.newGameChosen = 1;
    CloseMainMenu();
    mainScreen.menuHidden = 1;
    mainScreen.titleMusicOn = 0;
  }
  if (chosen(1)) {
    mainScreen.loadMessageShown = 1;
    mainScreen.menuHidden = 1;
  }
  if (chosen(2)) {
    mainScreen.optionsShown = 1;
    optionsBuilt = 0;
    mainScreen.menuHidden = 1;
  }
  if (chosen(3)) {
    mainScreen.bonusShown = 1;
    mainScreen.menuHidden = 1;
  }
  if (chosen(4)) {
    mainScreen.exitChosen = 1;
    CloseMainMenu();
    mainScreen.menuHidden = 1;
    AudioFree();
    RequestTerminate();
  }
}

// The items can be pointed at with the keys, as the widgets can.
void AddItemTargets() {
  for (int i = 0; i < kItems; ++i) {
    const tMenuItem& item = mainScreen.items[i];
    AddFocusTarget({item.left, item.top, item.right, item.bottom, (item.left + item.right) / 2,
                    (item.top + item.bottom) / 2});
  }
}

void RunMenu() {
  Randomize();
  if (!mainScreen.menuLoaded) LoadMenu();
  PrepareOptions();
  PrepareVideo(kIntroVideo);
  DrawMenuBackdrop();
  DrawQuad(mainScreen.frameTexture, 0, 0, -0.1, 800, 600, 1);
  DrawHoveredItems();
  UpdateHoverSound();
  RunItemClicks();
  // An item that fired has closed the menu: a key press queued behind it
  // must not find the items still there and press the screen that opens.
  if (!mainScreen.menuHidden) AddItemTargets();
}

void RunLoadMessage() {
  if (!mainScreen.loadMessageShown) return;
  DrawOverlay(menuState.loadMessageTex, 0, 0, -0.01, 800, 600, 1);
  if (menuState.backButton.Run(330, 500)) {
    mainScreen.loadMessageShown = 0;
    ShowMenuAgain();
  }
}

void RunBonusScreen() {
  if (!mainScreen.bonusShown) return;
  AudioChannelStop(musicStreams[0]);
  DrawOverlay(menuState.bonusMessageTex, 0, 0, -0.01, 800, 600, 1);
  // While the video covers the window the mouse belongs to the video: the
  // screen's buttons do not react under it. In the frame it ends they are
  // there again.
  if (MediaPlayer1.enabled) StopVideoAtEnd();
  if (!MediaPlayer1.enabled && menuState.creditsButton.Run(410, 500)) {
    StartVideo("DATA\\FMV\\credits.WMV");
    StopVideoAtEnd();  // one that cannot be played counts as played at once
  }
  if (MediaPlayer1.enabled) return;
  if (menuState.backButton.Run(290, 500)) {
    mainScreen.bonusShown = 0;
    ShowMenuAgain();
  }
}

// The menu's items react to the release of a press; a press that closed a
// sub-screen must not reach an item lying under the button when released.
void SkipReleaseOfClosingPress() {
  if (!menuState.closingPress) return;
  screenFlags.clicked = 0;
  if (!screenFlags.mouseDown) menuState.closingPress = 0;
}

}  // namespace

bool ItemHit(const tMenuItem items[], int index) {
  const tMenuItem& item = items[index];
  return item.left < mouseX && mouseX < item.right && item.top < mouseY && mouseY < item.bottom;
}

bool NoItemHit(const tMenuItem items[], int count) {
  for (int i = 0; i < count; ++i)
    if (ItemHit(items, i)) return false;
  return true;
}

void CloseMainMenu() {
  AudioChannelStop(mainScreen.menuSound);
  AudioStreamFree(mainScreen.menuSound);
  mainScreen.menuSound = 0;
  for (TextureName& texture : mainScreen.itemTextures) DeleteTexture(texture);
  for (TextureName& texture : mainScreen.panelTextures) DeleteTexture(texture);
  DeleteTexture(mainScreen.frameTexture);
  for (TextureName& texture : mainScreen.unusedTextures) DeleteTexture(texture);
  for (TextureName& texture : mainScreen.symbolTextures) DeleteTexture(texture);
  // The message screens open only from the menu, which never shows again.
  DeleteTexture(menuState.loadMessageTex);
  DeleteTexture(menuState.bonusMessageTex);
  DropPreparedPictures();  // the options' pictures, if never opened
}

void ShowMenuAgain() {
  mainScreen.menuHidden = 0;
  menuState.closingPress = 1;
}

void MainMenuFrame() {
  // While the splash shows, the menu's pictures are decoded ahead and their
  // textures made, one a frame: the splash's frames have time to spare.
  if (!IntroState.finished) {
    if (!menuState.picturesPrepared) PreparePictures(MenuPictures());
    menuState.picturesPrepared = 1;
    MakePreparedTexture();
  }
  SkipReleaseOfClosingPress();
  if (IntroState.finished && !mainScreen.menuHidden) RunMenu();
  RunLoadMessage();
  RunBonusScreen();
  screenFlags.clicked = 0;
}
