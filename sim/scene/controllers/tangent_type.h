// How a key's value curve leaves it (out) and reaches it (in), as scripts name it.
#pragma once

#include <cstdint>

namespace sim {

// Stored in scene files as these numbers: append, never reorder.
enum class TangentType : std::uint8_t { Smooth, Linear, Step, Fast, Slow, Custom, Flat, Auto };
constexpr int kTangentTypeCount = 8;

// What a new key gets, on both sides: the application's default for new keys.
constexpr TangentType kDefaultTangent = TangentType::Auto;

// The script name (without '#'); nullptr for a value outside the enum.
inline const char* tangentTypeName(TangentType t) {
  static const char* const names[kTangentTypeCount] = {"smooth", "linear", "step", "fast", "slow", "custom", "flat", "auto"};
  int i = static_cast<int>(t);
  return i >= 0 && i < kTangentTypeCount ? names[i] : nullptr;
}

// False, leaving `out` alone, for a name that is no tangent type (compared in lower case).
inline bool tangentTypeFromName(const char* lower, TangentType& out) {
  for (int i = 0; i < kTangentTypeCount; ++i) {
    const char* n = tangentTypeName(static_cast<TangentType>(i));
    const char* a = n;
    const char* b = lower;
    while (*a && *a == *b) ++a, ++b;
    if (!*a && !*b) {
      out = static_cast<TangentType>(i);
      return true;
    }
  }
  return false;
}

}  // namespace sim
