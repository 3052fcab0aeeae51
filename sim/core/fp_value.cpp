#include "core/fp_storage.h"

#include "bitarray.h"
#include "ifnpub.h"
#include "inode.h"
#include "matrix3.h"
#include "object.h"
#include "quat.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace sim {

FPStorage fpStorageOf(int type) {
  if (!fpTypeInRange(type)) return FPStorage::None;
  // By pointer and by reference reach the same place: a number the value owns.
  const bool byRef = (type & (TYPE_BY_REF | TYPE_BY_PTR)) != 0;
  const int base = base_type(type);
  if (is_tab(type)) {
    switch (base) {
      case TYPE_INT: case TYPE_BOOL: case TYPE_TIMEVALUE: case TYPE_RADIOBTN_INDEX: case TYPE_INDEX: case TYPE_ENUM:
        return FPStorage::IntTab;
      case TYPE_FLOAT: case TYPE_ANGLE: case TYPE_PCNT_FRAC: case TYPE_WORLD: case TYPE_COLOR_CHANNEL:
        return FPStorage::FloatTab;
      case TYPE_STRING: case TYPE_FILENAME: case TYPE_NAME: return FPStorage::StringTab;
      case TYPE_TSTR: return FPStorage::TStrTab;
      case TYPE_POINT2: return FPStorage::Point2Tab;
      case TYPE_POINT3: return FPStorage::Point3Tab;
      case TYPE_INODE: return FPStorage::NodeTab;
      case TYPE_MTL: return FPStorage::MtlTab;
      case TYPE_TEXMAP: return FPStorage::TexmapTab;
      case TYPE_REFTARG: return FPStorage::RefTargTab;
      case TYPE_CONTROL: return FPStorage::ControlTab;
      case TYPE_VALUE: return FPStorage::ValueTab;
      case TYPE_FPVALUE: return FPStorage::FPValueTab;
      default: return FPStorage::None;
    }
  }
  switch (base) {
    case TYPE_VOID: return FPStorage::Void;
    case TYPE_INT: case TYPE_BOOL: case TYPE_TIMEVALUE: case TYPE_RADIOBTN_INDEX: case TYPE_INDEX: case TYPE_ENUM:
      return byRef ? FPStorage::IntRef : FPStorage::Int;
    case TYPE_FLOAT: case TYPE_ANGLE: case TYPE_PCNT_FRAC: case TYPE_WORLD: case TYPE_COLOR_CHANNEL:
      return byRef ? FPStorage::FloatRef : FPStorage::Float;
    case TYPE_bool: return byRef ? FPStorage::BoolRef : FPStorage::Bool;
    case TYPE_DWORD: return byRef ? FPStorage::DwordRef : FPStorage::Dword;
    case TYPE_DOUBLE: return byRef ? FPStorage::DoubleRef : FPStorage::Double;
    case TYPE_INTPTR: return FPStorage::IntPtr;
    case TYPE_INT64: return FPStorage::Int64;
    case TYPE_STRING: case TYPE_FILENAME: case TYPE_NAME: return FPStorage::String;
    case TYPE_TSTR: return FPStorage::TStr;
    case TYPE_POINT2: return FPStorage::Point2;
    case TYPE_POINT3: case TYPE_HSV: return FPStorage::Point3;
    case TYPE_POINT4: return FPStorage::Point4;
    case TYPE_RGBA: case TYPE_COLOR: return FPStorage::Color;
    case TYPE_FRGBA: return FPStorage::AColor;
    case TYPE_MATRIX3: return FPStorage::Matrix3;
    case TYPE_QUAT: return FPStorage::Quat;
    case TYPE_INTERVAL: return FPStorage::Interval;
    case TYPE_BITARRAY: return FPStorage::BitArray;
    case TYPE_FPVALUE: return FPStorage::FPValue;
    case TYPE_INODE: return FPStorage::Node;
    case TYPE_MTL: return FPStorage::Mtl;
    case TYPE_TEXMAP: return FPStorage::Texmap;
    case TYPE_REFTARG: return FPStorage::RefTarg;
    case TYPE_CONTROL: return FPStorage::Control;
    case TYPE_OBJECT: return FPStorage::Object;
    case TYPE_CLASS: return FPStorage::ClassDesc;
    case TYPE_INTERFACE: return FPStorage::Interface;
    case TYPE_VALUE: return FPStorage::Value;
    case TYPE_MESH: return FPStorage::Mesh;
    case TYPE_PBLOCK2: return FPStorage::ParamBlock;
    case TYPE_HWND: return FPStorage::Pointer;
    default: return FPStorage::None;
  }
}

