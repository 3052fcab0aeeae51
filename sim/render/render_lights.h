// The lights of a render: the scene's omni, directional and spot lights that are on, each with its
// colour times its multiplier and hard shadows from the nodes that cast them, as LightDesc objects
// that materials call while shading. A scene without lights gets the host's default light: one
// from above and behind the viewer's left shoulder, without shadows.
#pragma once

#include "imtl.h"
#include "render/bvh.h"

#include <memory>
#include <vector>

namespace sim {

class RenderView;

class HOST_API RenderLight : public LightDesc {
 public:
  enum class Kind { Point, Directional, Spot };
  Kind kind = Kind::Point;
  Point3 position;       // world; point and spot lights
  Point3 towardsLight;   // world, unit; directional lights
  Point3 spotAxis;       // world, unit, the way the spot shines
  float cosHotspot = 1.0f, cosFalloff = 1.0f;
  Color color;
  bool shadows = false;
  const Bvh* bvh = nullptr;
  const Matrix3* worldToCamera = nullptr;

  // The shading context must be the renderer's (any other gets no light): the light needs the
  // world point and whether the surface receives shadows.
  BOOL Illuminate(ShadeContext& sc, Point3& normal, Color& color, Point3& dir, float& dot_nl, float& diffuseCoef) override;
  Point3 LightPosition() override;
};

HOST_API std::vector<std::unique_ptr<RenderLight>> collectRenderLights(TimeValue t, const Bvh& bvh, const RenderView& view);

}  // namespace sim
