// The holder's strings, read from its string table (qzm_prop_holder.rc) through its module handle.
#pragma once

#include "host_api.h"
#include "resource.h"

// The module's handle, from DllMain.
extern HINSTANCE hInstance;

// Text of string `id`, or "" for an id the table does not hold. The text stays valid while the
// module is loaded: callers keep these pointers (class names, display names).
const TCHAR* GetString(int id);
