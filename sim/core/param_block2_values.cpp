// The typed SetValue, GetValue and Get* forms of the host's parameter block: each finds the entry,
// checks that the parameter holds that kind of value (converting between int and float, Point3 and
// Color, Point4 and AColor), and reads the column or hands an entry to ParamBlock2::write.
#include "core/param_block2.h"

#include "inode.h"

#include <cmath>

namespace sim {

// ---- SetValue ------------------------------------------------------------------------------------

BOOL ParamBlock2::SetValue(ParamID id, TimeValue t, int v, int tabIndex) {
  int p, tab;
  if (!locate(id, tabIndex, p, tab)) return FALSE;
  if (writeDriven(p, tab, t, static_cast<float>(v))) return TRUE;
  switch (kindAt(p)) {
    case ParamKind::Int: return write(p, tab, Entry(std::in_place_type<int>, v));
    case ParamKind::Float: return write(p, tab, Entry(std::in_place_type<float>, static_cast<float>(v)));
    default: return FALSE;
  }
}

BOOL ParamBlock2::SetValue(ParamID id, TimeValue t, float v, int tabIndex) {
  int p, tab;
  if (!locate(id, tabIndex, p, tab)) return FALSE;
  if ((kindAt(p) == ParamKind::Int || kindAt(p) == ParamKind::Float) && writeDriven(p, tab, t, v)) return TRUE;
  switch (kindAt(p)) {
    case ParamKind::Float: return write(p, tab, Entry(std::in_place_type<float>, v));
    case ParamKind::Int: return write(p, tab, Entry(std::in_place_type<int>, static_cast<int>(v)));
    default: return FALSE;
  }
}

BOOL ParamBlock2::SetValue(ParamID id, TimeValue t, const ::Point3& v, int tabIndex) {
  int p, tab;
  if (!locate(id, tabIndex, p, tab) || kindAt(p) != ParamKind::Point3) return FALSE;
  if (writeDriven(p, tab, t, v)) return TRUE;
  return write(p, tab, Entry(std::in_place_type<::Point3>, v));
}

BOOL ParamBlock2::SetValue(ParamID id, TimeValue t, const Color& v, int tabIndex) {
  return SetValue(id, t, ::Point3(v.r, v.g, v.b), tabIndex);
}

BOOL ParamBlock2::SetValue(ParamID id, TimeValue t, const ::Point4& v, int tabIndex) {
  int p, tab;
  if (!locate(id, tabIndex, p, tab) || kindAt(p) != ParamKind::Point4) return FALSE;
  if (writeDriven(p, tab, t, v)) return TRUE;
  return write(p, tab, Entry(std::in_place_type<::Point4>, v));
}

BOOL ParamBlock2::SetValue(ParamID id, TimeValue t, const AColor& v, int tabIndex) {
  return SetValue(id, t, ::Point4(v.r, v.g, v.b, v.a), tabIndex);
}

BOOL ParamBlock2::SetValue(ParamID id, TimeValue, const TCHAR* v, int tabIndex) {
  int p, tab;
  if (!locate(id, tabIndex, p, tab) || kindAt(p) != ParamKind::String) return FALSE;
  return write(p, tab, Entry(std::in_place_type<StrEntry>, makeText(v)));
}

BOOL ParamBlock2::SetValue(ParamID id, TimeValue, const ::Matrix3& v, int tabIndex) {
  int p, tab;
  if (!locate(id, tabIndex, p, tab) || kindAt(p) != ParamKind::Matrix3) return FALSE;
  return write(p, tab, Entry(std::in_place_type<::Matrix3>, v));
}

BOOL ParamBlock2::SetValue(ParamID id, TimeValue, INode* v, int tabIndex) { return writeTarget(id, v, tabIndex); }

BOOL ParamBlock2::SetValue(ParamID id, TimeValue, ReferenceTarget* v, int tabIndex) { return writeTarget(id, v, tabIndex); }

// ---- GetValue ------------------------------------------------------------------------------------

BOOL ParamBlock2::GetValue(ParamID id, TimeValue t, int& v, Interval&, int tabIndex) {
  int p, tab;
  if (!locate(id, tabIndex, p, tab)) return FALSE;
  const Param& prm = params_[static_cast<size_t>(p)];
  if (float f = 0; (prm.kind == ParamKind::Int || prm.kind == ParamKind::Float) && readDriven(p, tab, t, f)) {
    v = static_cast<int>(std::lround(f));
    return TRUE;
  }
  const size_t k = static_cast<size_t>(tab);
  switch (prm.kind) {
    case ParamKind::Int: v = std::get<std::vector<int>>(prm.values)[k]; return TRUE;
    case ParamKind::Float: v = static_cast<int>(std::get<std::vector<float>>(prm.values)[k]); return TRUE;
    default: return FALSE;
  }
}

BOOL ParamBlock2::GetValue(ParamID id, TimeValue t, float& v, Interval&, int tabIndex) {
  int p, tab;
  if (!locate(id, tabIndex, p, tab)) return FALSE;
  const Param& prm = params_[static_cast<size_t>(p)];
  if ((prm.kind == ParamKind::Int || prm.kind == ParamKind::Float) && readDriven(p, tab, t, v)) return TRUE;
  const size_t k = static_cast<size_t>(tab);
  switch (prm.kind) {
    case ParamKind::Float: v = std::get<std::vector<float>>(prm.values)[k]; return TRUE;
    case ParamKind::Int: v = static_cast<float>(std::get<std::vector<int>>(prm.values)[k]); return TRUE;
    default: return FALSE;
  }
}

BOOL ParamBlock2::GetValue(ParamID id, TimeValue t, ::Point3& v, Interval&, int tabIndex) {
  int p, tab;
  if (!locate(id, tabIndex, p, tab) || kindAt(p) != ParamKind::Point3) return FALSE;
  if (readDriven(p, tab, t, v)) return TRUE;
  v = std::get<std::vector<::Point3>>(params_[static_cast<size_t>(p)].values)[static_cast<size_t>(tab)];
  return TRUE;
}

BOOL ParamBlock2::GetValue(ParamID id, TimeValue t, Color& v, Interval& ivalid, int tabIndex) {
  ::Point3 p;
  if (!GetValue(id, t, p, ivalid, tabIndex)) return FALSE;
  v = Color(p);
  return TRUE;
}

BOOL ParamBlock2::GetValue(ParamID id, TimeValue t, ::Point4& v, Interval&, int tabIndex) {
  int p, tab;
  if (!locate(id, tabIndex, p, tab) || kindAt(p) != ParamKind::Point4) return FALSE;
  if (readDriven(p, tab, t, v)) return TRUE;
  v = std::get<std::vector<::Point4>>(params_[static_cast<size_t>(p)].values)[static_cast<size_t>(tab)];
  return TRUE;
}

BOOL ParamBlock2::GetValue(ParamID id, TimeValue t, AColor& v, Interval& ivalid, int tabIndex) {
  ::Point4 p;
  if (!GetValue(id, t, p, ivalid, tabIndex)) return FALSE;
  v = AColor(p.x, p.y, p.z, p.w);
  return TRUE;
}

BOOL ParamBlock2::GetValue(ParamID id, TimeValue, const TCHAR*& v, Interval&, int tabIndex) {
  int p, tab;
  if (!locate(id, tabIndex, p, tab) || kindAt(p) != ParamKind::String) return FALSE;
  const StrEntry& s = std::get<std::vector<StrEntry>>(params_[static_cast<size_t>(p)].values)[static_cast<size_t>(tab)];
  v = s.get();
  return TRUE;
}

BOOL ParamBlock2::GetValue(ParamID id, TimeValue t, TCHAR*& v, Interval& ivalid, int tabIndex) {
  const TCHAR* s = nullptr;
  if (!GetValue(id, t, s, ivalid, tabIndex)) return FALSE;
  v = const_cast<TCHAR*>(s);  // the host's older form; the text must not be written through it
  return TRUE;
}

BOOL ParamBlock2::GetValue(ParamID id, TimeValue, ::Matrix3& v, Interval&, int tabIndex) {
  int p, tab;
  if (!locate(id, tabIndex, p, tab) || kindAt(p) != ParamKind::Matrix3) return FALSE;
  v = std::get<std::vector<::Matrix3>>(params_[static_cast<size_t>(p)].values)[static_cast<size_t>(tab)];
  return TRUE;
}

BOOL ParamBlock2::GetValue(ParamID id, TimeValue, ReferenceTarget*& v, Interval&, int tabIndex) {
  int p, tab;
  if (!locate(id, tabIndex, p, tab)) return FALSE;
  const ParamKind k = kindAt(p);
  if (k != ParamKind::Ref && k != ParamKind::OwnerRef && k != ParamKind::PlainRef) return FALSE;
  v = targetAt(p, tab);
  return TRUE;
}

BOOL ParamBlock2::GetValue(ParamID id, TimeValue t, INode*& v, Interval& ivalid, int tabIndex) {
  ReferenceTarget* r = nullptr;
  if (!GetValue(id, t, r, ivalid, tabIndex)) return FALSE;
  INode* node = dynamic_cast<INode*>(r);
  if (r && !node) return FALSE;
  v = node;
  return TRUE;
}

// ---- typed getters ---------------------------------------------------------------------------------

namespace {
template <class T, class Block> T read(Block* b, ParamID id, TimeValue t, int tabIndex, T fallback) {
  Interval valid = FOREVER;
  T v = fallback;
  return b->GetValue(id, t, v, valid, tabIndex) ? v : fallback;
}
}  // namespace

int ParamBlock2::GetInt(ParamID id, TimeValue t, int tabIndex) { return read<int>(this, id, t, tabIndex, 0); }
float ParamBlock2::GetFloat(ParamID id, TimeValue t, int tabIndex) { return read<float>(this, id, t, tabIndex, 0.0f); }
::Point3 ParamBlock2::GetPoint3(ParamID id, TimeValue t, int tabIndex) { return read<::Point3>(this, id, t, tabIndex, {}); }
::Point4 ParamBlock2::GetPoint4(ParamID id, TimeValue t, int tabIndex) { return read<::Point4>(this, id, t, tabIndex, {}); }
Color ParamBlock2::GetColor(ParamID id, TimeValue t, int tabIndex) { return read<Color>(this, id, t, tabIndex, {}); }
AColor ParamBlock2::GetAColor(ParamID id, TimeValue t, int tabIndex) { return read<AColor>(this, id, t, tabIndex, {}); }
const TCHAR* ParamBlock2::GetStr(ParamID id, TimeValue t, int tabIndex) {
  return read<const TCHAR*>(this, id, t, tabIndex, nullptr);
}
::Matrix3 ParamBlock2::GetMatrix3(ParamID id, TimeValue t, int tabIndex) { return read<::Matrix3>(this, id, t, tabIndex, {}); }
INode* ParamBlock2::GetINode(ParamID id, TimeValue t, int tabIndex) { return read<INode*>(this, id, t, tabIndex, nullptr); }
ReferenceTarget* ParamBlock2::GetReferenceTarget(ParamID id, TimeValue t, int tabIndex) {
  return read<ReferenceTarget*>(this, id, t, tabIndex, nullptr);
}

}  // namespace sim
