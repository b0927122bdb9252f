// Where the scene is drawn. The scene is 800 x 600 pixels whatever the
// size of the window. Where the renderer offers framebuffer objects, it is
// drawn into an offscreen target of exactly that size, and at the end of
// the frame put on the window: copied as it is when the window is 800 x 600,
// scaled to fit otherwise, with black bars. The fill cost of a frame is then
// the same on every display, and so is the picture. Without framebuffer
// objects the scene is drawn straight into its place in the window.
//
// Mesa keeps a window's rows top first. The target is kept the same way up
// (clip control): the scene is then rasterised exactly as in the window, bit
// for bit, and copies between the target, the kept background and the
// window are plain memory copies. Window coordinates in the target (scissor
// boxes, read-back) count rows from the top; FlipRows turns them. A
// renderer without clip control draws straight into the window.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gfx/Fit.h"
#include "gfx/Render.h"
#include "gfx/render_gl/RenderGlShared.h"
#include "gfx/render_gl/Upscale.h"

namespace {

tScenePicture target;
bool targetTried = false;
bool targetWanted = true;
GLenum depthFormat = GL_DEPTH_COMPONENT24;
int windowWidth = kScreenWidth, windowHeight = kScreenHeight;
tViewport viewportAsked{0, 0, kScreenWidth, kScreenHeight};  // scene pixels
bool clearPending = false;
constexpr int kBarClears = 3;
int barClearsLeft = kBarClears;

// The scene scaled to its place in the window, for the copy to the window.
struct tScaledScene {
  tScenePicture picture;  // colour only, of the place's size
  int width = 0, height = 0;
  std::vector<uint32_t> scene, scaled;  // pixels as the target stores them
};
tScaledScene scaledScene;

// The renderer's version as major x 10 + minor (45 for 4.5).
int GlVersion() {
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  int major = 0, minor = 0;
  if (!version || std::sscanf(version, "%d.%d", &major, &minor) != 2) return 0;
  return major * 10 + minor;
}

bool HasExtension(const char* name) {
  const char* all = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  if (!all) return false;
  const size_t length = std::strlen(name);
  for (const char* at = std::strstr(all, name); at; at = std::strstr(at + length, name))
    if ((at == all || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0')) return true;
  return false;
}

// The depth format of the window's own buffer, so that depths in the
// target are stored exactly as they would be there.
GLenum WindowDepthFormat() {
  GLint bits = 0;
  glGetIntegerv(GL_DEPTH_BITS, &bits);
  return bits >= 32 ? GL_DEPTH_COMPONENT32 : bits >= 24 ? GL_DEPTH_COMPONENT24 : GL_DEPTH_COMPONENT16;
}

// A framebuffer of a colour texture, stored as the window's pixels are
// (blue first), and a depth buffer of the window's depth format.
bool MakePicture(tScenePicture& picture, int width, int height, bool withDepth) {
  GLint boundTexture = 0, drawing = 0, reading = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
  glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawing);
  glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &reading);
  while (glGetError() != GL_NO_ERROR) {
  }
  glGenTextures(1, &picture.colour);
  glBindTexture(GL_TEXTURE_2D, picture.colour);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
  glBindTexture(GL_TEXTURE_2D, GLuint(boundTexture));
  glGenFramebuffers(1, &picture.framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, picture.framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, picture.colour, 0);
  if (withDepth) {
    glGenRenderbuffers(1, &picture.depth);
    glBindRenderbuffer(GL_RENDERBUFFER, picture.depth);
    glRenderbufferStorage(GL_RENDERBUFFER, depthFormat, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, picture.depth);
  }
  const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE &&
                        glGetError() == GL_NO_ERROR;
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, GLuint(drawing));
  glBindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(reading));
  if (!complete) FreeScenePicture(picture);
  return complete;
}

