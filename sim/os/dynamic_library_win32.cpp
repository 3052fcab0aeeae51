#include "os/dynamic_library.h"

#include <windows.h>

namespace sim::os {

void* openLibrary(const std::string& path, std::string& error) {
  // No error dialog boxes for a broken file: the host reports and goes on.
  UINT old = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE lib = LoadLibraryA(path.c_str());
  SetErrorMode(old);
  if (!lib) error = "cannot be loaded (error " + std::to_string(GetLastError()) + ")";
  return reinterpret_cast<void*>(lib);
}

void* findSymbol(void* library, const char* name) {
  return library ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name)) : nullptr;
}

void closeLibrary(void* library) {
  if (library) FreeLibrary(static_cast<HMODULE>(library));
}

}  // namespace sim::os
