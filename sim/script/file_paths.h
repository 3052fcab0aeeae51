// File names as scripts write them: either slash separates folders, whatever the system. These
// helpers turn a script's name into one the file system takes, and split names into their parts.
#pragma once

#include "maxscript/classes.h"

#include <filesystem>
#include <string>

namespace sim::rt {

// The text of a file-name argument (a string, else the language's conversion error).
const std::string& fileNameArg(Value* v);
// The name as the file system takes it: backslashes become the system's separator.
std::filesystem::path nativePath(const std::string& name);
// Where the folder part of `name` ends: after its last slash of either kind, or 0.
size_t folderPartLength(const std::string& name);

}  // namespace sim::rt
