#include "tools/editor/EditHistory.h"

#include <utility>

bool EditHistory::Do(LevelSource& level, EditCommand command) {
  if (command.changes.empty() || !ApplyCommand(level, command)) return false;
  undone_.clear();
  done_.push_back({std::move(command), nextId_++});
  if (done_.size() > depth_) {
    // Undoing everything now ends after the oldest step kept.
    base_ = done_.front().id;
    done_.pop_front();
  }
  ++version_;
  return true;
}

bool EditHistory::Undo(LevelSource& level) {
  if (done_.empty() || !RevertCommand(level, done_.back().command)) return false;
  undone_.push_back(std::move(done_.back()));
  done_.pop_back();
  ++version_;
  return true;
}

bool EditHistory::Redo(LevelSource& level) {
  if (undone_.empty() || !ApplyCommand(level, undone_.back().command)) return false;
  done_.push_back(std::move(undone_.back()));
  undone_.pop_back();
  ++version_;
  return true;
}

const std::string& EditHistory::UndoName() const {
  static const std::string kNone;
  return done_.empty() ? kNone : done_.back().command.name;
}

const std::string& EditHistory::RedoName() const {
  static const std::string kNone;
  return undone_.empty() ? kNone : undone_.back().command.name;
}

void EditHistory::Clear() {
  done_.clear();
  undone_.clear();
  base_ = nextId_++;
  saved_ = base_;
  ++version_;
}
