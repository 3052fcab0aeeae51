// The host's controllers: leaf controllers with keys (bezier_float, bezier_point3, bezier_color,
// bezier_point4), controllers made of three float tracks (position_xyz, euler_xyz, scaleXYZ), the
// node transform (position/rotation/scale) and the list controllers. Every one is created through
// its class descriptor.
#pragma once

#include "control.h"
#include "istdplug.h"
#include "scene/controllers/key_track.h"
#include "scene/controllers/list_entry_name.h"

#include <string>
#include <vector>

namespace sim {

// The value type a controller of super class `sclass` gets and sets (see control.h).
enum class CtrlValue { Float, Point3, Point4, Quat, Scale, Matrix, None };
HOST_API CtrlValue ctrlValueOf(SClass_ID sclass);
// True when a controller of `sub` can stand where one of `slot` is expected (same value type).
HOST_API bool ctrlFits(SClass_ID slot, SClass_ID sub);

// ---- leaf controllers -------------------------------------------------------------------------------

// What scripts do to single keys of a leaf controller, whatever its value type. Indices are
// 0-based; out-of-range ones change nothing.
class HOST_API KeyEditing {
 public:
  virtual ~KeyEditing() = default;
  // Keys stay in time order: answers the moved key's new index (-1 for a bad index).
  virtual int moveKey(int index, TimeValue t) = 0;
  virtual bool keySelected(int index) = 0;
  virtual void selectKey(int index, bool on) = 0;
  // Every key, or the selected ones, moved by `dt` in one change (one undo step).
  virtual void shiftKeys(TimeValue dt, bool selectedOnly) = 0;
  virtual void deleteSelectedKeys() = 0;
  // The tangent on one side of a key (`in`: the side the curve reaches it from).
  virtual TangentType keyTangent(int index, bool in) = 0;
  virtual void setKeyTangent(int index, bool in, TangentType type) = 0;
};

// Shared behaviour of the leaf controllers of every value type.
template <class T>
class LeafControl : public Control, public KeyEditing {
 public:
  struct Identity {
    const char* className;
    SClass_ID sclass;
    Class_ID cid;
  };
  LeafControl(const Identity& id, T initial) : id_(id), track_(initial) {}

  void GetClassName(TSTR& s) override { s = id_.className; }
  Class_ID ClassID() override { return id_.cid; }
  SClass_ID SuperClassID() override { return id_.sclass; }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }

  void GetValue(TimeValue t, void* val, Interval& valid, GetSetMethod method) override;
  void SetValue(TimeValue t, void* val, int commit, GetSetMethod method) override;
  void Copy(Control* from) override;
  RefTargetHandle Clone(RemapDir& remap) override;

  int NumKeys() override { return track_.count(); }
  TimeValue GetKeyTime(int index) override;
  int GetKeyIndex(TimeValue t) override { return track_.indexAt(t); }
  void AddNewKey(TimeValue t, DWORD flags) override;
  void DeleteKeyAtTime(TimeValue t) override;
  void DeleteKeys(DWORD flags) override;
  Interval GetTimeRange(DWORD flags) override;

  int moveKey(int index, TimeValue t) override;
  bool keySelected(int index) override { return index >= 0 && index < track_.count() && track_.key(index).selected; }
  void selectKey(int index, bool on) override;
  void shiftKeys(TimeValue dt, bool selectedOnly) override;
  void deleteSelectedKeys() override;
  TangentType keyTangent(int index, bool in) override;
  void setKeyTangent(int index, bool in, TangentType type) override;

  // The value and the keys (controller_io.cpp).
  IOResult Save(ISave* isave) override;
  IOResult Load(ILoad* iload) override;

  // ---- host side ----
  T valueAt(TimeValue t) const { return track_.value(t); }
  const Identity& identity() const { return id_; }
  const KeyTrack<T>& track() const { return track_; }
  // Sets the value at `t` as the animate state says (see control.h); records undo and notifies.
  void setValue(TimeValue t, const T& v);

 protected:
  void replaceTrack(const KeyTrack<T>& track);
  // A new controller of this one's class and identity, without keys: what Clone fills.
  virtual LeafControl* emptyClone() const { return new LeafControl(id_, T()); }

 private:
  Identity id_;
  KeyTrack<T> track_;
};

