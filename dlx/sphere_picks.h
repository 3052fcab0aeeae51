// The vertices of a mesh within a sphere, nearest first: what QZMgetVertsInSphere appends.
#pragma once

#include "matrix3.h"
#include "point3.h"

#include <vector>

struct SpherePick {
  int index;       // 1-based vertex index; 0 when the pick found nothing
  float distance;  // squared distance; kNoPickDistance when the pick found nothing
};

constexpr float kNoPickDistance = 100000000.0f;

// Up to `wanted` picks among the vertices (transformed by `tm`) whose squared distance to `centre`
// is at most radius²: fewer when fewer vertices are that close. Each pick is the nearest vertex not
// yet picked and not `excluded` (1-based indices), the lower index first among equal distances; a
// pick with nothing left is {0, kNoPickDistance}.
std::vector<SpherePick> pickVerticesInSphere(const Point3* verts, int numVerts, const Matrix3& tm,
                                             const Point3& centre, float radius, int wanted,
                                             const std::vector<int>& excluded);
