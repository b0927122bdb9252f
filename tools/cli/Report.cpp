#include "tools/cli/Report.h"

#include <cmath>
#include <cstdio>

#include "platform/MessageBox.h"

ReportValue ReportValue::Integer(int64_t value) {
  ReportValue v(Kind::integer);
  v.integer_ = value;
  return v;
}

ReportValue ReportValue::Real32(float value) {
  ReportValue v(Kind::real32);
  v.real_ = value;
  return v;
}

ReportValue ReportValue::Real64(double value) {
  ReportValue v(Kind::real64);
  v.real_ = value;
  return v;
}

ReportValue ReportValue::Boolean(bool value) {
  ReportValue v(Kind::boolean);
  v.integer_ = value;
  return v;
}

ReportValue ReportValue::Text(std::string utf8) {
  ReportValue v(Kind::text);
  v.text_ = std::move(utf8);
  return v;
}

ReportValue ReportValue::GameText(const std::string& bytes) { return Text(Cp1257ToUtf8(bytes)); }

ReportValue ReportValue::Array() { return ReportValue(Kind::array); }
ReportValue ReportValue::Object() { return ReportValue(Kind::object); }

ReportValue& ReportValue::Add(ReportValue element) {
  elements_.push_back(std::move(element));
  return elements_.back();
}

ReportValue& ReportValue::Add(std::string key, ReportValue value) {
  members_.emplace_back(std::move(key), std::move(value));
  return members_.back().second;
}

namespace {

using Kind = ReportValue::Kind;

bool IsScalar(const ReportValue& v) { return v.kind() != Kind::array && v.kind() != Kind::object; }

// Arrays of scalars and records of scalars are printed on one line.
bool IsFlat(const ReportValue& v) {
  if (v.kind() == Kind::array) {
    for (const ReportValue& e : v.elements())
      if (!IsScalar(e)) return false;
    return true;
  }
  if (v.kind() == Kind::object) {
    for (const auto& [key, member] : v.members())
      if (!IsScalar(member)) return false;
    return true;
  }
  return true;
}

std::string FormatReal(const char* format, double value) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

// Numbers and booleans, the same in both forms (JSON has no NaN or infinity).
std::string FormatNumber(const ReportValue& v, bool json) {
  switch (v.kind()) {
    case Kind::integer: return std::to_string(v.integer());
    case Kind::boolean: return v.integer() ? "true" : "false";
    case Kind::real32:
    case Kind::real64:
      if (json && !std::isfinite(v.real())) return "null";
      return FormatReal(v.kind() == Kind::real32 ? "%.9g" : "%.17g", v.real());
    default: return "";
  }
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", c);
          out += escape;
        } else {
          out += char(c);
        }
    }
  }
  return out + "\"";
}

// Text form: quoted as it is (paths keep their backslashes), control
// characters shown as escapes so that one value stays on one line.
std::string TextString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02x", c);
      out += escape;
    } else {
      out += char(c);
    }
  }
  return out + "\"";
}

void WriteJson(const ReportValue& v, int indent, std::string& out) {
  if (v.kind() == Kind::text) {
    out += JsonString(v.text());
  } else if (IsScalar(v)) {
    out += FormatNumber(v, true);
  } else if (v.kind() == Kind::object) {
    if (v.members().empty()) {
      out += "{}";
      return;
    }
    out += "{";
    const std::string inner(indent + 2, ' ');
    bool first = true;
    for (const auto& [key, member] : v.members()) {
      out += first ? "\n" : ",\n";
      first = false;
      out += inner + JsonString(key) + ": ";
      WriteJson(member, indent + 2, out);
    }
    out += "\n" + std::string(indent, ' ') + "}";
  } else if (IsFlat(v)) {
    out += "[";
    for (size_t i = 0; i < v.elements().size(); ++i) {
      if (i) out += ", ";
      WriteJson(v.elements()[i], indent, out);
    }
    out += "]";
  } else {
    out += "[";
    const std::string inner(indent + 2, ' ');
    for (size_t i = 0; i < v.elements().size(); ++i) {
      out += i ? ",\n" : "\n";
      out += inner;
      WriteJson(v.elements()[i], indent + 2, out);
    }
    out += "\n" + std::string(indent, ' ') + "]";
  }
}

std::string InlineText(const ReportValue& v) {
  if (v.kind() == Kind::text) return TextString(v.text());
  if (IsScalar(v)) return FormatNumber(v, false);
  std::string out;
  if (v.kind() == Kind::array) {
    out = "[";
    for (size_t i = 0; i < v.elements().size(); ++i)
      out += (i ? ", " : "") + InlineText(v.elements()[i]);
    return out + "]";
  }
  out = "{";
  bool first = true;
  for (const auto& [key, member] : v.members()) {
    out += (first ? "" : ", ") + key + ": " + InlineText(member);
    first = false;
  }
  return out + "}";
}

void WriteText(const std::string& label, const ReportValue& v, int indent, std::string& out) {
  const std::string pad(indent, ' ');
  if (IsFlat(v)) {
    out += pad + label + ": " + InlineText(v) + "\n";
    return;
  }
  out += pad + label + ":\n";
  if (v.kind() == Kind::object) {
    for (const auto& [key, member] : v.members()) WriteText(key, member, indent + 2, out);
  } else {
    for (size_t i = 0; i < v.elements().size(); ++i)
      WriteText("[" + std::to_string(i) + "]", v.elements()[i], indent + 2, out);
  }
}

}  // namespace

std::string ToJson(const ReportValue& value) {
  std::string out;
  WriteJson(value, 0, out);
  return out + "\n";
}

std::string ToText(const ReportValue& value) {
  std::string out;
  if (value.kind() == Kind::object) {
    for (const auto& [key, member] : value.members()) WriteText(key, member, 0, out);
  } else {
    out = InlineText(value) + "\n";
  }
  return out;
}
