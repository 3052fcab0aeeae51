// The host's core interfaces as script globals, by the names they are published under
// (SceneRadiosity.radiosity, medit.GetTopMtlSlot 1): their properties and functions are those of
// their descriptions.
#include "script/script_failure.h"
#include "core/fp_call.h"
#include "core/text.h"
#include "ifnpub.h"
#include "maxscript/maxobjects.h"
#include "maxscript/maxscript.h"
#include "script/fp_conversion.h"
#include "script/published_calls.h"
#include "script/runtime.h"

ValueMetaClass Interface_class("Interface");

namespace sim::rt {

namespace {

// An interface as a script value: its published properties and functions by name.
class InterfaceValue : public Value {
 public:
  InterfaceValue() { tag = &Interface_class; }

  Value* get_property(Value* prop) override {
    FPInterface* fpi = iface();
    if (!findPropDef(fpi, lowerName(prop))) return unknown_property(this, prop);
    FPValue r;
    FPCallOutcome o = getPublishedProperty(fpi, lowerName(prop), r, Runtime::get().time());
    if (!o.ok()) throw RuntimeError("Cannot read property: ", prop);
    return fromFPValue(r);
  }
  Value* set_property(Value* prop, Value* v) override {
    FPInterface* fpi = iface();
    FPPropDef* pd = findPropDef(fpi, lowerName(prop));
    if (!pd) return unknown_property(this, prop);
    FPValue fv;
    toFPValue(v, pd->prop_type, fv);
    FPCallOutcome o = setPublishedProperty(fpi, lowerName(prop), fv, Runtime::get().time());
    if (o.error == FPCallError::ReadOnly) throw RuntimeError("Cannot set read-only property: ", prop);
    return v;
  }
  bool has_property(Value* prop) override {
    FPInterface* fpi = liveIface();
    return fpi && findPropDef(fpi, lowerName(prop)) != nullptr;
  }
  Value* call_method(Value* name, Value** arg_list, int count) override {
    return callPublished(iface(), name, arg_list, count);
  }

 protected:
  // The interface, or null once its object is gone.
  virtual FPInterface* liveIface() = 0;
  // The interface; a script error once its object is gone.
  virtual FPInterface* iface() = 0;
  static const char* nameOf(FPInterface* fpi) {
    return fpi && fpi->GetDesc() ? fpi->GetDesc()->internal_name.data() : "?";
  }
};

// A core interface lives as long as the host.
class CoreInterfaceValue : public InterfaceValue {
 public:
  explicit CoreInterfaceValue(FPInterface* fpi) : fpi_(fpi) {}
  void sprin1(CharStream* s) override { s->printf("<Interface:%s>", nameOf(fpi_)); }

 protected:
  FPInterface* liveIface() override { return fpi_; }
  FPInterface* iface() override { return fpi_; }

 private:
  FPInterface* fpi_;
};

// An interface an object publishes (`obj.IQZMPropHolder`) goes with its object: it is looked up
// again through the object's value at each use, so a deleted object gives the deleted-object error
// rather than a call into freed memory.
class ObjectInterfaceValue : public InterfaceValue {
 public:
  ObjectInterfaceValue(MAXWrapper* owner, Interface_ID id, std::string name)
      : owner_(owner), id_(id), name_(std::move(name)) {}
  void sprin1(CharStream* s) override { s->printf("<MixinInterface:%s>", name_.c_str()); }

 protected:
  FPInterface* liveIface() override {
    ReferenceTarget* t = static_cast<MAXWrapper*>(owner_.get())->target();
    return t ? find(t) : nullptr;
  }
  FPInterface* iface() override {
    FPInterface* fpi = find(static_cast<MAXWrapper*>(owner_.get())->checked());
    if (!fpi) throw RuntimeError("Interface is gone: ", Name::intern(name_.c_str()));
    return fpi;
  }
  void clear_contents() override { owner_ = ValueRef(); }

 private:
  FPInterface* find(ReferenceTarget* t) {
    for (FPInterface* fpi : interfacesOfObject(t))
      if (fpi->GetID() == id_) return fpi;
    return nullptr;
  }
  ValueRef owner_;
  Interface_ID id_;
  std::string name_;
};

}  // namespace

Value* coreInterfaceNamed(const std::string& lower) {
  for (int i = 0; FPInterface* fpi = GetCOREInterfaceAt(i); ++i) {
    FPInterfaceDesc* desc = fpi->GetDesc();
    if (desc && equalsIgnoreCase(desc->internal_name.data(), lower)) return new CoreInterfaceValue(fpi);
  }
  return nullptr;
}

Value* objectInterfaceNamed(MAXWrapper* owner, const std::string& lower) {
  ReferenceTarget* t = owner->target();
  if (!t) return nullptr;
  for (FPInterface* fpi : interfacesOfObject(t)) {
    FPInterfaceDesc* desc = fpi->GetDesc();
    if (desc && equalsIgnoreCase(desc->internal_name.data(), lower))
      return new ObjectInterfaceValue(owner, fpi->GetID(), desc->internal_name.data());
  }
  return nullptr;
}

}  // namespace sim::rt
