#include "resource_strings.h"

namespace {

struct Entry {
  int id;
  const TCHAR* text;
};

constexpr Entry kStrings[] = {
    {IDS_LIBDESCRIPTION, "MaterialHolder"},
    {IDS_CATEGORY, "QuorvanePlugins"},
    {IDS_CLASS_NAME, "QZMMaterial"},
    {IDS_PARAMS, "QZMMaterial Per Pass"},
    {IDS_WHICHPASS, "WhichPass"},
    {IDS_MATERIALS, "Materials"},
    {IDS_ACTIVESTAMPONLY, "ActiveStampOnly"},
    {IDS_OFFSET, "Offset"},
    {IDS_ENABLEOMATERIAL, "EnableOMaterial"},
    {IDS_NONE, "None"},
    {IDS_LABELS, "Labels"},
};

}  // namespace

const TCHAR* GetString(int id) {
  for (const Entry& e : kStrings)
    if (e.id == id) return e.text;
  return "";
}
