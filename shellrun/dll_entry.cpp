// The runner's entry points, exported by name. Its two script functions register themselves as
// static objects when the module loads.
#include "plugapi.h"

PLUGIN_EXPORT const TCHAR* LibDescription() { return "Tacitrun Maxscript Extension"; }

PLUGIN_EXPORT ULONG LibVersion() { return VERSION_3DSMAX; }

PLUGIN_EXPORT void LibInit() {}
