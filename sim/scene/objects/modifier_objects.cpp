// Bend (an object-space modifier that deforms) and Wind (a space warp whose binding modifier leaves
// geometry as it is: wind moves particles only).
#include "inode.h"
#include "istdplug.h"
#include "scene/host_class_desc.h"
#include "scene/objects/param_object.h"
#include "script/property_table.h"

#include <algorithm>
#include <cmath>

namespace sim {
namespace {

constexpr float kDegToRad = 3.14159265358979f / 180.0f;

// ---- Bend ---------------------------------------------------------------------------------------

enum { bend_angle, bend_direction, bend_axis, bend_fromto, bend_upper, bend_lower };

void* newBend(BOOL loading);
HostClassDesc bendDesc("Bend", OSM_CLASS_ID, Class_ID(BENDOSM_CLASS_ID, 0), "Parametric Modifiers", newBend);
ParamBlockDesc2 bendParams(0, _T("BendParameters"), 0, &bendDesc, P_AUTO_CONSTRUCT, 0,
    bend_angle, _T("angle"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 0.0, p_range, -1e6, 1e6, p_end,
    bend_direction, _T("direction"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 0.0, p_range, -1e6, 1e6, p_end,
    bend_axis, _T("axis"), TYPE_INT, 0, 0, p_default, 2, p_range, 0, 2, p_end,
    bend_fromto, _T("FromTo"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    bend_upper, _T("upperlimit"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 0.0, p_end,
    bend_lower, _T("lowerlimit"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 0.0, p_end,
    p_end);

// Bends points about the modifier's axis through the origin of the object: a point at height h
// along the axis turns by angle * h / extent, on a circle whose length over the object's extent
// along the axis is the bend angle. Direction turns the plane of the bend about the axis.
class BendDeformer : public Deformer {
 public:
  BendDeformer(float angleDeg, float directionDeg, int axis, float extent, bool limit, float lower, float upper)
      : axis_(std::clamp(axis, 0, 2)), limit_(limit), lower_(lower), upper_(upper) {
    float angle = angleDeg * kDegToRad;
    active_ = angle != 0.0f && extent > 1e-6f;
    if (active_) radius_ = extent / angle;
    float dir = directionDeg * kDegToRad;
    cosD_ = std::cos(dir);
    sinD_ = std::sin(dir);
  }
  Point3 Map(int, Point3 p) override {
    if (!active_) return p;
    // Into bend space: the bend axis becomes z, the bend plane xz.
    Point3 q = toBendSpace(p);
    float x = q.x * cosD_ + q.y * sinD_;
    float y = -q.x * sinD_ + q.y * cosD_;
    float z = q.z;
    float zc = limit_ ? std::clamp(z, lower_, upper_) : z;
    float a = zc / radius_;
    float nx = radius_ - (radius_ - x) * std::cos(a);
    float nz = (radius_ - x) * std::sin(a);
    // Beyond a limit the rest of the object goes on straight along the bent end's tangent.
    float over = z - zc;
    nx += over * std::sin(a);
    nz += over * std::cos(a);
    Point3 r(nx * cosD_ - y * sinD_, nx * sinD_ + y * cosD_, nz);
    return fromBendSpace(r);
  }

 private:
  Point3 toBendSpace(const Point3& p) const {
    if (axis_ == 0) return Point3(p.y, p.z, p.x);
    if (axis_ == 1) return Point3(p.z, p.x, p.y);
    return p;
  }
  Point3 fromBendSpace(const Point3& p) const {
    if (axis_ == 0) return Point3(p.z, p.x, p.y);
    if (axis_ == 1) return Point3(p.y, p.z, p.x);
    return p;
  }
  int axis_;
  bool limit_;
  float lower_, upper_;
  bool active_ = false;
  float radius_ = 0.0f;
  float cosD_ = 1.0f, sinD_ = 0.0f;
};

class BendModifier : public PBlockObject<Modifier> {
 public:
  explicit BendModifier(BOOL loading) {
    if (!loading) bendDesc.MakeAutoParamBlocks(this);
  }
  void GetClassName(TSTR& s) override { s = "Bend"; }
  Class_ID ClassID() override { return Class_ID(BENDOSM_CLASS_ID, 0); }
  const TCHAR* GetObjectName() override { return "Bend"; }
  RefTargetHandle Clone(RemapDir& remap) override {
    auto* c = cloneWithBlock(new BendModifier(TRUE), remap);
    if (!IsEnabled()) c->DisableMod();
    return c;
  }

  Class_ID InputType() override { return defObjectClassID; }
  void ModifyObject(TimeValue t, ModContext& mc, ObjectState* os, INode*) override {
    if (!os || !os->obj) return;
    int axis = getInt(bend_axis, t);
    Box3 box;
    if (mc.box && !mc.box->IsEmpty()) box = *mc.box;
    else os->obj->GetDeformBBox(t, box);
    if (box.IsEmpty()) return;
    float extent = box.Width()[std::clamp(axis, 0, 2)];
    BendDeformer d(getFloat(bend_angle, t), getFloat(bend_direction, t), axis, extent, getInt(bend_fromto, t) != 0,
                   getFloat(bend_lower, t), getFloat(bend_upper, t));
    os->obj->Deform(&d, TRUE);
  }
};
void* newBend(BOOL loading) { return new BendModifier(loading); }

// ---- Wind ---------------------------------------------------------------------------------------

enum { wind_strength, wind_decay, wind_type, wind_turbulence, wind_frequency, wind_scale, wind_iconsize };

class WindBinding : public Modifier {
 public:
  SClass_ID SuperClassID() override { return WSM_CLASS_ID; }
  void GetClassName(TSTR& s) override { s = "Wind_Binding"; }
  Class_ID ClassID() override { return WINDMOD_CLASS_ID; }
  const TCHAR* GetObjectName() override { return "Wind Binding"; }
  int NumRefs() override { return 1; }
  RefTargetHandle GetReference(int i) override { return i == 0 ? warpNode_ : nullptr; }
  void SetReference(int i, RefTargetHandle rtarg) override {
    if (i == 0) warpNode_ = rtarg;
  }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  RefTargetHandle Clone(RemapDir& remap) override {
    auto* c = new WindBinding;
    c->ReplaceReference(0, warpNode_);
    BaseClone(this, c, remap);
    return c;
  }
  Class_ID InputType() override { return defObjectClassID; }
  void ModifyObject(TimeValue, ModContext&, ObjectState*, INode*) override {}

 private:
  RefTargetHandle warpNode_ = nullptr;
};

HostClassDesc windBindingDesc("Wind_Binding", WSM_CLASS_ID, WINDMOD_CLASS_ID, "",
                              [](BOOL) -> void* { return new WindBinding; });

void* newWind(BOOL loading);
HostClassDesc windDesc("Wind", WSM_OBJECT_CLASS_ID, WINDOBJECT_CLASS_ID, "Forces", newWind);
ParamBlockDesc2 windParams(0, _T("WindParameters"), 0, &windDesc, P_AUTO_CONSTRUCT, 0,
    wind_strength, _T("strength"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 1.0, p_range, -1e6, 1e6, p_end,
    wind_decay, _T("decay"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 0.0, p_range, 0.0, 1e6, p_end,
    wind_type, _T("windtype"), TYPE_INT, 0, 0, p_default, 0, p_range, 0, 1, p_end,
    wind_turbulence, _T("turbulence"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 0.0, p_range, 0.0, 1e6, p_end,
    wind_frequency, _T("frequency"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 0.0, p_range, 0.0, 1e6, p_end,
    wind_scale, _T("scale"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 1.0, p_range, 0.0, 1e6, p_end,
    wind_iconsize, _T("iconSize"), TYPE_WORLD, 0, 0, p_default, 10.0, p_range, 0.0, 1e9, p_end,
    p_end);

class WindObject : public PBlockObject<WSMObject> {
 public:
  explicit WindObject(BOOL loading) {
    if (!loading) windDesc.MakeAutoParamBlocks(this);
  }
  void GetClassName(TSTR& s) override { s = "Wind"; }
  Class_ID ClassID() override { return WINDOBJECT_CLASS_ID; }
  const TCHAR* GetObjectName() override { return "Wind"; }
  RefTargetHandle Clone(RemapDir& remap) override { return cloneWithBlock(new WindObject(TRUE), remap); }
  Modifier* CreateWSMMod(INode* node) override {
    auto* m = new WindBinding;
    m->ReplaceReference(0, node);
    return m;
  }
};
void* newWind(BOOL loading) { return new WindObject(loading); }

// ---- script methods of modifiers ------------------------------------------------------------------

Modifier* modifier(ReferenceTarget* t) { return dynamic_cast<Modifier*>(t); }

const bool modifierProps = addPropertyTable(
    PropertyScope{OSM_CLASS_ID, Class_ID(0, 0), false, [](ReferenceTarget* t) { return modifier(t) != nullptr; }},
    {
        {"enabled", [](ReferenceTarget* t, TimeValue) { return bool_result(modifier(t)->IsEnabled() != 0); },
         [](ReferenceTarget* t, TimeValue, Value* v) {
           if (v->to_bool()) modifier(t)->EnableMod();
           else modifier(t)->DisableMod();
         }},
        {"name", [](ReferenceTarget* t, TimeValue) -> Value* { return new String(modifier(t)->GetName().str()); },
         [](ReferenceTarget* t, TimeValue, Value* v) { modifier(t)->SetName(MSTR(v->to_string())); }},
    });

const bool modifierMethods = addMethodTable(
    PropertyScope{OSM_CLASS_ID, Class_ID(0, 0), false, [](ReferenceTarget* t) { return modifier(t) != nullptr; }},
    {
        {"isActivated", [](ReferenceTarget* t, Value**, int) { return bool_result(modifier(t)->IsEnabled() != 0); }},
        {"activate",
         [](ReferenceTarget* t, Value** args, int count) -> Value* {
           bool on = count < 1 || args[0]->to_bool();
           if (on) modifier(t)->EnableMod();
           else modifier(t)->DisableMod();
           return ok;
         }},
    });

}  // namespace
}  // namespace sim
