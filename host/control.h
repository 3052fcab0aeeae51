// Controllers: the animatables that give a value at a time. What GetValue / SetValue point `val` at
// follows the controller's super class:
//   CTRL_FLOAT_CLASS_ID     float*            CTRL_POINT3_CLASS_ID   Point3* (colours too)
//   CTRL_POINT4_CLASS_ID    Point4*           CTRL_FRGBA_CLASS_ID    Point4* (AColor as r,g,b,a)
//   CTRL_POSITION_CLASS_ID  Point3*           CTRL_ROTATION_CLASS_ID Quat*
//   CTRL_SCALE_CLASS_ID     ScaleValue*       CTRL_MATRIX3_CLASS_ID  Matrix3* (a node's transform)
// With CTRL_RELATIVE, position, rotation, scale and transform controllers apply their value to the
// Matrix3 that `val` points at (the parent's transform for a node) instead of writing it.
//
// Keys: setting a value while the animate state is on (Animating()) at a time other than 0 sets a
// key there; a controller without keys first keeps its old value as a key at time 0. With animate
// off, a controller without keys takes the new value; one with keys is shifted so that it passes
// through the new value at that time.
#pragma once

#include "host_api.h"
#include "interval.h"
#include "matrix3.h"
#include "maxtypes.h"
#include "point3.h"
#include "quat.h"
#include "ref.h"

class ScaleValue {
 public:
  Point3 s{1.0f, 1.0f, 1.0f};
  Quat q;  // the axis system of the scale; identity for the host's own controllers
  ScaleValue() = default;
  explicit ScaleValue(const Point3& scale) : s(scale) {}
  ScaleValue(const Point3& scale, const Quat& axis) : s(scale), q(axis) {}
};

enum GetSetMethod { CTRL_RELATIVE, CTRL_ABSOLUTE };

constexpr int NOT_KEYFRAMEABLE = -1;

// Flags of the key functions.
constexpr DWORD KEYAT_POSITION = 1 << 0;
constexpr DWORD KEYAT_ROTATION = 1 << 1;
constexpr DWORD KEYAT_SCALE = 1 << 2;
constexpr DWORD ADDKEY_SELECT = 1 << 0;
constexpr DWORD ADDKEY_INTERP = 1 << 1;
constexpr DWORD TRACK_DOALL = 1 << 4;

class HOST_API Control : public ReferenceTarget {
 public:
  virtual void GetValue(TimeValue t, void* val, Interval& valid, GetSetMethod method = CTRL_ABSOLUTE) = 0;
  // `commit` is accepted for the SDK's sake; every value is committed at once.
  virtual void SetValue(TimeValue t, void* val, int commit = 1, GetSetMethod method = CTRL_ABSOLUTE) = 0;

  // Makes this controller's animation a copy of `from`'s (same super class); other kinds are
  // ignored.
  virtual void Copy(Control* from) {}
  virtual BOOL IsLeaf() { return TRUE; }
  virtual BOOL IsKeyable() { return TRUE; }
  virtual BOOL IsReplaceable() { return TRUE; }
  virtual BOOL IsAnimated() { return NumKeys() > 0; }

  // Transform controllers hand out their parts; others answer null / FALSE.
  virtual Control* GetPositionController() { return nullptr; }
  virtual Control* GetRotationController() { return nullptr; }
  virtual Control* GetScaleController() { return nullptr; }
  virtual BOOL SetPositionController(Control* c) { return FALSE; }
  virtual BOOL SetRotationController(Control* c) { return FALSE; }
  virtual BOOL SetScaleController(Control* c) { return FALSE; }
  // Controllers made of three float tracks hand those out.
  virtual Control* GetXController() { return nullptr; }
  virtual Control* GetYController() { return nullptr; }
  virtual Control* GetZController() { return nullptr; }

  // Keys, in time order. NumKeys answers NOT_KEYFRAMEABLE for controllers without keys of their
  // own (those made of other controllers answer the number of distinct key times below them).
  virtual int NumKeys() { return NOT_KEYFRAMEABLE; }
  virtual TimeValue GetKeyTime(int index) { return 0; }
  virtual int GetKeyIndex(TimeValue t) { return -1; }
  // Adds a key holding the current value at `t` (no change when one is there).
  virtual void AddNewKey(TimeValue t, DWORD flags) {}
  virtual BOOL IsKeyAtTime(TimeValue t, DWORD flags) { return GetKeyIndex(t) >= 0; }
  virtual void DeleteKeyAtTime(TimeValue t) {}
  virtual void DeleteKeys(DWORD flags) {}
  virtual Interval GetTimeRange(DWORD flags) { return NEVER; }

  // Puts `control` (a controller of the right kind) into sub-animation `subAnim`; FALSE when this
  // controller has no such slot or the kind does not fit.
  BOOL AssignController(Animatable* control, int subAnim) override { return FALSE; }
};

// New controllers of the host's default kinds: bezier_float, bezier_point3, bezier_color,
// bezier_point4, position_xyz, euler_xyz, scaleXYZ and the position/rotation/scale transform.
HOST_API Control* NewDefaultFloatController();
HOST_API Control* NewDefaultPoint3Controller();
HOST_API Control* NewDefaultColorController();
HOST_API Control* NewDefaultPoint4Controller();
HOST_API Control* NewDefaultFRGBAController();
HOST_API Control* NewDefaultPositionController();
HOST_API Control* NewDefaultRotationController();
HOST_API Control* NewDefaultScaleController();
HOST_API Control* NewDefaultMatrix3Controller();
// The interpolating leaf controllers by name.
HOST_API Control* CreateInterpFloat();
HOST_API Control* CreateInterpPoint3();
HOST_API Control* CreateInterpPoint4();
HOST_API Control* CreatePRSControl();
