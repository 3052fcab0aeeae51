// The vertex-in-sphere picking procedure exactly as written: n picks, each scanning every candidate
// for the nearest one whose index is not excluded. Quadratic; the reference for tests and the
// benchmark only.
#pragma once

#include "matrix3.h"
#include "point3.h"

#include <algorithm>
#include <vector>

namespace test {

// `entries` holds what the exclusion array holds on entry, read as integers; the result is what
// the call appends, as (index, squared distance) pairs.
inline std::vector<std::pair<int, float>> literalSpherePicks(const std::vector<Point3>& verts, const Matrix3& tm,
                                                             const Point3& centre, float radius, int n,
                                                             std::vector<int> entries) {
  float r2 = radius * radius;
  std::vector<int> candIndex;
  std::vector<float> candDist;
  for (size_t i = 0; i < verts.size(); ++i) {
    Point3 p = verts[i] * tm;
    float d = (centre - p).LengthSquared();
    if (d <= r2) {
      candIndex.push_back(static_cast<int>(i) + 1);
      candDist.push_back(d);
    }
  }
  if (n > static_cast<int>(candIndex.size())) n = static_cast<int>(candIndex.size());
  std::vector<std::pair<int, float>> out;
  for (int pick = 0; pick < n; ++pick) {
    float best = 100000000.0f;
    int chosen = 0;
    for (size_t c = 0; c < candIndex.size(); ++c) {
      if (candDist[c] < best && std::find(entries.begin(), entries.end(), candIndex[c]) == entries.end()) {
        best = candDist[c];
        chosen = candIndex[c];
      }
    }
    out.emplace_back(chosen, best);
    entries.push_back(chosen);  // the index entries a pick appends exclude; the distances do not
  }
  return out;
}

}  // namespace test
