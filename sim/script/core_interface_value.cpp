// The host's core interfaces as script globals, by the names they are published under
// (SceneRadiosity.radiosity, medit.GetTopMtlSlot 1): their properties and functions are those of
// their descriptions.
#include "core/fp_call.h"
#include "core/text.h"
#include "ifnpub.h"
#include "maxscript/maxscript.h"
#include "script/fp_conversion.h"
#include "script/published_calls.h"
#include "script/runtime.h"

ValueMetaClass Interface_class("Interface");

namespace sim::rt {

namespace {

class CoreInterfaceValue : public Value {
 public:
  explicit CoreInterfaceValue(FPInterface* fpi) : fpi_(fpi) { tag = &Interface_class; }

  Value* get_property(Value* prop) override {
    if (!findPropDef(fpi_, lowerName(prop))) throw AccessorError(this, prop);
    FPValue r;
    FPCallOutcome o = getPublishedProperty(fpi_, lowerName(prop), r, Runtime::get().time());
    if (!o.ok()) throw RuntimeError("Cannot read property: ", prop);
    return fromFPValue(r);
  }
  Value* set_property(Value* prop, Value* v) override {
    FPPropDef* pd = findPropDef(fpi_, lowerName(prop));
    if (!pd) throw AccessorError(this, prop);
    FPValue fv;
    toFPValue(v, pd->prop_type, fv);
    FPCallOutcome o = setPublishedProperty(fpi_, lowerName(prop), fv, Runtime::get().time());
    if (o.error == FPCallError::ReadOnly) throw RuntimeError("Cannot set read-only property: ", prop);
    return v;
  }
  bool has_property(Value* prop) override { return findPropDef(fpi_, lowerName(prop)) != nullptr; }
  Value* call_method(Value* name, Value** arg_list, int count) override {
    return callPublished(fpi_, name, arg_list, count);
  }
  void sprin1(CharStream* s) override {
    s->puts("<Interface:");
    s->puts(fpi_->GetDesc() ? fpi_->GetDesc()->internal_name.data() : "?");
    s->puts(">");
  }

 private:
  FPInterface* fpi_;
};

}  // namespace

Value* coreInterfaceNamed(const std::string& lower) {
  for (int i = 0; FPInterface* fpi = GetCOREInterfaceAt(i); ++i) {
    FPInterfaceDesc* desc = fpi->GetDesc();
    if (desc && equalsIgnoreCase(desc->internal_name.data(), lower)) return new CoreInterfaceValue(fpi);
  }
  return nullptr;
}

}  // namespace sim::rt
