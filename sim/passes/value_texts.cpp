#include "passes/value_texts.h"

#include "inode.h"

#include <cctype>
#include <cstdint>
#include <charconv>
#include <cmath>
#include <vector>

namespace sim::passes {

namespace {

// A value text cut into numbers, words and single punctuation characters; blanks only separate.
struct Token {
  enum Type { Number, Word, Mark } type;
  std::string_view text;
  double number = 0;
};

bool tokenize(std::string_view s, std::vector<Token>& out) {
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c == ' ' || c == '\t') {
      ++i;
    } else if (std::isdigit(c) || c == '-' || c == '.') {
      double d;
      auto [end, ec] = std::from_chars(s.data() + i, s.data() + s.size(), d);
      if (ec != std::errc() || !std::isfinite(d)) return false;
      const size_t n = static_cast<size_t>(end - (s.data() + i));
      out.push_back({Token::Number, s.substr(i, n), d});
      i += n;
    } else if (std::isalpha(c)) {
      size_t j = i;
      while (j < s.size() && std::isalpha(static_cast<unsigned char>(s[j]))) ++j;
      out.push_back({Token::Word, s.substr(i, j - i)});
      i = j;
    } else {
      out.push_back({Token::Mark, s.substr(i, 1)});
      ++i;
    }
  }
  return true;
}

bool sameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// Matches `text` against a form such as "(color # # #)" or "[#,#,#]": '#' a number, letters a
// word (any case), anything else that character; blanks in the form are ignored.
bool matchForm(std::string_view text, std::string_view form, DecodedValue& v) {
  std::vector<Token> tokens;
  if (!tokenize(text, tokens)) return false;
  size_t t = 0;
  int count = 0;
  for (size_t i = 0; i < form.size();) {
    const char c = form[i];
    if (c == ' ') {
      ++i;
      continue;
    }
    if (t == tokens.size()) return false;
    const Token& tok = tokens[t++];
    if (c == '#') {
      if (tok.type != Token::Number || count == 4) return false;
      v.number[count++] = tok.number;
      ++i;
    } else if (std::isalpha(static_cast<unsigned char>(c))) {
      size_t j = i;
      while (j < form.size() && std::isalpha(static_cast<unsigned char>(form[j]))) ++j;
      if (tok.type != Token::Word || !sameWord(tok.text, form.substr(i, j - i))) return false;
      i = j;
    } else {
      if (tok.type != Token::Mark || tok.text[0] != c) return false;
      ++i;
    }
  }
  if (t != tokens.size()) return false;
  v.count = count;
  return true;
}

bool wholeInteger(std::string_view s, long long& out) {
  if (s.empty()) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && end == s.data() + s.size();
}

bool wholeNumber(std::string_view s, double& out) {
  if (s.empty()) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && end == s.data() + s.size() && std::isfinite(out);
}

DecodedValue numbers(ValueKind kind, std::string_view text, std::initializer_list<std::string_view> forms) {
  DecodedValue v;
  for (std::string_view form : forms)
    if (matchForm(text, form, v)) {
      v.kind = kind;
      return v;
    }
  v.kind = ValueKind::Unreadable;
  v.text = text;
  return v;
}

DecodedValue one(ValueKind kind, double d) {
  DecodedValue v;
  v.kind = kind;
  v.number[0] = d;
  v.count = 1;
  return v;
}

DecodedValue unreadable(std::string_view text) {
  DecodedValue v;
  v.kind = ValueKind::Unreadable;
  v.text = text;
  return v;
}

}  // namespace

const char* kindName(ValueKind kind) {
  switch (kind) {
    case ValueKind::Boolean: return "boolean";
    case ValueKind::Integer: return "integer";
    case ValueKind::Number: return "number";
    case ValueKind::Colour: return "colour";
    case ValueKind::Point3: return "point3";
    case ValueKind::Point4: return "point4";
    case ValueKind::Quat: return "quat";
    case ValueKind::String: return "string";
    case ValueKind::Name: return "name";
    case ValueKind::Object: return "object";
    case ValueKind::Material: return "material";
    case ValueKind::Undefined: return "undefined";
    case ValueKind::Unreadable: return "unreadable";
  }
  return "unreadable";
}

// Which literal each class tag stands for is fixed by capture: node flags are "0"/"1" with "bool",
// the wire colour is a packed colour word with "Name", and a scale is "([x, y, z])" with "quat" in
// pass records and "Point3" in the initial one.
DecodedValue decodeField(std::string_view property, std::string_view text, std::string_view cls) {
  DecodedValue v;
  if (property == "UserPropBuffer") {
    v.kind = ValueKind::String;
    v.text = text;
    return v;
  }
  if (text == "reftarg") {
    v.kind = ValueKind::Object;
    return v;
  }
  if (property == "QZMMaterial" && text == "QZMMaterial") {
    v.kind = ValueKind::Material;
    return v;
  }
  if (text == "undefined") return v;
  long long i;
  double d;
  if (cls == "bool") {
    if (text == "0" || sameWord(text, "false")) return one(ValueKind::Boolean, 0);
    if (text == "1" || sameWord(text, "true")) return one(ValueKind::Boolean, 1);
    return unreadable(text);
  }
  if (cls == "Name") {
    if (!wholeInteger(text, i) || i < INT32_MIN || i > INT32_MAX) return unreadable(text);
    if (property == "motionblur" && i >= MOTION_BLUR_NONE && i <= MOTION_BLUR_IMAGE) {
      v.kind = ValueKind::Name;
      v.text = i == MOTION_BLUR_OBJECT ? "object" : i == MOTION_BLUR_IMAGE ? "image" : "none";
      return v;
    }
    if (property != "wirecolor") return one(ValueKind::Integer, static_cast<double>(i));
    const auto packed = static_cast<std::uint32_t>(i);
    v.kind = ValueKind::Colour;
    v.count = 3;
    for (int c = 0; c < 3; ++c) v.number[c] = (packed >> (8 * c)) & 0xFF;
    return v;
  }
  if (cls == "int") return wholeInteger(text, i) ? one(ValueKind::Integer, static_cast<double>(i)) : unreadable(text);
  if (cls == "float") return wholeNumber(text, d) ? one(ValueKind::Number, d) : unreadable(text);
  if (cls == "color") return numbers(ValueKind::Colour, text, {"(color # # #)"});
  if (cls == "rgba") return numbers(ValueKind::Colour, text, {"(color # # # #)"});
  if (cls == "point3" || cls == "Point3") return numbers(ValueKind::Point3, text, {"[#,#,#]", "([#,#,#])"});
  if (cls == "point4") return numbers(ValueKind::Point4, text, {"[#,#,#,#]"});
  if (cls == "quat") {
    if (property == "scale") return numbers(ValueKind::Point3, text, {"([#,#,#])"});
    return numbers(ValueKind::Quat, text, {"(quat # # # #)"});
  }
  if (cls == "string") {
    v.kind = ValueKind::String;
    v.text = text;
    return v;
  }
  return unreadable(text);
}

