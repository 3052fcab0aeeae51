#include "resource_strings.h"

#include "win_ui.h"

#include <map>
#include <string>

const TCHAR* GetString(int id) {
  // One text per id rather than one shared buffer, so that a second call does not change the text a
  // caller holds from the first.
  static std::map<int, std::string> loaded;
  auto it = loaded.find(id);
  if (it == loaded.end()) {
    char buffer[256];
    int n = LoadString(hInstance, static_cast<UINT>(id), buffer, static_cast<int>(sizeof buffer));
    if (n <= 0) return "";
    it = loaded.emplace(id, std::string(buffer, static_cast<std::size_t>(n))).first;
  }
  return it->second.c_str();
}
