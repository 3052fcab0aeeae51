// The host's derived objects: reference 0 is the object below, references 1.. the modifiers (the
// first of them the top of the stack). One class serves object-space and world-space stacks; they
// differ only in class id.
#pragma once

#include "core/ref_graph.h"
#include "object.h"

#include <memory>
#include <vector>

namespace sim {

class HOST_API DerivedObject : public IDerivedObject {
 public:
  explicit DerivedObject(bool worldSpace);
  ~DerivedObject() override;

  void GetClassName(TSTR& s) override { s = worldSpace_ ? "WSMDerivedObject" : "DerivedObject"; }
  Class_ID ClassID() override { return worldSpace_ ? WSMDerivObjClassID : derivObjClassID; }
  const TCHAR* GetObjectName() override;
  void InitNodeName(TSTR& s) override;
  bool worldSpace() const { return worldSpace_; }

  int NumRefs() override { return 1 + static_cast<int>(mods_.size()); }
  RefTargetHandle GetReference(int i) override;
  void SetReference(int i, RefTargetHandle rtarg) override;
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage message) override;
  // Sub-animations: the modifiers from the top, then the object.
  int NumSubs() override { return NumRefs(); }
  Animatable* SubAnim(int i) override;
  TSTR SubAnimName(int i) override;
  RefTargetHandle Clone(RemapDir& remap) override;
  // One chunk per modifier, so that loading knows how many references there are to set.
  IOResult Save(ISave* isave) override;
  IOResult Load(ILoad* iload) override;

  void ReferenceObject(Object* pob) override;
  Object* GetObjRef() override { return obj_; }
  int NumModifiers() override { return static_cast<int>(mods_.size()); }
  Modifier* GetModifier(int index) override;
  void SetModifier(int index, Modifier* mod) override;
  void AddModifier(Modifier* mod, ModContext* mc = nullptr, int before = 0) override;
  void DeleteModifier(int index = 0) override;
  ModContext* GetModContext(int index) override;
  ObjectState Eval(TimeValue t, int modIndex) override;
  using IDerivedObject::Eval;
  Object* FindBaseObject() override;

  // What the evaluated object converts to is what the result converts to.
  int CanConvertToType(Class_ID obtype) override;
  Object* ConvertToType(TimeValue t, Class_ID obtype) override;

 private:
  struct Slot {
    Modifier* mod = nullptr;
    std::unique_ptr<ModContext> mc;
  };
  class StackRestore;
  std::vector<KeepAlive> modsHeld() const;
  void applyStack(const std::vector<KeepAlive>& mods);

  bool worldSpace_;
  Object* obj_ = nullptr;
  std::vector<Slot> mods_;
  KeepAlive result_;  // the object the last evaluation made; freed by the next one
  int evaluating_ = 0;
};

}  // namespace sim
