// The module's entry points, exported by name. This module is built against release 11000.
#include "dllmain.h"
#include "qzm_material.h"
#include "resource.h"
#include "resource_strings.h"

HINSTANCE hInstance = nullptr;

QZM_DLLMAIN(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) hInstance = module;
  return TRUE;
}

PLUGIN_EXPORT const TCHAR* LibDescription() { return GetString(IDS_LIBDESCRIPTION); }

PLUGIN_EXPORT int LibNumberClasses() { return 1; }

PLUGIN_EXPORT ClassDesc* LibClassDesc(int i) { return i == 0 ? GetQZMMaterialDesc() : nullptr; }

PLUGIN_EXPORT ULONG LibVersion() { return VERSION_3DSMAX_11000; }
