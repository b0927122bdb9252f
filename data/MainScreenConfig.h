#pragma once
#include <cstddef>
// mainSCR.cfg: hit rectangles and drawing positions of the menu items. The
// k-th "#" fills mainScreen.items[k] from the six three-byte numbers after it.
constexpr size_t kMainScreenBufferSize = 9001;
void LoadMainScreenConfig();
