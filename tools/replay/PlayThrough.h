// The demo play-through, played by a scripted player that watches the game
// (where the player stands, which screen shows) and recorded as it goes:
// splash, options changed and saved, new game, intro video, loading, the
// demo level from start to end with a fall-out restart on the way, the
// statistics screen and its button.
#pragma once

#include "tools/replay/Session.h"

// Plays it in an open session (which records it, when it has a recorder).
// False, with the reason on stderr, when the route no longer works on this
// content.
bool PlayDemoThrough(cSession& session);
