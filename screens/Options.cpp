// The options screen: music volume, sound volume and brightness on three
// track bars, and a back button that saves them and returns to the menu.
#include <iterator>
#include <string>
#include <vector>

#include "data/Settings.h"
#include "gfx/Draw.h"
#include "gfx/Focus.h"
#include "gfx/PicturesAhead.h"
#include "gfx/Texture.h"
#include "screens/Screens.h"

tOptionsScreen optionsScreen;
uint8_t optionsBuilt;
uint8_t optionsPrepared;

namespace {

const char* const kGroovePicture = "DATA\\Options\\trackbar.jpg";
const char* const kKnobPicture = "DATA\\Options\\nut.tga";
const char* const kBackPictures[2] = {"DATA\\Options\\button_back_0.tga", "DATA\\Options\\button_back_1.tga"};
const char* const kTitlePicture = "DATA\\Options\\title.jpg";
constexpr int kBars = 3;

void CreateBar(cTrackBar& bar, int32_t value) {
  bar = cTrackBar{};
  bar.reserved = 0;
  bar.maximum = 100;
  bar.width = 200;
  bar.grooveHeight = 10;
  bar.knobSize = 32;
  // Each bar has its own copies of the pictures.
  LoadJPG(kGroovePicture, bar.grooveTexture);
  LoadTGA(kKnobPicture, bar.knobTexture);
  bar.value = value;
}

void BuildOptions() {
  tOptionsScreen& s = optionsScreen;
  CreateBar(s.musicBar, game.musicVolume);
  CreateBar(s.soundBar, game.soundVolume);
  CreateBar(s.brightnessBar, game.lightLevel);
  CreateButton(s.backButton, 75, 35, kBackPictures[0], kBackPictures[1]);
  LoadJPG(kTitlePicture, s.titleTex);
  optionsBuilt = 1;
  optionsPrepared = 0;  // taken; the next opening loads them afresh
}

void LeaveOptions() {
  const tOptionsScreen& s = optionsScreen;
  gameSettings.SaveSettings(uint8_t(s.musicBar.value), uint8_t(s.soundBar.value),
                            uint8_t(s.brightnessBar.value));
  mainScreen.optionsShown = 0;
  CloseOptions();
  ShowMenuAgain();
}

}  // namespace

void PrepareOptions() {
  if (optionsPrepared) return;
  std::vector<std::string> names;
  for (int i = 0; i < kBars; ++i) {
    names.push_back(kGroovePicture);
    names.push_back(kKnobPicture);
  }
  names.insert(names.end(), std::begin(kBackPictures), std::end(kBackPictures));
  names.push_back(kTitlePicture);
  PreparePictures(names);
  optionsPrepared = 1;
}

void OptionsFrame() {
  if (!mainScreen.optionsShown) return;
  if (!optionsBuilt) BuildOptions();
  tOptionsScreen& s = optionsScreen;
  DrawOverlay(s.titleTex, 0, 0, -1, 800, 600, 1);
  s.musicBar.Run(400, 176);
  s.soundBar.Run(400, 240);
  s.brightnessBar.Run(400, 300);
  // Escape (a controller's B) is a keyboard player's Back.
  if (s.backButton.Run(50, 500) || TakeScreenBack()) LeaveOptions();
  // The upper number follows the bar; the lower one is the stored setting,
  // which changes only at the next start.
  DrawText(16, std::to_string(s.brightnessBar.value), fontTex, 100, 180);
  DrawText(16, std::to_string(game.lightLevel), fontTex, 100, 200);
  LightTable[0].constantAttenuation = 12 - 0.1f * s.brightnessBar.value;
  game.musicVolume = uint8_t(s.musicBar.value);
  game.soundVolume = uint8_t(s.soundBar.value);
}

// Every picture the screen loaded goes: it loads them afresh when it opens.
void CloseOptions() {
  tOptionsScreen& s = optionsScreen;
  for (cTrackBar* bar : {&s.musicBar, &s.soundBar, &s.brightnessBar}) {
    DeleteTexture(bar->grooveTexture);
    DeleteTexture(bar->knobTexture);
  }
  DeleteTexture(s.backButton.releasedTexture);
  DeleteTexture(s.backButton.pressedTexture);
  DeleteTexture(s.titleTex);
}