extern template class HOST_API LeafControl<float>;
extern template class HOST_API LeafControl<Point3>;
extern template class HOST_API LeafControl<Point4>;
using FloatLeaf = LeafControl<float>;
using Point3Leaf = LeafControl<Point3>;
using Point4Leaf = LeafControl<Point4>;

// ---- controllers made of three float tracks ----------------------------------------------------------

// position_xyz (Point3), euler_xyz (Quat from angles in radians, x applied first) and scaleXYZ
// (ScaleValue): references 0-2 are the X, Y and Z float controllers.
class HOST_API XYZControl : public Control {
 public:
  enum class Kind { Position, Euler, Scale };
  explicit XYZControl(Kind kind, BOOL loading = FALSE);
  ~XYZControl() override;

  void GetClassName(TSTR& s) override;
  Class_ID ClassID() override;
  SClass_ID SuperClassID() override;

  int NumRefs() override { return 3; }
  RefTargetHandle GetReference(int i) override { return i >= 0 && i < 3 ? axes_[i] : nullptr; }
  void SetReference(int i, RefTargetHandle rtarg) override;
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  int NumSubs() override { return 3; }
  Animatable* SubAnim(int i) override { return GetReference(i); }
  TSTR SubAnimName(int i) override;
  RefTargetHandle Clone(RemapDir& remap) override;

  void GetValue(TimeValue t, void* val, Interval& valid, GetSetMethod method) override;
  void SetValue(TimeValue t, void* val, int commit, GetSetMethod method) override;
  void Copy(Control* from) override;
  BOOL IsLeaf() override { return FALSE; }
  Control* GetXController() override { return axes_[0]; }
  Control* GetYController() override { return axes_[1]; }
  Control* GetZController() override { return axes_[2]; }
  BOOL AssignController(Animatable* control, int subAnim) override;

  int NumKeys() override;
  TimeValue GetKeyTime(int index) override;
  int GetKeyIndex(TimeValue t) override;
  void AddNewKey(TimeValue t, DWORD flags) override;
  void DeleteKeyAtTime(TimeValue t) override;
  void DeleteKeys(DWORD flags) override;

  Kind kind() const { return kind_; }

 private:
  Point3 components(TimeValue t, Interval& valid);
  std::vector<TimeValue> keyTimes();
  Kind kind_;
  Control* axes_[3] = {nullptr, nullptr, nullptr};
};

// Euler angles (radians, x applied first) and quaternions, as euler_xyz converts them.
HOST_API Quat eulerToQuat(const Point3& angles);
HOST_API Point3 quatToEuler(const Quat& q);

// ---- the node transform -------------------------------------------------------------------------------

// Position, rotation and scale controllers (references 0-2). Its value is the node's transform
// relative to its parent: scale, then rotation, then position.
class HOST_API PRSControl : public Control {
 public:
  explicit PRSControl(BOOL loading = FALSE);
  ~PRSControl() override;

  void GetClassName(TSTR& s) override { s = "PRS"; }
  Class_ID ClassID() override { return Class_ID(PRS_CONTROL_CLASS_ID, 0); }
  SClass_ID SuperClassID() override { return CTRL_MATRIX3_CLASS_ID; }

  int NumRefs() override { return 3; }
  RefTargetHandle GetReference(int i) override { return i >= 0 && i < 3 ? parts_[i] : nullptr; }
  void SetReference(int i, RefTargetHandle rtarg) override;
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  int NumSubs() override { return 3; }
  Animatable* SubAnim(int i) override { return GetReference(i); }
  TSTR SubAnimName(int i) override;
  RefTargetHandle Clone(RemapDir& remap) override;

  // `val` is a Matrix3*: CTRL_RELATIVE multiplies the local transform onto it (the parent's
  // transform for a node); CTRL_ABSOLUTE writes the local transform. SetValue takes a local
  // transform and splits it into position, rotation and scale (shear is dropped).
  void GetValue(TimeValue t, void* val, Interval& valid, GetSetMethod method) override;
  void SetValue(TimeValue t, void* val, int commit, GetSetMethod method) override;
  void Copy(Control* from) override;
  BOOL IsLeaf() override { return FALSE; }

