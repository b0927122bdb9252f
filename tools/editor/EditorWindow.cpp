#include "tools/editor/EditorWindow.h"

#include <SDL.h>
#include <imgui.h>
#include <backends/imgui_impl_opengl2.h>
#include <backends/imgui_impl_sdl.h>

#include <vector>

#include "gfx/Render.h"
#include "tools/editor/EditorUi.h"

EditorWindow::~EditorWindow() {
  if (imgui_) {
    ImGui_ImplOpenGL2_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext();
  }
  if (context_) {
    RenderReleaseContext();
    SDL_GL_DeleteContext(context_);
  }
  if (window_) SDL_DestroyWindow(window_);
  SDL_Quit();
}

bool EditorWindow::Open(int width, int height, std::string& error) {
  // Desktops tell the editor's windows from the game's by this.
  SDL_setenv("SDL_VIDEO_X11_WMCLASS", VIRKO_APP_ID ".Editor", 0);
  SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", VIRKO_APP_ID ".Editor", 0);
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
    error = std::string("no display: ") + SDL_GetError();
    return false;
  }
  // The game's context: OpenGL 2.1 compatibility, with depth.
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  window_ = SDL_CreateWindow("VIRKO Level Editor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                             SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (!window_) {
    error = std::string("cannot open a window: ") + SDL_GetError();
    return false;
  }
  context_ = SDL_GL_CreateContext(window_);
  if (!context_) {
    error = std::string("no OpenGL context: ") + SDL_GetError();
    return false;
  }
  SDL_GL_MakeCurrent(window_, context_);
  SDL_GL_SetSwapInterval(1);
  RenderSetupWorldView();
  IMGUI_CHECKVERSION();
  ImGui::CreateContext();
  ImGui::GetIO().IniFilename = nullptr;  // the panels start where they always do
  ImGui::StyleColorsDark();
  ImGui_ImplSDL2_InitForOpenGL(window_, context_);
  ImGui_ImplOpenGL2_Init();
  imgui_ = true;
  SDL_GetWindowSize(window_, &width_, &height_);
  return true;
}

namespace {

// A key or button released in the same frame as it was pressed would not be
// seen at all by ImGui, which looks at the state once a frame: a quick tap
// during a slow frame. Such a release, and what follows it, waits for the
// next frame.
bool ReleasesWhatThisFramePressed(const SDL_Event& event, const std::vector<SDL_Event>& taken) {
  for (const SDL_Event& earlier : taken) {
    if (event.type == SDL_KEYUP && earlier.type == SDL_KEYDOWN &&
        earlier.key.keysym.scancode == event.key.keysym.scancode)
      return true;
    if (event.type == SDL_MOUSEBUTTONUP && earlier.type == SDL_MOUSEBUTTONDOWN &&
        earlier.button.button == event.button.button)
      return true;
  }
  return false;
}

}  // namespace

bool EditorWindow::Events(bool wait, int waitMs, bool& closeAsked) {
  std::vector<SDL_Event> taken;
  SDL_Event event;
  if (pending_.empty() && wait && SDL_WaitEventTimeout(&event, waitMs)) pending_.push_back(event);
  while (SDL_PollEvent(&event)) pending_.push_back(event);
  while (!pending_.empty() && !ReleasesWhatThisFramePressed(pending_.front(), taken)) {
    const SDL_Event& next = pending_.front();
    ImGui_ImplSDL2_ProcessEvent(&next);
    if (next.type == SDL_KEYDOWN || next.type == SDL_KEYUP) {
      // The back end reads the modifiers as they are now, after the whole
      // batch; the event's own are those held with its key.
      ImGuiIO& io = ImGui::GetIO();
      io.KeyCtrl = (next.key.keysym.mod & KMOD_CTRL) != 0;
      io.KeyShift = (next.key.keysym.mod & KMOD_SHIFT) != 0;
      io.KeyAlt = (next.key.keysym.mod & KMOD_ALT) != 0;
    }
    if (next.type == SDL_QUIT) closeAsked = true;
    if (next.type == SDL_WINDOWEVENT && next.window.event == SDL_WINDOWEVENT_CLOSE) closeAsked = true;
    taken.push_back(next);
    pending_.pop_front();
  }
  SDL_GetWindowSize(window_, &width_, &height_);
  return !taken.empty() || !pending_.empty();
}

void EditorWindow::Frame(Editor& editor) {
  ImGui_ImplOpenGL2_NewFrame();
  ImGui_ImplSDL2_NewFrame();
  ImGui::NewFrame();
  editor.Frame(width_, height_);
  ImGui::Render();
  int drawableWidth = 0, drawableHeight = 0;
  SDL_GL_GetDrawableSize(window_, &drawableWidth, &drawableHeight);
  // The level first, the interface over it.
  editor.DrawWorld(drawableWidth, drawableHeight);
  ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
  SDL_GL_SwapWindow(window_);
}

void EditorWindow::SetTitle(const std::string& title) {
  if (title == title_) return;
  title_ = title;
  SDL_SetWindowTitle(window_, title.c_str());
}

void EditorWindow::TakeFocus() {
  SDL_RaiseWindow(window_);
  SDL_SetWindowInputFocus(window_);
}
