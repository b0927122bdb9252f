// Video playback: a WMV file played into a rectangle of the window, its
// picture as a texture drawn over the scene and its sound through the audio
// library.
#pragma once

#include <cstdint>
#include <string>

#include "app/GameState.h"

class cMediaPlayer {
 public:
  bool enabled = false;
  std::string fileName;
  TRect displayRect{0, 0, 800, 600};

  // A file that is missing or cannot be decoded opens as already finished:
  // its position is then beyond its length.
  void Open();
  void Play();
  void Stop();
  // Milliseconds.
  int64_t Position() const;
  int64_t Length() const;
  // Decodes what is due and draws the current picture; once per frame.
  void Frame();
};

extern cMediaPlayer MediaPlayer1;
extern bool panelVisible;  // the video surface is shown
