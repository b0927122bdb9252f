// The splash: two pictures, each rising out of darkness, holding and
// sinking back. The fade is the light's ambient colour, not the pictures'
// alpha.
#include "data/Settings.h"
#include "gfx/Draw.h"
#include "gfx/Texture.h"
#include "platform/SkipKeys.h"
#include "screens/Screens.h"

tIntroState IntroState;

namespace {

void SetAmbient(float level) {
  for (int c = 0; c < 3; ++c) LightTable[0].ambient[c] = level;
}

// The end, normal or skipped: the light the rest of the run keeps. The
// pictures are never drawn again, so their memory goes back now.
void EndIntro() {
  SetAmbient(0.01f * game.lightLevel);
  IntroState.finished = 1;
  for (TextureName& picture : IntroState.pictures) DeleteTexture(picture);
}

void LoadIntro() {
  LoadJPG("DATA\\intro\\kesmar.jpg", IntroState.pictures[0]);
  LoadJPG("DATA\\intro\\LUMO.jpg", IntroState.pictures[1]);
  cGameSet settings;
  settings.LoadSettings();
  IntroState.loaded = 1;
  WatchSkipKeys();
}

void DrawPicture() {
  DrawOverlay(IntroState.pictures[IntroState.pictureIndex], 0, 0, 0, 800, 600, 1);
}

// One step of the fades; times in seconds since the intro started.
void AnimateIntro(float delay, float fade, float hold) {
  tIntroState& s = IntroState;
  if (s.clock > 2 * fade + delay + hold) s.pictureIndex = 1;
  s.clock += float(0.005 * frameFactor);
  SetAmbient(s.brightness - 1.3f);
  const double step = frameFactor * 0.8 / 100 / fade;  // 1.6 over one fade
  if (delay < s.clock && s.clock < delay + fade) s.brightness += float(step);
  if (delay + fade + hold < s.clock && s.clock < delay + 2 * fade + hold)
    s.brightness -= float(step);
  DrawPicture();
  if (delay + 2 * fade + hold < s.clock && s.clock < delay + 3 * fade + hold)
    s.brightness += float(step);
  if (s.clock > delay + 3 * fade + 2 * hold) s.brightness -= float(step);
  DrawPicture();
}

}  // namespace

void SkipIntro() { EndIntro(); }

void IntroFrame(float delay, float fade, float hold) {
  if (IntroState.finished) return;
  if (!IntroState.loaded) LoadIntro();
  if (SkipKeyPressed()) {
    // The click that skipped the splash is not also a click on the menu.
    screenFlags.clicked = 0;
    EndIntro();
  } else if (IntroState.clock < 4 * fade + delay + 2 * hold) {
    AnimateIntro(delay, fade, hold);
  } else {
    EndIntro();
  }
}
