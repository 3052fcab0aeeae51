#include "resource_strings.h"

namespace {

struct Entry {
  int id;
  const TCHAR* text;
};

constexpr Entry kStrings[] = {
    {IDS_LIBDESCRIPTION, "QZM Maxscript DLLs"},
    {IDS_FILEIN_UNEXPECTED_END, "Unexpected end-of-script during compile."},
};

}  // namespace

const TCHAR* GetString(int id) {
  for (const Entry& e : kStrings)
    if (e.id == id) return e.text;
  return "";
}
