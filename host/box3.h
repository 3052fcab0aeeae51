// Box3: an axis-aligned bounding box, empty until a point is added.
#pragma once

#include "host_api.h"
#include "matrix3.h"
#include "point3.h"

class Box3 {
 public:
  Point3 pmin{1e30f, 1e30f, 1e30f};
  Point3 pmax{-1e30f, -1e30f, -1e30f};

  Box3() = default;
  Box3(const Point3& a, const Point3& b) : pmin(a), pmax(b) {}

  void Init() { *this = Box3(); }
  bool IsEmpty() const { return pmin.x > pmax.x || pmin.y > pmax.y || pmin.z > pmax.z; }
  Point3 Min() const { return pmin; }
  Point3 Max() const { return pmax; }
  Point3 Center() const { return (pmin + pmax) * 0.5f; }
  Point3 Width() const { return IsEmpty() ? Point3() : pmax - pmin; }
  Box3& operator+=(const Point3& p) {
    for (int i = 0; i < 3; ++i) {
      if (p[i] < pmin[i]) pmin[i] = p[i];
      if (p[i] > pmax[i]) pmax[i] = p[i];
    }
    return *this;
  }
  Box3& operator+=(const Box3& b) {
    if (!b.IsEmpty()) { *this += b.pmin; *this += b.pmax; }
    return *this;
  }
  bool Contains(const Point3& p) const {
    return p.x >= pmin.x && p.x <= pmax.x && p.y >= pmin.y && p.y <= pmax.y && p.z >= pmin.z && p.z <= pmax.z;
  }
  // The eight corners, then their box, under a transform.
  Box3 operator*(const Matrix3& m) const {
    Box3 r;
    if (IsEmpty()) return r;
    for (int i = 0; i < 8; ++i)
      r += Point3((i & 1) ? pmax.x : pmin.x, (i & 2) ? pmax.y : pmin.y, (i & 4) ? pmax.z : pmin.z) * m;
    return r;
  }
};
