// Small text helpers of the host: the script language and the host compare names without case.
#pragma once

#include "host_api.h"

#include <string>
#include <string_view>

namespace sim {

inline char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

inline bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  return true;
}

// How scripts name what the host shows ("Object (Box)" is Object__Box_): every character but ASCII
// letters, digits and '_' reads as '_'.
inline char scriptNameChar(char c) {
  const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  return kept ? c : '_';
}

// Whether a shown name is the script name `name`, case not counting; compared in place, without
// making the script name.
inline bool scriptNameEquals(std::string_view shown, std::string_view name) {
  if (shown.size() != name.size()) return false;
  for (size_t i = 0; i < shown.size(); ++i)
    if (asciiLower(scriptNameChar(shown[i])) != asciiLower(name[i])) return false;
  return true;
}

inline std::string toLowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = asciiLower(c);
  return out;
}

// Wildcard match as the host's name patterns use it: * any run of characters, ? one character.
inline bool wildcardMatch(std::string_view s, std::string_view p, bool ignoreCase = true) {
  size_t si = 0, pi = 0, star = std::string_view::npos, mark = 0;
  auto same = [&](char a, char b) { return ignoreCase ? asciiLower(a) == asciiLower(b) : a == b; };
  while (si < s.size()) {
    if (pi < p.size() && (p[pi] == '?' || (p[pi] != '*' && same(p[pi], s[si])))) {
      ++si;
      ++pi;
    } else if (pi < p.size() && p[pi] == '*') {
      star = pi++;
      mark = si;
    } else if (star != std::string_view::npos) {
      pi = star + 1;
      si = ++mark;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

}  // namespace sim