void MakeTarget() {
  const char* missing = !(GlVersion() >= 30 || HasExtension("GL_ARB_framebuffer_object"))
                            ? "has no framebuffer objects"
                        : !(GlVersion() >= 45 || HasExtension("GL_ARB_clip_control"))
                            ? "has no clip control"
                            : nullptr;
  if (missing) {
    std::fprintf(stderr, "virko: the renderer %s; the scene is drawn straight into the window\n",
                 missing);
    return;
  }
  depthFormat = WindowDepthFormat();
  if (!MakeScenePicture(target)) {
    std::fprintf(stderr, "virko: the offscreen target for the scene cannot be made; the scene is "
                         "drawn straight into the window\n");
    return;
  }
  glClipControl(GL_UPPER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
}

// The viewport asked for, in the target, or scaled into the scene's place in
// the window.
void ApplyViewport() {
  const tViewport& v = viewportAsked;
  if (target.framebuffer != 0) return glViewport(v.x, v.y, v.width, v.height);
  const TRect r = SceneRectIn(windowWidth, windowHeight);
  const double sx = r.width / double(kScreenWidth), sy = r.height / double(kScreenHeight);
  const int bottom = windowHeight - r.top - r.height;
  glViewport(r.left + int(v.x * sx), bottom + int(v.y * sy), int(v.width * sx),
             int(v.height * sy));
}

// Clears the window, bars and all, for the first frames after its size
// changed: the bars are never drawn on, and the window's buffers keep their
// pixels from frame to frame, so after a few frames (every buffer of the
// swap chain cleared once) they stay black. Clearing them every frame would
// cost Mesa's software renderer about 2 ms at 1920 x 1080.
void ClearBarsOfANewSize(const TRect& r) {
  if (barClearsLeft == 0) return;
  --barClearsLeft;
  if (r.width != windowWidth || r.height != windowHeight) glClear(GL_COLOR_BUFFER_BIT);
}

bool PrepareScaledScene(int width, int height) {
  tScaledScene& s = scaledScene;
  if (s.picture.framebuffer != 0 && s.width == width && s.height == height) return true;
  FreeScenePicture(s.picture);
  s = tScaledScene{};
  if (!MakePicture(s.picture, width, height, false)) return false;
  s.width = width;
  s.height = height;
  s.scene.resize(size_t(kScreenWidth) * kScreenHeight);
  s.scaled.resize(size_t(width) * height);
  return true;
}

// Copies a picture of the target's kind, rows top first, onto the window at
// r (rows counted from the bottom there): a plain copy at the same size.
void CopyToWindow(const tScenePicture& from, int width, int height, const TRect& r, int bottom,
                  int top, GLenum filter) {
  glBindFramebuffer(GL_READ_FRAMEBUFFER, from.framebuffer);
  glBlitFramebuffer(0, 0, width, height, r.left, top, r.left + r.width, bottom,
                    GL_COLOR_BUFFER_BIT, filter);
}

// The scene scaled to r: read back, scaled on the processor, and copied to
// the window, since the renderer's own scaled copy costs several times as
// much. Where the picture for it cannot be made, the renderer scales.
void PutScaled(const TRect& r, int bottom, int top) {
  if (!PrepareScaledScene(r.width, r.height))
    return CopyToWindow(target, kScreenWidth, kScreenHeight, r, bottom, top, GL_LINEAR);
  tScaledScene& s = scaledScene;
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, kScreenWidth, kScreenHeight, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
               s.scene.data());
  ScaleBilinear(s.scene.data(), kScreenWidth, kScreenHeight, s.scaled.data(), s.width, s.height);
  GLint boundTexture = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
  glBindTexture(GL_TEXTURE_2D, s.picture.colour);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, s.width, s.height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                  s.scaled.data());
  glBindTexture(GL_TEXTURE_2D, GLuint(boundTexture));
  CopyToWindow(s.picture, s.width, s.height, r, bottom, top, GL_NEAREST);
}

void FreeTarget() {
  if (target.framebuffer != 0) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    FreeScenePicture(scaledScene.picture);
    scaledScene = tScaledScene{};
    FreeScenePicture(target);
    glClipControl(GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
  }
  target = tScenePicture{};
}

// Reads the rectangle of the scene at (x, y), rows top first.
template <typename T>
void ReadScene(int x, int y, int width, int height, GLenum format, GLenum type, T* out,
               size_t perPixel) {
  ApplyPendingClear();
  GLint row = y;
  if (target.framebuffer == 0) {
    GLint v[4];
    glGetIntegerv(GL_VIEWPORT, v);
    x += v[0];
    row = v[1] + kScreenHeight - y - height;
  }
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, row, width, height, format, type, out);
  if (target.framebuffer != 0) return;
  const size_t rowLength = size_t(width) * perPixel;
  for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
    std::swap_ranges(out + top * rowLength, out + (top + 1) * rowLength, out + bottom * rowLength);
}

}  // namespace