ParamType2 fpNaturalType(FPStorage s) {
  auto t = [](int v) { return static_cast<ParamType2>(v); };
  switch (s) {
    case FPStorage::None: case FPStorage::Void: return TYPE_VOID;
    case FPStorage::Int: return TYPE_INT;
    case FPStorage::Float: return TYPE_FLOAT;
    case FPStorage::Bool: return TYPE_bool;
    case FPStorage::Dword: return TYPE_DWORD;
    case FPStorage::IntPtr: return TYPE_INTPTR;
    case FPStorage::Int64: return TYPE_INT64;
    case FPStorage::Double: return TYPE_DOUBLE;
    case FPStorage::IntRef: return TYPE_INT_BR;
    case FPStorage::FloatRef: return TYPE_FLOAT_BR;
    case FPStorage::BoolRef: return t(TYPE_bool | TYPE_BY_REF);
    case FPStorage::DwordRef: return t(TYPE_DWORD | TYPE_BY_REF);
    case FPStorage::DoubleRef: return t(TYPE_DOUBLE | TYPE_BY_REF);
    case FPStorage::String: return TYPE_STRING;
    case FPStorage::TStr: return TYPE_TSTR;
    case FPStorage::Point2: return TYPE_POINT2;
    case FPStorage::Point3: return TYPE_POINT3;
    case FPStorage::Point4: return TYPE_POINT4;
    case FPStorage::Color: return TYPE_COLOR;
    case FPStorage::AColor: return TYPE_FRGBA;
    case FPStorage::Matrix3: return TYPE_MATRIX3;
    case FPStorage::Quat: return TYPE_QUAT;
    case FPStorage::Interval: return TYPE_INTERVAL;
    case FPStorage::BitArray: return TYPE_BITARRAY;
    case FPStorage::FPValue: return TYPE_FPVALUE;
    case FPStorage::Node: return TYPE_INODE;
    case FPStorage::Mtl: return TYPE_MTL;
    case FPStorage::Texmap: return TYPE_TEXMAP;
    case FPStorage::RefTarg: return TYPE_REFTARG;
    case FPStorage::Control: return TYPE_CONTROL;
    case FPStorage::Object: return TYPE_OBJECT;
    case FPStorage::ClassDesc: return TYPE_CLASS;
    case FPStorage::Interface: return TYPE_INTERFACE;
    case FPStorage::Value: return TYPE_VALUE;
    case FPStorage::Mesh: return TYPE_MESH;
    case FPStorage::ParamBlock: return TYPE_PBLOCK2;
    case FPStorage::Pointer: return TYPE_HWND;
    case FPStorage::IntTab: return TYPE_INT_TAB;
    case FPStorage::FloatTab: return TYPE_FLOAT_TAB;
    case FPStorage::StringTab: return TYPE_STRING_TAB;
    case FPStorage::TStrTab: return t(TYPE_TSTR | TYPE_TAB);
    case FPStorage::Point2Tab: return TYPE_POINT2_TAB;
    case FPStorage::Point3Tab: return TYPE_POINT3_TAB;
    case FPStorage::NodeTab: return TYPE_INODE_TAB;
    case FPStorage::MtlTab: return TYPE_MTL_TAB;
    case FPStorage::TexmapTab: return TYPE_TEXMAP_TAB;
    case FPStorage::RefTargTab: return TYPE_REFTARG_TAB;
    case FPStorage::ControlTab: return t(TYPE_CONTROL | TYPE_TAB);
    case FPStorage::ValueTab: return TYPE_VALUE_TAB;
    case FPStorage::FPValueTab: return t(TYPE_FPVALUE | TYPE_TAB);
  }
  return TYPE_VOID;
}

