#include "holder_params.h"

namespace holder_tables {

std::string GetText(IParamBlock2* pb, ParamID id, int i) {
  if (!pb || i < 0 || i >= pb->Count(id)) return {};
  const TCHAR* s = pb->GetStr(id, 0, i);
  return s ? std::string(s) : std::string();
}

void GrowTo(IParamBlock2* pb, ParamID id, int n) {
  const int old = pb->Count(id);
  if (old >= n) return;
  pb->SetCount(id, n);
  // New string entries are empty texts rather than unset ones, so script reads them as "".
  if (base_type(pb->GetParameterType(id)) == TYPE_STRING)
    for (int i = old; i < n; ++i) pb->SetValue(id, 0, _T(""), i);
}

void SetText(IParamBlock2* pb, ParamID id, int i, const std::string& text) { pb->SetValue(id, 0, text.c_str(), i); }

}  // namespace holder_tables
