// Objects that nodes carry: geometry, shapes, helpers, lights, cameras, space warps; the modifiers
// that change them; and the derived objects that hold a modifier stack over an object.
//
// The pipeline: a node's object reference is a base object, or a derived object whose own object
// reference is the object below it and whose modifiers apply on top (modifier 0 is the top of the
// stack, applied last). A world-space derived object (space-warp bindings) sits above the
// object-space one. Evaluating an object at a time (Eval) gives an ObjectState whose object is the
// result: the base object itself when nothing modifies it, otherwise an object the derived object
// owns until its next evaluation.
#pragma once

#include "box3.h"
#include "host_api.h"
#include "interval.h"
#include "matrix3.h"
#include "mesh.h"
#include "ref.h"

class INode;
class Object;
class Modifier;
class ViewExp;
class SnapInfo;
class IPoint2;
class CreateMouseCallBack;

// Conversion targets of Object::ConvertToType besides concrete classes: any object whose points a
// modifier can move (a triangle object for geometry, a spline shape for shapes).
#define defObjectClassID Class_ID(0x6d3a7e01, 0)
constexpr ULONG TRIOBJ_CLASS_ID = 0x00000009;
#define triObjectClassID Class_ID(TRIOBJ_CLASS_ID, 0)
#define splineShapeClassID Class_ID(0x0000000a, 0)
// The class ids of the two derived objects (super class GEN_DERIVOB_CLASS_ID).
#define derivObjClassID Class_ID(DERIVOB_CLASS_ID, 0)
#define WSMDerivObjClassID Class_ID(WSM_DERIVOB_CLASS_ID, 0)

class HOST_API ObjectState {
 public:
  Object* obj = nullptr;
  Matrix3* tm = nullptr;  // set by world-space modifiers that move the object; null: the node's
  Interval tmvi = FOREVER;

  ObjectState() = default;
  explicit ObjectState(Object* ob) : obj(ob) {}
  Matrix3* GetTM() { return tm; }
  Interval tmValid() const { return tmvi; }
};

// Moves one point at a time: what a deforming modifier hands an object's Deform.
class HOST_API Deformer {
 public:
  virtual ~Deformer() = default;
  virtual Point3 Map(int i, Point3 p) = 0;
};

class HOST_API BaseObject : public ReferenceTarget {
 public:
  // The name the host gives the object's kind in its user interface.
  virtual const TCHAR* GetObjectName() { return ""; }
  // The name a new node carrying this object starts from (the host numbers it: "Box01").
  virtual void InitNodeName(TSTR& s) { s = GetObjectName(); }

  // ---- viewports ----
  // The host calls these with the node that carries the object and the viewport concerned; an
  // object with nothing to show keeps the defaults (draws nothing, is never hit, never snapped to).
  // Display draws the object into vpt->getGW() and answers 0.
  virtual int Display(TimeValue t, INode* inode, ViewExp* vpt, int flags) { return 0; }
  // Nonzero when the object is hit by the region MakeHitRegion(type, crossing, ..., p) gives.
  virtual int HitTest(TimeValue t, INode* inode, int type, int crossing, int flags, IPoint2* p, ViewExp* vpt) {
    return 0;
  }
  // Offers the object's snap candidates near the cursor `p` to `snap`.
  virtual void Snap(TimeValue t, INode* inode, SnapInfo* snap, IPoint2* p, ViewExp* vpt) {}
  // Boxes of what Display draws, in world and in object coordinates; objects with nothing to show
  // leave `box` as it is.
  virtual void GetWorldBoundBox(TimeValue t, INode* inode, ViewExp* vp, Box3& box) {}
  virtual void GetLocalBoundBox(TimeValue t, INode* inode, ViewExp* vp, Box3& box) {}
  // The procedure that places a new object by mouse; null for objects made only by script.
  virtual CreateMouseCallBack* GetCreateMouseCallBack() { return nullptr; }
  virtual void SetExtendedDisplay(int flags) {}
};

class HOST_API Object : public BaseObject {
 public:
  // The object's result at `t`: base objects answer themselves.
  virtual ObjectState Eval(TimeValue t) { return ObjectState(this); }
  virtual Interval ObjectValidity(TimeValue t) { return FOREVER; }

