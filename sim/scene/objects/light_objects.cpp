// The standard lights: omni, target and free spots, target and free directional lights, and the
// skylight. Colour and multiplier are controllers of the light (references and sub-animations 0 and
// 1, "Color" and "Multiplier"), so they animate and scripts find them with getPropertyController;
// the other settings are plain values that record undo. A target light aims at its node's target
// (the node's `target`, a target object's node), as a target camera does.
#include "istdplug.h"
#include "object.h"
#include "scene/change_restore.h"
#include "scene/controllers/controllers.h"
#include "scene/host_class_desc.h"
#include "scene/scene_values.h"
#include "scenefile/chunk_io.h"
#include "script/property_table.h"

namespace sim {
namespace {

constexpr ULONG kTargetDirLightClassID = 0x00001015;
const Class_ID kSkylightClassID(0x7bf61478, 0x522e4705);

// What script properties of every light reach, whatever the light derives from: the skylight is
// no GenLight, since the renderer's direct lights are GenLights and a sky is not one of them.
class LightSettings {
 public:
  virtual ~LightSettings() = default;
  virtual Point3 rgb(TimeValue t) = 0;
  virtual void setRgb(TimeValue t, Point3 c) = 0;
  virtual float multiplier(TimeValue t) = 0;
  virtual void setMultiplier(TimeValue t, float f) = 0;
  virtual bool castsShadows() = 0;
  virtual void setCastsShadows(bool on) = 0;
  virtual bool enabled() = 0;
  virtual void setEnabled(bool on) = 0;
};

// The references, sub-animations, settings and file chunk every light shares.
template <class Base>
class ControlledLight : public Base, public LightSettings {
 public:
  explicit ControlledLight(BOOL loading) {
    if (loading) return;
    Point3 white(1.0f, 1.0f, 1.0f);
    float one = 1.0f;
    Control* color = NewDefaultColorController();
    color->SetValue(0, &white, 1, CTRL_ABSOLUTE);
    Control* mult = NewDefaultFloatController();
    mult->SetValue(0, &one, 1, CTRL_ABSOLUTE);
    this->ReplaceReference(0, color);
    this->ReplaceReference(1, mult);
  }

  int NumRefs() override { return 2; }
  RefTargetHandle GetReference(int i) override { return i == 0 ? color_ : i == 1 ? mult_ : nullptr; }
  void SetReference(int i, RefTargetHandle rtarg) override {
    if (i == 0) color_ = dynamic_cast<Control*>(rtarg);
    else if (i == 1) mult_ = dynamic_cast<Control*>(rtarg);
  }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  int NumSubs() override { return 2; }
  Animatable* SubAnim(int i) override { return GetReference(i); }
  TSTR SubAnimName(int i) override { return i == 0 ? TSTR("Color") : i == 1 ? TSTR("Multiplier") : TSTR(); }
  BOOL AssignController(Animatable* control, int subAnim) override {
    auto* c = dynamic_cast<Control*>(control);
    SClass_ID want = subAnim == 0 ? CTRL_POINT3_CLASS_ID : CTRL_FLOAT_CLASS_ID;
    if (!c || subAnim < 0 || subAnim > 1 || !ctrlFits(want, c->SuperClassID())) return FALSE;
    return this->ReplaceReference(subAnim, c) == REF_SUCCEED;
  }

  // The plain settings; colour and multiplier are references.
  IOResult Save(ISave* isave) override { return io::writeChunk(isave, kSettingsChunk, settings_); }
  IOResult Load(ILoad* iload) override {
    return io::forEachChunk(iload, [&](USHORT id) { return id == kSettingsChunk ? io::read(iload, settings_) : IO_OK; });
  }

  Point3 rgb(TimeValue t) override {
    Point3 c(1.0f, 1.0f, 1.0f);
    Interval valid = FOREVER;
    if (color_) color_->GetValue(t, &c, valid, CTRL_ABSOLUTE);
    return c;
  }
  void setRgb(TimeValue t, Point3 c) override {
    if (color_) color_->SetValue(t, &c, 1, CTRL_ABSOLUTE);
  }
  float multiplier(TimeValue t) override {
    float f = 1.0f;
    Interval valid = FOREVER;
    if (mult_) mult_->GetValue(t, &f, valid, CTRL_ABSOLUTE);
    return f;
  }
  void setMultiplier(TimeValue t, float f) override {
    if (mult_) mult_->SetValue(t, &f, 1, CTRL_ABSOLUTE);
  }
  bool castsShadows() override { return settings_.shadow != 0; }
  void setCastsShadows(bool on) override { change(&Settings::shadow, on ? 1 : 0); }
  bool enabled() override { return settings_.on != 0; }
  void setEnabled(bool on) override { change(&Settings::on, on ? 1 : 0); }

