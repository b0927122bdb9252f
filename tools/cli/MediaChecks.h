// Sounds and videos through the game's own decoders and media player, for
// the content checkers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Why a sound would play as silence, or nullopt if it plays; frames, when
// given, receives the frames of the whole file decoded to its end.
std::optional<std::string> SoundProblem(const std::string& file, int64_t* frames = nullptr);

// A video played to its end as the game plays it, sound included, on a
// clock stepped 10 ms a frame.
struct VideoPlay {
  int64_t pictures = 0;       // decoded
  int64_t lastPictureMs = 0;  // the clock when the last picture was decoded
  int64_t endedMs = -1;       // the clock when the player reported its end; -1 if never
};
VideoPlay PlayVideoToEnd(const std::string& file);
