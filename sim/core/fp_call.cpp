#include "core/fp_call.h"

#include "core/class_registry.h"
#include "core/text.h"

namespace sim {

namespace {

FPCallOutcome refused(FPCallError error) {
  FPCallOutcome out;
  out.error = error;
  return out;
}

FPCallOutcome finish(FPCallOutcome out, FPStatus status) {
  out.status = status;
  out.error = status == FPS_OK ? FPCallError::None : FPCallError::Failed;
  return out;
}

// Checks `args` against `fn` and completes them with defaults; sets the outcome's error on refusal.
bool checkArguments(const FPFunctionDef& fn, FPParams& args, FPCallOutcome& out) {
  out.given = args.params.Count();
  out.expected = fn.NumParams();
  // Positional arguments can leave out only trailing parameters, and only those with a default.
  out.required = out.expected;
  while (out.required > 0 && fn.params[out.required - 1]->KeyArgDefault()) --out.required;
  if (out.given > out.expected || out.given < out.required) {
    out.error = FPCallError::ArgCount;
    return false;
  }
  for (int k = 0; k < out.given; ++k) {
    const FPParamDef* pd = fn.params[k];
    if (!FPArgMatches(args.params[k], pd->type)) {
      out.error = FPCallError::ArgType;
      out.argIndex = k;
      out.expectedType = pd->type;
      out.givenType = args.params[k].type;
      return false;
    }
  }
  for (int k = out.given; k < out.expected; ++k) args.params.vector().push_back(*fn.params[k]->KeyArgDefault());
  return true;
}

FPCallOutcome call(FPInterface* fpi, FPFunctionDef* fn, FPParams& args, FPValue& result, TimeValue t) {
  if (!fn) return refused(FPCallError::NoSuchFunction);
  FPCallOutcome out;
  out.function = fn;
  if (!(fn->flags & FP_VAR_ARGS) && !checkArguments(*fn, args, out)) return out;
  result.Free();
  return finish(out, fpi->Invoke(fn->ID, t, result, &args));
}

}  // namespace

FPFunctionDef* findFunctionDef(FPInterface* fpi, std::string_view name) {
  FPInterfaceDesc* d = fpi ? fpi->GetDesc() : nullptr;
  if (!d) return nullptr;
  for (int k = 0; k < d->functions.Count(); ++k)
    if (equalsIgnoreCase(d->functions[k]->internal_name.str(), name)) return d->functions[k];
  return nullptr;
}

FPPropDef* findPropDef(FPInterface* fpi, std::string_view name) {
  FPInterfaceDesc* d = fpi ? fpi->GetDesc() : nullptr;
  if (!d) return nullptr;
  for (int k = 0; k < d->props.Count(); ++k)
    if (equalsIgnoreCase(d->props[k]->internal_name.str(), name)) return d->props[k];
  return nullptr;
}

FPCallOutcome callPublishedFunction(FPInterface* fpi, std::string_view name, FPParams& args, FPValue& result,
                                    TimeValue t) {
  if (!fpi || !fpi->GetDesc()) return refused(FPCallError::NoInterface);
  return call(fpi, findFunctionDef(fpi, name), args, result, t);
}

FPCallOutcome callPublishedFunction(FPInterface* fpi, FunctionID fid, FPParams& args, FPValue& result, TimeValue t) {
  if (!fpi || !fpi->GetDesc()) return refused(FPCallError::NoInterface);
  return call(fpi, fpi->GetDesc()->GetFnDef(fid), args, result, t);
}

FPCallOutcome getPublishedProperty(FPInterface* fpi, std::string_view name, FPValue& result, TimeValue t) {
  if (!fpi || !fpi->GetDesc()) return refused(FPCallError::NoInterface);
  FPPropDef* prop = findPropDef(fpi, name);
  if (!prop || prop->getter_ID == FP_NO_FUNCTION) return refused(FPCallError::NoSuchProperty);
  result.Free();
  return finish(FPCallOutcome(), fpi->Invoke(prop->getter_ID, t, result, nullptr));
}

FPCallOutcome setPublishedProperty(FPInterface* fpi, std::string_view name, const FPValue& value, TimeValue t) {
  if (!fpi || !fpi->GetDesc()) return refused(FPCallError::NoInterface);
  FPPropDef* prop = findPropDef(fpi, name);
  if (!prop) return refused(FPCallError::NoSuchProperty);
  if (prop->setter_ID == FP_NO_FUNCTION) return refused(FPCallError::ReadOnly);
  FPCallOutcome out;
  out.given = out.expected = out.required = 1;
  if (!FPArgMatches(value, prop->prop_type)) {
    out.error = FPCallError::ArgType;
    out.argIndex = 0;
    out.expectedType = prop->prop_type;
    out.givenType = value.type;
    return out;
  }
  FPParams args;
  args.params.vector().push_back(value);
  FPValue ignored;
  return finish(out, fpi->Invoke(prop->setter_ID, t, ignored, &args));
}

std::vector<FPInterface*> publishedInterfaces(Animatable* obj) {
  std::vector<FPInterface*> out;
  if (!obj) return out;
  ClassDesc* cd = ClassRegistry::instance().find(obj->SuperClassID(), obj->ClassID());
  if (!cd) return out;
  for (int k = 0; k < cd->NumInterfaces(); ++k) {
    FPInterface* desc = cd->GetInterfaceAt(k);
    FPInterfaceDesc* d = desc ? desc->GetDesc() : nullptr;
    if (!d || !(d->flags & FP_MIXIN)) continue;
    // An object may answer an id with something that is not a published interface.
    if (auto* fpi = dynamic_cast<FPInterface*>(obj->GetInterface(d->ID))) out.push_back(fpi);
  }
  return out;
}

FPInterface* findFunctionInterface(Animatable* obj, std::string_view name) {
  for (FPInterface* fpi : publishedInterfaces(obj))
    if (findFunctionDef(fpi, name)) return fpi;
  return nullptr;
}

FPInterface* findCoreInterface(std::string_view name) {
  for (int k = 0; k < NumCOREInterfaces(); ++k) {
    FPInterface* fpi = GetCOREInterfaceAt(k);
    FPInterfaceDesc* d = fpi ? fpi->GetDesc() : nullptr;
    if (d && equalsIgnoreCase(d->internal_name.str(), name)) return fpi;
  }
  return nullptr;
}

}  // namespace sim
