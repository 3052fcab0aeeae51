// Taper: an object-space modifier that scales the points across the primary axis by a factor that
// changes with their height along it (from the object's origin, over the object's extent): amount
// grows or shrinks the far end in a straight line, curve bends the sides out or in. The effect axes
// are the other two axes, one of them or both; with symmetry the taper is the same below the origin
// as above, and with the limit on, points past the limits scale as the limits do.
#include "istdplug.h"
#include "scene/host_class_desc.h"
#include "scene/objects/param_object.h"

#include <algorithm>

namespace sim {
namespace {

// The application's class id for Taper.
constexpr ULONG kTaperClassID = 0x00000020;

enum { taper_amount, taper_curve, taper_primary, taper_effect, taper_symmetry, taper_limit, taper_upper, taper_lower };

void* newTaper(BOOL loading);
HostClassDesc taperDesc("Taper", OSM_CLASS_ID, Class_ID(kTaperClassID, 0), "Parametric Modifiers", newTaper);
// primaryaxis: 0 x, 1 y, 2 z. effectaxis: the first, the second, or both of the other axes, in
// the order that follows the primary one (for z: x, y, xy).
ParamBlockDesc2 taperParams(0, _T("TaperParameters"), 0, &taperDesc, P_AUTO_CONSTRUCT, 0,
    taper_amount, _T("amount"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 0.0, p_range, -10.0, 10.0, p_end,
    taper_curve, _T("curve"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 0.0, p_range, -10.0, 10.0, p_end,
    taper_primary, _T("primaryaxis"), TYPE_INT, 0, 0, p_default, 2, p_range, 0, 2, p_end,
    taper_effect, _T("effectaxis"), TYPE_INT, 0, 0, p_default, 2, p_range, 0, 2, p_end,
    taper_symmetry, _T("symmetry"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    taper_limit, _T("limit"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    taper_upper, _T("upperlimit"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 0.0, p_end,
    taper_lower, _T("lowerlimit"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 0.0, p_end,
    p_end);

struct TaperSettings {
  float amount = 0, curve = 0;
  int primary = 2, effect = 2;
  bool symmetry = false, limit = false;
  float lower = 0, upper = 0;
};

class TaperDeformer : public Deformer {
 public:
  TaperDeformer(const TaperSettings& s, float extent) : s_(s) {
    s_.primary = std::clamp(s_.primary, 0, 2);
    s_.effect = std::clamp(s_.effect, 0, 2);
    active_ = (s.amount != 0.0f || s.curve != 0.0f) && extent > 1e-6f;
    extent_ = extent;
  }
  Point3 Map(int, Point3 p) override {
    if (!active_) return p;
    float h = p[s_.primary];
    if (s_.limit) h = std::clamp(h, s_.lower, s_.upper);
    float z = h / extent_;
    if (s_.symmetry && z < 0.0f) z = -z;
    const float f = 1.0f + s_.amount * z + s_.curve * z * (1.0f - z);
    const int u = (s_.primary + 1) % 3, v = (s_.primary + 2) % 3;
    if (s_.effect != 1) p[u] *= f;
    if (s_.effect != 0) p[v] *= f;
    return p;
  }

 private:
  TaperSettings s_;
  bool active_ = false;
  float extent_ = 1.0f;
};

class TaperModifier : public PBlockObject<Modifier> {
 public:
  explicit TaperModifier(BOOL loading) {
    if (!loading) taperDesc.MakeAutoParamBlocks(this);
  }
  void GetClassName(TSTR& s) override { s = "Taper"; }
  Class_ID ClassID() override { return Class_ID(kTaperClassID, 0); }
  const TCHAR* GetObjectName() override { return "Taper"; }
  RefTargetHandle Clone(RemapDir& remap) override {
    auto* c = cloneWithBlock(new TaperModifier(TRUE), remap);
    if (!IsEnabled()) c->DisableMod();
    return c;
  }

  Class_ID InputType() override { return defObjectClassID; }
  void ModifyObject(TimeValue t, ModContext& mc, ObjectState* os, INode*) override {
    if (!os || !os->obj) return;
    TaperSettings s;
    s.amount = getFloat(taper_amount, t);
    s.curve = getFloat(taper_curve, t);
    s.primary = std::clamp(getInt(taper_primary, t), 0, 2);
    s.effect = getInt(taper_effect, t);
    s.symmetry = getInt(taper_symmetry, t) != 0;
    s.limit = getInt(taper_limit, t) != 0;
    s.lower = getFloat(taper_lower, t);
    s.upper = getFloat(taper_upper, t);
    Box3 box;
    if (mc.box && !mc.box->IsEmpty()) box = *mc.box;
    else os->obj->GetDeformBBox(t, box);
    if (box.IsEmpty()) return;
    TaperDeformer d(s, box.Width()[s.primary]);
    os->obj->Deform(&d, TRUE);
  }
};
void* newTaper(BOOL loading) { return new TaperModifier(loading); }

}  // namespace
}  // namespace sim
