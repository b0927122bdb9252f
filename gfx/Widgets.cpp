#include "gfx/Widgets.h"

#include "gfx/Draw.h"
#include "gfx/Texture.h"

cButton backButton;
cButton exitButton;

bool cButton::Run(int32_t x, int32_t y) {
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
  // The groove and knob are drawn at the sizes every instance has; the knob
  // shows the value of the previous frame.
  DrawOverlay(grooveTexture, x, y, -0.9, 200, 10, 1);
  const double knobX = maximum != 0 ? x + double(width) / maximum * value - knobSize * 0.5
                                    : x - knobSize * 0.5;
  DrawOverlay(knobTexture, knobX, y - 12, -0.8, 32, 32, 1);
  if (screenFlags.mouseDown && x < mouseX && mouseX < x + width && y - knobSize * 0.5 < mouseY &&
      mouseY < y + knobSize * 0.5) {
    value = int32_t(double(maximum) / width * (mouseX - x));  // toward zero
    changed = 1;
  }
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
