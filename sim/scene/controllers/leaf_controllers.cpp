#include "animate.h"
#include "scene/change_restore.h"
#include "scene/controllers/controllers.h"
#include "scene/host_class_desc.h"

namespace sim {

CtrlValue ctrlValueOf(SClass_ID sclass) {
  switch (sclass) {
    case CTRL_FLOAT_CLASS_ID: return CtrlValue::Float;
    case CTRL_POINT3_CLASS_ID:
    case CTRL_POSITION_CLASS_ID: return CtrlValue::Point3;
    case CTRL_POINT4_CLASS_ID:
    case CTRL_FRGBA_CLASS_ID: return CtrlValue::Point4;
    case CTRL_ROTATION_CLASS_ID: return CtrlValue::Quat;
    case CTRL_SCALE_CLASS_ID: return CtrlValue::Scale;
    case CTRL_MATRIX3_CLASS_ID: return CtrlValue::Matrix;
    default: return CtrlValue::None;
  }
}

bool ctrlFits(SClass_ID slot, SClass_ID sub) {
  CtrlValue v = ctrlValueOf(slot);
  return v != CtrlValue::None && v == ctrlValueOf(sub);
}

namespace {

// Animate off on a track with keys moves the whole track so that it passes through the new value.
void shiftBy(KeyTrack<float>& tr, float now, float want) {
  tr.forEachKeyValue([&](float& v) { v += want - now; });
}
void shiftBy(KeyTrack<Point3>& tr, const Point3& now, const Point3& want) {
  tr.forEachKeyValue([&](Point3& v) { v += want - now; });
}
void shiftBy(KeyTrack<Point4>& tr, const Point4& now, const Point4& want) {
  tr.forEachKeyValue([&](Point4& v) { v = v + (want - now); });
}

template <class T>
T addValues(const T& a, const T& b) { return a + b; }

}  // namespace

template <class T>
void LeafControl<T>::GetValue(TimeValue t, void* val, Interval& valid, GetSetMethod method) {
  if (!val) return;
  T v = track_.value(t);
  valid &= track_.validity(t);
  T* out = static_cast<T*>(val);
  *out = method == CTRL_RELATIVE ? addValues(*out, v) : v;
}

template <class T>
void LeafControl<T>::SetValue(TimeValue t, void* val, int, GetSetMethod method) {
  if (!val) return;
  T v = *static_cast<T*>(val);
  if (method == CTRL_RELATIVE) v = addValues(track_.value(t), v);
  setValue(t, v);
}

template <class T>
void LeafControl<T>::setValue(TimeValue t, const T& v) {
  KeyTrack<T> next = track_;
  if (Animating() && t != 0) {
    if (!next.animated()) next.setKey(0, next.value(0));
    next.setKey(t, v);
  } else if (Animating() && next.animated()) {
    next.setKey(t, v);
  } else if (!next.animated()) {
    next.setConstant(v);
  } else {
    shiftBy(next, next.value(t), v);
  }
  replaceTrack(next);
}

template <class T>
void LeafControl<T>::replaceTrack(const KeyTrack<T>& track) {
  if (track == track_) return;
  recordChange(this, track_, track, [this](const KeyTrack<T>& tr) { replaceTrack(tr); }, "Controller");
  track_ = track;
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

template <class T>
void LeafControl<T>::Copy(Control* from) {
  auto* leaf = dynamic_cast<LeafControl<T>*>(from);
  if (leaf && leaf != this) {
    replaceTrack(leaf->track_);
  } else if (from && from != this && ctrlFits(SuperClassID(), from->SuperClassID())) {
    T v{};
    Interval valid = FOREVER;
    from->GetValue(0, &v, valid, CTRL_ABSOLUTE);
    replaceTrack(KeyTrack<T>(v));
  }
}

template <class T>
RefTargetHandle LeafControl<T>::Clone(RemapDir& remap) {
  LeafControl<T>* c = emptyClone();
  c->track_ = track_;
  BaseClone(this, c, remap);
  return c;
}

template <class T>
TimeValue LeafControl<T>::GetKeyTime(int index) {
  return index >= 0 && index < track_.count() ? track_.key(index).time : 0;
}

template <class T>
void LeafControl<T>::AddNewKey(TimeValue t, DWORD) {
  if (track_.indexAt(t) >= 0) return;
  KeyTrack<T> next = track_;
  next.setKey(t, track_.value(t));
  replaceTrack(next);
}

template <class T>
void LeafControl<T>::DeleteKeyAtTime(TimeValue t) {
  KeyTrack<T> next = track_;
  if (next.removeKey(t)) replaceTrack(next);
}

template <class T>
void LeafControl<T>::DeleteKeys(DWORD) {
  KeyTrack<T> next = track_;
  next.clearKeys();
  replaceTrack(next);
}

template <class T>
int LeafControl<T>::moveKey(int index, TimeValue t) {
  if (index < 0 || index >= track_.count()) return -1;
  KeyTrack<T> next = track_;
  int at = next.moveKey(index, t);
  replaceTrack(next);
  return at;
}

template <class T>
void LeafControl<T>::selectKey(int index, bool on) {
  if (index < 0 || index >= track_.count()) return;
  KeyTrack<T> next = track_;
  next.select(index, on);
  replaceTrack(next);
}

template <class T>
TangentType LeafControl<T>::keyTangent(int index, bool in) {
  if (index < 0 || index >= track_.count()) return kDefaultTangent;
  return in ? track_.key(index).inTangent : track_.key(index).outTangent;
}

template <class T>
void LeafControl<T>::setKeyTangent(int index, bool in, TangentType type) {
  if (index < 0 || index >= track_.count()) return;
  KeyTrack<T> next = track_;
  next.setTangent(index, in, type);
  replaceTrack(next);
}

template <class T>
void LeafControl<T>::shiftKeys(TimeValue dt, bool selectedOnly) {
  KeyTrack<T> next = track_;
  next.shiftKeys(dt, selectedOnly);
  replaceTrack(next);
}

template <class T>
void LeafControl<T>::deleteSelectedKeys() {
  KeyTrack<T> next = track_;
  next.removeSelected();
  replaceTrack(next);
}

template <class T>
Interval LeafControl<T>::GetTimeRange(DWORD) {
  if (!track_.animated()) return NEVER;
  return Interval(track_.key(0).time, track_.key(track_.count() - 1).time);
}

template class LeafControl<float>;
template class LeafControl<Point3>;
template class LeafControl<Point4>;

// ---- descriptors ----------------------------------------------------------------------------------

namespace {

// A point3 track in a transform's position slot: read relative, it translates the matrix it is
// given, as position controllers do; otherwise it is a bezier_point3.
class PositionLeaf final : public Point3Leaf {
 public:
  using Point3Leaf::Point3Leaf;
  void GetValue(TimeValue t, void* val, Interval& valid, GetSetMethod method) override {
    if (!val || method != CTRL_RELATIVE) return Point3Leaf::GetValue(t, val, valid, method);
    Point3 p;
    Point3Leaf::GetValue(t, &p, valid, CTRL_ABSOLUTE);
    static_cast<Matrix3*>(val)->PreTranslate(p);
  }

 protected:
  Point3Leaf* emptyClone() const override { return new PositionLeaf(identity(), Point3()); }
};

const FloatLeaf::Identity kBezierFloat{"bezier_float", CTRL_FLOAT_CLASS_ID, Class_ID(HYBRIDINTERP_FLOAT_CLASS_ID, 0)};
const Point3Leaf::Identity kBezierPoint3{"bezier_point3", CTRL_POINT3_CLASS_ID, Class_ID(HYBRIDINTERP_POINT3_CLASS_ID, 0)};
const Point3Leaf::Identity kBezierColor{"bezier_color", CTRL_POINT3_CLASS_ID, Class_ID(HYBRIDINTERP_COLOR_CLASS_ID, 0)};
const Point4Leaf::Identity kBezierPoint4{"bezier_point4", CTRL_POINT4_CLASS_ID, Class_ID(HYBRIDINTERP_POINT4_CLASS_ID, 0)};
const Point4Leaf::Identity kBezierRGBA{"bezier_rgba", CTRL_FRGBA_CLASS_ID, Class_ID(HYBRIDINTERP_FRGBA_CLASS_ID, 0)};
const Point3Leaf::Identity kBezierPosition{"bezier_position", CTRL_POSITION_CLASS_ID,
                                          Class_ID(HYBRIDINTERP_POSITION_CLASS_ID, 0)};

HostClassDesc bezierFloatDesc(kBezierFloat.className, kBezierFloat.sclass, kBezierFloat.cid, "Controllers",
                              [](BOOL) -> void* { return new FloatLeaf(kBezierFloat, 0.0f); });
HostClassDesc bezierPoint3Desc(kBezierPoint3.className, kBezierPoint3.sclass, kBezierPoint3.cid, "Controllers",
                               [](BOOL) -> void* { return new Point3Leaf(kBezierPoint3, Point3()); });
HostClassDesc bezierColorDesc(kBezierColor.className, kBezierColor.sclass, kBezierColor.cid, "Controllers",
                              [](BOOL) -> void* { return new Point3Leaf(kBezierColor, Point3()); });
HostClassDesc bezierPoint4Desc(kBezierPoint4.className, kBezierPoint4.sclass, kBezierPoint4.cid, "Controllers",
                               [](BOOL) -> void* { return new Point4Leaf(kBezierPoint4, Point4()); });
HostClassDesc bezierRGBADesc(kBezierRGBA.className, kBezierRGBA.sclass, kBezierRGBA.cid, "Controllers",
                             [](BOOL) -> void* { return new Point4Leaf(kBezierRGBA, Point4()); });
HostClassDesc bezierPositionDesc(kBezierPosition.className, kBezierPosition.sclass, kBezierPosition.cid, "Controllers",
                                 [](BOOL) -> void* { return new PositionLeaf(kBezierPosition, Point3()); });

}  // namespace

}  // namespace sim

Control* CreateInterpFloat() { return new sim::FloatLeaf(sim::kBezierFloat, 0.0f); }
Control* CreateInterpPoint3() { return new sim::Point3Leaf(sim::kBezierPoint3, Point3()); }
Control* CreateInterpPoint4() { return new sim::Point4Leaf(sim::kBezierPoint4, Point4()); }
Control* NewDefaultFloatController() { return CreateInterpFloat(); }
Control* NewDefaultPoint3Controller() { return CreateInterpPoint3(); }
Control* NewDefaultColorController() { return new sim::Point3Leaf(sim::kBezierColor, Point3()); }
Control* NewDefaultPoint4Controller() { return CreateInterpPoint4(); }
Control* NewDefaultFRGBAController() { return new sim::Point4Leaf(sim::kBezierRGBA, Point4()); }
