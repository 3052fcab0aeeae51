#include "render/render_lights.h"

#include "render/finite_values.h"
#include "maxapi.h"
#include "object.h"
#include "render/render_shade_context.h"
#include "render/render_view.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

constexpr float kDegToRad = 3.14159265358979f / 180.0f;

std::unique_ptr<RenderLight> lightOf(INode* node, TimeValue t) {
  auto* gen = dynamic_cast<GenLight*>(node->EvalWorldState(t).obj);
  if (!gen || !gen->GetUseLight()) return nullptr;
  auto light = std::make_unique<RenderLight>();
  Matrix3 tm = node->GetNodeTM(t);
  Point3 rgb = gen->GetRGBColor(t);
  float mult = gen->GetIntensity(t);
  light->color = Color(rgb * mult);
  light->shadows = gen->GetShadow() != 0;
  light->position = tm.GetTrans();
  // Lights shine down their local -z axis.
  Point3 axis = -tm.GetRow(2);
  if (INode* target = node->GetTarget()) axis = target->GetNodeTM(t).GetTrans() - light->position;
  if (!finite(light->position) || !finite(axis) || !finite(Point3(light->color.r, light->color.g, light->color.b)))
    return nullptr;
  switch (gen->Type()) {
    case DIR_LIGHT:
    case TDIR_LIGHT:
      if (axis.LengthSquared() <= 0.0f) return nullptr;
      light->kind = RenderLight::Kind::Directional;
      light->towardsLight = -axis.Normalize();
      break;
    case FSPOT_LIGHT:
    case TSPOT_LIGHT: {
      if (axis.LengthSquared() <= 0.0f) return nullptr;
      Interval v = FOREVER;
      float hot = std::clamp(gen->GetHotspot(t, v), 0.0f, 179.0f), fall = std::clamp(gen->GetFallsize(t, v), 0.0f, 179.5f);
      light->kind = RenderLight::Kind::Spot;
      light->spotAxis = axis.Normalize();
      light->cosFalloff = std::cos(fall * 0.5f * kDegToRad);
      light->cosHotspot = std::max(std::cos(std::min(hot, fall) * 0.5f * kDegToRad), light->cosFalloff);
      break;
    }
    default:
      light->kind = RenderLight::Kind::Point;
  }
  return light;
}

}  // namespace

BOOL RenderLight::Illuminate(ShadeContext& sc, Point3& normal, Color& outColor, Point3& dir, float& dot_nl,
                             float& diffuseCoef) {
  auto* rsc = dynamic_cast<RenderShadeContext*>(&sc);
  if (!rsc || !worldToCamera) return FALSE;
  const Point3& p = rsc->worldPoint();
  Point3 toLight = kind == Kind::Directional ? towardsLight : position - p;
  float distance = kind == Kind::Directional ? INFINITY : toLight.Length();
  if (!(distance > 0.0f)) return FALSE;
  Point3 worldDir = toLight / (kind == Kind::Directional ? 1.0f : distance);
  dir = worldToCamera->VectorTransform(worldDir).Normalize();
  dot_nl = DotProd(normal, dir);
  diffuseCoef = std::max(0.0f, dot_nl);
  if (dot_nl <= 0.0f) return FALSE;

  float strength = 1.0f;
  if (kind == Kind::Spot) {
    float c = DotProd(-worldDir, spotAxis);
    if (c <= cosFalloff) return FALSE;
    if (c < cosHotspot) {
      float x = (c - cosFalloff) / (cosHotspot - cosFalloff);
      strength = x * x * (3.0f - 2.0f * x);
    }
  }
  if (shadows && bvh && rsc->receivesShadows()) {
    // Start a little off the surface, on the side the light is on, so it does not shadow itself.
    Point3 n = rsc->worldGeometricNormal();
    Point3 from = p + n * (DotProd(n, worldDir) >= 0.0f ? rsc->offset() : -rsc->offset());
    float reach = kind == Kind::Directional ? 1e30f : distance * (1.0f - 1e-4f);
    if (bvh->blocked(Ray{from, worldDir}, 0.0f, reach, kCastsShadows)) return FALSE;
  }
  outColor = color * strength;
  return TRUE;
}

Point3 RenderLight::LightPosition() {
  Point3 world = kind == Kind::Directional ? towardsLight * 1e6f : position;
  return worldToCamera ? world * *worldToCamera : world;
}

std::vector<std::unique_ptr<RenderLight>> collectRenderLights(TimeValue t, const Bvh& bvh, const RenderView& view) {
  std::vector<std::unique_ptr<RenderLight>> lights;
  bool anyLight = false;
  INode* root = GetCOREInterface()->GetRootNode();
  std::vector<INode*> pending;
  if (root) pending.push_back(root);
  while (!pending.empty()) {
    INode* node = pending.back();
    pending.pop_back();
    for (int i = node->NumberOfChildren() - 1; i >= 0; --i)
      if (INode* child = node->GetChildNode(i)) pending.push_back(child);
    if (node->IsRootNode()) continue;
    Object* obj = node->EvalWorldState(t).obj;
    if (!obj || obj->SuperClassID() != LIGHT_CLASS_ID) continue;
    anyLight = true;
    if (auto light = lightOf(node, t)) lights.push_back(std::move(light));
  }
  if (!anyLight) {
    // The default light follows the view: above, to the left of and behind the eye.
    auto light = std::make_unique<RenderLight>();
    light->kind = RenderLight::Kind::Directional;
    Matrix3 toWorld = view.worldToCamera().Inverse();
    light->towardsLight = toWorld.VectorTransform(Point3(-0.4f, 0.6f, 0.7f)).Normalize();
    light->color = Color(1.0f, 1.0f, 1.0f);
    lights.push_back(std::move(light));
  }
  for (auto& light : lights) {
    light->bvh = &bvh;
    light->worldToCamera = &view.worldToCamera();
  }
  return lights;
}

}  // namespace sim