bool fpStorageIsDereferenced(FPStorage s) {
  switch (s) {
    case FPStorage::IntRef: case FPStorage::FloatRef: case FPStorage::BoolRef: case FPStorage::DwordRef:
    case FPStorage::DoubleRef: case FPStorage::TStr: case FPStorage::Point2: case FPStorage::Point3:
    case FPStorage::Point4: case FPStorage::Color: case FPStorage::AColor: case FPStorage::Matrix3:
    case FPStorage::Quat: case FPStorage::Interval: case FPStorage::BitArray:
    case FPStorage::IntTab: case FPStorage::FloatTab: case FPStorage::StringTab: case FPStorage::TStrTab:
    case FPStorage::Point2Tab: case FPStorage::Point3Tab: case FPStorage::NodeTab: case FPStorage::MtlTab:
    case FPStorage::TexmapTab: case FPStorage::RefTargTab: case FPStorage::ControlTab: case FPStorage::ValueTab:
    case FPStorage::FPValueTab:
      return true;
    default:
      return false;
  }
}

namespace {

// A nested value deeper than this is not copied: values built by hand can nest without end.
constexpr int kMaxNesting = 64;

TCHAR* copyText(const TCHAR* s) {
  if (!s) return nullptr;
  const size_t n = std::strlen(s);
  auto* out = new TCHAR[n + 1];
  std::memcpy(out, s, n + 1);
  return out;
}

template <class T>
T* copyOf(const T* p) {
  return p ? new T(*p) : nullptr;
}

// Tables of strings, points and nested values are handed to functions by reference, and a function
// may put entries of its own into them (a literal, a point it keeps). So a table remembers which
// entries it made and frees exactly those, whatever the entries are by then.
struct OwnedStringTab : Tab<const TCHAR*> {
  std::vector<std::unique_ptr<TCHAR[]>> owned;
};
template <class T>
struct OwnedPointerTab : Tab<T*> {
  std::vector<std::unique_ptr<T>> owned;
};

template <class T, class Copy>
Tab<T*>* copyTabOfCopies(const Tab<T*>* tab, Copy copy) {
  if (!tab) return nullptr;
  auto* out = new OwnedPointerTab<T>;
  out->SetCount(tab->Count());
  for (int k = 0; k < tab->Count(); ++k) {
    if (T* item = copy((*tab)[k])) {
      out->owned.emplace_back(item);
      (*out)[k] = item;
    }
  }
  return out;
}

template <class T>
Tab<T*>* copyTabOfCopies(const Tab<T*>* tab) {
  return copyTabOfCopies(tab, [](const T* item) { return copyOf(item); });
}

template <class T>
void deleteTabOfCopies(Tab<T*>* tab) {
  delete static_cast<OwnedPointerTab<T>*>(tab);
}

Tab<const TCHAR*>* copyStringTab(const Tab<const TCHAR*>* tab) {
  if (!tab) return nullptr;
  auto* out = new OwnedStringTab;
  out->SetCount(tab->Count());
  for (int k = 0; k < tab->Count(); ++k) {
    if (TCHAR* text = copyText((*tab)[k])) {
      out->owned.emplace_back(text);
      (*out)[k] = text;
    }
  }
  return out;
}

void deleteStringTab(Tab<const TCHAR*>* tab) { delete static_cast<OwnedStringTab*>(tab); }

void copyInto(FPValue& to, const FPValue& from, int depth);

FPValue* copyNested(const FPValue* v, int depth) {
  if (!v || depth >= kMaxNesting) return nullptr;
  auto* out = new FPValue;
  copyInto(*out, *v, depth + 1);
  return out;
}

// Fills an empty `to` with a deep copy of `from`.
void copyInto(FPValue& to, const FPValue& from, int depth) {
  const FPStorage s = fpStorageOf(from.type);
  to.type = from.type;
  switch (s) {
    case FPStorage::None: to.type = TYPE_VOID; return;
    case FPStorage::Void: return;
    case FPStorage::Int: to.i = from.i; return;
    case FPStorage::Float: to.f = from.f; return;
    case FPStorage::Bool: to.b = from.b; return;
    case FPStorage::Dword: to.d = from.d; return;
    case FPStorage::IntPtr: to.intptr = from.intptr; return;
    case FPStorage::Int64: to.i64 = from.i64; return;
    case FPStorage::Double: to.dbl = from.dbl; return;
    case FPStorage::IntRef: to.iptr = copyOf(from.iptr); return;
    case FPStorage::FloatRef: to.fptr = copyOf(from.fptr); return;
    case FPStorage::BoolRef: to.bptr = copyOf(from.bptr); return;
    case FPStorage::DwordRef: to.dptr = copyOf(from.dptr); return;
    case FPStorage::DoubleRef: to.dblptr = copyOf(from.dblptr); return;
    case FPStorage::String: to.s = copyText(from.s); return;
    case FPStorage::TStr: to.tstr = copyOf(from.tstr); return;
    case FPStorage::Point2: to.p2 = copyOf(from.p2); return;
    case FPStorage::Point3: to.p = copyOf(from.p); return;
    case FPStorage::Point4: to.p4 = copyOf(from.p4); return;
    case FPStorage::Color: to.clr = copyOf(from.clr); return;
    case FPStorage::AColor: to.aclr = copyOf(from.aclr); return;
    case FPStorage::Matrix3: to.m = copyOf(from.m); return;
    case FPStorage::Quat: to.q = copyOf(from.q); return;
    case FPStorage::Interval: to.intvl = copyOf(from.intvl); return;
    case FPStorage::BitArray: to.bits = copyOf(from.bits); return;
    case FPStorage::FPValue: to.fpv = copyNested(from.fpv, depth); return;
    case FPStorage::Node: to.n = from.n; return;
    case FPStorage::Mtl: to.mtl = from.mtl; return;
    case FPStorage::Texmap: to.tex = from.tex; return;
    case FPStorage::RefTarg: to.r = from.r; return;
    case FPStorage::Control: to.ctrl = from.ctrl; return;
    case FPStorage::Object: to.obj = from.obj; return;
    case FPStorage::ClassDesc: to.cd = from.cd; return;
    case FPStorage::Interface: to.fpi = from.fpi; return;
    case FPStorage::Value: to.v = from.v; return;
    case FPStorage::Mesh: to.msh = from.msh; return;
    case FPStorage::ParamBlock: to.pb = from.pb; return;
    case FPStorage::Pointer: to.ptr = from.ptr; return;
    case FPStorage::IntTab: to.i_tab = copyOf(from.i_tab); return;
    case FPStorage::FloatTab: to.f_tab = copyOf(from.f_tab); return;
    case FPStorage::StringTab: to.s_tab = copyStringTab(from.s_tab); return;
    case FPStorage::TStrTab: to.tstr_tab = copyTabOfCopies(from.tstr_tab); return;
    case FPStorage::Point2Tab: to.p2_tab = copyTabOfCopies(from.p2_tab); return;
    case FPStorage::Point3Tab: to.p_tab = copyTabOfCopies(from.p_tab); return;
    case FPStorage::NodeTab: to.n_tab = copyOf(from.n_tab); return;
    case FPStorage::MtlTab: to.mtl_tab = copyOf(from.mtl_tab); return;
    case FPStorage::TexmapTab: to.tex_tab = copyOf(from.tex_tab); return;
    case FPStorage::RefTargTab: to.r_tab = copyOf(from.r_tab); return;
    case FPStorage::ControlTab: to.ctrl_tab = copyOf(from.ctrl_tab); return;
    case FPStorage::ValueTab: to.v_tab = copyOf(from.v_tab); return;
    case FPStorage::FPValueTab:
      to.fpv_tab = copyTabOfCopies(from.fpv_tab, [depth](const FPValue* v) { return copyNested(v, depth); });
      return;
  }
}

// The pointer an accessor dereferences, for storages that have one.
const void* heldPointer(const FPValue& v, FPStorage s) {
  switch (s) {
    case FPStorage::IntRef: return v.iptr;
    case FPStorage::FloatRef: return v.fptr;
    case FPStorage::BoolRef: return v.bptr;
    case FPStorage::DwordRef: return v.dptr;
    case FPStorage::DoubleRef: return v.dblptr;
    case FPStorage::TStr: return v.tstr;
    case FPStorage::Point2: return v.p2;
    case FPStorage::Point3: return v.p;
    case FPStorage::Point4: return v.p4;
    case FPStorage::Color: return v.clr;
    case FPStorage::AColor: return v.aclr;
    case FPStorage::Matrix3: return v.m;
    case FPStorage::Quat: return v.q;
    case FPStorage::Interval: return v.intvl;
    case FPStorage::BitArray: return v.bits;
    case FPStorage::FPValue: return v.fpv;
    case FPStorage::Node: return v.n;
    case FPStorage::Mtl: return v.mtl;
    case FPStorage::Texmap: return v.tex;
    case FPStorage::RefTarg: return v.r;
    case FPStorage::Control: return v.ctrl;
    case FPStorage::Object: return v.obj;
    case FPStorage::ClassDesc: return v.cd;
    case FPStorage::Interface: return v.fpi;
    case FPStorage::Value: return v.v;
    case FPStorage::Mesh: return v.msh;
    case FPStorage::ParamBlock: return v.pb;
    case FPStorage::Pointer: return v.ptr;
    case FPStorage::IntTab: return v.i_tab;
    case FPStorage::FloatTab: return v.f_tab;
    case FPStorage::StringTab: return v.s_tab;
    case FPStorage::TStrTab: return v.tstr_tab;
    case FPStorage::Point2Tab: return v.p2_tab;
    case FPStorage::Point3Tab: return v.p_tab;
    case FPStorage::NodeTab: return v.n_tab;
    case FPStorage::MtlTab: return v.mtl_tab;
    case FPStorage::TexmapTab: return v.tex_tab;
    case FPStorage::RefTargTab: return v.r_tab;
    case FPStorage::ControlTab: return v.ctrl_tab;
    case FPStorage::ValueTab: return v.v_tab;
    case FPStorage::FPValueTab: return v.fpv_tab;
    default: return nullptr;
  }
}

float toFloat(double d) {
  if (d > FLT_MAX) return std::numeric_limits<float>::infinity();
  if (d < -FLT_MAX) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(d);  // NaN stays NaN
}

// Loads a number into whatever numeric member `type` stores in; a fraction never goes into an
// integer member. Answers false when `type` does not store numbers that way.
bool loadNumber(FPValue& out, int type, std::int64_t iv, double dv, bool fraction) {
  out.type = static_cast<ParamType2>(type);
  switch (fpStorageOf(type)) {
    case FPStorage::Float: out.f = fraction ? toFloat(dv) : static_cast<float>(iv); return true;
    case FPStorage::Double: out.dbl = fraction ? dv : static_cast<double>(iv); return true;
    case FPStorage::FloatRef: out.fptr = new float(fraction ? toFloat(dv) : static_cast<float>(iv)); return true;
    case FPStorage::DoubleRef: out.dblptr = new double(fraction ? dv : static_cast<double>(iv)); return true;
    default: break;
  }
  if (fraction) return false;
  switch (fpStorageOf(type)) {
    case FPStorage::Int: out.i = static_cast<int>(iv); return true;
    case FPStorage::Bool: out.b = iv != 0; return true;
    case FPStorage::Dword: out.d = static_cast<DWORD>(iv); return true;
    case FPStorage::IntPtr: out.intptr = static_cast<INT_PTR>(iv); return true;
    case FPStorage::Int64: out.i64 = iv; return true;
    case FPStorage::IntRef: out.iptr = new int(static_cast<int>(iv)); return true;
    case FPStorage::BoolRef: out.bptr = new bool(iv != 0); return true;
    case FPStorage::DwordRef: out.dptr = new DWORD(static_cast<DWORD>(iv)); return true;
    default: return false;
  }
}

void loadNumberOr(FPValue& self, int type, ParamType2 natural, std::int64_t iv, double dv, bool fraction) {
  FPValue tmp;
  if (!loadNumber(tmp, type, iv, dv, fraction)) loadNumber(tmp, natural, iv, dv, fraction);
  self = std::move(tmp);
}

// Builds the new content first and frees the old one after, so that loading a value from a part
// of itself (v.Load(TYPE_STRING, v.s)) reads what it copies before it is freed.
template <class Fill>
void replace(FPValue& self, Fill fill) {
  FPValue tmp;
  fill(tmp);
  self = std::move(tmp);
}

// Stores `value` in `member` when `type` stores there, else under the value's own type.
template <class T>
void loadPointer(FPValue& self, int type, FPStorage storage, T* value, T* FPValue::*member) {
  replace(self, [&](FPValue& v) {
    v.type = fpStorageOf(type) == storage ? static_cast<ParamType2>(type) : fpNaturalType(storage);
    v.*member = value;
  });
}

template <class T, class Copy>
void loadCopy(FPValue& self, int type, FPStorage storage, const T& value, T* FPValue::*member, Copy copy) {
  replace(self, [&](FPValue& v) {
    v.type = fpStorageOf(type) == storage ? static_cast<ParamType2>(type) : fpNaturalType(storage);
    v.*member = copy(value);
  });
}

template <class T>
T* newCopy(const T& value) {
  return new T(value);
}

}  // namespace
}  // namespace sim

