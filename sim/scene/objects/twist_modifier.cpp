// Twist: an object-space modifier that turns each point about the twist axis (through the object's
// origin) by an angle growing with its height along the axis: the whole angle over the object's
// extent. With the limit on, points below and above the limits turn as the limits do.
#include "istdplug.h"
#include "scene/host_class_desc.h"
#include "scene/objects/param_object.h"

#include <algorithm>
#include <cmath>

namespace sim {
namespace {

constexpr float kDegToRad = 3.14159265358979f / 180.0f;
// The application's class id for Twist.
constexpr ULONG kTwistClassID = 0x00000090;

enum { twist_angle, twist_axis, twist_limit, twist_upper, twist_lower };

void* newTwist(BOOL loading);
HostClassDesc twistDesc("Twist", OSM_CLASS_ID, Class_ID(kTwistClassID, 0), "Parametric Modifiers", newTwist);
ParamBlockDesc2 twistParams(0, _T("TwistParameters"), 0, &twistDesc, P_AUTO_CONSTRUCT, 0,
    twist_angle, _T("angle"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 0.0, p_range, -1e6, 1e6, p_end,
    twist_axis, _T("axis"), TYPE_INT, 0, 0, p_default, 2, p_range, 0, 2, p_end,
    twist_limit, _T("limit"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    twist_upper, _T("upperlimit"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 0.0, p_end,
    twist_lower, _T("lowerlimit"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 0.0, p_end,
    p_end);

class TwistDeformer : public Deformer {
 public:
  TwistDeformer(float angleDeg, int axis, float extent, bool limit, float lower, float upper)
      : axis_(std::clamp(axis, 0, 2)), limit_(limit), lower_(lower), upper_(upper) {
    active_ = angleDeg != 0.0f && extent > 1e-6f;
    if (active_) perUnit_ = angleDeg * kDegToRad / extent;
  }
  Point3 Map(int, Point3 p) override {
    if (!active_) return p;
    const int u = (axis_ + 1) % 3, v = (axis_ + 2) % 3;
    float h = p[axis_];
    if (limit_) h = std::clamp(h, lower_, upper_);
    const float a = h * perUnit_, c = std::cos(a), s = std::sin(a);
    Point3 r = p;
    r[u] = p[u] * c - p[v] * s;
    r[v] = p[u] * s + p[v] * c;
    return r;
  }

 private:
  int axis_;
  bool limit_;
  float lower_, upper_;
  bool active_ = false;
  float perUnit_ = 0.0f;
};

class TwistModifier : public PBlockObject<Modifier> {
 public:
  explicit TwistModifier(BOOL loading) {
    if (!loading) twistDesc.MakeAutoParamBlocks(this);
  }
  void GetClassName(TSTR& s) override { s = "Twist"; }
  Class_ID ClassID() override { return Class_ID(kTwistClassID, 0); }
  const TCHAR* GetObjectName() override { return "Twist"; }
  RefTargetHandle Clone(RemapDir& remap) override {
    auto* c = cloneWithBlock(new TwistModifier(TRUE), remap);
    if (!IsEnabled()) c->DisableMod();
    return c;
  }

  Class_ID InputType() override { return defObjectClassID; }
  void ModifyObject(TimeValue t, ModContext& mc, ObjectState* os, INode*) override {
    if (!os || !os->obj) return;
    int axis = std::clamp(getInt(twist_axis, t), 0, 2);
    Box3 box;
    if (mc.box && !mc.box->IsEmpty()) box = *mc.box;
    else os->obj->GetDeformBBox(t, box);
    if (box.IsEmpty()) return;
    TwistDeformer d(getFloat(twist_angle, t), axis, box.Width()[axis], getInt(twist_limit, t) != 0,
                    getFloat(twist_lower, t), getFloat(twist_upper, t));
    os->obj->Deform(&d, TRUE);
  }
};
void* newTwist(BOOL loading) { return new TwistModifier(loading); }

}  // namespace
}  // namespace sim
