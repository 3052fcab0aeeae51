#include "resource_strings.h"

namespace {

struct Entry {
  int id;
  const TCHAR* text;
};

constexpr Entry kStrings[] = {
    {1, "Grid"},
    {4, "QZMPropHolder"},
    {10, "QZMHelper"},
    {11, "QZMPropHolder"},
    {25, "QZMPropertyHolder"},
};

}  // namespace

const TCHAR* GetString(int id) {
  for (const Entry& e : kStrings)
    if (e.id == id) return e.text;
  return "";
}