bool MakeScenePicture(tScenePicture& picture) {
  return MakePicture(picture, kScreenWidth, kScreenHeight, true);
}

void FreeScenePicture(tScenePicture& picture) {
  if (picture.framebuffer != 0) glDeleteFramebuffers(1, &picture.framebuffer);
  if (picture.depth != 0) glDeleteRenderbuffers(1, &picture.depth);
  if (picture.colour != 0) glDeleteTextures(1, &picture.colour);
  picture = tScenePicture{};
}

const tScenePicture* SceneTarget() { return target.framebuffer != 0 ? &target : nullptr; }

void CopyScenePicture(const tScenePicture& from, const tScenePicture& to) {
  CopyScenePictureRows(from, to, {0, kScreenHeight});
}

void BindScenePicture(const tScenePicture& picture) { glBindFramebuffer(GL_FRAMEBUFFER, picture.framebuffer); }

void CopyScenePictureRows(const tScenePicture& from, const tScenePicture& to, const tRowBand& rows) {
  glBindFramebuffer(GL_READ_FRAMEBUFFER, from.framebuffer);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to.framebuffer);
  const int end = rows.y + rows.height;
  glBlitFramebuffer(0, rows.y, kScreenWidth, end, 0, rows.y, kScreenWidth, end,
                    GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT, GL_NEAREST);
  glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
}

void FlipRows(const tViewport& viewport, int& y, int height) {
  if (target.framebuffer != 0) y = 2 * viewport.y + viewport.height - y - height;
}

void ApplyPendingClear() {
  if (!clearPending) return;
  clearPending = false;
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void BeginDrawing() {
  ApplyPendingClear();
  frameUntouched = false;
}

void ClearedByCopy() {
  clearPending = false;
  frameUntouched = false;
}

void UseSceneTarget(bool use) {
  targetWanted = use;
  targetTried = false;
  ForgetKeptBackground();
  FreeTarget();
}

void RenderClear() {
  // The target's clear waits for the first drawing: a frame that begins
  // with the kept background gets colour and depth from it instead.
  clearPending = true;
  if (target.framebuffer == 0) ApplyPendingClear();
  frameUntouched = true;
}

void RenderSetWindowSize(int width, int height) {
  windowWidth = std::max(0, width);
  windowHeight = std::max(0, height);
  barClearsLeft = kBarClears;
  if (targetTried) ApplyViewport();
}

void RenderPresent() {
  ApplyPendingClear();  // a frame in which nothing was drawn is still cleared
  if (target.framebuffer == 0) return;
  const TRect r = SceneRectIn(windowWidth, windowHeight);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  ClearBarsOfANewSize(r);
  const int bottom = windowHeight - r.top - r.height;
  const int top = bottom + r.height;
  if (r.width == kScreenWidth && r.height == kScreenHeight)
    CopyToWindow(target, kScreenWidth, kScreenHeight, r, bottom, top, GL_NEAREST);
  else if (r.width > 0 && r.height > 0)
    PutScaled(r, bottom, top);
  glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
}

bool RenderKeepsScene() { return target.framebuffer != 0; }

bool RenderReadSceneForWindow(uint32_t* pixels) {
  ApplyPendingClear();
  if (target.framebuffer == 0) return false;
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, kScreenWidth, kScreenHeight, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, pixels);
  return true;
}

void RenderReadScene(int x, int y, int width, int height, uint8_t* rgba) {
  ReadScene(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba, 4);
  // As shown: the window keeps no alpha, and the scene's blending never
  // reads the target's.
  for (size_t i = 3; i < size_t(width) * height * 4; i += 4) rgba[i] = 255;
}

void RenderReadSceneDepth(int x, int y, int width, int height, float* depth) {
  ReadScene(x, y, width, height, GL_DEPTH_COMPONENT, GL_FLOAT, depth, 1);
}

// Called by RenderSetupContext: the target is made once per context.
void SetUpSceneTarget(int left, int top, int width, int height) {
  if (!targetTried) {
    targetTried = true;
    if (targetWanted) MakeTarget();
  }
  if (target.framebuffer != 0) glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  viewportAsked = tViewport{left, top, width, height};
  ApplyViewport();
}

void RenderReleaseContext() {
  ForgetKeptBackground();
  FreeTarget();
  targetTried = false;
  clearPending = false;
}
