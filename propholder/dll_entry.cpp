// The module's entry points, exported by name.
#include "dllmain.h"
#include "prop_holder.h"
#include "resource_strings.h"

HINSTANCE hInstance = nullptr;

QZM_DLLMAIN(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) hInstance = module;
  return TRUE;
}

PLUGIN_EXPORT const TCHAR* LibDescription() { return GetString(IDS_LIBDESCRIPTION); }

PLUGIN_EXPORT int LibNumberClasses() { return 1; }

PLUGIN_EXPORT ClassDesc* LibClassDesc(int i) { return i == 0 ? GetQZMPropHolderDesc() : nullptr; }

PLUGIN_EXPORT ULONG LibVersion() { return VERSION_3DSMAX; }

// Never deferred: the holder must be loaded before any scene that holds one.
PLUGIN_EXPORT ULONG CanAutoDefer() { return 0; }
