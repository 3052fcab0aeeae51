#include "ref.h"

#include "hold.h"
#include "maxapi.h"
#include "ref_graph.h"

#include <algorithm>
#include <unordered_set>

namespace {

// Undo record of one ReplaceReference; holds both targets (and the maker when it is a target) so
// that undo and redo never reach freed memory.
class RefRestore : public RestoreObj {
 public:
  RefRestore(ReferenceMaker* m, int which, ReferenceTarget* oldT, ReferenceTarget* newT)
      : maker_(m), which_(which), old_(oldT), new_(newT) {
    // The maker is owned elsewhere: the record only keeps its memory, never decides it should go.
    if (m->IsRefTarget()) makerHold_ = sim::KeepAlive(static_cast<ReferenceTarget*>(m), false);
  }
  void Restore(int) override { apply(old_.get()); }
  void Redo() override { apply(new_.get()); }
  TSTR Description() override { return TSTR("Reference"); }

 private:
  void apply(ReferenceTarget* t) {
    if (makerHold_.get() && makerHold_.get()->IsDeleted()) return;
    if (t && t->IsDeleted()) return;
    maker_->ReplaceReference(which_, t);
  }
  ReferenceMaker* maker_;
  int which_;
  sim::KeepAlive makerHold_, old_, new_;
};

}  // namespace

// ---- links and holds -------------------------------------------------------------------------

void RefGraph::addLink(ReferenceMaker* m, ReferenceTarget* t) {
  t->dependents_.push_back(m);
  m->held_.push_back(t);
}

void RefGraph::removeLink(ReferenceMaker* m, ReferenceTarget* t) {
  auto h = std::find(m->held_.begin(), m->held_.end(), t);
  if (h != m->held_.end()) {
    *h = m->held_.back();
    m->held_.pop_back();
  }
  auto d = std::find(t->dependents_.begin(), t->dependents_.end(), m);
  if (d == t->dependents_.end()) return;
  // A notification walking the list keeps its indices: leave a gap that the walk compacts.
  if (t->notifying_ > 0) *d = nullptr;
  else t->dependents_.erase(d);
}

namespace {

// A set of makers for the walks over the graph (a notification, the loop test). Most targets have a
// handful of dependents, and these walks run for every change of every value, so the first few live
// in place and only a crowd gets a hash set.
class MakerSet {
 public:
  // False when `m` was there already.
  bool insert(ReferenceMaker* m) {
    if (!many_.empty()) return many_.insert(m).second;
    for (size_t i = 0; i < count_; ++i)
      if (few_[i] == m) return false;
    if (count_ < kFew) {
      few_[count_++] = m;
      return true;
    }
    many_.insert(few_, few_ + count_);
    return many_.insert(m).second;
  }

 private:
  static constexpr size_t kFew = 16;
  ReferenceMaker* few_[kFew];
  size_t count_ = 0;
  std::unordered_set<ReferenceMaker*> many_;
};

}  // namespace

bool RefGraph::createsLoop(ReferenceMaker* m, ReferenceTarget* t) {
  if (static_cast<ReferenceMaker*>(t) == m) return true;
  if (!m->IsRefTarget()) return false;
  // m -> t closes a loop when t already reaches m through references, that is when walking up
  // from m through dependents reaches t.
  // The walk calls out to nothing, so one stack serves every call.
  static std::vector<ReferenceMaker*> stack;
  stack.assign(1, m);
  MakerSet seen;
  seen.insert(m);
  while (!stack.empty()) {
    ReferenceMaker* cur = stack.back();
    stack.pop_back();
    if (!cur->IsRefTarget()) continue;
    for (ReferenceMaker* d : static_cast<ReferenceTarget*>(cur)->dependents_) {
      if (!d) continue;
      if (d == static_cast<ReferenceMaker*>(t)) return true;
      if (seen.insert(d)) stack.push_back(d);
    }
  }
  return false;
}

void RefGraph::unhold(ReferenceTarget* t, bool autoDelete) {
  if (--t->keepAlive_ > 0) return;
  if (t->deleted_) t->DeleteThis();
  else if (autoDelete) t->MaybeAutoDelete();
}

void RefGraph::deleteTarget(ReferenceTarget* t) {
  if (t->deleting_ || t->deleted_) return;
  t->deleting_ = true;
  hold(t);
  t->NotifyDependents(FOREVER, PART_ALL, REFMSG_TARGET_DELETED);
  // Clear every reference to the target. A dependent may free itself while we go, which takes its
  // links out of the list, so always start again from the front.
  while (!t->dependents_.empty()) {
    ReferenceMaker* m = t->dependents_.front();
    if (!m) { t->dependents_.erase(t->dependents_.begin()); continue; }
    bool cleared = false;
    for (int i = 0, n = m->NumRefs(); i < n; ++i) {
      if (m->GetReference(i) != t) continue;
      removeLink(m, t);
      m->SetReference(i, nullptr);
      cleared = true;
    }
    if (!cleared) removeLink(m, t);
    m->RefDeleted();
  }
  t->DeleteAllRefsFromMe();
  t->deleted_ = true;
  t->deleting_ = false;
  unhold(t, false);
}

