#pragma once
// mainSCR.cfg: hit rectangles and drawing positions of the menu items.
void LoadMainScreenConfig();
