#include "tools/level/LevelText.h"

#include <charconv>
#include <cstdio>

namespace {

struct Token {
  std::string text;
  int line;
};

// One statement: its tokens, which may come from several continued lines.
using Statement = std::vector<Token>;

std::string_view StripComment(std::string_view line) {
  const size_t hash = line.find('#');
  return hash == std::string_view::npos ? line : line.substr(0, hash);
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Splits at blanks; a comma is a token of its own, so "10, 20" reads as "10,20".
void Tokenise(std::string_view text, int line, Statement& out) {
  std::string current;
  auto flush = [&] {
    if (!current.empty()) out.push_back({current, line});
    current.clear();
  };
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\r') {
      flush();
    } else if (c == ',') {
      flush();
      out.push_back({",", line});
    } else {
      current += c;
    }
  }
  flush();
}

std::vector<Statement> SplitStatements(std::string_view text, int& lineCount) {
  std::vector<Statement> statements;
  Statement pending;
  int line = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    ++line;
    std::string_view body = TrimRight(StripComment(text.substr(start, end - start)));
    const bool continues = !body.empty() && body.back() == '\\';
    if (continues) body.remove_suffix(1);
    Tokenise(body, line, pending);
    if (!continues && !pending.empty()) {
      statements.push_back(std::move(pending));
      pending.clear();
    }
    start = end + 1;
  }
  if (!pending.empty()) statements.push_back(std::move(pending));
  lineCount = line;
  return statements;
}

// Walks the tokens of one statement; the first failure is kept as its problem.
class Reader {
 public:
  explicit Reader(const Statement& statement) : tokens_(statement), next_(1) {}

  int Line() const { return next_ < tokens_.size() ? tokens_[next_].line : tokens_.back().line; }
  bool AtEnd() const { return next_ >= tokens_.size(); }
  bool Failed() const { return failed_; }
  const LevelProblem& Problem() const { return problem_; }

  bool Fail(const std::string& message) {
    if (!failed_) problem_ = {Line(), LevelProblem::kError, message};
    failed_ = true;
    return false;
  }

  bool PeekWord(const char* word) const { return !AtEnd() && tokens_[next_].text == word; }

  bool Number(int64_t& value, const char* what) {
    if (failed_) return false;
    if (AtEnd()) return Fail(std::string("missing ") + what);
    const std::string& text = tokens_[next_].text;
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    int64_t parsed = 0;
    const auto [end, error] = std::from_chars(first, last, parsed);
    if (error == std::errc::result_out_of_range || (error == std::errc() && text.size() > 12))
      return Fail("number '" + text + "' is far too large");
    if (error != std::errc() || end != last) {
      if (text.find('.') != std::string::npos && error == std::errc())
        return Fail("'" + text + "' is not a whole number (" + what + ")");
      return Fail("expected " + std::string(what) + ", found '" + text + "'");
    }
    value = parsed;
    ++next_;
    return true;
  }

  bool Point(LevelPoint& point) {
    if (!Number(point.x, "a point x,y")) return false;
    if (AtEnd() || tokens_[next_].text != ",")
      return Fail("expected ',' and the y of the point");
    ++next_;
    return Number(point.y, "the y of the point");
  }

  bool Word(const char* word) {
    if (failed_) return false;
    if (!PeekWord(word)) {
      return Fail(std::string("expected '") + word + "'" +
                  (AtEnd() ? "" : ", found '" + tokens_[next_].text + "'"));
    }
    ++next_;
    return true;
  }

  bool End() {
    if (failed_) return false;
    if (!AtEnd()) return Fail("unexpected '" + tokens_[next_].text + "'");
    return true;
  }

 private:
  const Statement& tokens_;
  size_t next_;
  bool failed_ = false;
  LevelProblem problem_;
};

int ListOfKeyword(const std::string& keyword) {
  for (int list = 0; list < kLineLists; ++list)
    if (keyword == LineListKeyword(list)) return list;
  return -1;
}

void ReadStatement(const Statement& statement, LevelSource& level,
                   std::vector<LevelProblem>& problems) {
  const std::string& keyword = statement[0].text;
  const int line = statement[0].line;
  Reader in(statement);
  if (keyword == "size") {
    int64_t across = 0, down = 0;
    if (level.sizeLine) {
      in.Fail("second size statement (the first is on line " + std::to_string(level.sizeLine) + ")");
    } else if (in.Number(across, "screens across") && in.Number(down, "screens down") && in.End()) {
      level.screensX = across;
      level.screensY = down;
      level.sizeLine = line;
    }
  } else if (keyword == "row") {
    std::vector<int64_t> row;
    do {
      int64_t cell = 0;
      if (in.Number(cell, "a screen picture number")) row.push_back(cell);
    } while (!in.Failed() && !in.AtEnd());
    if (!in.Failed()) {
      level.rows.push_back(std::move(row));
      level.rowLines.push_back(line);
    }
  } else if (const int list = ListOfKeyword(keyword); list >= 0) {
    LevelStroke stroke{{}, line};
    do {
      LevelPoint point;
      if (in.Point(point)) stroke.points.push_back(point);
    } while (!in.Failed() && !in.AtEnd());
    if (!in.Failed()) level.lines[list].push_back(std::move(stroke));
  } else if (keyword == "player" || keyword == "unit") {
    LevelUnit unit{{}, 0, line};
    const bool isPlayer = keyword == "player";
    if (isPlayer && level.player) {
      in.Fail("second player statement (the first is on line " + std::to_string(level.player->line) + ")");
    } else if (in.Point(unit.at)) {
      // The player's type may be left out (0); a unit's may not.
      if (!isPlayer || in.PeekWord("type")) {
        if (in.Word("type")) in.Number(unit.type, "a unit type");
      }
      if (in.End()) {
        if (isPlayer) {
          level.player = unit;
        } else {
          level.units.push_back(unit);
        }
      }
    }
  } else if (keyword == "pickup") {
    LevelPickup pickup{{}, 0, line};
    if (in.Point(pickup.at) && in.Word("kind") && in.Number(pickup.kind, "a pickup kind") && in.End())
      level.pickups.push_back(pickup);
  } else if (keyword == "block") {
    LevelBlock block{{}, false, 0, line};
    bool sawSolidNow = false;
    if (in.Point(block.at)) {
      while (!in.Failed() && !in.AtEnd()) {
        if (in.PeekWord("permanent") && !block.permanent) {
          in.Word("permanent");
          block.permanent = true;
        } else if (in.PeekWord("solidnow") && !sawSolidNow) {
          in.Word("solidnow");
          in.Number(block.solidNow, "the solidnow value");
          sawSolidNow = true;
        } else {
          in.End();
        }
      }
      if (!in.Failed()) level.blocks.push_back(block);
    }
  } else {
    in.Fail("unknown statement '" + keyword +
            "' (expected size, row, solid, platform, unused, player, unit, pickup or block)");
    problems.push_back({line, LevelProblem::kError, in.Problem().message});
    return;
  }
  if (in.Failed()) problems.push_back(in.Problem());
}

