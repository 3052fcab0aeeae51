#include "ref.h"

#include "hold.h"
#include "maxapi.h"
#include "on_scope_exit.h"
#include "ref_graph.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <unordered_map>
#include <unordered_set>

namespace {

// Undo record of one ReplaceReference; holds the maker and both targets so that undo and redo never
// reach freed memory. Only a target can be held, so only a target's references are recorded: a plain
// maker is the host's or a plug-in's watcher (a keeper on the stack, a slot of a host service) whose
// reference is not an edit of the scene, and which may be gone long before the record.
class RefRestore : public RestoreObj {
 public:
  RefRestore(ReferenceTarget* m, int which, ReferenceTarget* oldT, ReferenceTarget* newT)
      // The maker is owned elsewhere: the record only keeps its memory, never decides it should go.
      : maker_(m, false), which_(which), old_(oldT), new_(newT) {}
  void Restore(int) override { apply(old_.get()); }
  void Redo() override { apply(new_.get()); }
  TSTR Description() override { return TSTR("Reference"); }

 private:
  void apply(ReferenceTarget* t) {
    ReferenceTarget* m = maker_.live();
    if (!m || (t && t->IsDeleted())) return;
    m->ReplaceReference(which_, t);
  }
  sim::KeepAlive maker_;
  int which_;
  sim::KeepAlive old_, new_;
};

}  // namespace

// ---- links and holds -------------------------------------------------------------------------

namespace {

// References beyond the first that a link stands for: a maker's links (held_) and a target's
// dependents hold one entry per link, not per reference. A list controller filled with one
// controller references it from every entry; one link per reference cost both of them a pointer per
// entry, and every walk over the controller's dependents a step per entry.
struct LinkKey {
  ReferenceMaker* m;
  ReferenceTarget* t;
  bool operator==(const LinkKey& o) const { return m == o.m && t == o.t; }
};
struct LinkKeyHash {
  size_t operator()(const LinkKey& k) const {
    return std::hash<const void*>()(k.m) * 31 + std::hash<const void*>()(k.t);
  }
};
std::unordered_map<LinkKey, unsigned, LinkKeyHash>& sharedLinks() {
  static auto* links = new std::unordered_map<LinkKey, unsigned, LinkKeyHash>;
  return *links;
}

}  // namespace

void RefGraph::addLink(ReferenceMaker* m, ReferenceTarget* t) {
  // Only the newest link is looked at, so that adding stays constant time: references to one
  // target made one after another (a list's fill) share it, others get links of their own.
  if (!m->held_.empty() && m->held_.back() == t) {
    ++sharedLinks()[LinkKey{m, t}];
    return;
  }
  t->dependents_.push_back(m);
  m->held_.push_back(t);
}

