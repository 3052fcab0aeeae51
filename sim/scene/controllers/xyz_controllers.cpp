#include "core/ref_graph.h"
#include "hold.h"
#include "scene/controllers/controllers.h"
#include "scene/host_class_desc.h"

#include <algorithm>
#include <cmath>

namespace sim {

Quat eulerToQuat(const Point3& a) { return Quat(RotateXMatrix(a.x) * RotateYMatrix(a.y) * RotateZMatrix(a.z)); }

Point3 quatToEuler(const Quat& q) {
  // The rotation matrix is Rx * Ry * Rz (row vectors); its first row is (cy cz, cy sz, -sy).
  Matrix3 m;
  q.MakeMatrix(m);
  float sy = std::clamp(-m[0][2], -1.0f, 1.0f);
  float y = std::asin(sy);
  float x, z;
  if (std::fabs(sy) < 0.99999f) {
    x = std::atan2(m[1][2], m[2][2]);
    z = std::atan2(m[0][1], m[0][0]);
  } else {
    // Gimbal lock: x and z turn about the same axis; put it all into x.
    z = 0.0f;
    x = std::atan2(m[1][0] * sy, m[1][1]);
  }
  return Point3(x, y, z);
}

namespace {

const char* const kAxisNames[3][3] = {
    {"X Position", "Y Position", "Z Position"},
    {"X Rotation", "Y Rotation", "Z Rotation"},
    {"X Scale", "Y Scale", "Z Scale"},
};

// Every distinct key time of a set of controllers, in order.
std::vector<TimeValue> mergedKeyTimes(Control* const* ctrls, int n) {
  std::vector<TimeValue> times;
  for (int i = 0; i < n; ++i) {
    if (!ctrls[i]) continue;
    int k = ctrls[i]->NumKeys();
    for (int j = 0; j < k; ++j) times.push_back(ctrls[i]->GetKeyTime(j));
  }
  std::sort(times.begin(), times.end());
  times.erase(std::unique(times.begin(), times.end()), times.end());
  return times;
}

}  // namespace

// ---- XYZControl ---------------------------------------------------------------------------------

XYZControl::XYZControl(Kind kind, BOOL loading) : kind_(kind) {
  if (loading) return;  // the scene file brings the axis controllers as references
  float initial = kind == Kind::Scale ? 1.0f : 0.0f;
  theHold.Suspend();  // a new controller has nothing to undo
  for (int i = 0; i < 3; ++i) {
    Control* c = NewDefaultFloatController();
    c->SetValue(0, &initial, 1, CTRL_ABSOLUTE);
    ReplaceReference(i, c);
  }
  theHold.Resume();
}

XYZControl::~XYZControl() = default;

void XYZControl::GetClassName(TSTR& s) {
  s = kind_ == Kind::Position ? "Position_XYZ" : kind_ == Kind::Euler ? "Euler_XYZ" : "ScaleXYZ";
}

Class_ID XYZControl::ClassID() {
  switch (kind_) {
    case Kind::Position: return IPOS_CONTROL_CLASS_ID;
    case Kind::Euler: return Class_ID(EULER_CONTROL_CLASS_ID, 0);
    default: return ISCALE_CONTROL_CLASS_ID;
  }
}

SClass_ID XYZControl::SuperClassID() {
  switch (kind_) {
    case Kind::Position: return CTRL_POSITION_CLASS_ID;
    case Kind::Euler: return CTRL_ROTATION_CLASS_ID;
    default: return CTRL_SCALE_CLASS_ID;
  }
}

void XYZControl::SetReference(int i, RefTargetHandle rtarg) {
  if (i < 0 || i >= 3) return;
  // Each axis hands back one float; anything else (a damaged file can name any class here) would
  // write a larger value into it, so the slot refuses it and keeps what it had.
  auto* c = dynamic_cast<Control*>(rtarg);
  if (rtarg && !(c && c->SuperClassID() == CTRL_FLOAT_CLASS_ID)) return;
  axes_[i] = c;
}

TSTR XYZControl::SubAnimName(int i) {
  return i >= 0 && i < 3 ? TSTR(kAxisNames[static_cast<int>(kind_)][i]) : TSTR();
}

RefTargetHandle XYZControl::Clone(RemapDir& remap) {
  auto* c = new XYZControl(kind_, TRUE);
  for (int i = 0; i < 3; ++i) c->ReplaceReference(i, remap.CloneRef(axes_[i]));
  BaseClone(this, c, remap);
  return c;
}

Point3 XYZControl::components(TimeValue t, Interval& valid) {
  Point3 p(kind_ == Kind::Scale ? 1.0f : 0.0f, kind_ == Kind::Scale ? 1.0f : 0.0f, kind_ == Kind::Scale ? 1.0f : 0.0f);
  for (int i = 0; i < 3; ++i)
    if (axes_[i]) axes_[i]->GetValue(t, &p[i], valid, CTRL_ABSOLUTE);
  return p;
}

void XYZControl::GetValue(TimeValue t, void* val, Interval& valid, GetSetMethod method) {
  if (!val) return;
  Point3 p = components(t, valid);
  switch (kind_) {
    case Kind::Position:
      if (method == CTRL_RELATIVE) static_cast<Matrix3*>(val)->PreTranslate(p);
      else *static_cast<Point3*>(val) = p;
      break;
    case Kind::Euler: {
      Quat q = eulerToQuat(p);
      if (method == CTRL_RELATIVE) {
        Matrix3 r;
        q.MakeMatrix(r);
        Matrix3& m = *static_cast<Matrix3*>(val);
        m = r * m;
      } else {
        *static_cast<Quat*>(val) = q;
      }
      break;
    }
    case Kind::Scale:
      if (method == CTRL_RELATIVE) static_cast<Matrix3*>(val)->PreScale(p);
      else *static_cast<ScaleValue*>(val) = ScaleValue(p);
      break;
  }
}

void XYZControl::SetValue(TimeValue t, void* val, int commit, GetSetMethod method) {
  if (!val) return;
  Interval valid = FOREVER;
  Point3 now = components(t, valid);
  Point3 want;
  switch (kind_) {
    case Kind::Position: {
      Point3 p = *static_cast<Point3*>(val);
      want = method == CTRL_RELATIVE ? now + p : p;
      break;
    }
    case Kind::Euler: {
      Quat q = *static_cast<Quat*>(val);
      if (method == CTRL_RELATIVE) q = eulerToQuat(now) * q;
      want = quatToEuler(q);
      break;
    }
    case Kind::Scale: {
      Point3 s = static_cast<ScaleValue*>(val)->s;
      want = method == CTRL_RELATIVE ? now * s : s;
      break;
    }
  }
  // Only the tracks that change get a new value, so an unchanged axis gets no key.
  for (int i = 0; i < 3; ++i)
    if (axes_[i] && want[i] != now[i]) axes_[i]->SetValue(t, &want[i], commit, CTRL_ABSOLUTE);
}

void XYZControl::Copy(Control* from) {
  auto* other = dynamic_cast<XYZControl*>(from);
  if (other && other != this && other->kind_ == kind_) {
    for (int i = 0; i < 3; ++i)
      if (axes_[i] && other->axes_[i]) axes_[i]->Copy(other->axes_[i]);
    return;
  }
  if (!from || from == this || !ctrlFits(SuperClassID(), from->SuperClassID())) return;
  // Another kind of controller: take its value at time 0.
  Interval valid = FOREVER;
  Point3 p;
  Quat q;
  ScaleValue s;
  void* v = kind_ == Kind::Position ? static_cast<void*>(&p) : kind_ == Kind::Euler ? static_cast<void*>(&q) : &s;
  from->GetValue(0, v, valid, CTRL_ABSOLUTE);
  for (int i = 0; i < 3; ++i)
    if (axes_[i]) axes_[i]->DeleteKeys(TRACK_DOALL);
  SetValue(0, v, 1, CTRL_ABSOLUTE);
}

BOOL XYZControl::AssignController(Animatable* control, int subAnim) {
  auto* c = dynamic_cast<Control*>(control);
  if (subAnim < 0 || subAnim > 2 || !c || c->SuperClassID() != CTRL_FLOAT_CLASS_ID) return FALSE;
  if (ReplaceReference(subAnim, c) != REF_SUCCEED) return FALSE;
  // What caches this controller's value (a node's transform) must read the new part's.
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  return TRUE;
}

std::vector<TimeValue> XYZControl::keyTimes() { return mergedKeyTimes(axes_, 3); }
int XYZControl::NumKeys() { return static_cast<int>(keyTimes().size()); }

TimeValue XYZControl::GetKeyTime(int index) {
  auto times = keyTimes();
  return index >= 0 && index < static_cast<int>(times.size()) ? times[static_cast<size_t>(index)] : 0;
}

int XYZControl::GetKeyIndex(TimeValue t) {
  auto times = keyTimes();
  auto it = std::find(times.begin(), times.end(), t);
  return it == times.end() ? -1 : static_cast<int>(it - times.begin());
}

void XYZControl::AddNewKey(TimeValue t, DWORD flags) {
  for (Control* c : axes_)
    if (c) c->AddNewKey(t, flags);
}

void XYZControl::DeleteKeyAtTime(TimeValue t) {
  for (Control* c : axes_)
    if (c) c->DeleteKeyAtTime(t);
}

void XYZControl::DeleteKeys(DWORD flags) {
  for (Control* c : axes_)
    if (c) c->DeleteKeys(flags);
}

// ---- PRSControl ---------------------------------------------------------------------------------

PRSControl::PRSControl(BOOL loading) {
  if (loading) return;
  theHold.Suspend();
  ReplaceReference(0, NewDefaultPositionController());
  ReplaceReference(1, NewDefaultRotationController());
  ReplaceReference(2, NewDefaultScaleController());
  theHold.Resume();
}

PRSControl::~PRSControl() = default;

namespace {
const SClass_ID kPrsSlots[3] = {CTRL_POSITION_CLASS_ID, CTRL_ROTATION_CLASS_ID, CTRL_SCALE_CLASS_ID};
}  // namespace

void PRSControl::SetReference(int i, RefTargetHandle rtarg) {
  if (i < 0 || i >= 3) return;
  // A part gives the value of its slot; one of another value type is refused (see XYZControl).
  auto* c = dynamic_cast<Control*>(rtarg);
  if (rtarg && !(c && ctrlFits(kPrsSlots[i], c->SuperClassID()))) return;
  parts_[i] = c;
}

TSTR PRSControl::SubAnimName(int i) {
  static const char* const names[3] = {"Position", "Rotation", "Scale"};
  return i >= 0 && i < 3 ? TSTR(names[i]) : TSTR();
}

RefTargetHandle PRSControl::Clone(RemapDir& remap) {
  auto* c = new PRSControl(TRUE);
  for (int i = 0; i < 3; ++i) c->ReplaceReference(i, remap.CloneRef(parts_[i]));
  BaseClone(this, c, remap);
  return c;
}

void PRSControl::GetValue(TimeValue t, void* val, Interval& valid, GetSetMethod method) {
  if (!val) return;
  Matrix3 local;
  // Each part pre-multiplies: position first, so scale ends up applied first to a point.
  if (parts_[0]) parts_[0]->GetValue(t, &local, valid, CTRL_RELATIVE);
  if (parts_[1]) parts_[1]->GetValue(t, &local, valid, CTRL_RELATIVE);
  if (parts_[2]) parts_[2]->GetValue(t, &local, valid, CTRL_RELATIVE);
  Matrix3& m = *static_cast<Matrix3*>(val);
  m = method == CTRL_RELATIVE ? local * m : local;
}

void PRSControl::SetValue(TimeValue t, void* val, int commit, GetSetMethod method) {
  if (!val) return;
  Matrix3 m = *static_cast<Matrix3*>(val);
  if (method == CTRL_RELATIVE) {
    Interval valid = FOREVER;
    Matrix3 now;
    GetValue(t, &now, valid, CTRL_ABSOLUTE);
    m = m * now;
  }
  Point3 scale(m[0].Length(), m[1].Length(), m[2].Length());
  Matrix3 rot(m[0].Normalize(), m[1].Normalize(), m[2].Normalize(), Point3());
  Point3 pos = m.GetTrans();
  Quat q(rot);
  ScaleValue sv(scale);
  if (parts_[0]) parts_[0]->SetValue(t, &pos, commit, CTRL_ABSOLUTE);
  if (parts_[1]) {
    // Leave the rotation alone when it does not change, so that an unrotated node gets no keys.
    Interval valid = FOREVER;
    Quat now;
    parts_[1]->GetValue(t, &now, valid, CTRL_ABSOLUTE);
    Matrix3 nowM;
    now.MakeMatrix(nowM);
    bool same = true;
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) same = same && std::fabs(nowM[r][c] - rot[r][c]) < 1e-6f;
    if (!same) parts_[1]->SetValue(t, &q, commit, CTRL_ABSOLUTE);
  }
  if (parts_[2]) parts_[2]->SetValue(t, &sv, commit, CTRL_ABSOLUTE);
}