  Control* GetPositionController() override { return parts_[0]; }
  Control* GetRotationController() override { return parts_[1]; }
  Control* GetScaleController() override { return parts_[2]; }
  BOOL SetPositionController(Control* c) override { return AssignController(c, 0); }
  BOOL SetRotationController(Control* c) override { return AssignController(c, 1); }
  BOOL SetScaleController(Control* c) override { return AssignController(c, 2); }
  BOOL AssignController(Animatable* control, int subAnim) override;

  int NumKeys() override;
  TimeValue GetKeyTime(int index) override;

 private:
  std::vector<TimeValue> keyTimes();
  Control* parts_[3] = {nullptr, nullptr, nullptr};
};

// ---- list controllers ---------------------------------------------------------------------------------

// One list class per value type (float, point3, position, rotation, scale, point4 and a point4
// list registered under the FRGBA super class). The value is the weighted sum of the entries
// (rotations and scales: their product, in list order); setting it changes the active entry.
class HOST_API ListControl : public Control, public IListControl {
 public:
  ListControl(SClass_ID sclass, ULONG classPartA, const char* className);
  ~ListControl() override;

  void GetClassName(TSTR& s) override { s = className_; }
  Class_ID ClassID() override { return Class_ID(classA_, 0); }
  SClass_ID SuperClassID() override { return sclass_; }
  BaseInterface* GetInterface(Interface_ID id) override;
  void* GetInterface(ULONG id) override { return Control::GetInterface(id); }

  int NumRefs() override { return static_cast<int>(entries_.size()); }
  RefTargetHandle GetReference(int i) override;
  void SetReference(int i, RefTargetHandle rtarg) override;
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  // The entries, then the empty "Available" slot that assigning to appends.
  int NumSubs() override { return GetListCount() + 1; }
  Animatable* SubAnim(int i) override { return GetSubCtrl(i); }
  TSTR SubAnimName(int i) override;
  RefTargetHandle Clone(RemapDir& remap) override;

  void GetValue(TimeValue t, void* val, Interval& valid, GetSetMethod method) override;
  void SetValue(TimeValue t, void* val, int commit, GetSetMethod method) override;
  BOOL IsLeaf() override { return FALSE; }
  BOOL AssignController(Animatable* control, int subAnim) override;
  // A new list put in place of a controller takes that controller over as its first entry, so the
  // track keeps its value and keys.
  void Copy(Control* from) override;
  int NumKeys() override;
  TimeValue GetKeyTime(int index) override;

  // ---- IListControl ----
  int GetListCount() override { return static_cast<int>(entries_.size()); }
  void SetActive(int index) override;
  int GetActive() override { return active_; }
  void DeleteItem(int index) override;
  void CutItem(int index) override;
  void PasteItem(int index) override;
  // The name given with SetName, or the entry's class name while it has none.
  void SetName(int index, MSTR name) override;
  MSTR GetName(int index) override;
  Control* GetSubCtrl(int index) override;
  float GetSubCtrlWeight(int index, TimeValue t) override;
  BOOL AssignPadded(Control* ctrl, int index, MSTR padName, MSTR name) override;
  // An entry's share, 1 for all of it; false, changing nothing, for an index out of the list.
  bool SetSubCtrlWeight(int index, float weight);

  // The entries' names and weights and the active entry (controller_io.cpp); the entries'
  // controllers are references.
  IOResult Save(ISave* isave) override;
  IOResult Load(ILoad* iload) override;

 private:
  // Sixteen bytes: holders keep lists of many entries for every pass.
  struct Entry {
    Control* ctrl = nullptr;
    ListEntryName name;
    float weight = 1.0f;
  };
  struct Snapshot;
  friend class ListRestore;
  Snapshot snapshot();
  void applySnapshot(const Snapshot& s);
  void changeEntries(const char* what, void (*edit)(std::vector<Entry>&, int, Control*), int index, Control* c);
  // Appends `count` entries holding `c` (already checked to fit and to make no loop), the last
  // named `last` and the others `pad`, as one change. False when not all of them could be added.
  BOOL appendInstances(Control* c, int count, const ListEntryName& pad, const ListEntryName& last);

  SClass_ID sclass_;
  ULONG classA_;
  const char* className_;
  std::vector<Entry> entries_;
  int active_ = 0;
};

}  // namespace sim