using sim::FPStorage;
using sim::fpStorageOf;

FPValue::FPValue(const FPValue& from) : i64(0) { sim::copyInto(*this, from, 0); }

FPValue::FPValue(FPValue&& from) noexcept : type(from.type), i64(0) {
  static_assert(sizeof(std::int64_t) >= sizeof(void*), "the union is as wide as its 64-bit members");
  std::memcpy(&i64, &from.i64, sizeof(i64));
  from.type = TYPE_VOID;
  from.i64 = 0;
}

FPValue& FPValue::operator=(const FPValue& from) {
  if (this != &from) {
    FPValue copy(from);  // copied before anything of ours is freed: `from` may be a part of us
    *this = std::move(copy);
  }
  return *this;
}

FPValue& FPValue::operator=(FPValue&& from) noexcept {
  if (this != &from) {
    FPValue old;
    old.type = type;
    std::memcpy(&old.i64, &i64, sizeof(i64));
    type = from.type;
    std::memcpy(&i64, &from.i64, sizeof(i64));
    from.type = TYPE_VOID;
    from.i64 = 0;
    // `old` frees our previous content after we took over `from`, which it may have owned.
  }
  return *this;
}

void FPValue::Free() {
  switch (fpStorageOf(type)) {
    case FPStorage::IntRef: delete iptr; break;
    case FPStorage::FloatRef: delete fptr; break;
    case FPStorage::BoolRef: delete bptr; break;
    case FPStorage::DwordRef: delete dptr; break;
    case FPStorage::DoubleRef: delete dblptr; break;
    case FPStorage::String: delete[] s; break;
    case FPStorage::TStr: delete tstr; break;
    case FPStorage::Point2: delete p2; break;
    case FPStorage::Point3: delete p; break;
    case FPStorage::Point4: delete p4; break;
    case FPStorage::Color: delete clr; break;
    case FPStorage::AColor: delete aclr; break;
    case FPStorage::Matrix3: delete m; break;
    case FPStorage::Quat: delete q; break;
    case FPStorage::Interval: delete intvl; break;
    case FPStorage::BitArray: delete bits; break;
    case FPStorage::FPValue: delete fpv; break;
    case FPStorage::IntTab: delete i_tab; break;
    case FPStorage::FloatTab: delete f_tab; break;
    case FPStorage::StringTab: sim::deleteStringTab(s_tab); break;
    case FPStorage::TStrTab: sim::deleteTabOfCopies(tstr_tab); break;
    case FPStorage::Point2Tab: sim::deleteTabOfCopies(p2_tab); break;
    case FPStorage::Point3Tab: sim::deleteTabOfCopies(p_tab); break;
    case FPStorage::FPValueTab: sim::deleteTabOfCopies(fpv_tab); break;
    case FPStorage::NodeTab: delete n_tab; break;
    case FPStorage::MtlTab: delete mtl_tab; break;
    case FPStorage::TexmapTab: delete tex_tab; break;
    case FPStorage::RefTargTab: delete r_tab; break;
    case FPStorage::ControlTab: delete ctrl_tab; break;
    case FPStorage::ValueTab: delete v_tab; break;
    default: break;
  }
  type = TYPE_VOID;
  i64 = 0;
}