  // Conversion: CanConvertToType tells whether ConvertToType can give an object of class `obtype`
  // (or defObjectClassID). ConvertToType answers this object when it already is one, else a new
  // object the caller owns (free it with DeleteMe), or null.
  virtual int CanConvertToType(Class_ID obtype) { return ClassID() == obtype; }
  virtual Object* ConvertToType(TimeValue t, Class_ID obtype) { return CanConvertToType(obtype) ? this : nullptr; }
  // The base object under any derived objects.
  virtual Object* FindBaseObject() { return this; }

  // Objects whose points modifiers can move.
  virtual BOOL IsDeformable() { return FALSE; }
  virtual int NumPoints() { return 0; }
  virtual Point3 GetPoint(int i) { return Point3(); }
  virtual void SetPoint(int i, const Point3& p) {}
  // Moves every point (with useSel, only the selected ones) through `defProc`.
  virtual void Deform(Deformer* defProc, int useSel = 0);
  // The box of the points, under `tm` when given.
  virtual void GetDeformBBox(TimeValue t, Box3& box, Matrix3* tm = nullptr, BOOL useSel = FALSE);
  virtual BOOL IsShapeObject() { return FALSE; }
  virtual BOOL IsWorldSpaceObject() { return FALSE; }
  virtual BOOL IsParticleSystem() { return FALSE; }
};

class HOST_API GeomObject : public Object {
 public:
  SClass_ID SuperClassID() override { return GEOMOBJECT_CLASS_ID; }
};

class HOST_API ShapeObject : public GeomObject {
 public:
  SClass_ID SuperClassID() override { return SHAPE_CLASS_ID; }
  BOOL IsShapeObject() override { return TRUE; }
};

class HOST_API HelperObject : public Object {
 public:
  SClass_ID SuperClassID() override { return HELPER_CLASS_ID; }
};

// ---- lights and cameras -------------------------------------------------------------------------------

class HOST_API LightObject : public Object {
 public:
  SClass_ID SuperClassID() override { return LIGHT_CLASS_ID; }
  virtual void SetUseLight(int onOff) = 0;
  virtual BOOL GetUseLight() = 0;
};

// Light types of GenLight::Type.
constexpr int OMNI_LIGHT = 0;
constexpr int TSPOT_LIGHT = 1;
constexpr int DIR_LIGHT = 2;
constexpr int FSPOT_LIGHT = 3;
constexpr int TDIR_LIGHT = 4;

class HOST_API GenLight : public LightObject {
 public:
  virtual int Type() = 0;
  virtual void SetRGBColor(TimeValue t, Point3& rgb) = 0;
  virtual Point3 GetRGBColor(TimeValue t, Interval& valid) = 0;
  Point3 GetRGBColor(TimeValue t) { Interval v = FOREVER; return GetRGBColor(t, v); }
  virtual void SetIntensity(TimeValue t, float f) = 0;
  virtual float GetIntensity(TimeValue t, Interval& valid) = 0;
  float GetIntensity(TimeValue t) { Interval v = FOREVER; return GetIntensity(t, v); }
  // Shadow casting on (1) or off (0).
  virtual void SetShadow(int a) = 0;
  virtual int GetShadow() = 0;
  virtual void SetHotspot(TimeValue t, float f) {}
  virtual float GetHotspot(TimeValue t, Interval& valid) { return 0.0f; }
  virtual void SetFallsize(TimeValue t, float f) {}
  virtual float GetFallsize(TimeValue t, Interval& valid) { return 0.0f; }
  virtual void SetTDist(TimeValue t, float f) {}
  virtual float GetTDist(TimeValue t, Interval& valid) { return 0.0f; }
};

class HOST_API CameraObject : public Object {
 public:
  SClass_ID SuperClassID() override { return CAMERA_CLASS_ID; }
};

constexpr int FREE_CAMERA = 0;
constexpr int TARGETED_CAMERA = 1;

