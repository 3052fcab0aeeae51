// The module's entry points, exported by name. This module is built against release 11000.
#include "qzm_material.h"
#include "resource_strings.h"

PLUGIN_EXPORT const TCHAR* LibDescription() { return GetString(IDS_LIBDESCRIPTION); }

PLUGIN_EXPORT int LibNumberClasses() { return 1; }

PLUGIN_EXPORT ClassDesc* LibClassDesc(int i) { return i == 0 ? GetQZMMaterialDesc() : nullptr; }

PLUGIN_EXPORT ULONG LibVersion() { return VERSION_3DSMAX_11000; }
