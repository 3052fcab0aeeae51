#include "qzm_material.h"

#include "resource_strings.h"

QZMMaterial::QZMMaterial(BOOL) {}

void QZMMaterial::GetClassName(TSTR& s) { s = GetString(IDS_CLASS_NAME); }

RefResult QZMMaterial::NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) { return REF_SUCCEED; }
