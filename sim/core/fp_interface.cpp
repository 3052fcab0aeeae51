#include "core/fp_call.h"
#include "core/fp_storage.h"

#include "ifnpub.h"
#include "plugapi.h"

#include <algorithm>
#include <vector>

namespace {

// Core interfaces by registration. Allocated once and never freed: descriptors of plug-in modules
// leave it from their destructors, which may run after the host library's own statics are gone.
std::vector<FPInterface*>& coreInterfaces() {
  static auto* list = new std::vector<FPInterface*>;
  return *list;
}

template <class T>
void deleteAll(Tab<T*>& tab) {
  for (int k = 0; k < tab.Count(); ++k) delete tab[k];
  tab.ZeroCount();
}

// The truth of a predicate function's answer.
BOOL truthOf(const FPValue& v) {
  switch (sim::fpStorageOf(v.type)) {
    case sim::FPStorage::Int: return v.i != 0;
    case sim::FPStorage::Bool: return v.b;
    case sim::FPStorage::Dword: return v.d != 0;
    default: return TRUE;
  }
}

}  // namespace

// ---- definitions -------------------------------------------------------------------------------

FPParamDef::~FPParamDef() { delete options; }

FPFunctionDef::~FPFunctionDef() {
  delete action_def;
  deleteAll(params);
}

FPPropDef::~FPPropDef() { delete setter_param; }

// ---- FPInterface -------------------------------------------------------------------------------

Interface_ID FPInterface::GetID() {
  FPInterfaceDesc* d = GetDesc();
  return d ? d->ID : NULLINTERFACE_ID;
}

BaseInterface* FPInterface::GetInterface(Interface_ID id) { return id == FPINTERFACE_ID ? this : nullptr; }

FPStatus FPInterface::Invoke(FunctionID fid, TimeValue t, FPParams* params) {
  FPValue ignored;
  return Invoke(fid, t, ignored, params);
}

FPStatus FPInterface::Invoke(FunctionID fid, TimeValue t, FPValue& result, FPParams* params) {
  FPInterfaceDesc* d = GetDesc();
  if (d && (d->flags & FP_ACTIONS)) {
    FPFunctionDef* fn = d->GetFnDef(fid);
    if (fn && fn->action_def && !IsEnabled(fid)) return FPS_ACTION_DISABLED;
  }
  return _dispatch_fn(fid, t, result, params);
}

FunctionID FPInterface::FindFn(const TCHAR* name) {
  FPInterfaceDesc* d = GetDesc();
  FPFunctionDef* fn = d ? d->FindFnDef(name) : nullptr;
  return fn ? fn->ID : FP_NO_FUNCTION;
}

namespace {

// The predicate function an action names in its table entry, or FP_NO_FUNCTION.
FunctionID predicateOf(FPInterface* fpi, FunctionID actionID, FunctionID FPActionDef::*which) {
  FPInterfaceDesc* d = fpi->GetDesc();
  FPFunctionDef* fn = d ? d->GetFnDef(actionID) : nullptr;
  if (!fn || !fn->action_def) return FP_NO_FUNCTION;
  const FunctionID pred = fn->action_def->*which;
  return pred == actionID ? FP_NO_FUNCTION : pred;
}

}  // namespace

// Predicates go straight to the dispatcher: through Invoke they would ask whether they are enabled.
// An action without a predicate is enabled, unchecked and visible.
BOOL FPInterface::IsEnabled(FunctionID actionID) {
  const FunctionID pred = predicateOf(this, actionID, &FPActionDef::isEnabled_id);
  FPValue answer;
  return pred == FP_NO_FUNCTION || _dispatch_fn(pred, 0, answer, nullptr) != FPS_OK || truthOf(answer);
}

BOOL FPInterface::IsChecked(FunctionID actionID) {
  const FunctionID pred = predicateOf(this, actionID, &FPActionDef::isChecked_id);
  FPValue answer;
  return pred != FP_NO_FUNCTION && _dispatch_fn(pred, 0, answer, nullptr) == FPS_OK && truthOf(answer);
}

BOOL FPInterface::IsVisible(FunctionID actionID) {
  const FunctionID pred = predicateOf(this, actionID, &FPActionDef::isVisible_id);
  FPValue answer;
  return pred == FP_NO_FUNCTION || _dispatch_fn(pred, 0, answer, nullptr) != FPS_OK || truthOf(answer);
}

BaseInterface* FPMixinInterface::GetInterface(Interface_ID id) {
  return id == FPMIXININTERFACE_ID ? this : FPInterface::GetInterface(id);
}

// ---- FPInterfaceDesc ---------------------------------------------------------------------------

FPInterfaceDesc::~FPInterfaceDesc() {
  std::erase(coreInterfaces(), static_cast<FPInterface*>(this));
  ClearDefs();
}

void FPInterfaceDesc::ClearDefs() {
  deleteAll(functions);
  deleteAll(props);
  deleteAll(enumerations);
  load_error_ = _T("");
}

void FPInterfaceDesc::SetClassDesc(ClassDesc* i_cd) {
  cd = i_cd;
  if (cd && !(flags & FP_MIXIN)) cd->AddInterface(this);
}

BaseInterface* FPInterfaceDesc::GetInterface(Interface_ID id) {
  return id == FPINTERFACEDESC_ID ? this : FPInterface::GetInterface(id);
}

FPFunctionDef* FPInterfaceDesc::GetFnDef(FunctionID fid) {
  for (int k = 0; k < functions.Count(); ++k)
    if (functions[k]->ID == fid) return functions[k];
  return nullptr;
}

FPFunctionDef* FPInterfaceDesc::FindFnDef(const TCHAR* name) { return name ? sim::findFunctionDef(this, name) : nullptr; }

FPPropDef* FPInterfaceDesc::FindPropDef(const TCHAR* name) { return name ? sim::findPropDef(this, name) : nullptr; }

FPEnum* FPInterfaceDesc::GetEnum(EnumID id) {
  for (int k = 0; k < enumerations.Count(); ++k)
    if (enumerations[k]->ID == id) return enumerations[k];
  return nullptr;
}

HINSTANCE FPInterfaceDesc::HInstance() { return cd ? cd->HInstance() : nullptr; }

const TCHAR* FPInterfaceDesc::GetRsrcString(StringResID id) { return cd ? cd->GetRsrcString(id) : nullptr; }

// ---- core interfaces ---------------------------------------------------------------------------

FPInterface* GetCOREInterface(Interface_ID id) {
  for (FPInterface* fpi : coreInterfaces())
    if (fpi->GetID() == id) return fpi;
  return nullptr;
}

void RegisterCOREInterface(FPInterface* fpi) {
  if (!fpi) return;
  auto& list = coreInterfaces();
  if (std::find(list.begin(), list.end(), fpi) != list.end()) return;
  const Interface_ID id = fpi->GetID();
  std::erase_if(list, [&](FPInterface* other) { return other->GetID() == id; });
  list.push_back(fpi);
}

int NumCOREInterfaces() { return static_cast<int>(coreInterfaces().size()); }

FPInterface* GetCOREInterfaceAt(int i) {
  auto& list = coreInterfaces();
  return i >= 0 && i < static_cast<int>(list.size()) ? list[static_cast<size_t>(i)] : nullptr;
}
