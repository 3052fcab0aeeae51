// Controllers of a block's animatable entries. A P_ANIMATABLE numeric, point or colour entry holds
// a plain value until it is animated: setting it with the animate state on at a time other than 0
// gives it a controller of the host's default kind for its type (which keeps the old value as its
// key at 0), and from then on the controller answers for the entry.
#include "animate.h"
#include "control.h"
#include "core/param_block2.h"
#include "hold.h"

#include <type_traits>

namespace sim {

namespace {

// The value type of a controller super class, as the block stores it.
ParamKind controllerKind(SClass_ID sclass) {
  switch (sclass) {
    case CTRL_FLOAT_CLASS_ID: return ParamKind::Float;
    case CTRL_POINT3_CLASS_ID: return ParamKind::Point3;
    case CTRL_POINT4_CLASS_ID:
    case CTRL_FRGBA_CLASS_ID: return ParamKind::Point4;
    default: return ParamKind::None;
  }
}

// Int entries are driven by float controllers, as the host's are.
ParamKind drivenKind(ParamKind k) { return k == ParamKind::Int ? ParamKind::Float : k; }

Control* newControllerFor(int type) {
  switch (base_type(type)) {
    case TYPE_RGBA: return NewDefaultColorController();
    case TYPE_POINT3:
    case TYPE_HSV: return NewDefaultPoint3Controller();
    case TYPE_FRGBA: return NewDefaultFRGBAController();
    case TYPE_POINT4: return NewDefaultPoint4Controller();
    default: return NewDefaultFloatController();
  }
}

}  // namespace

// Undo of a change of an entry's controller. It holds the block the way the block's own records
// do (a referenced block goes with its last hold), and both controllers.
class ParamControllerRestore : public RestoreObj {
 public:
  ParamControllerRestore(ParamBlock2* pb, int ref, ReferenceTarget* oldC, ReferenceTarget* newC)
      : pb_(pb), hold_(pb, pb->HasDependents() != FALSE), ref_(ref), old_(oldC), new_(newC) {}
  void Restore(int) override { apply(old_.get()); }
  void Redo() override { apply(new_.get()); }
  TSTR Description() override { return TSTR("Parameter controller"); }

