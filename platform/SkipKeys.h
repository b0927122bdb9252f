// The keys that skip the splash pictures and the videos: Escape, Space,
// Enter, a click of any mouse button, or a game controller's A, B, X or
// Start. They are read from the window
// system's events as they arrive, because the game's input states are
// refreshed only during play, and because a quick tap may be pressed and
// released between two frames.
#pragma once

// Starts watching afresh: keys and clicks from before do not count, nor
// does the release of a mouse button that was already down.
void WatchSkipKeys();
// True once for each skip since the watch started or since the last true.
bool SkipKeyPressed();
