// Host-side access to the reference graph's bookkeeping: links between makers and targets, and
// keep-alive holds that let script values and undo records keep a target's memory after its last
// reference is gone.
#pragma once

#include "ref.h"

#include <utility>

struct HOST_API RefGraph {
  static void addLink(ReferenceMaker* m, ReferenceTarget* t);
  static void removeLink(ReferenceMaker* m, ReferenceTarget* t);
  static bool createsLoop(ReferenceMaker* m, ReferenceTarget* t);
  // Deletes a target the reference system's way: tell dependents, clear references to it, drop its
  // own references, free it (or mark it deleted while holds remain).
  static void deleteTarget(ReferenceTarget* t);
  // The deletion itself, leaving the targets it frees of references waiting for deleteTarget.
  static void deleteNow(ReferenceTarget* t);
  // ReplaceReference; without `checkLoop` only for a caller that has shown the whole graph it builds
  // to be free of loops (the scene loader, which would otherwise walk the graph on every reference).
  static RefResult replace(ReferenceMaker* m, int which, ReferenceTarget* newtarg, bool delOld, bool checkLoop);
  static void hold(ReferenceTarget* t) { ++t->keepAlive_; }
  // Drops a hold; the target is freed when it was deleted meanwhile or, with `autoDelete`, when
  // nothing references it any more.
  static void unhold(ReferenceTarget* t, bool autoDelete);
  static int holds(const ReferenceTarget* t) { return t->keepAlive_; }
};

namespace sim {

// A keep-alive hold on one target, released with the handle. Releasing the last hold frees a target
// that was deleted meanwhile; with `autoDelete` it also frees one that nothing references any more.
class KeepAlive {
 public:
  KeepAlive() = default;
  explicit KeepAlive(ReferenceTarget* t, bool autoDelete = true) : t_(t), autoDelete_(autoDelete) {
    if (t_) RefGraph::hold(t_);
  }
  KeepAlive(const KeepAlive& o) : KeepAlive(o.t_, o.autoDelete_) {}
  KeepAlive(KeepAlive&& o) noexcept : t_(std::exchange(o.t_, nullptr)), autoDelete_(o.autoDelete_) {}
  KeepAlive& operator=(KeepAlive o) {
    std::swap(t_, o.t_);
    std::swap(autoDelete_, o.autoDelete_);
    return *this;
  }
  ~KeepAlive() { if (t_) RefGraph::unhold(t_, autoDelete_); }
  ReferenceTarget* get() const { return t_; }
  // The target, or null once it was deleted.
  ReferenceTarget* live() const { return t_ && !t_->IsDeleted() ? t_ : nullptr; }

 private:
  ReferenceTarget* t_ = nullptr;
  bool autoDelete_ = true;
};

}  // namespace sim
