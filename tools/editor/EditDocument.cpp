#include "tools/editor/EditDocument.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/GameState.h"
#include "platform/Files.h"
#include "tools/level/LevelBinary.h"
#include "tools/editor/EditCheck.h"

namespace {

const char kNewLevelHeader[] = "# VIRKO level, made with virko-edit.\n";

std::optional<std::string> ReadSmallFile(const std::string& path, std::string& error) {
  std::error_code code;
  const auto size = std::filesystem::file_size(path, code);
  if (code) {
    error = "cannot read " + path + ": " + code.message();
    return std::nullopt;
  }
  if (size > kLargestLevelFile) {
    error = path + " is " + std::to_string(size) + " bytes, too large for a level";
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in && !in.eof()) {
    error = "cannot read " + path;
    return std::nullopt;
  }
  return bytes;
}

bool HasExtension(const std::string& path, const char* extension) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
  return ext == extension;
}

// The comment lines a text starts with, as they are.
std::string OpeningComment(const std::string& text) {
  size_t end = 0;
  while (end < text.size() && text[end] == '#') {
    const size_t next = text.find('\n', end);
    end = next == std::string::npos ? text.size() : next + 1;
  }
  return text.substr(0, end);
}

bool Replace(const std::string& path, const std::string& bytes, std::string& message) {
  if (ReplaceFile(path, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())) return true;
  message = "cannot write " + path + ": " + std::strerror(errno);
  return false;
}

}  // namespace

bool EditDocument::Do(EditCommand command) {
  if (!history.Do(level, std::move(command))) return false;
  KeepExisting(level, selection);
  return true;
}

bool EditDocument::Undo() {
  if (!history.Undo(level)) return false;
  KeepExisting(level, selection);
  return true;
}

bool EditDocument::Redo() {
  if (!history.Redo(level)) return false;
  KeepExisting(level, selection);
  return true;
}

std::string BinaryPathFor(const std::string& textPath) {
  return std::filesystem::path(textPath).replace_extension(".vrk").string();
}

std::optional<EditDocument> OpenLevel(const std::string& path, std::string& error) {
  const std::optional<std::string> bytes = ReadSmallFile(path, error);
  if (!bytes) return std::nullopt;
  EditDocument document;
  if (HasExtension(path, ".vrk") || IsBinaryLevel({bytes->begin(), bytes->end()})) {
    std::vector<std::string> messages;
    // Read from the file itself, so that the game's messages name it.
    std::optional<LevelSource> level = DecompileLevelFile(path, messages);
    if (!level) {
      error = path + ": the game refuses this level file";
      for (const std::string& message : messages) error += "\n" + message;
      return std::nullopt;
    }
    document.level = std::move(*level);
    document.openProblems = std::move(messages);
    document.binaryPath = path;
    document.textPath = std::filesystem::path(path).replace_extension(".level").string();
  } else {
    std::vector<LevelProblem> problems;
    document.level = ParseLevelText(*bytes, problems);
    for (const LevelProblem& problem : problems) document.openProblems.push_back(FormatProblem(path, problem));
    document.textPath = path;
    document.binaryPath = BinaryPathFor(path);
    document.textOnDisk = *bytes;
  }
  document.saved = document.level;
  return document;
}

EditDocument NewLevel(int64_t screensX, int64_t screensY) {
  EditDocument document;
  LevelSource& level = document.level;
  level.sizeLine = 1;
  level.screensX = screensX;
  level.screensY = screensY;
  level.rows.assign(size_t(std::max<int64_t>(screensY, 0)), std::vector<int64_t>(size_t(std::max<int64_t>(screensX, 0)), 0));
  level.rowLines.assign(level.rows.size(), 0);
  level.player = LevelUnit{{200, screensY * kScreenHeight / 2}, 0, 0};
  // The file holds one item of every kind and one block: they wait in the
  // top left corner, above any jump, for the designer to move or keep, and
  // the block (permanent, as the first of a path must be) in the top right.
  for (int64_t kind = 0; kind < 7; ++kind) level.pickups.push_back({{10 + 60 * kind, 10}, kind, 0});
  level.blocks.push_back({{screensX * kScreenWidth - 80, 10}, true, 0, 0});
  return document;
}

std::string TextToSave(const EditDocument& document) {
  if (document.textOnDisk && SameLevel(document.level, document.saved)) return *document.textOnDisk;
  const std::string header = document.textOnDisk ? OpeningComment(*document.textOnDisk) : kNewLevelHeader;
  std::string body = WriteLevelText(document.level, {});
  // WriteLevelText starts with a blank line, after its header.
  return header.empty() && !body.empty() && body[0] == '\n' ? body.substr(1) : header + body;
}

SaveResult SaveLevel(EditDocument& document, bool overwrite, std::string& message) {
  if (document.textPath.empty()) {
    message = "the level has no file name yet";
    return SaveResult::kFailed;
  }
  if (!overwrite) {
    std::string unused;
    const std::optional<std::string> onDisk =
        std::filesystem::exists(document.textPath) ? ReadSmallFile(document.textPath, unused) : std::nullopt;
    if (onDisk != document.textOnDisk && (onDisk || document.textOnDisk)) {
      message = document.textPath + (onDisk ? " was changed outside the editor since it was read"
                                            : " was removed outside the editor since it was read");
      return SaveResult::kChangedOutside;
    }
  }
  if (document.binaryPath.empty()) document.binaryPath = BinaryPathFor(document.textPath);
  const std::string text = TextToSave(document);
  if (!Replace(document.textPath, text, message)) return SaveResult::kFailed;
  document.textOnDisk = text;
  document.saved = document.level;
  document.history.MarkSaved();

  if (LevelHasErrors(document.level)) {
    message = "saved " + document.textPath + "; the level has errors, so " + document.binaryPath +
              " was not written";
    return SaveResult::kSavedWithErrors;
  }
  const std::vector<uint8_t> binary = LevelFileBytes(CompileLevel(document.level));
  if (!Replace(document.binaryPath, std::string(binary.begin(), binary.end()), message)) {
    message = "saved " + document.textPath + ", but " + message;
    return SaveResult::kFailed;
  }
  message = "saved " + document.textPath + " and " + document.binaryPath;
  return SaveResult::kSaved;
}
