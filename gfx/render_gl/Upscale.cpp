#include "gfx/render_gl/Upscale.h"

#include <pixman.h>

#include <thread>

void ScaleBilinear(const uint32_t* from, int fromWidth, int fromHeight, uint32_t* to, int toWidth,
                   int toHeight) {
  if (fromWidth <= 0 || fromHeight <= 0 || toWidth <= 0 || toHeight <= 0) return;
  // pixman reads the source through a transform from destination to source
  // coordinates and never writes to it.
  pixman_image_t* source = pixman_image_create_bits(
      PIXMAN_a8r8g8b8, fromWidth, fromHeight, const_cast<uint32_t*>(from), fromWidth * 4);
  pixman_image_t* target = pixman_image_create_bits(PIXMAN_a8r8g8b8, toWidth, toHeight, to,
                                                    toWidth * 4);
  pixman_transform_t transform;
  pixman_transform_init_scale(&transform, pixman_double_to_fixed(double(fromWidth) / toWidth),
                              pixman_double_to_fixed(double(fromHeight) / toHeight));
  pixman_image_set_transform(source, &transform);
  pixman_image_set_filter(source, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  pixman_image_set_repeat(source, PIXMAN_REPEAT_PAD);
  auto rows = [&](int first, int count) {
    pixman_image_composite32(PIXMAN_OP_SRC, source, nullptr, target, 0, first, 0, 0, 0, first,
                             toWidth, count);
  };
  const int half = toHeight / 2;
  std::thread lower(rows, half, toHeight - half);
  rows(0, half);
  lower.join();
  pixman_image_unref(source);
  pixman_image_unref(target);
}