// ---- ReferenceMaker ------------------------------------------------------------------------------

ReferenceMaker::ReferenceMaker() = default;

ReferenceMaker::~ReferenceMaker() {
  // A maker freed without dropping its references: take the links out so targets never point back
  // at freed memory, and let targets nobody holds any more go.
  while (!held_.empty()) {
    ReferenceTarget* t = held_.back();
    RefGraph::removeLink(this, t);
    t->MaybeAutoDelete();
  }
}

RefResult ReferenceMaker::ReplaceReference(int which, RefTargetHandle newtarg, BOOL delOld) {
  if (which < 0 || which >= NumRefs()) return REF_FAIL;
  ReferenceTarget* old = GetReference(which);
  if (old == newtarg) return REF_SUCCEED;
  if (newtarg && (newtarg->deleted_ || newtarg->deleting_)) return REF_FAIL;
  if (newtarg && RefGraph::createsLoop(this, newtarg)) return REF_FAIL;

  RestoreObj* record = theHold.Holding() ? new RefRestore(this, which, old, newtarg) : nullptr;
  if (old) RefGraph::hold(old);  // the old target stays valid until we are done with it
  if (newtarg) RefGraph::addLink(this, newtarg);
  if (old) RefGraph::removeLink(this, old);
  SetReference(which, newtarg);
  if (GetReference(which) != newtarg) {
    // The maker refused the slot: put the bookkeeping back as it was.
    if (newtarg) RefGraph::removeLink(this, newtarg);
    if (old) {
      RefGraph::addLink(this, old);
      RefGraph::unhold(old, false);
    }
    delete record;
    return REF_FAIL;
  }
  if (record) theHold.Put(record);
  if (old) RefGraph::unhold(old, delOld);
  return REF_SUCCEED;
}

RefResult ReferenceMaker::DeleteReference(int which) { return ReplaceReference(which, nullptr, TRUE); }

RefResult ReferenceMaker::DeleteAllRefsFromMe() {
  for (int i = 0, n = NumRefs(); i < n; ++i)
    if (GetReference(i)) DeleteReference(i);
  // Links whose slot the maker no longer reports are dropped as well.
  while (!held_.empty()) {
    ReferenceTarget* t = held_.back();
    RefGraph::removeLink(this, t);
    t->MaybeAutoDelete();
  }
  return REF_SUCCEED;
}

RefResult ReferenceMaker::DeleteAllRefs() {
  if (IsRefTarget()) {
    RefGraph::deleteTarget(static_cast<ReferenceTarget*>(this));
    return REF_SUCCEED;
  }
  return DeleteAllRefsFromMe();
}

void ReferenceMaker::DeleteMe() {
  if (IsRefTarget()) {
    RefGraph::deleteTarget(static_cast<ReferenceTarget*>(this));
    return;
  }
  DeleteAllRefsFromMe();
  DeleteThis();
}

int ReferenceMaker::FindRef(RefTargetHandle rtarg) {
  for (int i = 0, n = NumRefs(); i < n; ++i)
    if (GetReference(i) == rtarg) return i;
  return -1;
}

// ---- ReferenceTarget -------------------------------------------------------------------------

ReferenceTarget::ReferenceTarget() = default;

ReferenceTarget::~ReferenceTarget() {
  // Freed directly while still referenced: clear the references so no maker dangles.
  while (!dependents_.empty()) {
    ReferenceMaker* m = dependents_.front();
    if (!m) { dependents_.erase(dependents_.begin()); continue; }
    for (int i = 0, n = m->NumRefs(); i < n; ++i)
      if (m->GetReference(i) == this) m->SetReference(i, nullptr);
    RefGraph::removeLink(m, this);
  }
}

RefResult ReferenceTarget::NotifyDependents(Interval changeInt, PartID partID, RefMessage message, SClass_ID sclass,
                                            BOOL propagate, RefTargetHandle hTarg) {
  if (deleted_) return REF_SUCCEED;
  // Scripts may switch change messages off around bulk edits; deletion is always told.
  if (!RefMsgsEnabled() && message != REFMSG_TARGET_DELETED) return REF_SUCCEED;
  if (!hTarg) hTarg = this;
  RefGraph::hold(this);
  ++notifying_;
  const size_t n = dependents_.size();
  MakerSet told;
  for (size_t i = 0; i < n && i < dependents_.size(); ++i) {
    ReferenceMaker* m = dependents_[i];
    if (!m || !told.insert(m)) continue;
    if (sclass != NOTIFY_ALL && m->SuperClassID() != sclass) continue;
    PartID pid = partID;
    RefResult r = m->NotifyRefChanged(changeInt, hTarg, pid, message);
    if (deleted_) break;  // a handler deleted this target: nobody else is to hear from it
    bool stillThere = i < dependents_.size() && dependents_[i] == m;  // the handler may have dropped its reference or itself
    if (propagate && message != REFMSG_TARGET_DELETED && r == REF_SUCCEED && stillThere && m->IsRefTarget())
      static_cast<ReferenceTarget*>(m)->NotifyDependents(changeInt, pid, message, sclass, propagate, nullptr);
  }
  if (--notifying_ == 0) dependents_.erase(std::remove(dependents_.begin(), dependents_.end(), nullptr), dependents_.end());
  RefGraph::unhold(this, false);
  return REF_SUCCEED;
}

