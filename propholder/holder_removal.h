// Taking slots out of a holder: a pass from every per-pass table, or properties from propertyName
// and from every record and controller list, releasing the stored objects the removed fields named.
#pragma once

#include "iparamb2.h"
#include "tab.h"

// 1 when a pass slot of `whichPass` was removed, 0 otherwise.
int RemovePassFromBlock(IParamBlock2* pb, int whichPass);
// 1 when at least one property slot named in `names` was removed, 0 otherwise.
int RemovePropertiesFromBlock(IParamBlock2* pb, const Tab<const TCHAR*>& names);
