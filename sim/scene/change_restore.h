// Undo records for plain state that scene objects keep themselves (node flags, names, keys): the
// record holds the old and the new value and a function that puts one back.
#pragma once

#include "core/ref_graph.h"
#include "hold.h"

#include <functional>
#include <utility>

namespace sim {

template <class T>
class ValueRestore : public RestoreObj {
 public:
  ValueRestore(ReferenceTarget* owner, T oldValue, T newValue, std::function<void(const T&)> apply, const char* what)
      : owner_(owner, owner->HasDependents() != FALSE), old_(std::move(oldValue)), new_(std::move(newValue)), apply_(std::move(apply)), what_(what) {}
  void Restore(int) override {
    if (owner_.live()) apply_(old_);
  }
  void Redo() override {
    if (owner_.live()) apply_(new_);
  }
  TSTR Description() override { return TSTR(what_); }

 private:
  // Keeps the owner's memory; a deleted owner makes the record do nothing. An owner that was
  // referenced when the change was made belongs to the reference system: when this record is its
  // last hold and nothing references it any more (a controller made inside an undone hold), it goes.
  KeepAlive owner_;
  T old_, new_;
  std::function<void(const T&)> apply_;
  const char* what_;
};

// Records a change of `owner` when theHold is holding. `apply` must set the value without recording
// again (nothing records while a restore runs, since theHold is not holding then).
template <class T, class F>
void recordChange(ReferenceTarget* owner, const T& oldValue, const T& newValue, F&& apply, const char* what) {
  if (theHold.Holding()) theHold.Put(new ValueRestore<T>(owner, oldValue, newValue, std::forward<F>(apply), what));
}

}  // namespace sim
