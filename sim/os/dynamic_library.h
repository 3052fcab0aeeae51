// Loading plug-in modules: the operating system's dynamic libraries.
#pragma once

#include "host_api.h"

#include <cstdint>
#include <string>

namespace sim::os {

// Opens a library; null with `error` set when it cannot be loaded. As on Windows, the first open
// of a library calls its exported DllMain (if any) with its handle and DLL_PROCESS_ATTACH, and a
// DllMain that answers FALSE fails the load; the last close calls it with DLL_PROCESS_DETACH.
HOST_API void* openLibrary(const std::string& path, std::string& error);
HOST_API void* findSymbol(void* library, const char* name);
// A symbol that `library` itself defines, not one of the libraries it depends on.
HOST_API void* findOwnSymbol(void* library, const char* name);
HOST_API void closeLibrary(void* library);
// The folder of the library (or executable) that holds `address`, ending in a separator; empty
// when it cannot be told.
std::string libraryFolderOf(const void* address);

}  // namespace sim::os
