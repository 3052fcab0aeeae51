// Reading a descriptor table: the functions, properties and enumerations of an interface, in the
// order and shape plug-ins write them. A table is read entry by entry; the first entry that does
// not fit stops the reading, and the descriptor keeps every definition completed before it.
#include "core/fp_storage.h"

#include "ifnpub.h"
#include "iparamb2.h"  // p_end
#include "plugapi.h"

#include <climits>
#include <iterator>
#include <memory>
#include <string>

namespace {

using sim::FPStorage;
using sim::fpStorageOf;
using sim::fpTypeInRange;

// Bounds that no real interface comes near; a count beyond them is a table gone wrong.
constexpr long long kMaxFunctions = 4096;
constexpr long long kMaxParams = 64;
constexpr long long kMaxEnumCodes = 4096;

class TableReader {
 public:
  TableReader(const FPDescItem* items, int count) : items_(items), count_(items ? count : 0) {}

  bool atEnd() const { return pos_ >= count_; }
  bool nextIsInt(long long value) const {
    return !atEnd() && items_[pos_].kind == FPDescItem::kInt && items_[pos_].i == value;
  }
  bool nextIsTagIn(const int* tags, int n) const {
    for (int k = 0; k < n; ++k)
      if (nextIsInt(tags[k])) return true;
    return false;
  }
  void skip() { ++pos_; }
  void unread() {
    if (pos_ > 0) --pos_;
  }

  bool readInt(long long& out, const char* what) {
    if (atEnd() || items_[pos_].kind != FPDescItem::kInt) return fail(std::string(what) + " expected");
    out = items_[pos_++].i;
    return true;
  }
  bool readInt(long long& out, long long lo, long long hi, const char* what) {
    if (!readInt(out, what)) return false;
    if (out < lo || out > hi) {
      unread();
      return fail(std::string(what) + " out of range (" + std::to_string(out) + ")");
    }
    return true;
  }
  bool readText(const TCHAR*& out, const char* what) {
    if (atEnd() || items_[pos_].kind != FPDescItem::kText || !items_[pos_].ptr) return fail(std::string(what) + " expected");
    out = static_cast<const TCHAR*>(items_[pos_++].ptr);
    return true;
  }
  bool readPointer(const void*& out, const char* what) {
    if (atEnd() || (items_[pos_].kind != FPDescItem::kPointer && items_[pos_].kind != FPDescItem::kText))
      return fail(std::string(what) + " expected");
    out = items_[pos_++].ptr;
    return true;
  }
  // A value of parameter type `type` (a default or a range limit).
  bool readValue(FPValue& out, int type, const char* what) {
    if (atEnd()) return fail(std::string(what) + " expected");
    const FPDescItem& it = items_[pos_];
    const FPStorage want = fpStorageOf(type);
    switch (it.kind) {
      case FPDescItem::kInt: out.Load(type, static_cast<std::int64_t>(it.i)); break;
      case FPDescItem::kReal: out.Load(type, it.real); break;
      case FPDescItem::kText: out.Load(type, static_cast<const TCHAR*>(it.ptr)); break;
      case FPDescItem::kPoint3: out.Load(type, Point3(it.pt[0], it.pt[1], it.pt[2])); break;
      case FPDescItem::kPointer: loadPointer(out, type, want, const_cast<void*>(it.ptr)); break;
    }
    if (fpStorageOf(out.type) != want) {
      out.Free();
      return fail(std::string(what) + " does not fit the parameter's type");
    }
    ++pos_;
    return true;
  }

  bool fail(const std::string& why) {
    if (error_.empty()) error_ = "entry " + std::to_string(pos_ + 1) + ": " + why;
    return false;
  }
  const std::string& error() const { return error_; }

 private:
  static void loadPointer(FPValue& out, int type, FPStorage want, void* p) {
    if (!p) return out.Load(type, nullptr);
    switch (want) {
      case FPStorage::Node: return out.Load(type, static_cast<INode*>(p));
      case FPStorage::Mtl: return out.Load(type, static_cast<Mtl*>(p));
      case FPStorage::Texmap: return out.Load(type, static_cast<Texmap*>(p));
      case FPStorage::RefTarg: return out.Load(type, static_cast<ReferenceTarget*>(p));
      case FPStorage::Control: return out.Load(type, static_cast<Control*>(p));
      case FPStorage::Object: return out.Load(type, static_cast<Object*>(p));
      case FPStorage::ClassDesc: return out.Load(type, static_cast<ClassDesc*>(p));
      case FPStorage::Interface: return out.Load(type, static_cast<FPInterface*>(p));
      case FPStorage::Value: return out.Load(type, static_cast<Value*>(p));
      case FPStorage::Pointer: return out.Load(type, p);
      default: out.Free(); return;  // a pointer cannot give a number or a copy
    }
  }

