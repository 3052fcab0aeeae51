#include "render/render_shade_context.h"

#include <algorithm>
#include <cmath>

namespace sim {

RenderShadeContext::RenderShadeContext(TimeValue t, const Matrix3& worldToCamera,
                                       const std::vector<std::unique_ptr<RenderLight>>& lights, Color ambient)
    : t_(t), toCamera_(worldToCamera), lights_(lights) {
  nLights = static_cast<int>(lights.size());
  ambientLight = ambient;
  ResetOutput();
}

void RenderShadeContext::setHit(const RenderInstance& inst, const RenderTriangle& tri, const Point3& p, float u, float v,
                                const Point3& dir, Point2 screen) {
  node_ = inst.node;
  nodeId_ = inst.node ? static_cast<int>(inst.node->GetHandle()) : -1;
  face_ = tri.face;
  receives_ = inst.receivesShadows;
  mtlNum = 0;
  screen_ = screen;
  worldP_ = p;
  float big = std::max({std::fabs(p.x), std::fabs(p.y), std::fabs(p.z), 1.0f});
  offset_ = big * 2e-4f;

  // Both sides of a face render; the one the ray meets is the front one for shading.
  Point3 geom = CrossProd(tri.e1, tri.e2).Normalize();
  Point3 smooth = (tri.n0 * (1.0f - u - v) + tri.n1 * u + tri.n2 * v).Normalize();
  backFace = DotProd(geom, dir) > 0.0f;
  if (backFace) {
    geom = -geom;
    smooth = -smooth;
  }
  worldGeomN_ = geom;

  p_ = p * toCamera_;
  gN_ = toCamera_.VectorTransform(geom).Normalize();
  origN_ = n_ = toCamera_.VectorTransform(smooth).Normalize();
  v_ = toCamera_.VectorTransform(dir).Normalize();

  // Meshes carry no mapping coordinates: maps get box mapping over the object's extent, each face
  // projected along the object axis it faces most.
  pObj_ = p * inst.worldToObject;
  Point3 lo = inst.localBox.Min(), size = inst.localBox.Width();
  Point3 rel;
  for (int a = 0; a < 3; ++a) rel[a] = size[a] > 0.0f ? (pObj_[a] - lo[a]) / size[a] : 0.0f;
  Point3 facing = inst.worldToObject.VectorTransform(geom);
  float ax = std::fabs(facing.x), ay = std::fabs(facing.y), az = std::fabs(facing.z);
  if (az >= ax && az >= ay) uvw_ = Point3(rel.x, rel.y, 0.0f);
  else if (ax >= ay) uvw_ = Point3(rel.y, rel.z, 0.0f);
  else uvw_ = Point3(rel.x, rel.z, 0.0f);
  ResetOutput();
}

LightDesc* RenderShadeContext::Light(int n) {
  return n >= 0 && n < static_cast<int>(lights_.size()) ? lights_[static_cast<size_t>(n)].get() : nullptr;
}

}  // namespace sim
