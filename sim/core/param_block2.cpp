// The host's parameter block: construction, lookup, references, the primitive that writes one entry,
// reset and cloning. The typed SetValue / GetValue forms are in param_block2_values.cpp, table
// edits and undo records in param_block2_tables.cpp.
#include "core/param_block2.h"

#include "inode.h"

#include <algorithm>
#include <cstring>

namespace sim {

namespace {

bool gNotificationsEnabled = true;

bool hasControllerSlots(const ParamDef& d, ParamKind k) {
  return (d.flags & P_ANIMATABLE) &&
         (k == ParamKind::Int || k == ParamKind::Float || k == ParamKind::Point3 || k == ParamKind::Point4);
}

}  // namespace

StrEntry makeText(const TCHAR* s) {
  if (!s) return nullptr;
  const size_t n = std::strlen(s) + 1;
  StrEntry text = std::make_unique_for_overwrite<char[]>(n);
  std::memcpy(text.get(), s, n);
  return text;
}

ParamKind paramKind(const ParamDef& d) {
  switch (base_type(d.type)) {
    case TYPE_INT: case TYPE_BOOL: case TYPE_TIMEVALUE: case TYPE_RADIOBTN_INDEX: case TYPE_INDEX:
      return ParamKind::Int;
    case TYPE_FLOAT: case TYPE_ANGLE: case TYPE_PCNT_FRAC: case TYPE_WORLD: case TYPE_COLOR_CHANNEL:
      return ParamKind::Float;
    case TYPE_POINT3: case TYPE_RGBA: case TYPE_HSV:
      return ParamKind::Point3;
    case TYPE_POINT4: case TYPE_FRGBA:
      return ParamKind::Point4;
    case TYPE_MATRIX3:
      return ParamKind::Matrix3;
    case TYPE_STRING: case TYPE_FILENAME:
      return ParamKind::String;
    case TYPE_INODE: case TYPE_REFTARG: case TYPE_MTL: case TYPE_TEXMAP: case TYPE_PBLOCK2:
      if (d.flags & P_OWNERS_REF) return ParamKind::OwnerRef;
      if (d.flags & P_NO_REF) return ParamKind::PlainRef;
      return ParamKind::Ref;
    default:
      return ParamKind::None;
  }
}

// ---- construction ------------------------------------------------------------------------------

ParamBlock2::ParamBlock2(ParamBlockDesc2* desc, ReferenceMaker* owner) : desc_(desc), owner_(owner) { build(desc); }

void ParamBlock2::build(ParamBlockDesc2* desc) {
  desc_ = desc;
  params_.clear();
  refParams_.clear();
  targetParams_.clear();
  refLayoutDirty_ = true;
  params_.resize(desc->count);
  for (int p = 0; p < desc->count; ++p) {
    const ParamDef& d = defAt(p);
    Param& prm = params_[static_cast<size_t>(p)];
    prm.kind = paramKind(d);
    prm.hasControllers = hasControllerSlots(d, prm.kind);
    const int n = is_tab(d.type) ? std::max<int>(0, d.tab_size) : 1;
    switch (prm.kind) {
      case ParamKind::Int: prm.values = std::vector<int>(static_cast<size_t>(n), d.def.i); break;
      case ParamKind::Float: prm.values = std::vector<float>(static_cast<size_t>(n), d.def.f); break;
      case ParamKind::Point3: prm.values = std::vector<::Point3>(static_cast<size_t>(n), d.def.p); break;
      case ParamKind::Point4: prm.values = std::vector<::Point4>(static_cast<size_t>(n), d.def.p4); break;
      case ParamKind::Matrix3: prm.values = std::vector<::Matrix3>(static_cast<size_t>(n), d.def.m); break;
      case ParamKind::String: {
        std::vector<StrEntry> col(static_cast<size_t>(n));
        if (d.def.s)
          for (StrEntry& s : col) s = makeText(d.def.s);
        prm.values = std::move(col);
        break;
      }
      case ParamKind::Ref:
      case ParamKind::PlainRef: prm.values = std::vector<ReferenceTarget*>(static_cast<size_t>(n), nullptr); break;
      case ParamKind::OwnerRef:
      case ParamKind::None: prm.values = n; break;
    }
    if (prm.hasControllers) prm.controllers.assign(static_cast<size_t>(n), nullptr);
    if (prm.kind == ParamKind::Ref || prm.hasControllers) refParams_.push_back(p);
    if (prm.kind == ParamKind::Ref || prm.kind == ParamKind::PlainRef || prm.kind == ParamKind::OwnerRef || prm.hasControllers)
      targetParams_.push_back(p);
  }
  refStart_.assign(refParams_.size(), 0);
}

ParamBlock2::~ParamBlock2() = default;

// ---- lookup ------------------------------------------------------------------------------------

int ParamBlock2::paramIndex(ParamID id) const { return desc_->IDtoIndex(id); }

int ParamBlock2::countAt(int p) const {
  return std::visit(
      [](const auto& c) -> int {
        if constexpr (std::is_same_v<std::decay_t<decltype(c)>, int>) return c;
        else return static_cast<int>(c.size());
      },
      params_[static_cast<size_t>(p)].values);
}

int ParamBlock2::entryIndex(int p, int tabIndex) const {
  if (!is_tab(defAt(p).type)) return 0;
  return tabIndex >= 0 && tabIndex < countAt(p) ? tabIndex : -1;
}

bool ParamBlock2::locate(ParamID id, int tabIndex, int& p, int& tab) const {
  p = paramIndex(id);
  if (p < 0) return false;
  tab = entryIndex(p, tabIndex);
  return tab >= 0;
}

ParamType2 ParamBlock2::GetParameterType(ParamID id) {
  const int p = paramIndex(id);
  return p < 0 ? TYPE_VOID : defAt(p).type;
}

MSTR ParamBlock2::displayName(StringResID localName, const TCHAR* intName) const {
  if (localName != 0 && desc_->cd)
    if (const TCHAR* s = desc_->cd->GetRsrcString(localName); s && *s) return MSTR(s);
  return MSTR(intName);
}

MSTR ParamBlock2::GetLocalName() { return displayName(desc_->local_name, desc_->int_name); }

MSTR ParamBlock2::GetLocalName(ParamID id, int tabIndex) {
  const int p = paramIndex(id);
  return p < 0 ? MSTR() : displayName(defAt(p).local_name, defAt(p).int_name);
}

// ---- references --------------------------------------------------------------------------------

int ParamBlock2::refSlots(int p) const {
  const Param& prm = params_[static_cast<size_t>(p)];
  if (prm.kind == ParamKind::Ref) return countAt(p);
  return prm.hasControllers ? static_cast<int>(prm.controllers.size()) : 0;
}

void ParamBlock2::updateRefLayout() {
  if (!refLayoutDirty_) return;
  int next = 0;
  for (size_t k = 0; k < refParams_.size(); ++k) {
    refStart_[k] = next;
    next += refSlots(refParams_[k]);
  }
  numRefs_ = next;
  refLayoutDirty_ = false;
}

bool ParamBlock2::refAt(int i, int& p, int& tab, bool& controller) {
  updateRefLayout();
  if (i < 0 || i >= numRefs_) return false;
  // The last parameter starting at or before i; parameters without slots share the start of the
  // next one and come before it, so the one found is the one that has the slot.
  const auto it = std::upper_bound(refStart_.begin(), refStart_.end(), i);
  const size_t k = static_cast<size_t>(it - refStart_.begin()) - 1;
  p = refParams_[k];
  tab = i - refStart_[k];
  controller = params_[static_cast<size_t>(p)].kind != ParamKind::Ref;
  return true;
}

int ParamBlock2::refIndexOf(int p, int tab, bool controller) {
  const Param& prm = params_[static_cast<size_t>(p)];
  if (controller ? !prm.hasControllers : prm.kind != ParamKind::Ref) return -1;
  if (tab < 0 || tab >= refSlots(p)) return -1;
  updateRefLayout();
  const auto it = std::lower_bound(refParams_.begin(), refParams_.end(), p);
  return refStart_[static_cast<size_t>(it - refParams_.begin())] + tab;
}

int ParamBlock2::NumRefs() {
  updateRefLayout();
  return numRefs_;
}

RefTargetHandle ParamBlock2::GetReference(int i) {
  int p, tab;
  bool controller;
  if (!refAt(i, p, tab, controller)) return nullptr;
  Param& prm = params_[static_cast<size_t>(p)];
  if (controller) return prm.controllers[static_cast<size_t>(tab)];
  return std::get<std::vector<ReferenceTarget*>>(prm.values)[static_cast<size_t>(tab)];
}

void ParamBlock2::SetReference(int i, RefTargetHandle rtarg) {
  int p, tab;
  bool controller;
  if (!refAt(i, p, tab, controller)) return;
  Param& prm = params_[static_cast<size_t>(p)];
  if (controller) {
    prm.controllers[static_cast<size_t>(tab)] = rtarg;
    return;
  }
  // A target of the wrong kind is not stored, which makes ReplaceReference fail.
  if (acceptsTarget(p, rtarg)) std::get<std::vector<ReferenceTarget*>>(prm.values)[static_cast<size_t>(tab)] = rtarg;
}

bool ParamBlock2::acceptsTarget(int p, ReferenceTarget* t) const {
  if (!t) return true;
  switch (base_type(defAt(p).type)) {
    case TYPE_INODE: return dynamic_cast<INode*>(t) != nullptr;
    case TYPE_MTL: return t->SuperClassID() == MATERIAL_CLASS_ID;
    case TYPE_TEXMAP: return t->SuperClassID() == TEXMAP_CLASS_ID;
    case TYPE_PBLOCK2: return t->SuperClassID() == PARAMETER_BLOCK2_CLASS_ID;
    default: return true;
  }
}

ReferenceMaker* ParamBlock2::GetOwner() {
  const std::vector<ReferenceMaker*> deps = GetDependents();
  if (owner_ && std::find(deps.begin(), deps.end(), owner_) != deps.end()) {
    ownerConfirmed_ = true;
    return owner_;
  }
  for (ReferenceMaker* d : deps)
    if (d->IsRealDependency(this)) {
      owner_ = d;
      ownerConfirmed_ = true;
      return d;
    }
  // Not referenced: a new block answers the maker it was made for; one that was referenced before
  // has lost its owner, which may be gone.
  if (ownerConfirmed_) owner_ = nullptr;
  return owner_;
}

ReferenceTarget* ParamBlock2::targetAt(int p, int tab) {
  const Param& prm = params_[static_cast<size_t>(p)];
  switch (prm.kind) {
    case ParamKind::Ref:
    case ParamKind::PlainRef:
      return std::get<std::vector<ReferenceTarget*>>(prm.values)[static_cast<size_t>(tab)];
    case ParamKind::OwnerRef: {
      const int refno = defAt(p).ref_no;
      ReferenceMaker* owner = refno >= 0 ? GetOwner() : nullptr;
      return owner ? owner->GetReference(refno + tab) : nullptr;
    }
    default:
      return nullptr;
  }
}

bool ParamBlock2::setTarget(int p, int tab, ReferenceTarget* t) {
  Param& prm = params_[static_cast<size_t>(p)];
  switch (prm.kind) {
    case ParamKind::Ref: {
      NoRecords quiet;
      return ReplaceReference(refIndexOf(p, tab, false), t) == REF_SUCCEED;
    }
    case ParamKind::OwnerRef: {
      const int refno = defAt(p).ref_no;
      ReferenceMaker* owner = refno >= 0 ? GetOwner() : nullptr;
      if (!owner) return false;
      NoRecords quiet;
      return owner->ReplaceReference(refno + tab, t) == REF_SUCCEED && owner->GetReference(refno + tab) == t;
    }
    case ParamKind::PlainRef:
      std::get<std::vector<ReferenceTarget*>>(prm.values)[static_cast<size_t>(tab)] = t;
      return true;
    default:
      return false;
  }
}

bool ParamBlock2::canHold(int p, ReferenceTarget* t) {
  if (!t) return true;
  if (t->IsDeleted() || !acceptsTarget(p, t)) return false;
  switch (kindAt(p)) {
    case ParamKind::Ref: return !RefGraph::createsLoop(this, t);
    case ParamKind::OwnerRef: {
      ReferenceMaker* owner = GetOwner();
      return owner && !RefGraph::createsLoop(owner, t);
    }
    case ParamKind::PlainRef: return true;
    default: return false;
  }
}

int ParamBlock2::GetRefNum(int i, int tabIndex) {
  if (i < 0 || i >= desc_->count) return -1;
  const int tab = entryIndex(i, tabIndex);
  return tab < 0 ? -1 : refIndexOf(i, tab, false);
}

int ParamBlock2::GetControllerRefNum(int i, int tabIndex) {
  if (i < 0 || i >= desc_->count) return -1;
  const int tab = entryIndex(i, tabIndex);
  return tab < 0 ? -1 : refIndexOf(i, tab, true);
}

ParamID ParamBlock2::findRef(ReferenceTarget* ref, int& tabIndex, bool ownersToo) {
  if (!ref) return -1;
  for (int p : targetParams_) {
    const Param& prm = params_[static_cast<size_t>(p)];
    auto found = [&](size_t k) {
      tabIndex = is_tab(defAt(p).type) ? static_cast<int>(k) : -1;
      return defAt(p).ID;
    };
    if (prm.kind == ParamKind::Ref || prm.kind == ParamKind::PlainRef) {
      const auto& col = std::get<std::vector<ReferenceTarget*>>(prm.values);
      for (size_t k = 0; k < col.size(); ++k)
        if (col[k] == ref) return found(k);
    } else if (prm.kind == ParamKind::OwnerRef && ownersToo) {
      for (int k = 0, n = countAt(p); k < n; ++k)
        if (targetAt(p, k) == ref) return found(static_cast<size_t>(k));
    }
    for (size_t k = 0; k < prm.controllers.size(); ++k)
      if (prm.controllers[k] == ref) return found(k);
  }
  return -1;
}

ParamID ParamBlock2::FindRefParam(ReferenceTarget* ref, int& tabIndex) { return findRef(ref, tabIndex, true); }

RefResult ParamBlock2::NotifyRefChanged(Interval, RefTargetHandle hTarget, PartID&, RefMessage) {
  // A message from one of the block's targets: the owner asks which parameter it concerns.
  int tab = -1;
  if (ParamID id = findRef(hTarget, tab, false); id >= 0) {
    lastId_ = id;
    lastTab_ = tab;
  }
  return REF_SUCCEED;
}

void ParamBlock2::RefDeleted() {
  // A target was deleted and its entries cleared; NotifyRefChanged named the parameter.
  if (gNotificationsEnabled && !IsDeleted()) NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

// ---- entries -----------------------------------------------------------------------------------

Entry ParamBlock2::defaultEntry(int p) const {
  const ParamDef& d = defAt(p);
  switch (kindAt(p)) {
    case ParamKind::Int: return Entry(std::in_place_type<int>, d.def.i);
    case ParamKind::Float: return Entry(std::in_place_type<float>, d.def.f);
    case ParamKind::Point3: return Entry(std::in_place_type<::Point3>, d.def.p);
    case ParamKind::Point4: return Entry(std::in_place_type<::Point4>, d.def.p4);
    case ParamKind::Matrix3: return Entry(std::in_place_type<::Matrix3>, d.def.m);
    case ParamKind::String:
      return Entry(std::in_place_type<StrEntry>, makeText(d.def.s));
    case ParamKind::None: return Entry(std::in_place_type<int>, 0);
    default: return Entry(std::in_place_type<KeepAlive>);
  }
}

namespace {
// Swaps a column entry with the entry's value of the same type; false when the types differ.
template <class T> bool swapWith(T& slot, Entry& e) {
  T* v = std::get_if<T>(&e);
  if (!v) return false;
  std::swap(slot, *v);
  return true;
}
}  // namespace

bool ParamBlock2::swapEntry(int p, int tab, Entry& e) {
  Param& prm = params_[static_cast<size_t>(p)];
  const size_t k = static_cast<size_t>(tab);
  switch (prm.kind) {
    case ParamKind::Int: return swapWith(std::get<std::vector<int>>(prm.values)[k], e);
    case ParamKind::Float: return swapWith(std::get<std::vector<float>>(prm.values)[k], e);
    case ParamKind::Point3: return swapWith(std::get<std::vector<::Point3>>(prm.values)[k], e);
    case ParamKind::Point4: return swapWith(std::get<std::vector<::Point4>>(prm.values)[k], e);
    case ParamKind::Matrix3: return swapWith(std::get<std::vector<::Matrix3>>(prm.values)[k], e);
    case ParamKind::String: return swapWith(std::get<std::vector<StrEntry>>(prm.values)[k], e);
    case ParamKind::Ref:
    case ParamKind::OwnerRef:
    case ParamKind::PlainRef: {
      KeepAlive* want = std::get_if<KeepAlive>(&e);
      if (!want) return false;
      // The current target stays alive in the entry once the slot lets it go (a plain pointer's
      // target is not the block's to free).
      KeepAlive current(targetAt(p, tab), prm.kind != ParamKind::PlainRef);
      if (!setTarget(p, tab, want->live())) return false;
      *want = std::move(current);
      return true;
    }
    case ParamKind::None:
      return false;
  }
  return false;
}

BOOL ParamBlock2::write(int p, int tab, Entry&& e, bool notify) {
  if (IsDeleted()) return FALSE;
  if (!swapEntry(p, tab, e)) return FALSE;
  // `e` now holds the previous value: the undo record keeps it, or it goes here.
  if (theHold.Holding()) recordEntry(p, tab, std::move(e));
  if (notify) changed(p, tab);
  return TRUE;
}

BOOL ParamBlock2::writeTarget(ParamID id, ReferenceTarget* t, int tabIndex) {
  int p, tab;
  if (!locate(id, tabIndex, p, tab) || !canHold(p, t)) return FALSE;
  // The caller's target is only borrowed here: a failed write must not free it.
  return write(p, tab, Entry(std::in_place_type<KeepAlive>, t, false));
}

void ParamBlock2::changed(int p, int tab) {
  lastId_ = defAt(p).ID;
  lastTab_ = is_tab(defAt(p).type) ? tab : -1;
  if (!ownerConfirmed_ && owner_ && HasDependents()) GetOwner();
  if (gNotificationsEnabled && !IsDeleted()) NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

ParamID ParamBlock2::LastNotifyParamID(int& tabIndex) {
  if (lastId_ >= 0) tabIndex = lastTab_;
  return lastId_;
}

void ParamBlock2::EnableNotifications(BOOL onOff) { gNotificationsEnabled = onOff != 0; }
BOOL ParamBlock2::IsNotificationEnabled() { return gNotificationsEnabled; }

void ParamBlock2::RefDeleted(ParamID id, int tabIndex) {
  int p, tab;
  if (locate(id, tabIndex, p, tab)) changed(p, tab);
}

// ---- reset ---------------------------------------------------------------------------------------

void ParamBlock2::Reset(ParamID id, int tabIndex, BOOL, BOOL) {
  const int p = paramIndex(id);
  if (p < 0 || IsDeleted()) return;
  if (!is_tab(defAt(p).type) || tabIndex >= 0) {
    const int tab = entryIndex(p, tabIndex);
    if (tab >= 0) write(p, tab, defaultEntry(p));
    return;
  }
  if (kindAt(p) != ParamKind::OwnerRef) SetCount(id, defAt(p).tab_size);
  for (int k = 0, n = countAt(p); k < n; ++k) write(p, k, defaultEntry(p), false);
  changed(p, -1);
}

void ParamBlock2::ResetAll(BOOL updateUI, BOOL callSetHandlers) {
  for (int p = 0; p < desc_->count; ++p) Reset(defAt(p).ID, -1, updateUI, callSetHandlers);
}

// ---- clone ---------------------------------------------------------------------------------------

RefTargetHandle ParamBlock2::Clone(RemapDir& remap) {
  auto* copy = new ParamBlock2(desc_, nullptr);
  for (int p = 0; p < desc_->count; ++p) {
    const Param& from = params_[static_cast<size_t>(p)];
    Param& to = copy->params_[static_cast<size_t>(p)];
    switch (from.kind) {
      case ParamKind::String: {
        const auto& src = std::get<std::vector<StrEntry>>(from.values);
        std::vector<StrEntry> dst(src.size());
        for (size_t k = 0; k < src.size(); ++k)
          dst[k] = makeText(src[k].get());
        to.values = std::move(dst);
        break;
      }
      case ParamKind::Ref: {
        // Nodes are kept, whatever the parameter's type (a node in a reference-target table too):
        // they belong to the scene. Other targets are cloned through the remap.
        const auto& src = std::get<std::vector<ReferenceTarget*>>(from.values);
        to.values = std::vector<ReferenceTarget*>(src.size(), nullptr);
        copy->refLayoutDirty_ = true;
        const bool nodes = base_type(defAt(p).type) == TYPE_INODE;
        for (size_t k = 0; k < src.size(); ++k) {
          if (!src[k]) continue;
          const bool node = nodes || src[k]->SuperClassID() == BASENODE_CLASS_ID;
          copy->setTarget(p, static_cast<int>(k), node ? src[k] : remap.CloneRef(src[k]));
        }
        break;
      }
      case ParamKind::Int: to.values = std::get<std::vector<int>>(from.values); break;
      case ParamKind::Float: to.values = std::get<std::vector<float>>(from.values); break;
      case ParamKind::Point3: to.values = std::get<std::vector<::Point3>>(from.values); break;
      case ParamKind::Point4: to.values = std::get<std::vector<::Point4>>(from.values); break;
      case ParamKind::Matrix3: to.values = std::get<std::vector<::Matrix3>>(from.values); break;
      case ParamKind::PlainRef: to.values = std::get<std::vector<ReferenceTarget*>>(from.values); break;
      case ParamKind::OwnerRef:  // the owner clones its own references
      case ParamKind::None: to.values = std::get<int>(from.values); break;
    }
    if (from.hasControllers) {
      to.controllers.assign(from.controllers.size(), nullptr);
      copy->refLayoutDirty_ = true;
      for (size_t k = 0; k < from.controllers.size(); ++k)
        if (from.controllers[k]) {
          NoRecords quiet;
          copy->ReplaceReference(copy->refIndexOf(p, static_cast<int>(k), true), remap.CloneRef(from.controllers[k]));
        }
    }
  }
  BaseClone(this, copy, remap);
  return copy;
}

}  // namespace sim

IParamBlock2::~IParamBlock2() = default;

IParamBlock2* CreateParameterBlock2(ParamBlockDesc2* pdesc, ReferenceMaker* owner) {
  return pdesc ? new sim::ParamBlock2(pdesc, owner) : nullptr;
}