  const FPDescItem* items_;
  int count_;
  int pos_ = 0;
  std::string error_;
};

constexpr int kParamTags[] = {f_range, f_validator, f_inOut, f_keyArgDefault, f_index};
constexpr int kFunctionTags[] = {f_category, f_predicates, f_isEnabled, f_isChecked, f_isVisible, f_iconRes,
                                 f_icon, f_buttonText, f_toolTip, f_menuText, f_shortCut, f_macroEmitter};
constexpr int kNumParamTags = static_cast<int>(std::size(kParamTags));
constexpr int kNumFunctionTags = static_cast<int>(std::size(kFunctionTags));

bool readType(TableReader& r, ParamType2& type, EnumID& enumID, const char* what) {
  long long t = 0;
  if (!r.readInt(t, 0, 0x7FFF, what)) return false;
  type = static_cast<ParamType2>(t);
  // An enumerated type names its enumeration right after it.
  if (base_type(type) == TYPE_ENUM) {
    long long id = 0;
    if (!r.readInt(id, 0, SHRT_MAX, "an enumeration id")) return false;
    enumID = static_cast<EnumID>(id);
  }
  return true;
}

FPParamOptions& optionsOf(FPParamDef& pd) {
  if (!pd.options) pd.options = new FPParamOptions;
  return *pd.options;
}

// parameter option -> f_range low high | f_validator ptr | f_inOut flags | f_keyArgDefault value | f_index
bool readParamOption(TableReader& r, FPParamDef& pd, FPFunctionDef* fn) {
  long long tag = 0;
  r.readInt(tag, "an option");
  switch (tag) {
    case f_range: {
      FPParamOptions& o = optionsOf(pd);
      if (!r.readValue(o.range_low, pd.type, "the low end of a range") ||
          !r.readValue(o.range_high, pd.type, "the high end of a range"))
        return false;
      pd.flags |= FPP_HAS_RANGE;
      return true;
    }
    case f_validator: {
      const void* v = nullptr;
      if (!r.readPointer(v, "a validator")) return false;
      optionsOf(pd).validator = static_cast<FPValidator*>(const_cast<void*>(v));
      pd.flags |= FPP_HAS_VALIDATOR;
      return true;
    }
    case f_inOut: {
      long long io = 0;
      if (!r.readInt(io, 0, FPP_IN_OUT_PARAM, "in/out flags")) return false;
      pd.flags = static_cast<WORD>((pd.flags & ~FPP_IN_OUT_PARAM) | io);
      return true;
    }
    case f_keyArgDefault: {
      if (!r.readValue(optionsOf(pd).keyarg_default, pd.type, "a default")) return false;
      if (!(pd.flags & FPP_KEYARG) && fn) {
        ++fn->keyparam_count;
        fn->flags |= FP_HAS_KEYARGS;
      }
      pd.flags |= FPP_KEYARG;
      return true;
    }
    case f_index: pd.flags |= FPP_INDEX; return true;
    default: return r.fail("unknown parameter option");
  }
}

FPActionDef& actionOf(FPFunctionDef& fn) {
  if (!fn.action_def) fn.action_def = new FPActionDef;
  fn.flags |= FP_ACTION;
  return *fn.action_def;
}

bool readFunctionId(TableReader& r, FunctionID& out, const char* what) {
  long long id = 0;
  if (!r.readInt(id, -1, SHRT_MAX, what)) return false;
  out = static_cast<FunctionID>(id);
  return true;
}

bool readResId(TableReader& r, StringResID& out, const char* what) {
  long long id = 0;
  if (!r.readInt(id, INT_MIN, INT_MAX, what)) return false;
  out = static_cast<StringResID>(id);
  return true;
}

// function option -> f_category name id | f_predicates e c v | f_isEnabled id | ... | f_macroEmitter ptr
bool readFunctionOption(TableReader& r, FPFunctionDef& fn) {
  long long tag = 0;
  r.readInt(tag, "an option");
  FPActionDef& a = actionOf(fn);
  switch (tag) {
    case f_category: {
      const TCHAR* cat = nullptr;
      if (!r.readText(cat, "a category name") || !readResId(r, a.category, "a category string id")) return false;
      a.internal_cat = cat;
      return true;
    }
    case f_predicates:
      return readFunctionId(r, a.isEnabled_id, "an isEnabled function id") &&
             readFunctionId(r, a.isChecked_id, "an isChecked function id") &&
             readFunctionId(r, a.isVisible_id, "an isVisible function id");
    case f_isEnabled: return readFunctionId(r, a.isEnabled_id, "an isEnabled function id");
    case f_isChecked: return readFunctionId(r, a.isChecked_id, "an isChecked function id");
    case f_isVisible: return readFunctionId(r, a.isVisible_id, "an isVisible function id");
    case f_iconRes: {
      long long id = 0;
      if (!r.readInt(id, INT_MIN, INT_MAX, "an icon resource id")) return false;
      a.icon_resID = static_cast<int>(id);
      fn.flags |= FP_ICONRES;
      return true;
    }
    case f_icon: {
      const TCHAR* file = nullptr;
      long long index = 0;
      if (!r.readText(file, "an icon file") || !r.readInt(index, SHRT_MIN, SHRT_MAX, "an icon index")) return false;
      a.icon_file = file;
      a.icon_index = static_cast<short>(index);
      fn.flags |= FP_ICONFILE;
      return true;
    }
    case f_buttonText: return readResId(r, a.button_text, "a button text string id");
    case f_toolTip: return readResId(r, a.tool_tip, "a tool tip string id");
    case f_menuText: return readResId(r, a.menu_text, "a menu text string id");
    case f_shortCut: {
      long long flags = 0, key = 0;
      if (!r.readInt(flags, INT_MIN, INT_MAX, "shortcut flags") || !r.readInt(key, INT_MIN, INT_MAX, "a shortcut key"))
        return false;
      a.shortcut_flags = static_cast<int>(flags);
      a.shortcut_key = static_cast<int>(key);
      fn.flags |= FP_HAS_SHORTCUT;
      return true;
    }
    case f_macroEmitter: {
      const void* ignored = nullptr;
      return r.readPointer(ignored, "a macro emitter");
    }
    default: return r.fail("unknown function option");
  }
}

// function -> id name descr result_type [enum_id] flags count {param}
// param -> name descr type [enum_id] {parameter option}
bool readFunction(TableReader& r, FPInterfaceDesc& d) {
  if (d.functions.Count() >= kMaxFunctions) return r.fail("too many functions");
  long long id = 0;
  if (!r.readInt(id, 0, SHRT_MAX, "a function id")) return false;
  if (d.GetFnDef(static_cast<FunctionID>(id))) {
    r.unread();
    return r.fail("function id " + std::to_string(id) + " used twice");
  }
  auto fn = std::make_unique<FPFunctionDef>();
  fn->ID = static_cast<FunctionID>(id);
  const TCHAR* name = nullptr;
  long long flags = 0, count = 0;
  if (!r.readText(name, "a function name") || !readResId(r, fn->description, "a description string id") ||
      !readType(r, fn->result_type, fn->enumID, "a result type") || !r.readInt(flags, 0, 0xFFFF, "function flags") ||
      !r.readInt(count, 0, kMaxParams, "an argument count"))
    return false;
  fn->internal_name = name;
  fn->flags = static_cast<WORD>(flags);
  for (long long k = 0; k < count; ++k) {
    auto* pd = new FPParamDef;
    fn->params.Append(1, &pd);  // owned by the function from here on
    const TCHAR* pname = nullptr;
    if (!r.readText(pname, "a parameter name") || !readResId(r, pd->description, "a description string id") ||
        !readType(r, pd->type, pd->enumID, "a parameter type"))
      return false;
    pd->internal_name = pname;
    while (r.nextIsTagIn(kParamTags, kNumParamTags))
      if (!readParamOption(r, *pd, fn.get())) return false;
  }
  while (r.nextIsTagIn(kFunctionTags, kNumFunctionTags))
    if (!readFunctionOption(r, *fn)) return false;
  if (r.nextIsTagIn(kParamTags, kNumParamTags)) return r.fail("a parameter option with no parameter before it");
  FPFunctionDef* done = fn.release();
  d.functions.Append(1, &done);
  return true;
}

// property -> getter_id setter_id name descr type [enum_id] {parameter option}
bool readProperty(TableReader& r, FPInterfaceDesc& d) {
  if (d.props.Count() >= kMaxFunctions) return r.fail("too many properties");
  auto prop = std::make_unique<FPPropDef>();
  const TCHAR* name = nullptr;
  if (!readFunctionId(r, prop->getter_ID, "a getter function id") ||
      !readFunctionId(r, prop->setter_ID, "a setter function id") || !r.readText(name, "a property name") ||
      !readResId(r, prop->description, "a description string id") ||
      !readType(r, prop->prop_type, prop->enumID, "a property type"))
    return false;
  prop->internal_name = name;
  while (r.nextIsTagIn(kParamTags, kNumParamTags)) {
    if (!prop->setter_param) {
      prop->setter_param = new FPParamDef;
      prop->setter_param->internal_name = name;
      prop->setter_param->type = prop->prop_type;
      prop->setter_param->enumID = prop->enumID;
    }
    if (!readParamOption(r, *prop->setter_param, nullptr)) return false;
  }
  FPPropDef* done = prop.release();
  d.props.Append(1, &done);
  return true;
}

// enumeration -> id count {name code}
bool readEnum(TableReader& r, FPInterfaceDesc& d) {
  if (d.enumerations.Count() >= kMaxFunctions) return r.fail("too many enumerations");
  long long id = 0, count = 0;
  if (!r.readInt(id, 0, SHRT_MAX, "an enumeration id") || !r.readInt(count, 0, kMaxEnumCodes, "a code count"))
    return false;
  auto e = std::make_unique<FPEnum>();
  e->ID = static_cast<EnumID>(id);
  for (long long k = 0; k < count; ++k) {
    FPEnum::enum_code code;
    const TCHAR* name = nullptr;
    long long value = 0;
    if (!r.readText(name, "a code name") || !r.readInt(value, INT_MIN, INT_MAX, "a code value")) return false;
    code.name = name;
    code.code = static_cast<int>(value);
    e->enumeration.Append(1, &code);
  }
  FPEnum* done = e.release();
  d.enumerations.Append(1, &done);
  return true;
}

enum class Section { Functions, Properties, Enums };

// table -> {function} [properties {property}] [enums {enumeration}] p_end
// Sections may come in any order and more than once, as the host's reader allows.
bool readTable(TableReader& r, FPInterfaceDesc& d, Section section, bool needsEnd) {
  for (;;) {
    if (r.atEnd()) return needsEnd ? r.fail("p_end expected") : true;
    if (r.nextIsInt(p_end)) return true;
    if (r.nextIsInt(properties)) {
      r.skip();
      section = Section::Properties;
      continue;
    }
    if (r.nextIsInt(enums)) {
      r.skip();
      section = Section::Enums;
      continue;
    }
    bool ok = section == Section::Functions ? readFunction(r, d)
              : section == Section::Properties ? readProperty(r, d)
                                               : readEnum(r, d);
    if (!ok) return false;
  }
}

}  // namespace

void FPInterfaceDesc::LoadDescriptorItems(Interface_ID id, const TCHAR* int_name, StringResID descr, ClassDesc* i_cd,
                                          ULONG flag, const FPDescItem* items, int count) {
  ClearDefs();
  ID = id;
  internal_name = int_name ? int_name : _T("");
  description = descr;
  cd = i_cd;
  flags = flag;
  TableReader reader(items, count);
  readTable(reader, *this, Section::Functions, true);
  load_error_ = reader.error();
  // Mixin descriptors are added to their class by the plug-in, which knows when its class is ready.
  if (cd && !(flags & FP_MIXIN)) cd->AddInterface(this);
  if (flags & FP_CORE) RegisterCOREInterface(this);
}

void FPInterfaceDesc::AppendItems(bool property, const FPDescItem* items, int count) {
  TableReader reader(items, count);
  readTable(reader, *this, property ? Section::Properties : Section::Functions, false);
  if (load_error_.isNull()) load_error_ = reader.error();
}
