// Video playback: a WMV file (ASF with WMV1, WMV2 or WMV3 video and WMA
// sound) played into a rectangle of the window. The picture is a texture
// drawn over the whole scene with its aspect kept and black around it; the
// sound goes through the audio library at the music volume. Decoding runs on
// the caller's thread, a little in every frame.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/GameState.h"

class cMediaPlayer {
 public:
  bool enabled = false;
  std::string fileName;
  TRect displayRect{0, 0, 800, 600};

  cMediaPlayer();
  ~cMediaPlayer();
  cMediaPlayer(cMediaPlayer&&) noexcept;
  cMediaPlayer& operator=(cMediaPlayer&&) noexcept;

  // Opens fileName and decodes its first picture. A file that is missing or
  // cannot be decoded opens as already finished (its position is not below
  // its length), with one line on stderr; one that is there but cannot be
  // played is also told in a message box.
  void Open();
  // Plays from the start. Escape, Space, Enter or a mouse click during play
  // take the video to its end.
  void Play();
  // Ends playback, silences the sound and frees the picture.
  void Stop();
  // Milliseconds from the start; the position stops at the length.
  int64_t Position() const;
  int64_t Length() const;
  // Decodes what is due and, while the video surface is shown, draws the
  // current picture. Once per frame, after the scene.
  void Frame();
  // Pictures decoded since Open (shown or dropped to keep up).
  int64_t FramesDecoded() const;

 private:
  struct Playback;
  std::unique_ptr<Playback> playback;
};

extern cMediaPlayer MediaPlayer1;
extern bool panelVisible;  // the video surface is shown

// Where the media player's time comes from: milliseconds of a steady clock
// (tests step it by hand). nullptr puts the system clock back.
using MediaClock = int64_t (*)();
void SetMediaClock(MediaClock clock);

// Loads the video module and opens the file on a thread of its own, so that
// the frame that opens the file later (StartVideo, Open) does not; a file
// already prepared, or any while one is, is left. The next Open of another
// file opens that one itself.
void PrepareVideo(const std::string& gamePath);
// Closes a video prepared and not opened (waiting for it if still opening).
void DropPreparedVideo();

// Shows the video surface and plays fileName into the video rectangle
// (0, 0, 800, 600).
void StartVideo(const char* fileName);
// While a video plays: once its position passes its length minus 10 ms,
// stops it, hides the surface and returns true.
bool StopVideoAtEnd();
