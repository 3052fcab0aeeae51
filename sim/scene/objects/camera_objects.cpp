// Free and target cameras, and the target object a target camera's node looks at.
#include "istdplug.h"
#include "object.h"
#include "scene/change_restore.h"
#include "scene/host_class_desc.h"
#include "scene/scene_values.h"
#include "scenefile/chunk_io.h"
#include "script/property_table.h"

namespace sim {
namespace {

constexpr float kDegToRad = 3.14159265358979f / 180.0f;

class StdCamera : public GenCamera {
 public:
  explicit StdCamera(int type) : type_(type) {}

  void GetClassName(TSTR& s) override { s = type_ == FREE_CAMERA ? "FreeCamera" : "TargetCamera"; }
  Class_ID ClassID() override { return Class_ID(type_ == FREE_CAMERA ? SIMPLE_CAM_CLASS_ID : LOOKAT_CAM_CLASS_ID, 0); }
  const TCHAR* GetObjectName() override { return "Camera"; }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  RefTargetHandle Clone(RemapDir& remap) override {
    auto* c = new StdCamera(type_);
    c->settings_ = settings_;
    BaseClone(this, c, remap);
    return c;
  }

  IOResult Save(ISave* isave) override { return io::writeChunk(isave, kSettingsChunk, settings_); }
  IOResult Load(ILoad* iload) override {
    return io::forEachChunk(iload, [&](USHORT id) { return id == kSettingsChunk ? io::read(iload, settings_) : IO_OK; });
  }

  int Type() override { return type_ == FREE_CAMERA ? FREE_CAMERA : TARGETED_CAMERA; }
  void SetFOV(TimeValue, float f) override { change(&Settings::fov, f); }
  float GetFOV(TimeValue, Interval&) override { return settings_.fov; }
  void SetTDist(TimeValue, float f) override { change(&Settings::tdist, f); }
  float GetTDist(TimeValue, Interval&) override { return settings_.tdist; }
  void SetClipDist(TimeValue, int which, float val) override {
    if (which == CAM_HITHER_CLIP) change(&Settings::nearClip, val);
    else if (which == CAM_YON_CLIP) change(&Settings::farClip, val);
  }
  float GetClipDist(TimeValue, int which, Interval&) override {
    return which == CAM_HITHER_CLIP ? settings_.nearClip : which == CAM_YON_CLIP ? settings_.farClip : 0.0f;
  }
  void SetOrtho(BOOL b) override { change(&Settings::ortho, b ? 1 : 0); }
  BOOL IsOrtho() override { return settings_.ortho; }

 private:
  static constexpr USHORT kSettingsChunk = 0x0001;
  struct Settings {
    float fov = 45.0f * kDegToRad;
    float tdist = 160.0f;
    float nearClip = 1.0f;
    float farClip = 1000.0f;
    int ortho = 0;
  };
  template <class T>
  void change(T Settings::*field, T v) {
    if (settings_.*field == v) return;
    recordChange(this, settings_.*field, v, [this, field](const T& x) { settings_.*field = x; }, "Camera");
    settings_.*field = v;
    NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  }

  int type_;
  Settings settings_;
};

HostClassDesc freeCameraDesc("FreeCamera", CAMERA_CLASS_ID, Class_ID(SIMPLE_CAM_CLASS_ID, 0), "Standard",
                             [](BOOL) -> void* { return new StdCamera(FREE_CAMERA); });
HostClassDesc targetCameraDesc("TargetCamera", CAMERA_CLASS_ID, Class_ID(LOOKAT_CAM_CLASS_ID, 0), "Standard",
                               [](BOOL) -> void* { return new StdCamera(TARGETED_CAMERA); });

// What a target camera's target node carries: a geometry object without geometry.
class TargetObject : public GeomObject {
 public:
  void GetClassName(TSTR& s) override { s = "Targetobject"; }
  Class_ID ClassID() override { return Class_ID(TARGET_CLASS_ID, 0); }
  const TCHAR* GetObjectName() override { return "Target"; }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  RefTargetHandle Clone(RemapDir& remap) override {
    auto* c = new TargetObject;
    BaseClone(this, c, remap);
    return c;
  }
};

HostClassDesc targetObjectDesc("Targetobject", GEOMOBJECT_CLASS_ID, Class_ID(TARGET_CLASS_ID, 0), "Standard",
                               [](BOOL) -> void* { return new TargetObject; });

// ---- script properties --------------------------------------------------------------------------

GenCamera* camera(ReferenceTarget* t) { return dynamic_cast<GenCamera*>(t); }
Interval& scratch() {
  static Interval v;
  v = FOREVER;
  return v;
}

const bool cameraProps = addPropertyTable(
    PropertyScope{CAMERA_CLASS_ID, Class_ID(0, 0), false, [](ReferenceTarget* t) { return camera(t) != nullptr; }},
    {
        {"fov", [](ReferenceTarget* t, TimeValue tv) { return Float::intern(camera(t)->GetFOV(tv) / kDegToRad); },
         [](ReferenceTarget* t, TimeValue tv, Value* v) { camera(t)->SetFOV(tv, v->to_float() * kDegToRad); }},
        {"targetDistance", [](ReferenceTarget* t, TimeValue tv) { return Float::intern(camera(t)->GetTDist(tv)); },
         [](ReferenceTarget* t, TimeValue tv, Value* v) { camera(t)->SetTDist(tv, v->to_float()); }},
        {"nearclip", [](ReferenceTarget* t, TimeValue tv) { return Float::intern(camera(t)->GetClipDist(tv, CAM_HITHER_CLIP, scratch())); },
         [](ReferenceTarget* t, TimeValue tv, Value* v) { camera(t)->SetClipDist(tv, CAM_HITHER_CLIP, v->to_float()); }},
        {"farclip", [](ReferenceTarget* t, TimeValue tv) { return Float::intern(camera(t)->GetClipDist(tv, CAM_YON_CLIP, scratch())); },
         [](ReferenceTarget* t, TimeValue tv, Value* v) { camera(t)->SetClipDist(tv, CAM_YON_CLIP, v->to_float()); }},
        {"orthoProjection", [](ReferenceTarget* t, TimeValue) { return bool_result(camera(t)->IsOrtho() != 0); },
         [](ReferenceTarget* t, TimeValue, Value* v) { camera(t)->SetOrtho(toFlag(v)); }},
    });

}  // namespace
}  // namespace sim
