// Whether a value the renderer takes from the scene holds only finite numbers: a NaN or infinite
// transform, colour or position is refused or skipped rather than let into the arithmetic.
#pragma once

#include "color.h"
#include "matrix3.h"
#include "point3.h"

#include <cmath>

namespace sim {

inline bool finite(const Point3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

inline bool finite(const Color& c) { return std::isfinite(c.r) && std::isfinite(c.g) && std::isfinite(c.b); }

inline bool finite(const Matrix3& m) {
  for (int i = 0; i < 4; ++i)
    if (!finite(m[i])) return false;
  return true;
}

}  // namespace sim
