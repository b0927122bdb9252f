// A level's screen pictures (screenTex), streamed: only those near the camera
// are held as textures. A loader thread decodes them in the order the camera
// will need them; the main thread uploads them, a few a frame, and releases
// the far ones (ScreenCache.h). A picture in view that is not ready yet is
// loaded in the frame that needs it, so no screen is ever drawn missing.
#pragma once

#include <cstddef>
#include <string>

// The pictures held at once: the four a view can touch and the two next to
// them ahead (the loader has those ready long before they come into view).
constexpr size_t kHeldScreenPictures = 6;

// Starts streaming pictures 1 to count of the level's grid, picture v from
// folder + "\\" + (v - 1) + ".tga". Every file is opened now and held open,
// so that changes to the folder while playing change nothing; the pictures in
// view are loaded at once. Failures are reported, as LoadTGA reports them, once, in the frame
// that first shows the picture.
void StartScreenPictures(const std::string& folder, int count);
// Before the screens are drawn in a play frame, with the frame's camera.
void ScreenPicturesFrame();
// Stops and joins the loader thread and deletes the textures held. Does
// nothing when no level streams.
void StopScreenPictures();
// Every picture held from the start (the reference the streamed frames are
// compared with); takes effect at the next start.
void HoldAllScreenPictures(bool all);
