#include "game/Anim.h"

#include "data/TgaSize.h"
#include "gfx/Render.h"
#include "gfx/Texture.h"

void cAnim::LoadSheet(const std::string& name) {
  const std::optional<uint16_t> width = TgaWidth(name);
  const std::optional<uint16_t> height = TgaHeight(name);
  if (!width || !height) {
    ReportMissingSheet(name);
    return;
  }
  // Frames are as wide as the sheet; there are height div width of them.
  const int frames = *width != 0 ? *height / *width : 0;
  if (frames == 0) {
    ReportBadFrameStrip(name);
    return;
  }
  sheetWidth = *width;
  frameHeight = *height / frames;
  LoadTGAFrames(name, textures, frameHeight);
  heightRatio = frameHeight / sheetWidth;
  currentFrame = 1;
}

void cAnim::Draw(double x, double y, double depth) {
  if (rangeStart != lastStart) stepCount = 0;
  if (frameClock >= frameDelay) {
    frameClock = 0;
    ++stepCount;
    currentFrame = uint16_t(rangeStart + stepCount);
    if (looping == 0 && playedOnce == 1) currentFrame = uint16_t(rangeStart + rangeLength - 1);
  } else {
    frameClock = float(frameClock + 0.005 * frameFactor);
  }
  // In plain integers, so that an empty range shows its start frame.
  if (int(rangeStart) + int(rangeLength) - 1 < int(currentFrame)) {
    currentFrame = rangeStart;
    stepCount = 0;
    playedOnce = looping == 0 ? 1 : 0;
  }
  lastStart = rangeStart;
  // Frames beyond the sheet (or of a sheet that did not load) are not drawn.
  const TextureName frame = currentFrame < 256 ? textures[currentFrame] : 0;
  RenderSprite(frame, x, y, depth, drawWidth, drawHeight, mirrored == 1);
}

void cAnim::SetAnimRange(const tAnimSeq& seq) {
  rangeStart = uint16_t(seq.start);
  rangeLength = uint16_t(seq.stop - seq.start);
  frameDelay = seq.delay;
}