 protected:
  static constexpr USHORT kSettingsChunk = 0x0001;
  struct Settings {
    int shadow = 0;
    int on = 1;
    float hotspot = 43.0f;
    float falloff = 45.0f;
    float tdist = 240.0f;
  };
  template <class T>
  void change(T Settings::*field, T v) {
    if (settings_.*field == v) return;
    recordChange(this, settings_.*field, v, [this, field](const T& x) { settings_.*field = x; }, "Light");
    settings_.*field = v;
    this->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  }
  template <class L>
  L* cloneInto(L* c, RemapDir& remap) {
    c->ReplaceReference(0, remap.CloneRef(color_));
    c->ReplaceReference(1, remap.CloneRef(mult_));
    c->settings_ = settings_;
    this->BaseClone(this, c, remap);
    return c;
  }

  Control* color_ = nullptr;
  Control* mult_ = nullptr;
  Settings settings_;
};

// One light type of GenLight::Type, with the names the host gives it.
struct LightKind {
  int type;
  Class_ID classID;
  const char* className;   // the script class name
  const char* objectName;  // new nodes are named after it: Omni001, Spot001, ...
};

const LightKind kLightKinds[] = {
    {OMNI_LIGHT, Class_ID(OMNI_LIGHT_CLASS_ID, 0), "Omnilight", "Omni"},
    {TSPOT_LIGHT, Class_ID(SPOT_LIGHT_CLASS_ID, 0), "TargetSpot", "Spot"},
    {DIR_LIGHT, Class_ID(DIR_LIGHT_CLASS_ID, 0), "DirectionalLight", "Direct"},
    {FSPOT_LIGHT, Class_ID(FSPOT_LIGHT_CLASS_ID, 0), "FreeSpot", "FSpot"},
    {TDIR_LIGHT, Class_ID(kTargetDirLightClassID, 0), "TargetDirectionallight", "TDirect"},
};

const LightKind& kindOf(int type) {
  for (const LightKind& k : kLightKinds)
    if (k.type == type) return k;
  return kLightKinds[0];
}

class StdLight : public ControlledLight<GenLight> {
 public:
  StdLight(int type, BOOL loading) : ControlledLight(loading), kind_(kindOf(type)) {}

  void GetClassName(TSTR& s) override { s = kind_.className; }
  Class_ID ClassID() override { return kind_.classID; }
  const TCHAR* GetObjectName() override { return kind_.objectName; }
  RefTargetHandle Clone(RemapDir& remap) override { return cloneInto(new StdLight(kind_.type, TRUE), remap); }

  int Type() override { return kind_.type; }
  void SetRGBColor(TimeValue t, Point3& rgb) override { setRgb(t, rgb); }
  Point3 GetRGBColor(TimeValue t, Interval&) override { return rgb(t); }
  void SetIntensity(TimeValue t, float f) override { setMultiplier(t, f); }
  float GetIntensity(TimeValue t, Interval&) override { return multiplier(t); }
  void SetShadow(int a) override { setCastsShadows(a != 0); }
  int GetShadow() override { return castsShadows() ? 1 : 0; }
  void SetUseLight(int onOff) override { setEnabled(onOff != 0); }
  BOOL GetUseLight() override { return enabled(); }
  void SetHotspot(TimeValue, float f) override { change(&Settings::hotspot, f); }
  float GetHotspot(TimeValue, Interval&) override { return settings_.hotspot; }
  void SetFallsize(TimeValue, float f) override { change(&Settings::falloff, f); }
  float GetFallsize(TimeValue, Interval&) override { return settings_.falloff; }
  void SetTDist(TimeValue, float f) override { change(&Settings::tdist, f); }
  float GetTDist(TimeValue, Interval&) override { return settings_.tdist; }

 private:
  const LightKind& kind_;
};

// Light from the whole sky rather than from a point or a direction.
class Skylight : public ControlledLight<LightObject> {
 public:
  explicit Skylight(BOOL loading) : ControlledLight(loading) {}

