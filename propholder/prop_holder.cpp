#include "prop_holder.h"

#include "resource_strings.h"

void QZMPropHolder::GetClassName(TSTR& s) { s = GetString(IDS_CLASS_NAME_HELPER); }

const TCHAR* QZMPropHolder::GetObjectName() { return GetString(IDS_OBJECT_NAME); }

void QZMPropHolder::InitNodeName(TSTR& s) { s = GetString(IDS_NODE_NAME); }

RefResult QZMPropHolder::NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) { return REF_SUCCEED; }
