// A module that lacks the LibVersion entry point.
#include "plugapi.h"

PLUGIN_EXPORT const TCHAR* LibDescription() { return "No version"; }