 private:
  void apply(ReferenceTarget* c) {
    if (pb_->IsDeleted() || (c && c->IsDeleted())) return;
    ParamBlock2::NoRecords quiet;
    pb_->ReplaceReference(ref_, c);
    pb_->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  }
  ParamBlock2* pb_;
  KeepAlive hold_;
  int ref_;
  KeepAlive old_, new_;
};

bool ParamBlock2::replaceController(int p, int tab, Control* c) {
  const int ref = refIndexOf(p, tab, true);
  if (ref < 0) return false;
  ReferenceTarget* old = params_[static_cast<size_t>(p)].controllers[static_cast<size_t>(tab)];
  RestoreObj* record = theHold.Holding() ? new ParamControllerRestore(this, ref, old, c) : nullptr;
  bool ok;
  {
    NoRecords quiet;
    ok = ReplaceReference(ref, c) == REF_SUCCEED;
  }
  if (!record) return ok;
  if (ok) theHold.Put(record);
  else delete record;
  return ok;
}

Control* ParamBlock2::controllerAt(int p, int tab) {
  const Param& prm = params_[static_cast<size_t>(p)];
  if (!prm.hasControllers || tab < 0 || tab >= static_cast<int>(prm.controllers.size())) return nullptr;
  return dynamic_cast<Control*>(prm.controllers[static_cast<size_t>(tab)]);
}

Control* ParamBlock2::GetControllerByID(ParamID id, int tabIndex) {
  int p, tab;
  return locate(id, tabIndex, p, tab) ? controllerAt(p, tab) : nullptr;
}

Control* ParamBlock2::GetControllerByIndex(int i, int tabIndex) {
  if (i < 0 || i >= desc_->count) return nullptr;
  const int tab = entryIndex(i, tabIndex);
  return tab < 0 ? nullptr : controllerAt(i, tab);
}

bool ParamBlock2::readDriven(int p, int tab, TimeValue t, float& v) {
  Control* c = controllerAt(p, tab);
  if (!c || controllerKind(c->SuperClassID()) != ParamKind::Float) return false;
  Interval valid = FOREVER;
  c->GetValue(t, &v, valid);
  return true;
}

bool ParamBlock2::readDriven(int p, int tab, TimeValue t, ::Point3& v) {
  Control* c = controllerAt(p, tab);
  if (!c || controllerKind(c->SuperClassID()) != ParamKind::Point3) return false;
  Interval valid = FOREVER;
  c->GetValue(t, &v, valid);
  return true;
}

bool ParamBlock2::readDriven(int p, int tab, TimeValue t, ::Point4& v) {
  Control* c = controllerAt(p, tab);
  if (!c || controllerKind(c->SuperClassID()) != ParamKind::Point4) return false;
  Interval valid = FOREVER;
  c->GetValue(t, &v, valid);
  return true;
}

template <class T>
bool ParamBlock2::writeThrough(int p, int tab, TimeValue t, const T& v) {
  Param& prm = params_[static_cast<size_t>(p)];
  if (!prm.hasControllers) return false;
  Control* c = controllerAt(p, tab);
  if (!c) {
    if (!Animating() || t == 0) return false;
    // The entry's current value becomes the new controller's value at every time, before the
    // animated write adds its key.
    c = newControllerFor(defAt(p).type);
    T now{};
    if constexpr (std::is_same_v<T, float>) {
      if (prm.kind == ParamKind::Int) now = static_cast<float>(std::get<std::vector<int>>(prm.values)[static_cast<size_t>(tab)]);
      else now = std::get<std::vector<float>>(prm.values)[static_cast<size_t>(tab)];
    } else {
      now = std::get<std::vector<T>>(prm.values)[static_cast<size_t>(tab)];
    }
    {
      // A controller nobody holds yet has nothing to undo.
      NoRecords quiet;
      SuspendAnimate();
      c->SetValue(0, &now);
      ResumeAnimate();
    }
    if (!replaceController(p, tab, c)) {
      c->MaybeAutoDelete();
      return false;
    }
  }
  T value = v;
  c->SetValue(t, &value);
  return true;
}

bool ParamBlock2::writeDriven(int p, int tab, TimeValue t, float v) { return writeThrough(p, tab, t, v); }
bool ParamBlock2::writeDriven(int p, int tab, TimeValue t, const ::Point3& v) { return writeThrough(p, tab, t, v); }
bool ParamBlock2::writeDriven(int p, int tab, TimeValue t, const ::Point4& v) { return writeThrough(p, tab, t, v); }

BOOL ParamBlock2::SetControllerByID(ParamID id, int tabIndex, Control* newc, bool preserveFrameZeroValue) {
  int p, tab;
  if (!locate(id, tabIndex, p, tab)) return FALSE;
  Param& prm = params_[static_cast<size_t>(p)];
  if (!prm.hasControllers) return FALSE;
  if (newc && (newc->IsDeleted() || controllerKind(newc->SuperClassID()) != drivenKind(prm.kind))) return FALSE;
  if (newc && preserveFrameZeroValue) {
    // The value the entry shows at 0 now (its old controller's or its own) carries over.
    SuspendAnimate();
    switch (drivenKind(prm.kind)) {
      case ParamKind::Float: {
        float v = GetFloat(id, 0, tabIndex);
        newc->SetValue(0, &v);
        break;
      }
      case ParamKind::Point3: {
        ::Point3 v = GetPoint3(id, 0, tabIndex);
        newc->SetValue(0, &v);
        break;
      }
      case ParamKind::Point4: {
        ::Point4 v = GetPoint4(id, 0, tabIndex);
        newc->SetValue(0, &v);
        break;
      }
      default: break;
    }
    ResumeAnimate();
  }
  if (!newc) {
    // Back to a plain value: the entry keeps what the controller showed at 0.
    if (Control* old = controllerAt(p, tab)) {
      Interval valid = FOREVER;
      switch (prm.kind) {
        case ParamKind::Int: {
          float v = 0;
          old->GetValue(0, &v, valid);
          std::get<std::vector<int>>(prm.values)[static_cast<size_t>(tab)] = static_cast<int>(v);
          break;
        }
        case ParamKind::Float: old->GetValue(0, &std::get<std::vector<float>>(prm.values)[static_cast<size_t>(tab)], valid); break;
        case ParamKind::Point3: old->GetValue(0, &std::get<std::vector<::Point3>>(prm.values)[static_cast<size_t>(tab)], valid); break;
        case ParamKind::Point4: old->GetValue(0, &std::get<std::vector<::Point4>>(prm.values)[static_cast<size_t>(tab)], valid); break;
        default: break;
      }
    }
  }
  if (!replaceController(p, tab, newc)) return FALSE;
  lastId_ = id;
  lastTab_ = is_tab(defAt(p).type) ? tab : -1;
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  return TRUE;
}

}  // namespace sim
