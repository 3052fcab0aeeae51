// Loading plug-in modules: the operating system's dynamic libraries.
#pragma once

#include <string>

namespace sim::os {

// Opens a library; null with `error` set when it cannot be loaded.
void* openLibrary(const std::string& path, std::string& error);
void* findSymbol(void* library, const char* name);
void closeLibrary(void* library);
// The folder of the library (or executable) that holds `address`, ending in a separator; empty
// when it cannot be told.
std::string libraryFolderOf(const void* address);

}  // namespace sim::os