std::string shortNumber(double d) {
  char buf[32];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
  return ec == std::errc() ? std::string(buf, end) : "0";
}

namespace {

std::string numberList(const DecodedValue& v, const char* open, const char* sep, const char* close) {
  std::string s = open;
  for (int i = 0; i < v.count; ++i) {
    if (i) s += sep;
    s += shortNumber(v.number[i]);
  }
  return s + close;
}

std::string quotedForPeople(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\t') out += "\\t";
    else if (c == '"' || c == '\\') (out += '\\') += c;
    else if (static_cast<unsigned char>(c) < 0x20) out += "?";
    else out += c;
  }
  return out + "\"";
}

}  // namespace

std::string displayText(const DecodedValue& v) {
  switch (v.kind) {
    case ValueKind::Boolean: return v.number[0] != 0 ? "true" : "false";
    case ValueKind::Integer:
    case ValueKind::Number: return shortNumber(v.number[0]);
    case ValueKind::Colour: return numberList(v, "(color ", " ", ")");
    case ValueKind::Point3:
    case ValueKind::Point4: return numberList(v, "[", ",", "]");
    case ValueKind::Quat: return numberList(v, "(quat ", " ", ")");
    case ValueKind::String: return quotedForPeople(v.text);
    case ValueKind::Name: return "#" + v.text;
    case ValueKind::Object:
      return v.className.empty() ? "missing object" : (v.text.empty() ? v.className : v.text + " (" + v.className + ")");
    case ValueKind::Material:
      return "slot " + std::to_string(v.slot) + ": " + (v.className.empty() ? "none" : v.text + " (" + v.className + ")");
    case ValueKind::Undefined: return "undefined";
    case ValueKind::Unreadable: return "unreadable " + quotedForPeople(v.text);
  }
  return "";
}

std::string jsonString(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 2);
  appendJsonString(out, s);
  return out;
}

void appendJsonString(std::string& out, std::string_view s) {
  static const char* hex = "0123456789abcdef";
  out += '"';
  for (size_t i = 0; i < s.size(); ++i) {
    // Plain printable ASCII, nearly every byte of a scene's names and values, goes in runs.
    size_t run = i;
    while (run < s.size() && s[run] >= 0x20 && s[run] < 0x7F && s[run] != '"' && s[run] != '\\') ++run;
    if (run > i) {
      out.append(s.substr(i, run - i));
      i = run - 1;
      continue;
    }
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c == '"' || c == '\\') {
      (out += '\\') += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      ((out += "\\u00") += hex[c >> 4]) += hex[c & 15];
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      // Whole UTF-8 sequences pass; any other byte becomes the replacement character, so the
      // output stays valid JSON whatever a name holds.
      const int n = c >= 0xF0 && c < 0xF5 ? 3 : c >= 0xE0 ? 2 : c >= 0xC2 && c < 0xE0 ? 1 : -1;
      bool ok = n > 0;
      for (int k = 1; ok && k <= n; ++k) ok = i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
      if (ok) {
        out.append(s.substr(i, static_cast<size_t>(n) + 1));
        i += static_cast<size_t>(n);
      } else {
        out += "\\ufffd";
      }
    }
  }
  out += '"';
}

std::string jsonValue(const DecodedValue& v) {
  switch (v.kind) {
    case ValueKind::Boolean: return v.number[0] != 0 ? "true" : "false";
    case ValueKind::Integer:
    case ValueKind::Number: return shortNumber(v.number[0]);
    case ValueKind::Colour:
    case ValueKind::Point3:
    case ValueKind::Point4:
    case ValueKind::Quat: return numberList(v, "[", ",", "]");
    case ValueKind::String:
    case ValueKind::Name:
    case ValueKind::Unreadable: return jsonString(v.text);
    case ValueKind::Object:
      if (v.className.empty()) return "null";
      return "{\"name\":" + jsonString(v.text) + ",\"class\":" + jsonString(v.className) + "}";
    case ValueKind::Material:
      return "{\"slot\":" + std::to_string(v.slot) + ",\"name\":" + (v.className.empty() ? "null" : jsonString(v.text)) +
             ",\"class\":" + (v.className.empty() ? "null" : jsonString(v.className)) + "}";
    case ValueKind::Undefined: return "null";
  }
  return "null";
}

}  // namespace sim::passes
