// Recovery files: the level as it was being edited, written now and then so
// that a crash or a kill loses little. One file per level path (and one for
// a level not yet saved), in $XDG_STATE_HOME/virko-edit
// (~/.local/state/virko-edit); removed when the level is saved or the
// editor closes normally.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/editor/EditDocument.h"

// The folder, made if missing; empty when no home is known.
std::string RecoveryFolder();
// The recovery file of a level path (empty: the unsaved new level).
std::string RecoveryFileFor(const std::string& folder, const std::string& levelPath);

bool WriteRecovery(const std::string& folder, const EditDocument& document, std::string& error);
void RemoveRecovery(const std::string& folder, const EditDocument& document);

struct RecoveredLevel {
  std::string file;       // the recovery file
  std::string levelPath;  // the level it belongs to; empty for a new level
  LevelSource level;
};
// Every readable recovery file of the folder, the newest first.
std::vector<RecoveredLevel> FindRecoveries(const std::string& folder);
// The document to edit from a recovered level: the level file as it is on
// disk (if any) with the recovered content as an unsaved change.
EditDocument RestoreRecovery(const RecoveredLevel& recovered);
