// Sprite animation: the frames of one sprite sheet, a frame range, a frame
// clock and the size at which the sprite is drawn.
#pragma once

#include <cstdint>
#include <string>

#include "app/GameState.h"
#include "data/AnimTables.h"

class cAnim {
 public:
  TextureName textures[256];  // frame k in slot k, from 1
  int32_t frameHeight;
  int32_t sheetWidth;
  uint8_t playedOnce;
  uint8_t stepCount;
  uint16_t lastStart;
  int32_t heightRatio;
  float frameClock;
  uint16_t rangeStart;
  uint16_t rangeLength;
  float frameDelay;
  uint8_t mirrored;
  uint8_t looping;
  uint16_t currentFrame;
  float screenX;
  float screenY;
  std::string fileName;
  int32_t drawWidth;
  int32_t drawHeight;

  // Measures the sheet from its TGA header and loads its frames. A sheet that
  // is missing or unreadable is reported and leaves the sprite without frames.
  void LoadSheet(const std::string& name);
  // Advances the frame clock by the frame time and draws the current frame
  // centred on screen position (x, y) at the given depth.
  void Draw(double x, double y, double depth);
  // Shows frames seq.start .. seq.stop - 1 with seq.delay per frame.
  void SetAnimRange(const tAnimSeq& seq);
};
