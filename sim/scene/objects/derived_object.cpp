#include "scene/objects/derived_object.h"

#include "hold.h"
#include "scene/host_class_desc.h"
#include "scenefile/chunk_io.h"

#include <algorithm>

namespace sim {

namespace {
// Derived objects may be put inside each other by plug-ins; evaluation stops going down after this
// many levels instead of running out of stack.
constexpr int kMaxNesting = 64;
int g_nesting = 0;

Object* copyOf(Object* obj) { return obj ? static_cast<Object*>(obj->Clone(NoRemap())) : nullptr; }
}  // namespace

// Undo of a change of the modifier list: both lists, their modifiers kept alive.
class DerivedObject::StackRestore : public RestoreObj {
 public:
  StackRestore(DerivedObject* d, std::vector<KeepAlive> before, std::vector<KeepAlive> after)
      : owner_(d, false), before_(std::move(before)), after_(std::move(after)) {}
  void Restore(int) override {
    if (auto* d = static_cast<DerivedObject*>(static_cast<Object*>(owner_.live()))) d->applyStack(before_);
  }
  void Redo() override {
    if (auto* d = static_cast<DerivedObject*>(static_cast<Object*>(owner_.live()))) d->applyStack(after_);
  }
  TSTR Description() override { return TSTR("Modifier stack"); }

 private:
  KeepAlive owner_;
  std::vector<KeepAlive> before_, after_;
};

DerivedObject::DerivedObject(bool worldSpace) : worldSpace_(worldSpace) {}

DerivedObject::~DerivedObject() = default;

const TCHAR* DerivedObject::GetObjectName() {
  Object* base = FindBaseObject();
  return base && base != this ? static_cast<BaseObject*>(base)->GetObjectName() : "";
}

void DerivedObject::InitNodeName(TSTR& s) {
  Object* base = FindBaseObject();
  if (base && base != this) base->InitNodeName(s);
  else s = "Object";
}

RefTargetHandle DerivedObject::GetReference(int i) {
  if (i == 0) return obj_;
  return i > 0 && i <= NumModifiers() ? mods_[static_cast<size_t>(i - 1)].mod : nullptr;
}

void DerivedObject::SetReference(int i, RefTargetHandle rtarg) {
  if (i == 0) obj_ = dynamic_cast<Object*>(rtarg);
  else if (i > 0 && i <= NumModifiers()) mods_[static_cast<size_t>(i - 1)].mod = dynamic_cast<Modifier*>(rtarg);
}

RefResult DerivedObject::NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) { return REF_SUCCEED; }

Animatable* DerivedObject::SubAnim(int i) {
  if (i >= 0 && i < NumModifiers()) return mods_[static_cast<size_t>(i)].mod;
  return i == NumModifiers() ? obj_ : nullptr;
}

TSTR DerivedObject::SubAnimName(int i) {
  if (i >= 0 && i < NumModifiers()) {
    Modifier* m = mods_[static_cast<size_t>(i)].mod;
    return m ? m->GetName() : TSTR();
  }
  if (i == NumModifiers() && obj_) return TSTR(static_cast<BaseObject*>(obj_)->GetObjectName());
  return TSTR();
}

RefTargetHandle DerivedObject::Clone(RemapDir& remap) {
  auto* c = new DerivedObject(worldSpace_);
  c->ReplaceReference(0, remap.CloneRef(obj_));
  for (int i = 0; i < NumModifiers(); ++i) {
    c->mods_.push_back(Slot{});
    if (mods_[static_cast<size_t>(i)].mc) c->mods_.back().mc = std::make_unique<ModContext>(*mods_[static_cast<size_t>(i)].mc);
    else c->mods_.back().mc = std::make_unique<ModContext>();
    c->ReplaceReference(i + 1, remap.CloneRef(mods_[static_cast<size_t>(i)].mod));
  }
  BaseClone(this, c, remap);
  return c;
}

namespace {
enum : USHORT { kModifierSlot = 0x0001 };
}

IOResult DerivedObject::Save(ISave* isave) {
  for (size_t i = 0; i < mods_.size(); ++i) {
    isave->BeginChunk(kModifierSlot);
    isave->EndChunk();
  }
  return IO_OK;
}

IOResult DerivedObject::Load(ILoad* iload) {
  return io::forEachChunk(iload, [&](USHORT id) {
    if (id == kModifierSlot) mods_.push_back(Slot{nullptr, std::make_unique<ModContext>()});
    return IO_OK;
  });
}