void AppendPoint(std::string& out, const LevelPoint& point) {
  out += std::to_string(point.x) + "," + std::to_string(point.y);
}

// A stroke's points, six to a line, continued with "\".
void AppendStroke(std::string& out, const char* keyword, const LevelStroke& stroke) {
  const std::string indent(std::string(keyword).size() + 1, ' ');
  out += keyword;
  for (size_t i = 0; i < stroke.points.size(); ++i) {
    out += (i > 0 && i % 6 == 0) ? " \\\n" + indent : " ";
    AppendPoint(out, stroke.points[i]);
  }
  out += "\n";
}

}  // namespace

const char* LineListKeyword(int list) {
  static const char* const kKeywords[kLineLists] = {"solid", "platform", "unused"};
  return kKeywords[list];
}

bool HasErrors(const std::vector<LevelProblem>& problems) {
  for (const LevelProblem& problem : problems)
    if (problem.severity == LevelProblem::kError) return true;
  return false;
}

std::string FormatProblem(const std::string& name, const LevelProblem& problem) {
  std::string out = name;
  if (problem.line > 0) out += ":" + std::to_string(problem.line);
  out += problem.severity == LevelProblem::kError ? ": error: " : ": warning: ";
  return out + problem.message;
}

LevelSource ParseLevelText(std::string_view text, std::vector<LevelProblem>& problems) {
  LevelSource level;
  for (const Statement& statement : SplitStatements(text, level.lastLine))
    ReadStatement(statement, level, problems);
  return level;
}

std::string WriteLevelText(const LevelSource& level, const std::vector<std::string>& header) {
  std::string out;
  for (const std::string& line : header) out += "# " + line + "\n";
  out += "\nsize " + std::to_string(level.screensX) + " " + std::to_string(level.screensY) + "\n";

  out += "\n# Screen pictures, one grid row per line, top row first:\n"
         "# 0 = none, v = the picture \"v-1.tga\" of the level's folder.\n";
  for (const std::vector<int64_t>& row : level.rows) {
    out += "row";
    for (int64_t cell : row) {
      char field[16];
      std::snprintf(field, sizeof field, " %2lld", static_cast<long long>(cell));
      out += field;
    }
    out += "\n";
  }

  static const char* const kListComments[kLineLists] = {
      "Solid lines (white): ground, walls and ceilings. One stroke per statement.",
      "Platforms (blue): carry from above, let a jump pass from below.",
      "Unused lines: kept in the file, never drawn."};
  for (int list = 0; list < kLineLists; ++list) {
    if (level.lines[list].empty()) continue;
    out += std::string("\n# ") + kListComments[list] + "\n";
    for (const LevelStroke& stroke : level.lines[list])
      AppendStroke(out, LineListKeyword(list), stroke);
  }

  out += "\n# The player's start (centre of the sprite) and unit type.\n";
  if (level.player) {
    out += "player ";
    AppendPoint(out, level.player->at);
    out += " type " + std::to_string(level.player->type) + "\n";
  }
  if (!level.units.empty()) {
    out += "\n# Units, in order: start (centre) and unit type.\n";
    for (const LevelUnit& unit : level.units) {
      out += "unit ";
      AppendPoint(out, unit.at);
      out += " type " + std::to_string(unit.type) + "\n";
    }
  }
  if (!level.pickups.empty()) {
    out += "\n# Pickups: top-left corner and kind.\n";
    for (const LevelPickup& pickup : level.pickups) {
      out += "pickup ";
      AppendPoint(out, pickup.at);
      out += " kind " + std::to_string(pickup.kind) + "\n";
    }
  }
  if (!level.blocks.empty()) {
    out += "\n# Blocks, in path order: top-left corner. Standing on a solid block\n"
           "# makes the next one in the list solid for a while.\n";
    for (const LevelBlock& block : level.blocks) {
      out += "block ";
      AppendPoint(out, block.at);
      if (block.permanent) out += " permanent";
      if (block.solidNow != 0) out += " solidnow " + std::to_string(block.solidNow);
      out += "\n";
    }
  }
  return out;
}
