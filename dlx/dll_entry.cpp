// The library's entry points, exported by name. Its script functions register themselves as static
// objects when the module loads; LibInit adds the struct global QZMsysinfo.
#include "plugapi.h"
#include "resource_strings.h"
#include "sysinfo.h"

PLUGIN_EXPORT const TCHAR* LibDescription() { return GetString(IDS_LIBDESCRIPTION); }

PLUGIN_EXPORT ULONG LibVersion() { return VERSION_3DSMAX; }

PLUGIN_EXPORT void LibInit() { DefineSysInfo(); }
