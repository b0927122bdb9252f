// The live problem list: what the level tool's check reports, tied to the
// items it concerns, and what a player cannot see coming.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/editor/EditItems.h"

struct EditProblem {
  LevelProblem::Severity severity = LevelProblem::kError;
  std::string message;
  std::optional<ItemRef> item;        // the item concerned, if one is
  std::optional<LevelPoint> place;    // where to look
};

// The check's problems, each with the item of the statement it names.
std::vector<EditProblem> CheckForEditor(const LevelSource& level);

// Whether the level has an error the game would refuse it for.
bool LevelHasErrors(const LevelSource& level);

// Scenery cut off at a screen's top edge (a screen whose neighbour above
// has no picture), items outside the level or past its end, and items whose
// anchor lies in solid ground. Warnings, each with its place.
std::vector<EditProblem> HiddenDangers(const LevelSource& level);
