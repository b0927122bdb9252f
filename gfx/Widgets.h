// Immediate-mode widgets: each call draws the widget and reads the mouse.
#pragma once

#include <cstdint>

#include "app/GameState.h"

class cButton {
 public:
  uint8_t pressed;
  uint16_t pressFrames;
  uint8_t enabled;
  int32_t width;
  uint8_t height;
  TextureName releasedTexture;
  TextureName pressedTexture;

  // True exactly in the first frame of a press over the button.
  bool Run(int32_t x, int32_t y);
};

class cTrackBar {
 public:
  uint8_t changed;
  uint8_t reserved;
  int32_t maximum;
  int32_t width;
  uint8_t grooveHeight;
  uint8_t knobSize;
  int32_t value;
  TextureName grooveTexture;
  TextureName knobTexture;

  void Run(int32_t x, int32_t y);
  // Where the pointer sets the value wanted, for a groove whose left end is
  // at x: the first pixel of that value (the ends as near as they can be).
  int32_t PointerXFor(int32_t x, int32_t wanted) const;
  // Moves the value by delta within the values the mouse can set, as a drag
  // would (changed set); nothing at the end it moves towards.
  void Step(int32_t delta);

 private:
  // The value the pointer sets offset pixels right of the groove's left end.
  int32_t ValueAt(int32_t offset) const;
};

extern cButton backButton;
extern cButton exitButton;

// A new enabled button of the given size and pictures.
void CreateButton(cButton& button, int32_t width, uint8_t height, const char* released,
                  const char* pressed);
