#include "plugapi.h"

#include "core/text.h"
#include "ifnpub.h"

#include <algorithm>

ClassDesc::~ClassDesc() = default;

FPInterface* ClassDesc::GetInterfaceAt(int i) {
  return i >= 0 && i < NumInterfaces() ? interfaces_[static_cast<size_t>(i)] : nullptr;
}

FPInterface* ClassDesc::GetInterface(Interface_ID id) {
  for (FPInterface* fpi : interfaces_)
    if (fpi->GetID() == id) return fpi;
  return nullptr;
}

FPInterface* ClassDesc::GetInterface(const TCHAR* name) {
  if (!name) return nullptr;
  for (FPInterface* fpi : interfaces_)
    if (FPInterfaceDesc* d = fpi->GetDesc(); d && sim::equalsIgnoreCase(d->internal_name.str(), name)) return fpi;
  return nullptr;
}

void ClassDesc::AddInterface(FPInterface* fpi) {
  if (fpi && std::find(interfaces_.begin(), interfaces_.end(), fpi) == interfaces_.end()) interfaces_.push_back(fpi);
}

void ClassDesc::ClearInterfaces() { interfaces_.clear(); }
