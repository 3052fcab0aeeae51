// Small reference makers and targets for tests of the object model.
#pragma once

#include "ref.h"

#include <string>
#include <vector>

namespace test {

// A target with a fixed number of reference slots that logs the messages it receives and counts
// live instances, so tests can see what was freed.
class Thing : public ReferenceTarget {
 public:
  explicit Thing(std::string name = {}, int slots = 2) : name(std::move(name)), refs(static_cast<size_t>(slots), nullptr) { ++alive; }
  ~Thing() override { --alive; }

  SClass_ID SuperClassID() override { return REF_TARGET_CLASS_ID; }
  Class_ID ClassID() override { return Class_ID(0x7e57, 1); }
  int NumRefs() override { return static_cast<int>(refs.size()); }
  RefTargetHandle GetReference(int i) override { return i >= 0 && i < NumRefs() ? refs[static_cast<size_t>(i)] : nullptr; }
  void SetReference(int i, RefTargetHandle t) override { if (i >= 0 && i < NumRefs()) refs[static_cast<size_t>(i)] = t; }
  RefResult NotifyRefChanged(Interval, RefTargetHandle from, PartID& part, RefMessage msg) override {
    received.push_back(msg);
    senders.push_back(from);
    return answer;
  }
  int NumSubs() override { return NumRefs(); }
  Animatable* SubAnim(int i) override { return GetReference(i); }
  RefTargetHandle Clone(RemapDir& remap) override {
    auto* c = new Thing(name + "'", NumRefs());
    for (int i = 0; i < NumRefs(); ++i) c->ReplaceReference(i, remap.CloneRef(GetReference(i)));
    BaseClone(this, c, remap);
    return c;
  }

  std::string name;
  std::vector<RefTargetHandle> refs;
  std::vector<RefMessage> received;
  std::vector<RefTargetHandle> senders;
  RefResult answer = REF_SUCCEED;
  static inline int alive = 0;
};

}  // namespace test