class HOST_API GenCamera : public CameraObject {
 public:
  virtual int Type() = 0;
  // Field of view in radians.
  virtual void SetFOV(TimeValue t, float f) = 0;
  virtual float GetFOV(TimeValue t, Interval& valid) = 0;
  float GetFOV(TimeValue t) { Interval v = FOREVER; return GetFOV(t, v); }
  virtual void SetTDist(TimeValue t, float f) = 0;
  virtual float GetTDist(TimeValue t, Interval& valid) = 0;
  float GetTDist(TimeValue t) { Interval v = FOREVER; return GetTDist(t, v); }
  virtual void SetClipDist(TimeValue t, int which, float val) = 0;
  virtual float GetClipDist(TimeValue t, int which, Interval& valid) = 0;
  virtual void SetOrtho(BOOL b) = 0;
  virtual BOOL IsOrtho() = 0;
};
constexpr int CAM_HITHER_CLIP = 0;
constexpr int CAM_YON_CLIP = 1;

// ---- modifiers -----------------------------------------------------------------------------------------

// Where a modifier sits in a stack: its box and transform relative to the object, and data of its
// own per use.
class HOST_API LocalModData {
 public:
  virtual ~LocalModData() = default;
  virtual LocalModData* Clone() = 0;
};

class HOST_API ModContext {
 public:
  Matrix3* tm = nullptr;
  Box3* box = nullptr;
  LocalModData* localData = nullptr;
  ModContext() = default;
  ModContext(const ModContext& mc);
  ModContext& operator=(const ModContext& mc);
  ~ModContext();
};

class HOST_API Modifier : public BaseObject {
 public:
  Modifier();
  ~Modifier() override;

  SClass_ID SuperClassID() override { return OSM_CLASS_ID; }
  // The kind of object the modifier works on (defObjectClassID for deforming modifiers).
  virtual Class_ID InputType() = 0;
  // Changes os->obj, which the pipeline made an object of InputType the modifier may change.
  virtual void ModifyObject(TimeValue t, ModContext& mc, ObjectState* os, INode* node) = 0;
  virtual Interval LocalValidity(TimeValue t) { return FOREVER; }

  // A disabled modifier is skipped by evaluation. Changes record undo and notify dependents.
  BOOL IsEnabled() { return enabled_; }
  void EnableMod();
  void DisableMod();
  BOOL IsEnabledInViews() { return enabledInViews_; }
  void EnableModInViews() { enabledInViews_ = TRUE; }
  void DisableModInViews() { enabledInViews_ = FALSE; }

  // The modifier's name in the stack: its object name until one is set.
  virtual MSTR GetName(bool localized = true);
  virtual void SetName(MSTR n);

  // The enabled states and the name as chunks of the current level; a modifier with chunks of its
  // own writes these first.
  IOResult Save(ISave* isave) override;
  IOResult Load(ILoad* iload) override;

 private:
  void setEnabled(BOOL on);
  BOOL enabled_ = TRUE;
  BOOL enabledInViews_ = TRUE;
  MSTR name_;
  bool named_ = false;
};

// A space warp object: a node's object that modifies other nodes once they are bound to it.
class HOST_API WSMObject : public Object {
 public:
  SClass_ID SuperClassID() override { return WSM_OBJECT_CLASS_ID; }
  // The modifier that binds a node to the space warp carried by `node`.
  virtual Modifier* CreateWSMMod(INode* node) = 0;
};

// ---- derived objects -----------------------------------------------------------------------------------

class HOST_API IDerivedObject : public Object {
 public:
  SClass_ID SuperClassID() override { return GEN_DERIVOB_CLASS_ID; }
  virtual void ReferenceObject(Object* pob) = 0;
  virtual Object* GetObjRef() = 0;
  virtual int NumModifiers() = 0;
  virtual Modifier* GetModifier(int index) = 0;
  virtual void SetModifier(int index, Modifier* mod) = 0;
  // Inserts `mod` at index `before` (0: the top of the stack). `mc` is copied when given.
  virtual void AddModifier(Modifier* mod, ModContext* mc = nullptr, int before = 0) = 0;
  virtual void DeleteModifier(int index = 0) = 0;
  virtual ModContext* GetModContext(int index) = 0;
  // The object with the modifiers from the bottom up to (not including) `modIndex` applied.
  virtual ObjectState Eval(TimeValue t, int modIndex) = 0;
  ObjectState Eval(TimeValue t) override { return Eval(t, 0); }
};

HOST_API IDerivedObject* CreateDerivedObject(Object* pob = nullptr);
HOST_API IDerivedObject* CreateWSDerivedObject(Object* pob = nullptr);
