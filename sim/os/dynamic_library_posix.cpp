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

}  // namespace sim::os