void DerivedObject::ReferenceObject(Object* pob) {
  if (pob == this) return;
  ReplaceReference(0, pob);
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

Modifier* DerivedObject::GetModifier(int index) {
  return index >= 0 && index < NumModifiers() ? mods_[static_cast<size_t>(index)].mod : nullptr;
}

void DerivedObject::SetModifier(int index, Modifier* mod) {
  if (index >= 0 && index < NumModifiers()) ReplaceReference(index + 1, mod);
}

ModContext* DerivedObject::GetModContext(int index) {
  return index >= 0 && index < NumModifiers() ? mods_[static_cast<size_t>(index)].mc.get() : nullptr;
}

std::vector<KeepAlive> DerivedObject::modsHeld() const {
  std::vector<KeepAlive> out;
  for (const Slot& s : mods_) out.emplace_back(s.mod);
  return out;
}

void DerivedObject::applyStack(const std::vector<KeepAlive>& mods) {
  // Moves the references into place without recording each move; the caller records the whole.
  theHold.Suspend();
  std::vector<KeepAlive> keepOld = modsHeld();  // nothing goes while references move
  std::vector<Modifier*> oldMods;
  std::vector<std::unique_ptr<ModContext>> oldContexts;
  for (Slot& s : mods_) {
    oldMods.push_back(s.mod);
    oldContexts.push_back(std::move(s.mc));
  }
  for (int i = NumModifiers(); i-- > 0;) ReplaceReference(i + 1, nullptr);
  mods_.clear();
  for (const KeepAlive& k : mods) {
    auto* m = static_cast<Modifier*>(static_cast<BaseObject*>(k.live()));
    std::unique_ptr<ModContext> mc;  // a modifier that stays keeps its context
    for (size_t j = 0; j < oldMods.size() && !mc; ++j)
      if (oldMods[j] == m && oldContexts[j]) mc = std::move(oldContexts[j]);
    if (!mc) mc = std::make_unique<ModContext>();
    mods_.push_back(Slot{nullptr, std::move(mc)});
    if (m) ReplaceReference(NumModifiers(), m);
  }
  theHold.Resume();
  NotifyDependents(FOREVER, PART_ALL, REFMSG_SUBANIM_STRUCTURE_CHANGED);
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

void DerivedObject::AddModifier(Modifier* mod, ModContext* mc, int before) {
  if (!mod || RefGraph::createsLoop(this, mod)) return;
  KeepAlive keep(mod);
  std::vector<KeepAlive> was = modsHeld(), now = modsHeld();
  before = std::clamp(before, 0, NumModifiers());
  now.insert(now.begin() + before, KeepAlive(mod));
  applyStack(now);
  if (mc)
    if (ModContext* own = GetModContext(before)) *own = *mc;
  if (theHold.Holding()) theHold.Put(new StackRestore(this, std::move(was), std::move(now)));
}

void DerivedObject::DeleteModifier(int index) {
  if (index < 0 || index >= NumModifiers()) return;
  std::vector<KeepAlive> was = modsHeld(), now = modsHeld();
  now.erase(now.begin() + index);
  applyStack(now);
  if (theHold.Holding()) theHold.Put(new StackRestore(this, std::move(was), std::move(now)));
}

Object* DerivedObject::FindBaseObject() {
  // Iterative: stacks of derived objects can be put inside each other.
  Object* o = obj_;
  for (int depth = 0; o && depth < kMaxNesting; ++depth) {
    auto* d = dynamic_cast<IDerivedObject*>(o);
    if (!d) return o;
    o = d->GetObjRef();
  }
  return o;
}

ObjectState DerivedObject::Eval(TimeValue t, int modIndex) {
  if (!obj_ || g_nesting >= kMaxNesting || evaluating_ > 0) return ObjectState(obj_);
  ++g_nesting;
  ++evaluating_;
  ObjectState os = obj_->Eval(t);
  KeepAlive input(os.obj);  // the object below may free its own result while we work
  Object* owned = nullptr;  // the object this evaluation made, which the modifiers change
  for (int i = NumModifiers(); i-- > std::max(modIndex, 0);) {
    Modifier* m = mods_[static_cast<size_t>(i)].mod;
    if (!m || !m->IsEnabled() || !os.obj) continue;
    Class_ID in = m->InputType();
    if (!os.obj->CanConvertToType(in)) continue;  // a modifier that cannot work on this object is skipped
    if (!owned || (in != defObjectClassID && owned->ClassID() != in)) {
      Object* c = os.obj->ConvertToType(t, in);
      if (c == os.obj && c != owned) c = copyOf(c);  // never change an object we do not own
      if (!c) continue;
      if (owned && owned != c) owned->DeleteMe();
      owned = c;
      os.obj = c;
    }
    ModContext* mc = mods_[static_cast<size_t>(i)].mc.get();
    ModContext scratch;
    m->ModifyObject(t, mc ? *mc : scratch, &os, nullptr);
    if (os.obj != owned) {
      // The modifier handed back another object: that one is ours now.
      if (owned) owned->DeleteMe();
      owned = os.obj;
    }
  }
  if (owned) result_ = KeepAlive(owned);
  --evaluating_;
  --g_nesting;
  return os;
}

int DerivedObject::CanConvertToType(Class_ID obtype) {
  ObjectState os = Eval(0);
  return os.obj && os.obj != this && os.obj->CanConvertToType(obtype);
}

Object* DerivedObject::ConvertToType(TimeValue t, Class_ID obtype) {
  ObjectState os = Eval(t);
  if (!os.obj || os.obj == this) return nullptr;
  Object* c = os.obj->ConvertToType(t, obtype);
  // The evaluated object belongs to the pipeline; the caller gets one of its own.
  return c == os.obj ? copyOf(c) : c;
}

}  // namespace sim

IDerivedObject* CreateDerivedObject(Object* pob) {
  auto* d = new sim::DerivedObject(false);
  if (pob) d->ReferenceObject(pob);
  return d;
}

IDerivedObject* CreateWSDerivedObject(Object* pob) {
  auto* d = new sim::DerivedObject(true);
  if (pob) d->ReferenceObject(pob);
  return d;
}

namespace {
sim::HostClassDesc derivedDesc("DerivedObject", GEN_DERIVOB_CLASS_ID, derivObjClassID, "",
                               [](BOOL) -> void* { return new sim::DerivedObject(false); });
sim::HostClassDesc wsmDerivedDesc("WSMDerivedObject", GEN_DERIVOB_CLASS_ID, WSMDerivObjClassID, "",
                                  [](BOOL) -> void* { return new sim::DerivedObject(true); });
}  // namespace
