#include "ui/viewport_objects.h"

#include <cmath>

namespace sim::ui {

void snapMeshVertices(const Mesh& mesh, const Matrix3& tm, SnapInfo& snap, const IPoint2& cursor, GraphicsWindow& gw) {
  if (snap.vertPriority < 1 || snap.priority < snap.vertPriority) return;
  const bool inPlane = snap.snapType == SNAP_2D || (snap.flags & SNAP_IN_PLANE);
  const Matrix3 toPlane = Inverse(snap.plane);
  for (int i = 0; i < mesh.numVerts; ++i) {
    const Point3& v = mesh.verts[i];
    Point3 world = v * tm;
    if (inPlane && !(std::fabs((world * toPlane).z) <= 1e-4f)) continue;
    IPoint3 projected;
    if (gw.hTransPoint(&v, &projected) != 0) continue;
    double dx = double(projected.x) - cursor.x, dy = double(projected.y) - cursor.y;
    double distance = std::sqrt(dx * dx + dy * dy);
    if (!(distance < 1e9)) continue;
    int d = int(distance);
    if (d > snap.strength) continue;
    // A better priority always wins; at the same priority only a closer candidate does.
    if (snap.vertPriority < snap.priority || d < snap.bestDist) {
      snap.priority = snap.vertPriority;
      snap.bestWorld = world;
      snap.bestScreen = IPoint2(projected.x, projected.y);
      snap.bestDist = d;
    }
  }
}

}  // namespace sim::ui
