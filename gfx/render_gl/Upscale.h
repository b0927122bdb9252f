// Bilinear scaling of a picture of 32-bit pixels on the processor (pixman's
// vectorised scaler), the two halves on two threads. The scene's final
// scaling costs Mesa's software renderer several times as much: it runs
// every pixel through a shader.
#pragma once

#include <cstdint>

// Scales from (fromWidth x fromHeight) to (toWidth x toHeight), rows packed,
// edges clamped; each pixel sampled at its centre, as OpenGL's linear
// filter does. Channels are kept as they are.
void ScaleBilinear(const uint32_t* from, int fromWidth, int fromHeight, uint32_t* to, int toWidth,
                   int toHeight);
