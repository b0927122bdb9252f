#include "platform/GamePad.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/PlayerFolders.h"

namespace {

constexpr int kAxisRange = 1000;
constexpr int kDeadZone = 50;
// A controller's stick counts as pushed beyond a quarter of its travel, so
// that worn sticks that rest off-centre stay at rest.
constexpr int kControllerDeadZone = 32767 / 4;
constexpr size_t kLongestMappingFile = 4 << 20;

struct tPad {
  SDL_GameController* controller = nullptr;  // or, for a plain joystick:
  SDL_Joystick* joystick = nullptr;
  // A plain joystick's X and Y axes count once they have been at rest: a
  // pedal or throttle resting at one end holds no direction.
  bool centred[2] = {false, false};
};
tPad pad;

enum class tPadsStarted { no, yes, failed };
tPadsStarted padsStarted = tPadsStarted::no;

bool Attached(const tPad& p) {
  SDL_Joystick* joystick = p.controller ? SDL_GameControllerGetJoystick(p.controller) : p.joystick;
  return joystick && SDL_JoystickGetAttached(joystick);
}

void Close(tPad& p) {
  if (p.controller) SDL_GameControllerClose(p.controller);
  if (p.joystick) SDL_JoystickClose(p.joystick);
  p = tPad{};
}

tPad Open(int device) {
  tPad p;
  if (SDL_IsGameController(device))
    p.controller = SDL_GameControllerOpen(device);
  else
    p.joystick = SDL_JoystickOpen(device);
  return p;
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string text(kLongestMappingFile, '\0');
  in.read(text.data(), std::streamsize(text.size()));
  text.resize(size_t(in.gcount()));
  return text;
}

// The mappings of SDL_GAMECONTROLLERCONFIG and of the player's
// gamecontrollerdb.txt, on top of SDL's own.
void LoadPadMappings() {
  if (const char* variable = std::getenv("SDL_GAMECONTROLLERCONFIG"))
    AddPadMappings(variable, "SDL_GAMECONTROLLERCONFIG");
  const std::string folder = PlayerConfigFolder();
  if (!folder.empty()) {
    const std::string path = folder + "/gamecontrollerdb.txt";
    AddPadMappings(FileText(path), path);
  }
}

// Once, and again after SDL has been shut down and started anew (the game
// run twice in one process): SDL_Quit frees the pad it had opened.
bool StartPads() {
  if (padsStarted == tPadsStarted::yes && !SDL_WasInit(SDL_INIT_GAMECONTROLLER)) {
    pad = tPad{};
    padsStarted = tPadsStarted::no;
  }
  if (padsStarted != tPadsStarted::no) return padsStarted == tPadsStarted::yes;
  padsStarted = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0 ? tPadsStarted::yes
                                                                : tPadsStarted::failed;
  if (padsStarted == tPadsStarted::yes) LoadPadMappings();
  return padsStarted == tPadsStarted::yes;
}

// The first game controller connected, or -1.
int FirstController() {
  for (int device = 0; device < SDL_NumJoysticks(); ++device)
    if (SDL_IsGameController(device)) return device;
  return -1;
}

InputSet ControllerStates(SDL_GameController* controller) {
  const auto held = [controller](SDL_GameControllerButton button) {
    return SDL_GameControllerGetButton(controller, button) != 0;
  };
  const int x = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
  const int y = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY);
  InputSet states{};
  if (held(SDL_CONTROLLER_BUTTON_DPAD_LEFT) || x < -kControllerDeadZone) states.Add(isLeft);
  if (held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) || x > kControllerDeadZone) states.Add(isRight);
  if (held(SDL_CONTROLLER_BUTTON_DPAD_UP) || y < -kControllerDeadZone) states.Add(isUp);
  if (held(SDL_CONTROLLER_BUTTON_DPAD_DOWN) || y > kControllerDeadZone) states.Add(isDown);
  if (held(SDL_CONTROLLER_BUTTON_A)) {  // jump, and the splash's Space
    states.Add(Button(7));
    states.Add(Button(1));
  }
  if (held(SDL_CONTROLLER_BUTTON_X) || held(SDL_CONTROLLER_BUTTON_B)) states.Add(Button(3));  // throw
  if (held(SDL_CONTROLLER_BUTTON_START)) states.Add(Button(8));  // the exit prompt
  return states;
}

// An axis of a plain joystick, 0 until it has been seen at rest.
int CentredAxis(tPad& p, int axis) {
  const int value = ScaleAxis(SDL_JoystickGetAxis(p.joystick, axis));
  if (value == 0) p.centred[axis] = true;
  return p.centred[axis] ? value : 0;
}

InputSet JoystickStates(tPad& p) {
  SDL_Joystick* joystick = p.joystick;
  InputSet states{};
  const int x = CentredAxis(p, 0);
  const int y = CentredAxis(p, 1);
  if (x < 0) states.Add(isLeft);
  if (x > 0) states.Add(isRight);
  if (y < 0) states.Add(isUp);
  if (y > 0) states.Add(isDown);
  const int buttons = std::min(SDL_JoystickNumButtons(joystick), 32);
  for (int n = 1; n <= buttons; ++n) {
    if (SDL_JoystickGetButton(joystick, n - 1)) states.Add(Button(n));
  }
  return states;
}

}  // namespace

int AddPadMappings(const std::string& text, const std::string& source) {
  std::istringstream lines(text);
  std::string line;
  int taken = 0;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos || line[line.find_first_not_of(" \t")] == '#')
      continue;
    const size_t platform = line.find("platform:");
    if (platform != std::string::npos && line.compare(platform, 15, "platform:Linux,") != 0 &&
        line.compare(platform, 14, "platform:Linux") != 0)
      continue;
    if (SDL_GameControllerAddMapping(line.c_str()) < 0) {
      std::fprintf(stderr, "%s, line %d: not a controller mapping (%s); skipped\n", source.c_str(),
                   number, SDL_GetError());
      continue;
    }
    ++taken;
  }
  return taken;
}

int ScaleAxis(int16_t value) {
  const int scaled = std::clamp(value * kAxisRange / 32767, -kAxisRange, kAxisRange);
  return std::abs(scaled) <= kDeadZone ? 0 : scaled;
}

void FollowPads() {
  if (!StartPads() || (pad.controller && Attached(pad))) return;
  // A game controller is preferred to a plain joystick (a wheel, pedals, a
  // keyboard that says it is one), even one opened before it came.
  const int controller = FirstController();
  if (controller >= 0) {
    Close(pad);
    pad = Open(controller);
    return;
  }
  if (Attached(pad)) return;
  Close(pad);
  for (int device = 0; device < SDL_NumJoysticks() && !Attached(pad); ++device) {
    Close(pad);
    pad = Open(device);
  }
}

void ClosePads() {
  if (padsStarted != tPadsStarted::yes) return;
  if (SDL_WasInit(SDL_INIT_GAMECONTROLLER)) {
    Close(pad);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  }
  pad = tPad{};
  padsStarted = tPadsStarted::no;
}

InputSet PadStates() {
  SDL_GameControllerUpdate();  // also brings devices that came and went
  FollowPads();
  if (pad.controller) return ControllerStates(pad.controller);
  if (pad.joystick) return JoystickStates(pad);
  return InputSet{};
}