// ---- Load ------------------------------------------------------------------------------------------

void FPValue::Load(int t, int value) { sim::loadNumberOr(*this, t, TYPE_INT, value, 0, false); }
void FPValue::Load(int t, DWORD value) { sim::loadNumberOr(*this, t, TYPE_DWORD, value, 0, false); }
void FPValue::Load(int t, bool value) { sim::loadNumberOr(*this, t, TYPE_bool, value ? 1 : 0, 0, false); }
void FPValue::Load(int t, std::int64_t value) { sim::loadNumberOr(*this, t, TYPE_INT64, value, 0, false); }
void FPValue::Load(int t, float value) { sim::loadNumberOr(*this, t, TYPE_FLOAT, 0, value, true); }
void FPValue::Load(int t, double value) { sim::loadNumberOr(*this, t, TYPE_DOUBLE, 0, value, true); }

void FPValue::Load(int t, const TCHAR* value) {
  sim::replace(*this, [&](FPValue& v) {
    if (fpStorageOf(t) == FPStorage::TStr) {
      v.type = static_cast<ParamType2>(t);
      v.tstr = new TSTR(value);
      return;
    }
    v.type = fpStorageOf(t) == FPStorage::String ? static_cast<ParamType2>(t) : TYPE_STRING;
    v.s = sim::copyText(value);
  });
}

