#include "gfx/Widgets.h"

#include <algorithm>

#include "gfx/Draw.h"
#include "gfx/Focus.h"
#include "gfx/Texture.h"

cButton backButton;
cButton exitButton;

bool cButton::Run(int32_t x, int32_t y) {
  if (enabled) AddFocusTarget({x, y, x + width, y + height, x + width / 2, y + height / 2});
  // Strict bounds: the edges themselves are outside.
  pressed = screenFlags.mouseDown && enabled && x < mouseX && mouseX < x + width && y < mouseY &&
            mouseY < y + height;
  if (!pressed) {
    DrawQuad(releasedTexture, x, y, 0, width, height, 1);
    pressFrames = 0;
    return false;
  }
  DrawQuad(pressedTexture, x, y, 0, width, height, 1);
  const bool firstFrame = pressFrames == 0;
  ++pressFrames;  // 16 bits: a press held for 65,536 frames fires again
  return firstFrame;
}

void cTrackBar::Run(int32_t x, int32_t y) {
  const int32_t band = knobSize / 2;
  AddFocusTarget({x, y - band, x + width, y + band, PointerXFor(x, value), y, this});
  // The groove and knob are drawn at the sizes every instance has; the knob
  // shows the value of the previous frame.
  DrawOverlay(grooveTexture, x, y, -0.9, 200, 10, 1);
  const double knobX = maximum != 0 ? x + double(width) / maximum * value - knobSize * 0.5
                                    : x - knobSize * 0.5;
  DrawOverlay(knobTexture, knobX, y - 12, -0.8, 32, 32, 1);
  if (screenFlags.mouseDown && x < mouseX && mouseX < x + width && y - knobSize * 0.5 < mouseY &&
      mouseY < y + knobSize * 0.5) {
    value = ValueAt(mouseX - x);
    changed = 1;
  }
}

int32_t cTrackBar::ValueAt(int32_t offset) const {
  return int32_t(double(maximum) / width * offset);  // toward zero
}

void cTrackBar::Step(int32_t delta) {
  // The mouse reaches no further than the last pixel inside the groove; a
  // value beyond it (a settings file's 100) stays until stepped down.
  const int32_t highest = width > 1 ? std::max(ValueAt(width - 1), 0) : 0;
  if ((delta > 0 && value >= highest) || (delta < 0 && value <= 0)) return;
  value = std::clamp(value + delta, 0, highest);
  changed = 1;
}

int32_t cTrackBar::PointerXFor(int32_t x, int32_t wanted) const {
  if (maximum <= 0 || width <= 0) return x + 1;
  // The first pixel whose value is the wanted one, inside the groove.
  const int32_t offset = int32_t((int64_t(wanted) * width + maximum - 1) / maximum);
  return x + std::clamp(offset, 1, width - 1);
}

void CreateButton(cButton& button, int32_t width, uint8_t height, const char* released,
                  const char* pressed) {
  button = cButton{};
  button.enabled = 1;
  button.width = width;
  button.height = height;
  LoadTGA(released, button.releasedTexture);
  LoadTGA(pressed, button.pressedTexture);
}
