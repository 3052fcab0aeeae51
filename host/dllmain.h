// A module's own entry point, DllMain: the system calls it with the module's handle when the module
// is loaded (DLL_PROCESS_ATTACH) and unloaded (DLL_PROCESS_DETACH); answering FALSE at loading
// refuses the load. A module keeps the handle to reach its resources (LoadString,
// CreateDialogParam). Declare it with QZM_DLLMAIN so that it is found under its plain name.
#pragma once

#include "host_api.h"

#if defined(_WIN32)
#  ifndef NOMINMAX
#    define NOMINMAX
#  endif
#  include <windows.h>
#  define QZM_DLLMAIN extern "C" BOOL WINAPI DllMain
#else
#  include "win_ui.h"
constexpr DWORD DLL_PROCESS_DETACH = 0;
constexpr DWORD DLL_PROCESS_ATTACH = 1;
constexpr DWORD DLL_THREAD_ATTACH = 2;
constexpr DWORD DLL_THREAD_DETACH = 3;
#  define QZM_DLLMAIN PLUGIN_EXPORT BOOL WINAPI DllMain
#endif