void FPValue::Load(int t, const TSTR& value) {
  if (fpStorageOf(t) == FPStorage::String) return Load(t, value.data());
  sim::loadCopy(*this, t, FPStorage::TStr, value, &FPValue::tstr, sim::newCopy<TSTR>);
}

void FPValue::Load(int t, const Point2& value) {
  sim::loadCopy(*this, t, FPStorage::Point2, value, &FPValue::p2, sim::newCopy<Point2>);
}

void FPValue::Load(int t, const Point3& value) {
  if (fpStorageOf(t) == FPStorage::Color) return Load(t, Color(value));
  sim::loadCopy(*this, t, FPStorage::Point3, value, &FPValue::p, sim::newCopy<Point3>);
}

void FPValue::Load(int t, const Point4& value) {
  if (fpStorageOf(t) == FPStorage::AColor) return Load(t, AColor(value.x, value.y, value.z, value.w));
  sim::loadCopy(*this, t, FPStorage::Point4, value, &FPValue::p4, sim::newCopy<Point4>);
}

void FPValue::Load(int t, const Color& value) {
  if (fpStorageOf(t) == FPStorage::Point3) return Load(t, Point3(value));
  if (fpStorageOf(t) == FPStorage::AColor) return Load(t, AColor(value));
  sim::loadCopy(*this, t, FPStorage::Color, value, &FPValue::clr, sim::newCopy<Color>);
}

