// The level background: the backdrop and its faint drifting copy, two
// full-screen overlays at the back of every play frame. Together they cost
// the renderer two full layers of blended, lit, textured pixels, yet their
// result changes only when the copy moves (a few times a second) or the
// light does. So where the scene is drawn into an offscreen target, the
// result is kept in a picture of the target's kind, and a frame that begins
// with the same background gets it back, colour and depth, by one memory
// copy instead of the clear and the two overlays. The backdrop alone is kept
// too, and while the copy waits to move, the pair at its next place is made
// from it a strip of rows a frame: on one core the copy drawn whole in the
// frame it moves would cost that frame a full blended layer.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "gfx/Render.h"
#include "gfx/render_gl/RenderGlShared.h"

namespace {

// Everything the backdrop overlay depends on, besides a freshly cleared
// frame.
struct tBackdropKey {
  TextureName texture;
  uint64_t textureSerial;
  uint64_t lightSerial;
  tViewport viewport;
  bool operator==(const tBackdropKey&) const = default;
};

// A kept result: the backdrop alone (no offset), or the pair with the
// copy at (dx, dy).
struct tKept {
  tScenePicture picture;
  tBackdropKey key{};
  float dx = 0, dy = 0;
  bool valid = false;

  bool Holds(const tBackdropKey& k, float x, float y) const {
    return valid && key == k && dx == x && dy == y;
  }
  // Copies the target's colour and depth.
  void Keep(const tScenePicture& target, const tBackdropKey& k, float x, float y) {
    valid = picture.framebuffer != 0 || MakeScenePicture(picture);
    if (!valid) return;
    CopyScenePicture(target, picture);
    key = k;
    dx = x;
    dy = y;
  }
  void Forget() {
    FreeScenePicture(picture);
    valid = false;
  }
};
tKept backdropAlone, pair;

// The pair at the copy's next place, made a strip at a time; kept (valid)
// once every strip is in.
constexpr int kStrips = 6;
constexpr int kStripRows = kScreenHeight / kStrips;
tKept next;
int stripsMade = 0;

void DrawBackdrop(TextureName texture) { RenderQuad(texture, 0, 0, -1, 800, 600, 1, false); }
void DrawCopy(TextureName texture, float dx, float dy) {
  RenderQuad(texture, dx, dy, -0.99, 800, 600, 0.3, false);
}

// The state the second overlay leaves behind.
void LeaveStateAsTheCopy(TextureName texture, float dx, float dy) {
  glDisable(GL_BLEND);
  glDisable(GL_ALPHA_TEST);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslated(dx, dy, 0.99);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4d(1, 1, 1, 0.3);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

// Draws the strips of the next pair that are due by now: all of them once
// the wait is over, so the pair is complete in the frame before the move.
// The backdrop alone must be kept; the target is bound again afterwards.
void MakeNextStrips(const tScenePicture& target, const tBackdropKey& key, const tNextCopy& copy) {
  if (next.key != key || next.dx != copy.dx || next.dy != copy.dy || next.picture.framebuffer == 0) {
    if (next.picture.framebuffer == 0 && !MakeScenePicture(next.picture)) return;
    next.key = key;
    next.dx = copy.dx;
    next.dy = copy.dy;
    next.valid = false;
    stripsMade = 0;
  }
  const int due = std::min(kStrips, int(std::ceil(std::max(copy.progress, 0.0) * kStrips)));
  for (; stripsMade < due; ++stripsMade) {
    const tRowBand rows{stripsMade * kStripRows, kStripRows};
    CopyScenePictureRows(backdropAlone.picture, next.picture, rows);
    BindScenePicture(next.picture);
    LimitDrawingToRows(rows);
    DrawCopy(next.key.texture, copy.dx, copy.dy);
    LimitDrawingToRows(std::nullopt);
    BindScenePicture(target);
  }
  next.valid = stripsMade == kStrips;
}

}  // namespace

void RenderBackground(TextureName texture, float dx, float dy, const tNextCopy& nextCopy) {
  const tTextureInfo* info = TextureInfoOf(texture);
  const tScenePicture* target = SceneTarget();
  tViewport viewport;
  if (!target || !info || !frameUntouched || !SceneMapping(viewport)) {
    DrawBackdrop(texture);
    return DrawCopy(texture, dx, dy);
  }
  const tBackdropKey key{texture, info->serial, lightSerial, viewport};
  if (!pair.Holds(key, dx, dy) && next.Holds(key, dx, dy)) {
    std::swap(pair, next);
    next.valid = false;
  }
  if (pair.Holds(key, dx, dy)) {
    CopyScenePicture(pair.picture, *target);
    ClearedByCopy();
    if (backdropAlone.Holds(key, 0, 0)) MakeNextStrips(*target, key, nextCopy);
    return LeaveStateAsTheCopy(texture, dx, dy);
  }
  if (backdropAlone.Holds(key, 0, 0)) {
    CopyScenePicture(backdropAlone.picture, *target);
    ClearedByCopy();
  } else {
    DrawBackdrop(texture);
    backdropAlone.Keep(*target, key, 0, 0);
  }
  DrawCopy(texture, dx, dy);
  pair.Keep(*target, key, dx, dy);
  if (backdropAlone.Holds(key, 0, 0)) MakeNextStrips(*target, key, nextCopy);
}

void ForgetKeptBackground() {
  backdropAlone.Forget();
  pair.Forget();
  next.Forget();
  stripsMade = 0;
}
