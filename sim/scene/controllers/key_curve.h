// The value between two keys, shaped by the keys' tangent types: a cubic Hermite segment whose end
// slopes come from the tangents, a held value for step, a straight line for linear on both sides.
#pragma once

#include "interval.h"
#include "scene/controllers/tangent_type.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace sim {

template <class T>
struct Key {
  TimeValue time;
  T value;
  bool selected = false;
  TangentType inTangent = kDefaultTangent;
  TangentType outTangent = kDefaultTangent;
  bool operator==(const Key& o) const {
    return time == o.time && value == o.value && selected == o.selected && inTangent == o.inTangent &&
           outTangent == o.outTangent;
  }
};

namespace curve {

template <class F>
float eachComponent(float m, float l, float r, F&& f) { return f(m, l, r); }
template <class V, class F>
V eachComponent(const V& m, const V& l, const V& r, F&& f) {
  V out = m;
  for (int i = 0; i < int(sizeof(V) / sizeof(float)); ++i) out[i] = f(m[i], l[i], r[i]);
  return out;
}

template <class T>
T slopeBetween(const Key<T>& a, const Key<T>& b) {
  return (b.value - a.value) * float(1.0 / double(b.time - a.time));
}

// The slope (value per tick) with which the curve leaves key i (`in` false) or reaches it.
template <class T>
T slopeAt(const std::vector<Key<T>>& keys, size_t i, bool in) {
  const TangentType type = in ? keys[i].inTangent : keys[i].outTangent;
  const bool hasLeft = i > 0, hasRight = i + 1 < keys.size();
  const T left = hasLeft ? slopeBetween(keys[i - 1], keys[i]) : T();
  const T right = hasRight ? slopeBetween(keys[i], keys[i + 1]) : T();
  // The segment this side of the key shapes.
  const T side = in ? (hasLeft ? left : right) : (hasRight ? right : left);
  switch (type) {
    case TangentType::Linear: return side;
    case TangentType::Fast: return side * 2.0f;
    case TangentType::Slow: return side * 0.5f;
    case TangentType::Flat:
    case TangentType::Step: return T();
    case TangentType::Smooth:
    case TangentType::Custom:
    case TangentType::Auto: break;
  }
  // The first and last keys ease in and out.
  if (!hasLeft || !hasRight) return T();
  const T through = slopeBetween(keys[i - 1], keys[i + 1]);
  if (type != TangentType::Auto) return through;
  // Auto never overshoots: flat at a peak or a valley, and never steeper than keeps the segments
  // on either side monotonic.
  return eachComponent(through, left, right, [](float m, float l, float r) {
    if (l * r <= 0.0f) return 0.0f;
    float limit = 3.0f * std::min(std::fabs(l), std::fabs(r));
    return std::clamp(m, -limit, limit);
  });
}

// The value at t strictly between keys[i] and keys[i + 1].
template <class T>
T between(const std::vector<Key<T>>& keys, size_t i, TimeValue t) {
  const Key<T>& a = keys[i];
  const Key<T>& b = keys[i + 1];
  if (a.outTangent == TangentType::Step || b.inTangent == TangentType::Step) return a.value;
  const float u = float(double(t - a.time) / double(b.time - a.time));
  if (a.outTangent == TangentType::Linear && b.inTangent == TangentType::Linear) return a.value + (b.value - a.value) * u;
  const float span = float(b.time - a.time);
  const T m0 = slopeAt(keys, i, false) * span;
  const T m1 = slopeAt(keys, i + 1, true) * span;
  const float u2 = u * u, u3 = u2 * u;
  return a.value * (2 * u3 - 3 * u2 + 1) + m0 * (u3 - 2 * u2 + u) + b.value * (-2 * u3 + 3 * u2) + m1 * (u3 - u2);
}

}  // namespace curve
}  // namespace sim
