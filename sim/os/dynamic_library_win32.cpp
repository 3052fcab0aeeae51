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

// GetProcAddress looks in the module's own exports only.
void* findOwnSymbol(void* library, const char* name) { return findSymbol(library, name); }

void closeLibrary(void* library) {
  if (library) FreeLibrary(static_cast<HMODULE>(library));
}

std::string libraryFolderOf(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCSTR>(address), &module))
    return {};
  char buf[MAX_PATH];
  DWORD n = GetModuleFileNameA(module, buf, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  std::string path(buf, n);
  const auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace sim::os