int ReferenceTarget::DoEnumDependents(DependentEnumProc* dep) {
  std::unordered_set<ReferenceMaker*> seen{this};
  std::vector<ReferenceMaker*> stack;
  int r = dep->proc(this);
  if (r == DEP_ENUM_HALT) return 1;
  if (r == DEP_ENUM_SKIP) return 0;
  // Collect before calling out, so a proc that changes references cannot break the walk.
  auto pushDependents = [&](ReferenceTarget* t) {
    for (auto it = t->dependents_.rbegin(); it != t->dependents_.rend(); ++it) {
      ReferenceMaker* d = *it;
      if (d && d->IsRealDependency(t) && seen.insert(d).second) stack.push_back(d);
    }
  };
  pushDependents(this);
  while (!stack.empty()) {
    ReferenceMaker* m = stack.back();
    stack.pop_back();
    r = dep->proc(m);
    if (r == DEP_ENUM_HALT) return 1;
    if (r != DEP_ENUM_SKIP && m->IsRefTarget()) pushDependents(static_cast<ReferenceTarget*>(m));
  }
  return 0;
}

RefTargetHandle ReferenceTarget::Clone(RemapDir&) { return nullptr; }

void ReferenceTarget::BaseClone(ReferenceTarget* from, ReferenceTarget* to, RemapDir& remap) {
  if (from && to) remap.AddEntry(from, to);
}

BOOL ReferenceTarget::HasDependents() { return NumDependents() > 0; }

int ReferenceTarget::NumDependents() const {
  return static_cast<int>(std::count_if(dependents_.begin(), dependents_.end(), [](auto* d) { return d != nullptr; }));
}

std::vector<ReferenceMaker*> ReferenceTarget::GetDependents() const {
  std::vector<ReferenceMaker*> out;
  for (ReferenceMaker* d : dependents_)
    if (d && std::find(out.begin(), out.end(), d) == out.end()) out.push_back(d);
  return out;
}

void ReferenceTarget::MaybeAutoDelete() {
  if (deleting_ || deleted_ || keepAlive_ > 0 || NumDependents() > 0) return;
  RefGraph::deleteTarget(this);
}

// ---- RemapDir ------------------------------------------------------------------------------------

RefTargetHandle RemapDir::CloneRef(RefTargetHandle oldTarg) {
  if (!oldTarg) return nullptr;
  if (RefTargetHandle done = FindMapping(oldTarg)) return done;
  RefTargetHandle clone = oldTarg->Clone(*this);
  if (clone && !FindMapping(oldTarg)) AddEntry(oldTarg, clone);
  return clone;
}

DefaultRemapDir::~DefaultRemapDir() = default;

RefTargetHandle DefaultRemapDir::FindMapping(RefTargetHandle from) {
  auto it = map_.find(from);
  return it == map_.end() ? nullptr : it->second;
}

void DefaultRemapDir::AddEntry(RefTargetHandle hfrom, RefTargetHandle hto) { map_[hfrom] = hto; }

void DefaultRemapDir::PatchPointer(RefTargetHandle* patchThis, RefTargetHandle oldTarg) {
  patches_.emplace_back(patchThis, oldTarg);
}

void DefaultRemapDir::Backpatch() {
  for (auto& [ptr, old] : patches_)
    if (RefTargetHandle to = FindMapping(old)) *ptr = to;
  patches_.clear();
}

void DefaultRemapDir::Clear() {
  map_.clear();
  patches_.clear();
}

namespace {
// Maps everything to itself: cloning through it shares sub-objects instead of copying them.
class IdentityRemapDir : public RemapDir {
 public:
  RefTargetHandle FindMapping(RefTargetHandle from) override { return from; }
  void AddEntry(RefTargetHandle, RefTargetHandle) override {}
  RefTargetHandle CloneRef(RefTargetHandle oldTarg) override { return oldTarg; }
  void PatchPointer(RefTargetHandle*, RefTargetHandle) override {}
  void Backpatch() override {}
  void Clear() override {}
  void DeleteThis() override {}
};
}  // namespace

RemapDir& NoRemap() {
  static IdentityRemapDir none;
  return none;
}

// ---- SingleRefMaker ------------------------------------------------------------------------------

// A holder that goes away is not an edit: recording its reference change would leave the undo
// stack pointing at a freed maker (and a record freed inside an open hold would add to that hold
// while it is being cut back).
SingleRefMaker::~SingleRefMaker() {
  theHold.Suspend();
  DeleteAllRefsFromMe();
  theHold.Resume();
}

void SingleRefMaker::SetRef(RefTargetHandle rtarg) { ReplaceReference(0, rtarg, TRUE); }