void FPValue::Load(int t, const AColor& value) {
  if (fpStorageOf(t) == FPStorage::Point4) return Load(t, Point4(value.r, value.g, value.b, value.a));
  sim::loadCopy(*this, t, FPStorage::AColor, value, &FPValue::aclr, sim::newCopy<AColor>);
}

void FPValue::Load(int t, const Matrix3& value) {
  sim::loadCopy(*this, t, FPStorage::Matrix3, value, &FPValue::m, sim::newCopy<Matrix3>);
}
void FPValue::Load(int t, const Quat& value) {
  sim::loadCopy(*this, t, FPStorage::Quat, value, &FPValue::q, sim::newCopy<Quat>);
}
void FPValue::Load(int t, const Interval& value) {
  sim::loadCopy(*this, t, FPStorage::Interval, value, &FPValue::intvl, sim::newCopy<Interval>);
}
void FPValue::Load(int t, const BitArray& value) {
  sim::loadCopy(*this, t, FPStorage::BitArray, value, &FPValue::bits, sim::newCopy<BitArray>);
}
void FPValue::Load(int t, const FPValue& value) {
  sim::loadCopy(*this, t, FPStorage::FPValue, value, &FPValue::fpv, [](const FPValue& v) { return new FPValue(v); });
}

void FPValue::Load(int t, INode* value) {
  // A node is a reference target: a function declared to answer one may answer a node.
  if (fpStorageOf(t) == FPStorage::RefTarg) return Load(t, static_cast<ReferenceTarget*>(value));
  sim::loadPointer(*this, t, FPStorage::Node, value, &FPValue::n);
}
void FPValue::Load(int t, Object* value) {
  if (fpStorageOf(t) == FPStorage::RefTarg) return Load(t, static_cast<ReferenceTarget*>(value));
  sim::loadPointer(*this, t, FPStorage::Object, value, &FPValue::obj);
}
void FPValue::Load(int t, Mtl* value) { sim::loadPointer(*this, t, FPStorage::Mtl, value, &FPValue::mtl); }
void FPValue::Load(int t, Texmap* value) { sim::loadPointer(*this, t, FPStorage::Texmap, value, &FPValue::tex); }
void FPValue::Load(int t, ReferenceTarget* value) { sim::loadPointer(*this, t, FPStorage::RefTarg, value, &FPValue::r); }
void FPValue::Load(int t, Control* value) { sim::loadPointer(*this, t, FPStorage::Control, value, &FPValue::ctrl); }
void FPValue::Load(int t, ClassDesc* value) { sim::loadPointer(*this, t, FPStorage::ClassDesc, value, &FPValue::cd); }
void FPValue::Load(int t, FPInterface* value) { sim::loadPointer(*this, t, FPStorage::Interface, value, &FPValue::fpi); }
void FPValue::Load(int t, Value* value) { sim::loadPointer(*this, t, FPStorage::Value, value, &FPValue::v); }
void FPValue::Load(int t, Mesh* value) { sim::loadPointer(*this, t, FPStorage::Mesh, value, &FPValue::msh); }
void FPValue::Load(int t, IParamBlock2* value) { sim::loadPointer(*this, t, FPStorage::ParamBlock, value, &FPValue::pb); }
void FPValue::Load(int t, void* value) { sim::loadPointer(*this, t, FPStorage::Pointer, value, &FPValue::ptr); }

