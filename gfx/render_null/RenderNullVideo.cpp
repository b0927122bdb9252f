// The video picture of the null back end: nothing is made or drawn.
#include "gfx/RenderVideo.h"

VideoTexture RenderCreateVideoTexture(int, int) { return VideoTexture{}; }
void RenderUpdateVideoTexture(const VideoTexture&, int, int, const uint8_t*) {}
void RenderDrawVideo(const VideoTexture&, int, int, const TRect&, const TRect&) {}
void RenderDeleteVideoTexture(VideoTexture& texture) { texture = VideoTexture{}; }
