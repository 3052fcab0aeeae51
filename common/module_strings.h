// A module's strings, read from its own string table through its handle. The store has internal
// linkage, so every module keeps its own whatever the build does with symbol visibility: were it
// one object for all loaded modules, the holder's string 1 would answer for the material's.
#pragma once

#include "win_ui.h"

#include <map>
#include <string>

// Text of string `id` of `module`, or "" for an id its table does not hold. One text per id rather
// than one shared buffer, so that a second call does not change the text a caller holds from the
// first; the text stays valid while the module is loaded.
namespace {

const TCHAR* loadModuleString(HINSTANCE module, int id) {
  static std::map<int, std::string> loaded;
  auto it = loaded.find(id);
  if (it == loaded.end()) {
    char buffer[256];
    int n = LoadString(module, static_cast<UINT>(id), buffer, static_cast<int>(sizeof buffer));
    if (n <= 0) return "";
    it = loaded.emplace(id, std::string(buffer, static_cast<std::size_t>(n))).first;
  }
  return it->second.c_str();
}

}  // namespace
