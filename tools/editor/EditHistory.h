// Undo and redo: the commands done to a level, newest last.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

#include "tools/editor/EditCommand.h"

class EditHistory {
 public:
  // At most depth steps are kept; the oldest go first.
  explicit EditHistory(size_t depth = 1000) : depth_(depth) {}

  // Applies the command and keeps it (clearing what could be redone).
  // An empty command or one that does not fit the level is not kept.
  bool Do(LevelSource& level, EditCommand command);
  bool Undo(LevelSource& level);
  bool Redo(LevelSource& level);

  bool CanUndo() const { return !done_.empty(); }
  bool CanRedo() const { return !undone_.empty(); }
  const std::string& UndoName() const;
  const std::string& RedoName() const;
  size_t UndoSteps() const { return done_.size(); }

  // The level as it is now is the saved one; Modified tells whether it has
  // changed since (undoing back to it counts as unchanged).
  void MarkSaved() { saved_ = Current(); }
  void MarkUnsaved() { saved_ = kNever; }
  bool Modified() const { return Current() != saved_; }
  // Grows with every change of the level, undo and redo included.
  uint64_t Version() const { return version_; }
  void Clear();

 private:
  struct Step {
    EditCommand command;
    uint64_t id;
  };
  static constexpr uint64_t kNever = UINT64_MAX;
  // Every state of the level reached by a step has the id of that step;
  // base_ is the state before the oldest step kept.
  uint64_t Current() const { return done_.empty() ? base_ : done_.back().id; }

  size_t depth_;
  std::deque<Step> done_;
  std::deque<Step> undone_;
  uint64_t nextId_ = 1;
  uint64_t base_ = 0;
  uint64_t saved_ = 0;
  uint64_t version_ = 0;
};
