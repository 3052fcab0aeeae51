#include "os/dynamic_library.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>
#include <map>

namespace sim::os {
namespace {

using DllMainFn = int (*)(void*, std::uint32_t, void*);
constexpr std::uint32_t kProcessDetach = 0, kProcessAttach = 1;

// How often each library is open: DllMain runs at the first open and the last close, as the
// system's loader counts on Windows.
std::map<void*, int>& openCounts() {
  static std::map<void*, int> counts;
  return counts;
}

DllMainFn dllMainOf(void* library) { return reinterpret_cast<DllMainFn>(findOwnSymbol(library, "DllMain")); }

}  // namespace

void* openLibrary(const std::string& path, std::string& error) {
  void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!lib) {
    const char* e = dlerror();
    error = e ? e : "cannot be loaded";
    return nullptr;
  }
  if (openCounts()[lib]++ > 0) return lib;
  if (DllMainFn dllMain = dllMainOf(lib); dllMain && !dllMain(lib, kProcessAttach, nullptr)) {
    // Windows unloads a module whose initialisation failed, telling it so first.
    dllMain(lib, kProcessDetach, nullptr);
    openCounts().erase(lib);
    dlclose(lib);
    error = "its DllMain refused to be loaded";
    return nullptr;
  }
  return lib;
}

void* findSymbol(void* library, const char* name) { return library ? dlsym(library, name) : nullptr; }

void* findOwnSymbol(void* library, const char* name) {
  void* symbol = findSymbol(library, name);
  link_map* map = nullptr;
  Dl_info info{};
  if (!symbol || dlinfo(library, RTLD_DI_LINKMAP, &map) != 0 || !map || !dladdr(symbol, &info) || !info.dli_fname)
    return nullptr;
  return std::strcmp(map->l_name, info.dli_fname) == 0 ? symbol : nullptr;
}

void closeLibrary(void* library) {
  if (!library) return;
  auto it = openCounts().find(library);
  if (it != openCounts().end() && --it->second == 0) {
    openCounts().erase(it);
    if (DllMainFn dllMain = dllMainOf(library)) dllMain(library, kProcessDetach, nullptr);
  }
  dlclose(library);
}

std::string libraryFolderOf(const void* address) {
  Dl_info info{};
  if (!dladdr(address, &info) || !info.dli_fname) return {};
  std::string path = info.dli_fname;
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace sim::os