  void GetClassName(TSTR& s) override { s = "Skylight"; }
  Class_ID ClassID() override { return kSkylightClassID; }
  const TCHAR* GetObjectName() override { return "Sky"; }
  RefTargetHandle Clone(RemapDir& remap) override { return cloneInto(new Skylight(TRUE), remap); }
  void SetUseLight(int onOff) override { setEnabled(onOff != 0); }
  BOOL GetUseLight() override { return enabled(); }
};

template <int Type>
void* createLight(BOOL loading) {
  return new StdLight(Type, loading);
}

HostClassDesc omniDesc("Omnilight", LIGHT_CLASS_ID, Class_ID(OMNI_LIGHT_CLASS_ID, 0), "Standard", createLight<OMNI_LIGHT>);
HostClassDesc targetSpotDesc("TargetSpot", LIGHT_CLASS_ID, Class_ID(SPOT_LIGHT_CLASS_ID, 0), "Standard",
                             createLight<TSPOT_LIGHT>);
HostClassDesc directDesc("DirectionalLight", LIGHT_CLASS_ID, Class_ID(DIR_LIGHT_CLASS_ID, 0), "Standard",
                         createLight<DIR_LIGHT>);
HostClassDesc freeSpotDesc("FreeSpot", LIGHT_CLASS_ID, Class_ID(FSPOT_LIGHT_CLASS_ID, 0), "Standard",
                           createLight<FSPOT_LIGHT>);
HostClassDesc targetDirectDesc("TargetDirectionallight", LIGHT_CLASS_ID, Class_ID(kTargetDirLightClassID, 0),
                               "Standard", createLight<TDIR_LIGHT>);
HostClassDesc skylightDesc("Skylight", LIGHT_CLASS_ID, kSkylightClassID, "Standard",
                           [](BOOL loading) -> void* { return new Skylight(loading); });

// ---- script properties --------------------------------------------------------------------------

LightSettings* settings(ReferenceTarget* t) { return dynamic_cast<LightSettings*>(t); }
GenLight* light(ReferenceTarget* t) { return dynamic_cast<GenLight*>(t); }
Interval& scratch() {
  static Interval v;
  v = FOREVER;
  return v;
}

const bool lightProps = addPropertyTable(
    PropertyScope{LIGHT_CLASS_ID, Class_ID(0, 0), false, [](ReferenceTarget* t) { return settings(t) != nullptr; }},
    {
        {"castShadows", [](ReferenceTarget* t, TimeValue) { return bool_result(settings(t)->castsShadows()); },
         [](ReferenceTarget* t, TimeValue, Value* v) { settings(t)->setCastsShadows(toFlag(v) != 0); }},
        {"color", [](ReferenceTarget* t, TimeValue tv) { return colorValue(Color(settings(t)->rgb(tv))); },
         [](ReferenceTarget* t, TimeValue tv, Value* v) { settings(t)->setRgb(tv, Point3(toColor(v))); }},
        {"rgb", [](ReferenceTarget* t, TimeValue tv) { return colorValue(Color(settings(t)->rgb(tv))); },
         [](ReferenceTarget* t, TimeValue tv, Value* v) { settings(t)->setRgb(tv, Point3(toColor(v))); }},
        {"multiplier", [](ReferenceTarget* t, TimeValue tv) { return Float::intern(settings(t)->multiplier(tv)); },
         [](ReferenceTarget* t, TimeValue tv, Value* v) { settings(t)->setMultiplier(tv, v->to_float()); }},
        {"enabled", [](ReferenceTarget* t, TimeValue) { return bool_result(settings(t)->enabled()); },
         [](ReferenceTarget* t, TimeValue, Value* v) { settings(t)->setEnabled(toFlag(v) != 0); }},
    });

const bool directLightProps = addPropertyTable(
    PropertyScope{LIGHT_CLASS_ID, Class_ID(0, 0), false, [](ReferenceTarget* t) { return light(t) != nullptr; }},
    {
        {"hotspot", [](ReferenceTarget* t, TimeValue tv) { return Float::intern(light(t)->GetHotspot(tv, scratch())); },
         [](ReferenceTarget* t, TimeValue tv, Value* v) { light(t)->SetHotspot(tv, v->to_float()); }},
        {"falloff", [](ReferenceTarget* t, TimeValue tv) { return Float::intern(light(t)->GetFallsize(tv, scratch())); },
         [](ReferenceTarget* t, TimeValue tv, Value* v) { light(t)->SetFallsize(tv, v->to_float()); }},
        {"targetDistance", [](ReferenceTarget* t, TimeValue tv) { return Float::intern(light(t)->GetTDist(tv, scratch())); },
         [](ReferenceTarget* t, TimeValue tv, Value* v) { light(t)->SetTDist(tv, v->to_float()); }},
    });

}  // namespace
}  // namespace sim