void FPValue::Load(int t, std::nullptr_t) {
  Free();
  // Every member that points reads null after Free; numbers read 0.
  const FPStorage s = fpStorageOf(t);
  type = s == FPStorage::None ? TYPE_VOID : static_cast<ParamType2>(t);
}

void FPValue::Load(int t, const Tab<int>& value) {
  sim::loadCopy(*this, t, FPStorage::IntTab, value, &FPValue::i_tab, sim::newCopy<Tab<int>>);
}
void FPValue::Load(int t, const Tab<float>& value) {
  sim::loadCopy(*this, t, FPStorage::FloatTab, value, &FPValue::f_tab, sim::newCopy<Tab<float>>);
}
void FPValue::Load(int t, const Tab<const TCHAR*>& value) {
  sim::loadCopy(*this, t, FPStorage::StringTab, value, &FPValue::s_tab,
                [](const Tab<const TCHAR*>& tab) { return sim::copyStringTab(&tab); });
}
void FPValue::Load(int t, const Tab<TSTR*>& value) {
  sim::loadCopy(*this, t, FPStorage::TStrTab, value, &FPValue::tstr_tab,
                [](const Tab<TSTR*>& tab) { return sim::copyTabOfCopies(&tab); });
}
void FPValue::Load(int t, const Tab<Point2*>& value) {
  sim::loadCopy(*this, t, FPStorage::Point2Tab, value, &FPValue::p2_tab,
                [](const Tab<Point2*>& tab) { return sim::copyTabOfCopies(&tab); });
}
void FPValue::Load(int t, const Tab<Point3*>& value) {
  sim::loadCopy(*this, t, FPStorage::Point3Tab, value, &FPValue::p_tab,
                [](const Tab<Point3*>& tab) { return sim::copyTabOfCopies(&tab); });
}
void FPValue::Load(int t, const Tab<INode*>& value) {
  sim::loadCopy(*this, t, FPStorage::NodeTab, value, &FPValue::n_tab, sim::newCopy<Tab<INode*>>);
}
void FPValue::Load(int t, const Tab<Mtl*>& value) {
  sim::loadCopy(*this, t, FPStorage::MtlTab, value, &FPValue::mtl_tab, sim::newCopy<Tab<Mtl*>>);
}
void FPValue::Load(int t, const Tab<Texmap*>& value) {
  sim::loadCopy(*this, t, FPStorage::TexmapTab, value, &FPValue::tex_tab, sim::newCopy<Tab<Texmap*>>);
}
void FPValue::Load(int t, const Tab<ReferenceTarget*>& value) {
  sim::loadCopy(*this, t, FPStorage::RefTargTab, value, &FPValue::r_tab, sim::newCopy<Tab<ReferenceTarget*>>);
}
void FPValue::Load(int t, const Tab<Control*>& value) {
  sim::loadCopy(*this, t, FPStorage::ControlTab, value, &FPValue::ctrl_tab, sim::newCopy<Tab<Control*>>);
}
void FPValue::Load(int t, const Tab<Value*>& value) {
  sim::loadCopy(*this, t, FPStorage::ValueTab, value, &FPValue::v_tab, sim::newCopy<Tab<Value*>>);
}
void FPValue::Load(int t, const Tab<FPValue*>& value) {
  sim::loadCopy(*this, t, FPStorage::FPValueTab, value, &FPValue::fpv_tab, [](const Tab<FPValue*>& tab) {
    return sim::copyTabOfCopies(&tab, [](const FPValue* v) { return sim::copyNested(v, 0); });
  });
}

bool FPArgMatches(const FPValue& v, int type) {
  const FPStorage want = fpStorageOf(type);
  if (want == FPStorage::None || want == FPStorage::Void || fpStorageOf(v.type) != want) return false;
  // Accessors of by-reference object types (TYPE_INODE_BR) dereference the object as well.
  const bool dereferenced = sim::fpStorageIsDereferenced(want) || (type & TYPE_BY_REF) != 0;
  return !dereferenced || sim::heldPointer(v, want) != nullptr;
}
