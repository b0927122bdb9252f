// The demo play-through, played by a scripted player that watches the game
// (where the player stands, which screen shows) and recorded as it goes:
// splash, options changed and saved, new game, intro video, loading, the
// demo level from start to end with a fall-out restart on the way, the
// statistics screen and its button.
#pragma once

#include <vector>

#include "app/Input.h"
#include "tools/replay/Session.h"

// Plays it in an open session (which records it, when it has a recorder);
// with a route (simulate's input, a frame a line), the level is played by
// the route instead of the demo's script, between the same splash, start
// and statistics steps. False, with the reason on stderr, when the route no
// longer works on this content.
bool PlayThrough(cSession& session, const std::vector<InputSet>* route = nullptr);