void PRSControl::Copy(Control* from) {
  if (!from || from == this) return;
  if (from->GetPositionController() && parts_[0]) parts_[0]->Copy(from->GetPositionController());
  if (from->GetRotationController() && parts_[1]) parts_[1]->Copy(from->GetRotationController());
  if (from->GetScaleController() && parts_[2]) parts_[2]->Copy(from->GetScaleController());
}

BOOL PRSControl::AssignController(Animatable* control, int subAnim) {
  auto* c = dynamic_cast<Control*>(control);
  if (subAnim < 0 || subAnim > 2 || !c || !ctrlFits(kPrsSlots[subAnim], c->SuperClassID())) return FALSE;
  if (ReplaceReference(subAnim, c) != REF_SUCCEED) return FALSE;
  // What caches this controller's value (a node's transform) must read the new part's.
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  return TRUE;
}

std::vector<TimeValue> PRSControl::keyTimes() { return mergedKeyTimes(parts_, 3); }
int PRSControl::NumKeys() { return static_cast<int>(keyTimes().size()); }
TimeValue PRSControl::GetKeyTime(int index) {
  auto times = keyTimes();
  return index >= 0 && index < static_cast<int>(times.size()) ? times[static_cast<size_t>(index)] : 0;
}

// ---- descriptors ----------------------------------------------------------------------------------

