// The editor's window: SDL with an OpenGL context, and Dear ImGui on it.
#pragma once

#include <SDL_events.h>

#include <deque>
#include <string>

struct SDL_Window;
class Editor;

class EditorWindow {
 public:
  ~EditorWindow();
  bool Open(int width, int height, std::string& error);
  // Feeds the events of this frame to ImGui; with wait and none pending,
  // first waits up to waitMs for one. Returns whether there were any or more
  // wait; closeAsked tells whether the window's close was asked for.
  bool Events(bool wait, int waitMs, bool& closeAsked);
  // One frame of the editor: its interface, its world, the swap.
  void Frame(Editor& editor);
  void SetTitle(const std::string& title);
  // Raises the window and gives it the keyboard (back from a test play).
  void TakeFocus();
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  SDL_Window* window_ = nullptr;
  void* context_ = nullptr;
  bool imgui_ = false;
  int width_ = 0, height_ = 0;
  std::string title_;
  std::deque<SDL_Event> pending_;  // for the next frames
};
