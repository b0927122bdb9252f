// The level text format: a human-editable description of one level, and its
// compiler to and from the game's binary level file.
#pragma once
