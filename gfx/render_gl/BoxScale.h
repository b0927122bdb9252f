// Level 0 of GLU's mipmap builder for pictures whose sides are not powers of
// two, computed without it. GLU rescales such a picture to the nearest
// powers of two with a box filter in single-precision arithmetic, one
// component at a time, in about 12 ms for 800 x 600. The same filter with
// the same arithmetic in the same order, on four components at once, gives
// the very same bytes several times faster.
#pragma once

#include <cstdint>
#include <vector>

// GLU's choice of power of two for a side (the nearest, rounding up from
// three quarters of the way).
int GluNearestPower(int side);

// Scales RGBA rows (packed) from width x height to newWidth x newHeight as
// GLU does. (Where rounding leaves GLU reading past the end of the picture
// with a weight above zero, GLU's own result depends on whatever memory
// follows; here that memory reads as zero.)
std::vector<uint8_t> GluBoxScale(const uint8_t* rgba, int width, int height, int newWidth,
                                 int newHeight);
