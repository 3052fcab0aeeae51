// String tools scripts reach for beside the basic ones: trimming, whitespace tests and replacing.
// Every one answers a new string and leaves its argument as it was.
#include "maxscript/maxscript.h"

#include <string>

namespace {

// What trimLeft and trimRight take away when no characters are given, and what isSpace tests for.
constexpr const char* kWhitespace = " \t\r\n";

const std::string& text(Value* v) {
  if (!is_string(v)) throw ConversionError(v, "String");
  return static_cast<String*>(v)->text;
}

// The characters to trim: the optional second argument, or whitespace.
std::string trimSet(Value** arg_list, int count, const char* fn) {
  if (count < 1 || count > 2) throw ArgCountError(fn, 1, count);
  return count == 2 ? text(arg_list[1]) : std::string(kWhitespace);
}

}  // namespace

def_visible_primitive(trimLeft, "trimLeft");
Value* trimLeft_cf(Value** arg_list, int count) {
  std::string set = trimSet(arg_list, count, "trimLeft");
  const std::string& s = text(arg_list[0]);
  size_t from = s.find_first_not_of(set);
  return new String(from == std::string::npos ? std::string() : s.substr(from));
}

def_visible_primitive(trimRight, "trimRight");
Value* trimRight_cf(Value** arg_list, int count) {
  std::string set = trimSet(arg_list, count, "trimRight");
  const std::string& s = text(arg_list[0]);
  size_t last = s.find_last_not_of(set);
  return new String(last == std::string::npos ? std::string() : s.substr(0, last + 1));
}

// isSpace s: whether the first character is whitespace; an empty string has none.
def_visible_primitive(isSpace, "isSpace");
Value* isSpace_cf(Value** arg_list, int count) {
  check_arg_count(isSpace, 1, count);
  const std::string& s = text(arg_list[0]);
  return bool_result(!s.empty() && std::string(kWhitespace).find(s[0]) != std::string::npos);
}

// replace s from length new: the `length` characters at `from` (1-based) give way to `new`. The
// span must lie within the string; its end may be the string's end.
def_visible_primitive(replace, "replace");
Value* replace_cf(Value** arg_list, int count) {
  check_arg_count(replace, 4, count);
  const std::string& s = text(arg_list[0]);
  int from = arg_list[1]->to_int(), length = arg_list[2]->to_int();
  const std::string& with = text(arg_list[3]);
  if (from < 1 || static_cast<size_t>(from) > s.size() + 1)
    throw RuntimeError("replace: start index out of range: ", arg_list[1]);
  if (length < 0 || static_cast<size_t>(length) > s.size() - static_cast<size_t>(from - 1))
    throw RuntimeError("replace: length out of range: ", arg_list[2]);
  std::string out = s;
  out.replace(static_cast<size_t>(from - 1), static_cast<size_t>(length), with);
  return new String(out);
}

// substituteString s from to: every occurrence of `from` (case counts), left to right, without
// looking again at what was put in.
def_visible_primitive(substituteString, "substituteString");
Value* substituteString_cf(Value** arg_list, int count) {
  check_arg_count(substituteString, 3, count);
  const std::string& s = text(arg_list[0]);
  const std::string& from = text(arg_list[1]);
  const std::string& to = text(arg_list[2]);
  if (from.empty()) return new String(s);
  std::string out;
  size_t at = 0;
  for (size_t hit; (hit = s.find(from, at)) != std::string::npos; at = hit + from.size())
    out.append(s, at, hit - at).append(to);
  out.append(s, at, std::string::npos);
  return new String(out);
}

// Strings compare case-sensitively; this is the comparison that ignores case: below zero, zero or
// above zero as the first string sorts before, with or after the second.
def_visible_primitive(stricmp, "stricmp");
Value* stricmp_cf(Value** arg_list, int count) {
  check_arg_count(stricmp, 2, count);
  std::string a = text(arg_list[0]), b = text(arg_list[1]);
  for (std::string* s : {&a, &b})
    for (char& c : *s)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  const int c = a.compare(b);
  return Integer::intern(c < 0 ? -1 : (c > 0 ? 1 : 0));
}
