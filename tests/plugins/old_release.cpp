// A module built for another release of the host.
#include "plugapi.h"

PLUGIN_EXPORT const TCHAR* LibDescription() { return "Old release"; }
PLUGIN_EXPORT ULONG LibVersion() { return MakeVersion(9000, 21, 0); }