void RefGraph::removeLink(ReferenceMaker* m, ReferenceTarget* t) {
  if (auto& links = sharedLinks(); !links.empty()) {
    auto it = links.find(LinkKey{m, t});
    if (it != links.end()) {
      if (--it->second == 0) links.erase(it);
      return;
    }
  }
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

namespace {

// Deleting a target drops its references, and a target left without any deletes itself in turn, so
// a chain of targets each holding the next would go as deep on the stack as it is long. While a
// deletion runs, targets left without references wait here instead (each with a hold of ours), and
// the outermost deletion frees them one after the other before it returns: to its caller the whole
// chain is gone, as before, and each target hears and tells of its deletion at a constant depth.
struct PendingDeletions {
  int running = 0;
  std::deque<ReferenceTarget*> waiting;
};

PendingDeletions& pending() {
  static PendingDeletions p;
  return p;
}

}  // namespace

void RefGraph::deleteTarget(ReferenceTarget* t) {
  if (t->deleting_ || t->deleted_) return;
  PendingDeletions& p = pending();
  ++p.running;
  {
    sim::OnScopeExit done([&p] { --p.running; });
    deleteNow(t);
  }
  if (p.running > 0) return;
  ++p.running;
  sim::OnScopeExit done([&p] { --p.running; });
  while (!p.waiting.empty()) {
    ReferenceTarget* next = p.waiting.front();
    p.waiting.pop_front();
    if (--next->keepAlive_ > 0) continue;  // someone else holds it now
    if (next->deleted_) next->DeleteThis();
    else if (!next->deleting_ && next->NumDependents() == 0) deleteNow(next);
  }
}

void RefGraph::deleteNow(ReferenceTarget* t) {
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
  return RefGraph::replace(this, which, newtarg, delOld, true);
}

RefResult RefGraph::replace(ReferenceMaker* m, int which, ReferenceTarget* newtarg, bool delOld, bool checkLoop) {
  if (which < 0 || which >= m->NumRefs()) return REF_FAIL;
  ReferenceTarget* old = m->GetReference(which);
  if (old == newtarg) return REF_SUCCEED;
  if (newtarg && (newtarg->deleted_ || newtarg->deleting_)) return REF_FAIL;
  if (newtarg && checkLoop && createsLoop(m, newtarg)) return REF_FAIL;

  RestoreObj* record = theHold.Holding() && m->IsRefTarget()
                           ? new RefRestore(static_cast<ReferenceTarget*>(m), which, old, newtarg)
                           : nullptr;
  if (old) hold(old);  // the old target stays valid until we are done with it
  if (newtarg) addLink(m, newtarg);
  if (old) removeLink(m, old);
  m->SetReference(which, newtarg);
  if (m->GetReference(which) != newtarg) {
    // The maker refused the slot: put the bookkeeping back as it was.
    if (newtarg) removeLink(m, newtarg);
    if (old) {
      addLink(m, old);
      unhold(old, false);
    }
    delete record;
    return REF_FAIL;
  }
  if (record) theHold.Put(record);
  if (old) unhold(old, delOld);
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

namespace {

// One target whose dependents a notification is walking: the walk goes depth first (a dependent
// that passes the message on tells its own dependents before the next one hears it), on a stack of
// its own rather than the machine's, because chains of targets can be longer than the stack is deep.
struct NotifyFrame {
  ReferenceTarget* target;
  RefTargetHandle from;  // the target its dependents hear the message from
  PartID part;
  size_t next;           // the next dependent to tell
  size_t count;          // dependents when the walk began: makers added meanwhile are not told
  MakerSet told;
};

}  // namespace

RefResult ReferenceTarget::NotifyDependents(Interval changeInt, PartID partID, RefMessage message, SClass_ID sclass,
                                            BOOL propagate, RefTargetHandle hTarg) {
  // Handlers may notify in turn: each walk keeps to the frames above the ones it found.
  static std::vector<NotifyFrame> frames;
  const size_t base = frames.size();
  auto enter = [&](ReferenceTarget* t, RefTargetHandle from, PartID part) {
    if (t->deleted_) return;
    // Scripts may switch change messages off around bulk edits; deletion is always told.
    if (!RefMsgsEnabled() && message != REFMSG_TARGET_DELETED) return;
    RefGraph::hold(t);
    ++t->notifying_;
    frames.push_back(NotifyFrame{t, from, part, 0, t->dependents_.size(), {}});
  };
  auto leave = [&] {
    ReferenceTarget* t = frames.back().target;
    frames.pop_back();
    if (--t->notifying_ == 0)
      t->dependents_.erase(std::remove(t->dependents_.begin(), t->dependents_.end(), nullptr), t->dependents_.end());
    RefGraph::unhold(t, false);
  };
  sim::OnScopeExit unwind([&] {
    while (frames.size() > base) leave();
  });
  enter(this, hTarg ? hTarg : this, partID);
  while (frames.size() > base) {
    NotifyFrame& f = frames.back();
    ReferenceTarget* t = f.target;
    // A handler that deleted this target: nobody else is to hear from it.
    if (t->deleted_ || f.next >= f.count || f.next >= t->dependents_.size()) {
      leave();
      continue;
    }
    const size_t i = f.next++;
    ReferenceMaker* m = t->dependents_[i];
    if (!m || !f.told.insert(m)) continue;
    if (sclass != NOTIFY_ALL && m->SuperClassID() != sclass) continue;
    PartID pid = f.part;
    const RefTargetHandle from = f.from;
    RefResult r = m->NotifyRefChanged(changeInt, from, pid, message);
    if (t->deleted_) continue;
    bool stillThere = i < t->dependents_.size() && t->dependents_[i] == m;  // the handler may have dropped its reference or itself
    if (propagate && message != REFMSG_TARGET_DELETED && r == REF_SUCCEED && stillThere && m->IsRefTarget()) {
      auto* next = static_cast<ReferenceTarget*>(m);
      enter(next, next, pid);
    }
  }
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
  PendingDeletions& p = pending();
  if (p.running > 0) {
    RefGraph::hold(this);
    p.waiting.push_back(this);
    return;
  }
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
