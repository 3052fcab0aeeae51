// Omni, directional and free spot lights. Colour and multiplier are controllers of the light
// (references and sub-animations 0 and 1, "Color" and "Multiplier"), so they animate and scripts
// find them with getPropertyController; the other settings are plain values that record undo.
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

class StdLight : public GenLight {
 public:
  StdLight(int type, BOOL loading) : type_(type) {
    if (loading) return;
    Point3 white(1.0f, 1.0f, 1.0f);
    float one = 1.0f;
    Control* color = NewDefaultColorController();
    color->SetValue(0, &white, 1, CTRL_ABSOLUTE);
    Control* mult = NewDefaultFloatController();
    mult->SetValue(0, &one, 1, CTRL_ABSOLUTE);
    ReplaceReference(0, color);
    ReplaceReference(1, mult);
  }

  void GetClassName(TSTR& s) override { s = type_ == OMNI_LIGHT ? "Omnilight" : type_ == DIR_LIGHT ? "DirectionalLight" : "FreeSpot"; }
  Class_ID ClassID() override {
    return Class_ID(type_ == OMNI_LIGHT ? OMNI_LIGHT_CLASS_ID : type_ == DIR_LIGHT ? DIR_LIGHT_CLASS_ID : FSPOT_LIGHT_CLASS_ID, 0);
  }
  const TCHAR* GetObjectName() override { return type_ == OMNI_LIGHT ? "Omni" : type_ == DIR_LIGHT ? "Direct" : "FSpot"; }

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
    return ReplaceReference(subAnim, c) == REF_SUCCEED;
  }

  RefTargetHandle Clone(RemapDir& remap) override {
    auto* c = new StdLight(type_, TRUE);
    c->ReplaceReference(0, remap.CloneRef(color_));
    c->ReplaceReference(1, remap.CloneRef(mult_));
    c->settings_ = settings_;
    BaseClone(this, c, remap);
    return c;
  }

  // The plain settings; colour and multiplier are references.
  IOResult Save(ISave* isave) override { return io::writeChunk(isave, kSettingsChunk, settings_); }
  IOResult Load(ILoad* iload) override {
    return io::forEachChunk(iload, [&](USHORT id) { return id == kSettingsChunk ? io::read(iload, settings_) : IO_OK; });
  }

  int Type() override { return type_; }
  void SetRGBColor(TimeValue t, Point3& rgb) override {
    if (color_) color_->SetValue(t, &rgb, 1, CTRL_ABSOLUTE);
  }
  Point3 GetRGBColor(TimeValue t, Interval& valid) override {
    Point3 c(1.0f, 1.0f, 1.0f);
    if (color_) color_->GetValue(t, &c, valid, CTRL_ABSOLUTE);
    return c;
  }
  void SetIntensity(TimeValue t, float f) override {
    if (mult_) mult_->SetValue(t, &f, 1, CTRL_ABSOLUTE);
  }
  float GetIntensity(TimeValue t, Interval& valid) override {
    float f = 1.0f;
    if (mult_) mult_->GetValue(t, &f, valid, CTRL_ABSOLUTE);
    return f;
  }
  void SetShadow(int a) override { change(&Settings::shadow, a ? 1 : 0); }
  int GetShadow() override { return settings_.shadow; }
  void SetUseLight(int onOff) override { change(&Settings::on, onOff ? 1 : 0); }
  BOOL GetUseLight() override { return settings_.on; }
  void SetHotspot(TimeValue, float f) override { change(&Settings::hotspot, f); }
  float GetHotspot(TimeValue, Interval&) override { return settings_.hotspot; }
  void SetFallsize(TimeValue, float f) override { change(&Settings::falloff, f); }
  float GetFallsize(TimeValue, Interval&) override { return settings_.falloff; }
  void SetTDist(TimeValue, float f) override { change(&Settings::tdist, f); }
  float GetTDist(TimeValue, Interval&) override { return settings_.tdist; }

 private:
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
    NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  }

  int type_;
  Control* color_ = nullptr;
  Control* mult_ = nullptr;
  Settings settings_;
};

HostClassDesc omniDesc("Omnilight", LIGHT_CLASS_ID, Class_ID(OMNI_LIGHT_CLASS_ID, 0), "Standard",
                       [](BOOL loading) -> void* { return new StdLight(OMNI_LIGHT, loading); });
HostClassDesc directDesc("DirectionalLight", LIGHT_CLASS_ID, Class_ID(DIR_LIGHT_CLASS_ID, 0), "Standard",
                         [](BOOL loading) -> void* { return new StdLight(DIR_LIGHT, loading); });
HostClassDesc freeSpotDesc("FreeSpot", LIGHT_CLASS_ID, Class_ID(FSPOT_LIGHT_CLASS_ID, 0), "Standard",
                           [](BOOL loading) -> void* { return new StdLight(FSPOT_LIGHT, loading); });

// ---- script properties --------------------------------------------------------------------------

GenLight* light(ReferenceTarget* t) { return dynamic_cast<GenLight*>(t); }
Interval& scratch() {
  static Interval v;
  v = FOREVER;
  return v;
}

const bool lightProps = addPropertyTable(
    PropertyScope{LIGHT_CLASS_ID, Class_ID(0, 0), false, [](ReferenceTarget* t) { return light(t) != nullptr; }},
    {
        {"castShadows", [](ReferenceTarget* t, TimeValue) { return bool_result(light(t)->GetShadow() != 0); },
         [](ReferenceTarget* t, TimeValue, Value* v) { light(t)->SetShadow(toFlag(v)); }},
        {"color", [](ReferenceTarget* t, TimeValue tv) { return colorValue(Color(light(t)->GetRGBColor(tv))); },
         [](ReferenceTarget* t, TimeValue tv, Value* v) {
           Point3 c = Point3(toColor(v));
           light(t)->SetRGBColor(tv, c);
         }},
        {"rgb", [](ReferenceTarget* t, TimeValue tv) { return colorValue(Color(light(t)->GetRGBColor(tv))); },
         [](ReferenceTarget* t, TimeValue tv, Value* v) {
           Point3 c = Point3(toColor(v));
           light(t)->SetRGBColor(tv, c);
         }},
        {"multiplier", [](ReferenceTarget* t, TimeValue tv) { return Float::intern(light(t)->GetIntensity(tv)); },
         [](ReferenceTarget* t, TimeValue tv, Value* v) { light(t)->SetIntensity(tv, v->to_float()); }},
        {"enabled", [](ReferenceTarget* t, TimeValue) { return bool_result(light(t)->GetUseLight() != 0); },
         [](ReferenceTarget* t, TimeValue, Value* v) { light(t)->SetUseLight(toFlag(v)); }},
        {"hotspot", [](ReferenceTarget* t, TimeValue tv) { return Float::intern(light(t)->GetHotspot(tv, scratch())); },
         [](ReferenceTarget* t, TimeValue tv, Value* v) { light(t)->SetHotspot(tv, v->to_float()); }},
        {"falloff", [](ReferenceTarget* t, TimeValue tv) { return Float::intern(light(t)->GetFallsize(tv, scratch())); },
         [](ReferenceTarget* t, TimeValue tv, Value* v) { light(t)->SetFallsize(tv, v->to_float()); }},
        {"targetDistance", [](ReferenceTarget* t, TimeValue tv) { return Float::intern(light(t)->GetTDist(tv, scratch())); },
         [](ReferenceTarget* t, TimeValue tv, Value* v) { light(t)->SetTDist(tv, v->to_float()); }},
    });

}  // namespace
}  // namespace sim
