// The null drawing back end: draws nothing and makes no textures.
#include <algorithm>

#include "gfx/Draw.h"
#include "gfx/Render.h"

void RenderSetupContext(int, int, int, int) {}
void RenderSetWindowSize(int, int) {}
void RenderPresent() {}
bool RenderKeepsScene() { return false; }
bool RenderReadSceneForWindow(uint32_t*) { return false; }
void RenderReleaseContext() {}
void RenderReadScene(int, int, int width, int height, uint8_t* rgba) {
  std::fill_n(rgba, size_t(width) * height * 4, 0);
}
void RenderReadSceneDepth(int, int, int width, int height, float* depth) {
  std::fill_n(depth, size_t(width) * height, 1.0f);
}
void RenderEnableLights() {}
void RenderClear() {}
void RenderLoadIdentity() {}
void RenderSetProjection() {}
void RenderSetCamera(double, double) {}
void RenderSendLight(const tLight&) {}
TextureName RenderUploadTexture(int, int, const uint8_t*, bool) { return 0; }
void RenderScaleForUpload(tImage&, int) {}
void RenderDeleteTexture(TextureName) {}
int RenderLargestTextureSide() { return kPortableTextureSide; }
void RenderQuad(TextureName, double, double, double, double, double, double, bool) {}
void RenderBackground(TextureName, float, float, const tNextCopy&) {}
void RenderText(uint16_t, const std::string&, TextureName, float, float) {}
void RenderDigits(const std::string&, TextureName, float, float, float) {}
void RenderSprite(TextureName, double, double, double, int, int, bool) {}
void RenderSetupWorldView() {}
void RenderBeginWorldView(int, int, double, double, double, float, float, float) {}
void RenderFinish() {}
