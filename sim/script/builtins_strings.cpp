// String primitives of the language. Positions are 1-based; searches ignore case.
#include "core/text.h"
#include "maxscript/maxscript.h"

#include <string>

namespace {

const std::string& text(Value* v) {
  if (!is_string(v)) throw ConversionError(v, "String");
  return static_cast<String*>(v)->text;
}


}  // namespace

// substring s start length: length -1 (or past the end) takes the rest.
def_visible_primitive(substring, "substring");
Value* substring_cf(Value** arg_list, int count) {
  check_arg_count(substring, 3, count);
  const std::string& s = text(arg_list[0]);
  int start = arg_list[1]->to_int(), len = arg_list[2]->to_int();
  if (start < 1) start = 1;
  if (static_cast<size_t>(start) > s.size()) return new String("");
  size_t from = static_cast<size_t>(start - 1);
  size_t n = len < 0 ? std::string::npos : static_cast<size_t>(len);
  return new String(s.substr(from, n));
}

def_visible_primitive(findString, "findString");
Value* findString_cf(Value** arg_list, int count) {
  check_arg_count(findString, 2, count);
  std::string s = sim::toLowerAscii(text(arg_list[0])), what = sim::toLowerAscii(text(arg_list[1]));
  size_t at = s.find(what);
  return at == std::string::npos ? undefined : Integer::intern(static_cast<int>(at) + 1);
}

// filterString s separators: the pieces between any of the separator characters; empty pieces are
// dropped unless splitEmptyTokens:true.
def_visible_primitive(filterString, "filterString");
Value* filterString_cf(Value** arg_list, int count) {
  int positional = count_positional_args(arg_list, count);
  if (positional != 2) throw ArgCountError("filterString", 2, positional);
  const std::string& s = text(arg_list[0]);
  const std::string& seps = text(arg_list[1]);
  bool keepEmpty = key_arg_or_default(splitEmptyTokens, false_value)->to_bool();
  one_typed_value_local(Array* result);
  vl.result = new Array;
  std::string piece;
  for (char c : s) {
    if (seps.find(c) == std::string::npos) {
      piece += c;
      continue;
    }
    if (!piece.empty() || keepEmpty) vl.result->append(new String(piece));
    piece.clear();
  }
  if (!piece.empty()) vl.result->append(new String(piece));
  return_value(vl.result);
}

def_visible_primitive(toUpper, "toUpper");
Value* toUpper_cf(Value** arg_list, int count) {
  check_arg_count(toUpper, 1, count);
  std::string s = text(arg_list[0]);
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return new String(s);
}

def_visible_primitive(toLower, "toLower");
Value* toLower_cf(Value** arg_list, int count) {
  check_arg_count(toLower, 1, count);
  return new String(sim::toLowerAscii(text(arg_list[0])));
}

def_visible_primitive(matchPattern, "matchPattern");
Value* matchPattern_cf(Value** arg_list, int count) {
  int positional = count_positional_args(arg_list, count);
  if (positional != 1) throw ArgCountError("matchPattern", 1, positional);
  Value* pattern = key_arg(pattern);
  if (pattern == &unsupplied) throw RuntimeError("matchPattern needs pattern:");
  bool ignoreCase = key_arg_or_default(ignoreCase, true_value)->to_bool();
  return bool_result(sim::wildcardMatch(text(arg_list[0]), text(pattern), ignoreCase));
}
