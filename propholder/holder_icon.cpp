#include "holder_icon.h"

namespace {

// The first quarter turn of each ring (vertices at 0, 20, 40, 60 and 80 degrees) as the icon
// stores it, to six significant digits; the rest of the ring mirrors these about the axes, so the
// values are not recomputed from the radius (they differ from it in the last digit).
constexpr float kOuter[5][2] = {{18.8145f, 0.0f}, {17.6799f, 6.43495f}, {14.4128f, 12.0938f}, {9.40727f, 16.2939f},
                                {3.26711f, 18.5287f}};
constexpr float kInner[5][2] = {{9.40727f, 0.0f}, {8.83994f, 3.21748f}, {7.20639f, 6.04688f}, {4.70363f, 8.14693f},
                                {1.63355f, 9.26435f}};
constexpr float kDepth = -0.0517473f;

// Vertex i of a ring (20 degrees times i) from its quarter-turn table.
Point3 ringVertex(const float (&quarter)[5][2], int i) {
  if (i <= 4) return Point3(quarter[i][0], quarter[i][1], kDepth);
  if (i <= 9) return Point3(-quarter[9 - i][0], quarter[9 - i][1], kDepth);
  if (i <= 13) return Point3(-quarter[i - 9][0], -quarter[i - 9][1], kDepth);
  return Point3(quarter[18 - i][0], -quarter[18 - i][1], kDepth);
}

}  // namespace

void BuildHolderIconMesh(Mesh& mesh, float size) {
  mesh.setNumVerts(36);
  mesh.setNumFaces(18);
  for (int i = 0; i < 18; ++i) {
    mesh.setVert(i, ringVertex(kOuter, i) * size);
    mesh.setVert(18 + i, ringVertex(kInner, i) * size);
  }
  // Sector k runs from outer vertex a to outer vertex b; its two triangles share the diagonal a-B,
  // which stays hidden.
  for (int k = 0; k < 9; ++k) {
    int a = 2 * k + 1, b = (2 * k + 2) % 18, A = a + 18, B = b + 18;
    Face& first = mesh.faces[2 * k];
    first.setVerts(a, B, A);
    first.setEdgeVisFlags(EDGE_INVIS, EDGE_VIS, EDGE_VIS);
    first.setSmGroup(1);
    Face& second = mesh.faces[2 * k + 1];
    second.setVerts(a, b, B);
    second.setEdgeVisFlags(EDGE_VIS, EDGE_VIS, EDGE_INVIS);
    second.setSmGroup(1);
  }
  mesh.InvalidateGeomCache();
}
