// The shading context of the renderer: one surface point hit by a camera ray, described to its
// material in camera space (point, normal, view direction), with the node, the face, the time, the
// lights and the G-buffer id the material may set.
#pragma once

#include "imtl.h"
#include "render/render_lights.h"
#include "render/render_scene.h"

#include <memory>
#include <vector>

namespace sim {

class HOST_API RenderShadeContext : public ShadeContext {
 public:
  RenderShadeContext(TimeValue t, const Matrix3& worldToCamera, const std::vector<std::unique_ptr<RenderLight>>& lights,
                     Color ambient);

  // Prepares the context for a hit on `tri` of `inst` at world point `p` seen along `dir`.
  void setHit(const RenderInstance& inst, const RenderTriangle& tri, const Point3& p, float u, float v, const Point3& dir,
              Point2 screen);

  // World-space facts the lights use.
  const Point3& worldPoint() const { return worldP_; }
  const Point3& worldGeometricNormal() const { return worldGeomN_; }
  bool receivesShadows() const { return receives_; }
  float offset() const { return offset_; }

  LightDesc* Light(int n) override;
  TimeValue CurTime() override { return t_; }
  INode* Node() override { return node_; }
  int NodeID() override { return nodeId_; }
  int FaceNumber() override { return face_; }
  Point3 P() override { return p_; }
  Point3 Normal() override { return n_; }
  Point3 OrigNormal() override { return origN_; }
  Point3 GNormal() override { return gN_; }
  Point3 V() override { return v_; }
  void SetNormal(Point3 p) override { n_ = p; }
  Point3 UVW(int channel = 0) override { return uvw_; }
  Point2 ScreenCoord() override { return screen_; }
  Point3 PObj() override { return pObj_; }

 private:
  TimeValue t_;
  Matrix3 toCamera_;
  const std::vector<std::unique_ptr<RenderLight>>& lights_;
  INode* node_ = nullptr;
  int nodeId_ = -1, face_ = 0;
  bool receives_ = true;
  float offset_ = 0.0f;
  Point3 worldP_, worldGeomN_;
  Point3 p_, n_, origN_, gN_, v_, uvw_, pObj_;
  Point2 screen_;
};

}  // namespace sim
