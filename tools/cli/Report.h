// A report of what the game read: a tree of named values, printed either as
// one JSON object or as indented text for people.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class ReportValue {
 public:
  enum class Kind { integer, real32, real64, boolean, text, array, object };

  static ReportValue Integer(int64_t value);
  // Reals keep their width: a 32-bit real is printed with 9 significant
  // digits and a 64-bit real with 17, so both read back to the same value.
  static ReportValue Real32(float value);
  static ReportValue Real64(double value);
  static ReportValue Boolean(bool value);
  // Text already in UTF-8.
  static ReportValue Text(std::string utf8);
  // The game's Windows-1257 bytes, converted to UTF-8.
  static ReportValue GameText(const std::string& bytes);
  static ReportValue Array();
  static ReportValue Object();

  // Appends an element to an array, or a member to an object; returns it.
  ReportValue& Add(ReportValue element);
  ReportValue& Add(std::string key, ReportValue value);

  Kind kind() const { return kind_; }
  int64_t integer() const { return integer_; }
  double real() const { return real_; }
  const std::string& text() const { return text_; }
  const std::vector<ReportValue>& elements() const { return elements_; }
  const std::vector<std::pair<std::string, ReportValue>>& members() const { return members_; }

 private:
  explicit ReportValue(Kind kind) : kind_(kind) {}

  Kind kind_;
  int64_t integer_ = 0;
  double real_ = 0;
  std::string text_;
  std::vector<ReportValue> elements_;
  std::vector<std::pair<std::string, ReportValue>> members_;
};

// One JSON value, objects indented by two spaces, ending with a newline.
std::string ToJson(const ReportValue& value);
// "key: value" lines; small records and lists of numbers stay on one line,
// larger lists give one line per element, led by its index.
std::string ToText(const ReportValue& value);
