// Loading plug-in modules: the operating system's dynamic libraries.
#pragma once

#include <string>

namespace sim::os {

// Opens a library; null with `error` set when it cannot be loaded.
void* openLibrary(const std::string& path, std::string& error);
void* findSymbol(void* library, const char* name);
void closeLibrary(void* library);

}  // namespace sim::os
