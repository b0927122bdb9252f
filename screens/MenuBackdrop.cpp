// Behind the menu's title frame: two full-screen panels slide from right to
// left and fade in and out half a cycle apart, so that one picture always
// dissolves into another, and eight faint symbols drift and bounce.
#include <cstdlib>

#include "app/Random.h"
#include "gfx/Draw.h"
#include "screens/Screens.h"

namespace {

constexpr float kCycle = 25;  // seconds of one panel's cycle
constexpr double kPanelDepth[2] = {-0.5, -0.4};

}  // namespace

// The animation goes on from where it was each time the menu shows again.
const tMenuBackdrop kBackdropStart = {
    {{0, 0, 400, 0}, {1, 0, 0, 12.5f}},
    {{809, -219, 1, 1, 0.2f, 0.2f},
     {400, 100, 1, -1, 0.2f, 0.2f},
     {809, 100, -1, 1, 0.2f, 0.2f},
     {950.01f, 0, 1, -1, 0.2f, 0.2f},
     {300, 300, 1, -1, 0.2f, 0.2f},
     {300, 0, 1, -1, 0.2f, 0.2f},
     {300, 0, -1, -1, 0.2f, 0.2f},
     {900, 500, -1, 1, 0.2f, 0.2f}}};
tMenuBackdrop menuBackdrop = kBackdropStart;

namespace {

void AdvancePanel(tBackdropPanel& panel, float dt) {
  if (panel.time < kCycle)
    panel.time += dt;
  else
    panel.time = 0;
  if (panel.x > 0 && panel.time < kCycle)
    panel.x -= dt * 400 / kCycle;  // 400 pixels over one cycle
  else
    panel.x = 400;
}

// A panel whose cycle restarts takes a new picture, never the other's.
void ChoosePicture(tBackdropPanel& panel, const tBackdropPanel& other) {
  if (panel.time != 0) return;
  panel.picture = uint8_t(RandomInt(6));
  if (panel.picture == other.picture) panel.picture = uint8_t(std::abs(other.picture - 1));
}

// In over 10 seconds, held, then out until the cycle ends.
void FadePanel(tBackdropPanel& panel, float dt) {
  if (panel.time < 10 && panel.alpha < 1.1f) panel.alpha += dt * 0.1f;
  if (panel.time > 12.5f && panel.alpha > -0.1f) panel.alpha -= dt * 0.1f;
}

float NewSpeed() { return (RandomInt(10) + 1) * 0.035f; }

void MoveSymbol(tBackdropSymbol& symbol, float dt) {
  symbol.x += dt * symbol.dirX * symbol.speedX * 100;
  symbol.y += dt * symbol.dirY * symbol.speedY * 100;
  if (symbol.x > 810 || symbol.x < 200) {
    symbol.dirX = -symbol.dirX;
    symbol.speedX = NewSpeed();
    symbol.speedY = NewSpeed();
  }
  if (symbol.y > 610 || symbol.y < -220) {
    symbol.dirY = -symbol.dirY;
    symbol.speedX = NewSpeed();
    symbol.speedY = NewSpeed();
  }
}

}  // namespace

void DrawMenuBackdrop() {
  tBackdropPanel* panels = menuBackdrop.panels;
  const float dt = float(0.005 * frameFactor);
  for (int p = 0; p < 2; ++p) {
    const tBackdropPanel& panel = panels[p];
    DrawOverlay(mainScreen.panelTextures[panel.picture % 6], panel.x, 0, kPanelDepth[p], 800, 600,
                panel.alpha);
  }
  for (int p = 0; p < 2; ++p) AdvancePanel(panels[p], dt);
  ChoosePicture(panels[0], panels[1]);
  ChoosePicture(panels[1], panels[0]);
  for (int p = 0; p < 2; ++p) FadePanel(panels[p], dt);
  for (int i = 0; i < 8; ++i) {
    tBackdropSymbol& symbol = menuBackdrop.symbols[i];
    DrawQuad(mainScreen.symbolTextures[i + 1], symbol.x, symbol.y, -0.21 - 0.01 * i, 200, 200,
             0.1);
    MoveSymbol(symbol, dt);
  }
}
