#include "render/shade_point.h"

namespace sim {

namespace {

const Point3 kTowardsEye(0.0f, 0.0f, 1.0f);

class HeadOnLight : public LightDesc {
 public:
  BOOL Illuminate(ShadeContext&, Point3& normal, Color& color, Point3& dir, float& dot_nl, float& diffuseCoef) override {
    dir = kTowardsEye;
    color = Color(1.0f, 1.0f, 1.0f);
    dot_nl = DotProd(normal, dir);
    diffuseCoef = dot_nl;
    return dot_nl > 0.0f;
  }
  Point3 LightPosition() override { return kTowardsEye * 100.0f; }
};

class PointShadeContext : public ShadeContext {
 public:
  PointShadeContext(TimeValue t, LightDesc* light) : t_(t), light_(light) {
    nLights = 1;
    ambientLight = Color(0.0f, 0.0f, 0.0f);
    ResetOutput();
  }
  LightDesc* Light(int n) override { return n == 0 ? light_ : nullptr; }
  TimeValue CurTime() override { return t_; }
  Point3 P() override { return Point3(0.0f, 0.0f, -10.0f); }
  Point3 Normal() override { return kTowardsEye; }
  Point3 V() override { return Point3(0.0f, 0.0f, -1.0f); }
  Point3 UVW(int) override { return Point3(0.5f, 0.5f, 0.0f); }

 private:
  TimeValue t_;
  LightDesc* light_;
};

}  // namespace

ShadeOutput shadePoint(Mtl* mtl, TimeValue t) {
  HeadOnLight light;
  PointShadeContext sc(t, &light);
  if (!mtl) return sc.out;
  Interval valid = FOREVER;
  mtl->Update(t, valid);
  mtl->Shade(sc);
  return sc.out;
}

}  // namespace sim