namespace {
HostClassDesc positionXYZDesc("position_xyz", CTRL_POSITION_CLASS_ID, IPOS_CONTROL_CLASS_ID, "Controllers",
                              [](BOOL loading) -> void* { return new XYZControl(XYZControl::Kind::Position, loading); });
HostClassDesc eulerXYZDesc("euler_xyz", CTRL_ROTATION_CLASS_ID, Class_ID(EULER_CONTROL_CLASS_ID, 0), "Controllers",
                           [](BOOL loading) -> void* { return new XYZControl(XYZControl::Kind::Euler, loading); });
HostClassDesc scaleXYZDesc("scaleXYZ", CTRL_SCALE_CLASS_ID, ISCALE_CONTROL_CLASS_ID, "Controllers",
                           [](BOOL loading) -> void* { return new XYZControl(XYZControl::Kind::Scale, loading); });
HostClassDesc prsDesc("prs", CTRL_MATRIX3_CLASS_ID, Class_ID(PRS_CONTROL_CLASS_ID, 0), "Controllers",
                      [](BOOL loading) -> void* { return new PRSControl(loading); });
}  // namespace

}  // namespace sim

Control* NewDefaultPositionController() { return new sim::XYZControl(sim::XYZControl::Kind::Position); }
Control* NewDefaultRotationController() { return new sim::XYZControl(sim::XYZControl::Kind::Euler); }
Control* NewDefaultScaleController() { return new sim::XYZControl(sim::XYZControl::Kind::Scale); }
Control* NewDefaultMatrix3Controller() { return new sim::PRSControl(); }
Control* CreatePRSControl() { return new sim::PRSControl(); }
