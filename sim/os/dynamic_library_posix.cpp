#include "os/dynamic_library.h"

#include <dlfcn.h>

namespace sim::os {

void* openLibrary(const std::string& path, std::string& error) {
  void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!lib) {
    const char* e = dlerror();
    error = e ? e : "cannot be loaded";
  }
  return lib;
}

void* findSymbol(void* library, const char* name) { return library ? dlsym(library, name) : nullptr; }

void closeLibrary(void* library) {
  if (library) dlclose(library);
}

std::string libraryFolderOf(const void* address) {
  Dl_info info{};
  if (!dladdr(address, &info) || !info.dli_fname) return {};
  std::string path = info.dli_fname;
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace sim::os
