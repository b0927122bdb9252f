// The pad the game reads: the first game controller connected, for as long
// as it stays connected, else the first plain joystick until a controller
// comes; when it goes, its states go with it and the next one takes over. A
// device SDL knows as a game controller is read by where its buttons are;
// any other joystick by their numbers, each of its axes once it has been
// seen at rest.
#pragma once

#include <cstdint>
#include <string>

#include "app/Input.h"

// Starts the pads (the controller mappings loaded) on the first call, also
// the first after SDL was shut down, and takes the pad to use as said above.
// Called again when a pad comes or goes, so that the one in use sends its
// events.
void FollowPads();
// Lets the pad go and the pads' part of SDL stop, before SDL_Quit; the next
// FollowPads starts them again.
void ClosePads();
// The states the pad holds now, none without a pad. Follows the pads.
InputSet PadStates();

// Controller mappings, one a line in SDL's format: blank lines, comments and
// lines for other platforms are passed over; a line SDL cannot take is
// skipped with one line on stderr naming source and line. Returns the count
// taken.
int AddPadMappings(const std::string& text, const std::string& source);

// An SDL axis value (-32768..32767) of a plain joystick on the stick's range
// of -1000..1000, 0 inside the dead zone of 50.
int ScaleAxis(int16_t value);
