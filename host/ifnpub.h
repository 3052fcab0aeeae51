// Function publishing: interfaces that describe their functions (ids, names, parameter and result
// types) so that scripts can call them by name, and the tagged values those calls carry.
//
// A descriptor is written as a static table, as plug-ins for the host always have:
//
//   static FPInterfaceDesc fooDesc(FOO_INTERFACE, _T("IFoo"), 0, &fooClassDesc, FP_MIXIN,
//       foo_move, _T("Move"), 0, TYPE_VOID, 0, 1,
//           _T("by"), 0, TYPE_POINT3,
//       foo_count, _T("Count"), 0, TYPE_INT, 0, 0,
//       properties,
//           foo_getRadius, foo_setRadius, _T("radius"), 0, TYPE_FLOAT,
//       p_end);
//
// The tail of the table is a parameter pack rather than C varargs, so every entry keeps its C++
// type: a malformed table stops loading at its first bad entry (LoadError says which) instead of
// reading past the arguments it was given. Tables end with p_end, the same tag that ends parameter
// block tables (iparamb2.h).
#pragma once

#include "baseinterface.h"
#include "color.h"
#include "host_api.h"
#include "interval.h"
#include "maxtypes.h"
#include "paramtype.h"
#include "point3.h"
#include "strclass.h"
#include "tab.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

class ClassDesc;
class INode;
class Mtl;
class Texmap;
class ReferenceTarget;
class Control;
class Object;
class Mesh;
class Matrix3;
class Quat;
class BitArray;
class Value;
class IParamBlock2;
class FPInterface;
class FPInterfaceDesc;
class FPValidator;

using FPStatus = int;
using EnumID = short;
// A string-table id of the plug-in; iparamb2.h declares the same alias.
using StringResID = INT_PTR;

#define FP_NO_FUNCTION ((FunctionID)-1)
#define FP_NO_ENUM ((EnumID)-1)

#define NULLINTERFACE_ID Interface_ID(0, 0)
#define FPINTERFACE_ID Interface_ID(0, 2)
#define FPMIXININTERFACE_ID Interface_ID(0, 3)
#define FPINTERFACEDESC_ID Interface_ID(0, 4)

// Answers of Invoke.
#define FPS_FAIL 0
#define FPS_NO_SUCH_FUNCTION -1
#define FPS_ACTION_DISABLED -2
#define FPS_OK 1

// Interface descriptor flags.
#define FP_ACTIONS 0x0001
#define FP_MIXIN 0x0002
#define FP_CORE 0x0004
#define FP_STATIC_METHODS 0x0008

// Function flags.
#define FP_ACTION 0x0001
#define FP_HAS_UI 0x0002
#define FP_ICONRES 0x0004
#define FP_ICONFILE 0x0008
#define FP_HAS_SHORTCUT 0x0010
#define FP_HAS_KEYARGS 0x0020
#define FP_VAR_ARGS 0x0040
#define FP_NO_REDRAW 0x0080

// Parameter flags.
#define FPP_HAS_RANGE 0x0001
#define FPP_HAS_VALIDATOR 0x0002
#define FPP_IN_PARAM 0x0004
#define FPP_OUT_PARAM 0x0008
#define FPP_IN_OUT_PARAM 0x000C
#define FPP_KEYARG 0x0010
#define FPP_INDEX 0x0020

// Tags inside a descriptor table. A tag after a parameter's type applies to that parameter
// (f_keyArgDefault, f_range, f_inOut, f_validator, f_index); the others apply to the function.
enum FPTableTag : int {
  f_category = -(1 << 30) + 0x100,  // internal name, string id
  f_predicates,                     // isEnabled, isChecked, isVisible function ids
  f_isEnabled,                      // function id
  f_isChecked,                      // function id
  f_isVisible,                      // function id
  f_iconRes,                        // resource id
  f_icon,                           // file name, index
  f_buttonText,                     // string id
  f_toolTip,                        // string id
  f_menuText,                       // string id
  f_shortCut,                       // accelerator flags, key
  f_macroEmitter,                   // pointer
  f_range,                          // low, high, of the parameter's type
  f_validator,                      // FPValidator*
  f_inOut,                          // FPP_IN_PARAM, FPP_OUT_PARAM or both
  f_keyArgDefault,                  // default, of the parameter's type: the parameter becomes optional
  f_index,                          // the parameter is a 0-based index
  properties = -(1 << 30) + 0x200,  // starts the property section
  enums,                            // starts the enumeration section
};

// ---- values --------------------------------------------------------------------------------------

// A value of one of the publishing types. The union member in use follows `type`; an FPValue owns
// what its member points at when that is a copy it made (strings, points, matrices, tables and
// their strings and points, nested values, by-reference numbers) and frees it in Free() and when it
// is destroyed. Scene objects, interfaces and script values are only pointed at.
//
// Owned parts go in through Load (or a copy), never by assigning a member: a table of strings or
// points frees only the entries it made, so that a function may add entries of its own to a table
// it was handed by reference.
class HOST_API FPValue {
 public:
  ParamType2 type = TYPE_VOID;
  union {
    int i;
    float f;
    DWORD d;
    bool b;
    INT_PTR intptr;
    std::int64_t i64;
    double dbl;
    TimeValue t;
    int* iptr;
    float* fptr;
    DWORD* dptr;
    bool* bptr;
    double* dblptr;
    const TCHAR* s;
    TSTR* tstr;
    Point2* p2;
    Point3* p;
    Point4* p4;
    Color* clr;
    AColor* aclr;
    Matrix3* m;
    Quat* q;
    Interval* intvl;
    BitArray* bits;
    FPValue* fpv;
    INode* n;
    Mtl* mtl;
    Texmap* tex;
    ReferenceTarget* r;
    Control* ctrl;
    Object* obj;
    ClassDesc* cd;
    FPInterface* fpi;
    Value* v;
    Mesh* msh;
    IParamBlock2* pb;
    HWND hwnd;
    void* ptr;
    Tab<int>* i_tab;
    Tab<float>* f_tab;
    Tab<const TCHAR*>* s_tab;
    Tab<TSTR*>* tstr_tab;
    Tab<Point2*>* p2_tab;
    Tab<Point3*>* p_tab;
    Tab<INode*>* n_tab;
    Tab<Mtl*>* mtl_tab;
    Tab<Texmap*>* tex_tab;
    Tab<ReferenceTarget*>* r_tab;
    Tab<Control*>* ctrl_tab;
    Tab<Value*>* v_tab;
    Tab<FPValue*>* fpv_tab;
  };

  FPValue() : i64(0) {}
  FPValue(const FPValue& from);
  FPValue(FPValue&& from) noexcept;
  template <class T>
  FPValue(int type, T value) : i64(0) { Load(type, value); }
  ~FPValue() { Free(); }
  FPValue& operator=(const FPValue& from);
  FPValue& operator=(FPValue&& from) noexcept;

  // Frees what the value owns and leaves it empty (TYPE_VOID).
  void Free();

  // Load(type, value): the C++ type of `value` decides which member is set; `type` is kept when it
  // stores in that member, otherwise the value's own type is used (a float loaded as TYPE_INT stays
  // a TYPE_FLOAT), so that Free() always frees what was made. Strings, points, matrices and tables
  // are copied; a by-reference number type (TYPE_INT_BR) gets a number of its own.
  void Load(int type, int value);
  void Load(int type, DWORD value);
  void Load(int type, bool value);
  void Load(int type, std::int64_t value);
  void Load(int type, float value);
  void Load(int type, double value);
  void Load(int type, const TCHAR* value);
  void Load(int type, const TSTR& value);
  void Load(int type, const Point2& value);
  void Load(int type, const Point3& value);
  void Load(int type, const Point4& value);
  void Load(int type, const Color& value);
  void Load(int type, const AColor& value);
  void Load(int type, const Matrix3& value);
  void Load(int type, const Quat& value);
  void Load(int type, const Interval& value);
  void Load(int type, const BitArray& value);
  void Load(int type, const FPValue& value);  // TYPE_FPVALUE: a copy of `value` nested in this one
  void Load(int type, INode* value);
  void Load(int type, Mtl* value);
  void Load(int type, Texmap* value);
  void Load(int type, ReferenceTarget* value);
  void Load(int type, Control* value);
  void Load(int type, Object* value);
  void Load(int type, ClassDesc* value);
  void Load(int type, FPInterface* value);
  void Load(int type, Value* value);
  void Load(int type, Mesh* value);
  void Load(int type, IParamBlock2* value);
  void Load(int type, void* value);  // TYPE_HWND and untyped pointers
  void Load(int type, std::nullptr_t);
  void Load(int type, const Tab<int>& value);
  void Load(int type, const Tab<float>& value);
  void Load(int type, const Tab<const TCHAR*>& value);
  void Load(int type, const Tab<TSTR*>& value);
  void Load(int type, const Tab<Point2*>& value);
  void Load(int type, const Tab<Point3*>& value);
  void Load(int type, const Tab<INode*>& value);
  void Load(int type, const Tab<Mtl*>& value);
  void Load(int type, const Tab<Texmap*>& value);
  void Load(int type, const Tab<ReferenceTarget*>& value);
  void Load(int type, const Tab<Control*>& value);
  void Load(int type, const Tab<Value*>& value);
  void Load(int type, const Tab<FPValue*>& value);
};

// The argument list of a call: FPParams p(2, TYPE_INT, 3, TYPE_STRING, _T("x"));
class HOST_API FPParams {
 public:
  Tab<FPValue> params;

  FPParams() = default;
  template <class... A>
  FPParams(int count, A... typeValuePairs) { Load(count, typeValuePairs...); }

  // Replaces the arguments by `count` (type, value) pairs; pairs beyond `count` are ignored.
  template <class... A>
  void Load(int count, A... typeValuePairs) {
    static_assert(sizeof...(A) % 2 == 0, "FPParams takes (type, value) pairs");
    params.ZeroCount();
    loadPairs(count, typeValuePairs...);
  }

 private:
  void loadPairs(int) {}
  template <class Ty, class V, class... R>
  void loadPairs(int left, Ty type, V value, R... rest) {
    if (left <= 0) return;
    params.vector().emplace_back();
    params.vector().back().Load(static_cast<int>(type), value);
    loadPairs(left - 1, rest...);
  }
};

// ---- descriptions --------------------------------------------------------------------------------

class HOST_API FPParamOptions {
 public:
  FPValue range_low, range_high;
  FPValidator* validator = nullptr;
  FPValue keyarg_default;
};

class HOST_API FPParamDef {
 public:
  MSTR internal_name;
  StringResID description = 0;
  ParamType2 type = TYPE_VOID;
  EnumID enumID = FP_NO_ENUM;
  WORD flags = FPP_IN_OUT_PARAM;
  FPParamOptions* options = nullptr;  // owned; present once a tag gave a range, validator or default

  FPParamDef() = default;
  FPParamDef(const FPParamDef&) = delete;
  FPParamDef& operator=(const FPParamDef&) = delete;
  ~FPParamDef();
  // The default of an optional (keyword) parameter, or null.
  const FPValue* KeyArgDefault() const { return (flags & FPP_KEYARG) && options ? &options->keyarg_default : nullptr; }
};

class HOST_API FPActionDef {
 public:
  MSTR internal_cat;
  StringResID category = 0;
  FunctionID isEnabled_id = FP_NO_FUNCTION;
  FunctionID isChecked_id = FP_NO_FUNCTION;
  FunctionID isVisible_id = FP_NO_FUNCTION;
  int icon_resID = 0;
  MSTR icon_file;
  short icon_index = -1;
  StringResID button_text = 0;
  StringResID tool_tip = 0;
  StringResID menu_text = 0;
  int shortcut_flags = 0;
  int shortcut_key = 0;
};

class HOST_API FPFunctionDef {
 public:
  FunctionID ID = FP_NO_FUNCTION;
  MSTR internal_name;
  StringResID description = 0;
  WORD flags = 0;
  ParamType2 result_type = TYPE_VOID;
  EnumID enumID = FP_NO_ENUM;
  FPActionDef* action_def = nullptr;  // owned
  Tab<FPParamDef*> params;            // owned
  short keyparam_count = 0;           // parameters that have a default

  FPFunctionDef() = default;
  FPFunctionDef(const FPFunctionDef&) = delete;
  FPFunctionDef& operator=(const FPFunctionDef&) = delete;
  ~FPFunctionDef();
  int NumParams() const { return params.Count(); }
  // Parameters without a default, which every call must pass.
  int NumRequiredParams() const { return params.Count() - keyparam_count; }
};

class HOST_API FPPropDef {
 public:
  FunctionID getter_ID = FP_NO_FUNCTION;
  FunctionID setter_ID = FP_NO_FUNCTION;  // FP_NO_FUNCTION for a read-only property
  MSTR internal_name;
  StringResID description = 0;
  WORD flags = 0;
  ParamType2 prop_type = TYPE_VOID;
  EnumID enumID = FP_NO_ENUM;
  FPParamDef* setter_param = nullptr;  // owned; carries a range or validator given for the property

  FPPropDef() = default;
  FPPropDef(const FPPropDef&) = delete;
  FPPropDef& operator=(const FPPropDef&) = delete;
  ~FPPropDef();
};

class HOST_API FPEnum {
 public:
  struct enum_code {
    TSTR name;
    int code = 0;
  };
  EnumID ID = FP_NO_ENUM;
  Tab<enum_code> enumeration;
};

// One entry of a descriptor table, as the template front end hands it to the host's parser.
struct FPDescItem {
  enum Kind : unsigned char { kInt, kReal, kText, kPointer, kPoint3 };
  Kind kind = kInt;
  long long i = 0;
  double real = 0;
  const void* ptr = nullptr;
  float pt[3] = {0, 0, 0};
};

namespace fpdesc {
template <class T>
FPDescItem item(const T& value) {
  using U = std::decay_t<T>;
  FPDescItem it;
  if constexpr (std::is_integral_v<U> || std::is_enum_v<U>) {
    it.i = static_cast<long long>(value);
  } else if constexpr (std::is_floating_point_v<U>) {
    it.kind = FPDescItem::kReal;
    it.real = static_cast<double>(value);
  } else if constexpr (std::is_same_v<U, const TCHAR*> || std::is_same_v<U, TCHAR*>) {
    it.kind = FPDescItem::kText;
    it.ptr = value;
  } else if constexpr (std::is_pointer_v<U> || std::is_null_pointer_v<U>) {
    it.kind = FPDescItem::kPointer;
    it.ptr = value;
  } else if constexpr (std::is_convertible_v<const U&, Point3>) {
    const Point3 p3 = value;
    it.kind = FPDescItem::kPoint3;
    it.pt[0] = p3.x;
    it.pt[1] = p3.y;
    it.pt[2] = p3.z;
  } else {
    static_assert(sizeof(U) == 0, "descriptor tables take numbers, strings, pointers and points");
  }
  return it;
}
}  // namespace fpdesc

// ---- interfaces ----------------------------------------------------------------------------------

class HOST_API FPInterface : public BaseInterface {
 public:
  virtual FPInterfaceDesc* GetDesc() = 0;
  Interface_ID GetID() override;
  BaseInterface* GetInterface(Interface_ID id) override;

  // Calls function `fid` with `params` (null: no arguments). Actions that are disabled answer
  // FPS_ACTION_DISABLED without being called.
  virtual FPStatus Invoke(FunctionID fid, TimeValue t = 0, FPParams* params = nullptr);
  virtual FPStatus Invoke(FunctionID fid, FPParams* params) { return Invoke(fid, 0, params); }
  virtual FPStatus Invoke(FunctionID fid, TimeValue t, FPValue& result, FPParams* params = nullptr);
  virtual FPStatus Invoke(FunctionID fid, FPValue& result, FPParams* params = nullptr) {
    return Invoke(fid, 0, result, params);
  }
  // The id of the function named `name` (any case), or FP_NO_FUNCTION.
  virtual FunctionID FindFn(const TCHAR* name);

  // Action predicates: answer through the predicate functions the action's table entry names.
  virtual BOOL IsEnabled(FunctionID actionID);
  virtual BOOL IsChecked(FunctionID actionID);
  virtual BOOL IsVisible(FunctionID actionID);
  virtual void EnableActions(BOOL onOff) {}

 protected:
  // The implementation's dispatcher, usually written with BEGIN_FUNCTION_MAP; answers
  // FPS_NO_SUCH_FUNCTION for an id it does not know.
  virtual FPStatus _dispatch_fn(FunctionID fid, TimeValue t, FPValue& result, FPParams* p) {
    return FPS_NO_SUCH_FUNCTION;
  }
};

class HOST_API FPInterfaceDesc : public FPInterface {
 public:
  Interface_ID ID;
  MSTR internal_name;
  StringResID description = 0;
  ClassDesc* cd = nullptr;
  ULONG flags = 0;
  Tab<FPFunctionDef*> functions;  // owned
  Tab<FPPropDef*> props;          // owned
  Tab<FPEnum*> enumerations;      // owned

  FPInterfaceDesc() = default;
  template <class... A>
  FPInterfaceDesc(Interface_ID id, const TCHAR* int_name, StringResID descr, ClassDesc* cd, ULONG flag, A... table) {
    LoadDescriptor(id, int_name, descr, cd, flag, table...);
  }
  FPInterfaceDesc(const FPInterfaceDesc&) = delete;
  FPInterfaceDesc& operator=(const FPInterfaceDesc&) = delete;
  // Leaves the core registry; the class descriptor is not touched (it may be gone already when a
  // module's statics are destroyed).
  ~FPInterfaceDesc() override;

  // Describes the interface anew from a table. A static interface with a class descriptor adds
  // itself to it; a mixin descriptor is added by its plug-in; FP_CORE registers with the core.
  template <class... A>
  void LoadDescriptor(Interface_ID id, const TCHAR* int_name, StringResID descr, ClassDesc* cd, ULONG flag, A... table) {
    const FPDescItem items[] = {fpdesc::item(table)..., FPDescItem()};  // one more: never empty
    LoadDescriptorItems(id, int_name, descr, cd, flag, items, static_cast<int>(sizeof...(A)));
  }
  // Adds one function (`id, name, descr, result type, flags, count, parameters...`) or property
  // (`getter id, setter id, name, descr, type`) in the table's form.
  template <class... A>
  void AppendFunction(int id, A... rest) {
    const FPDescItem items[] = {fpdesc::item(id), fpdesc::item(rest)...};
    AppendItems(false, items, static_cast<int>(sizeof...(A)) + 1);
  }
  template <class... A>
  void AppendProperty(int id, A... rest) {
    const FPDescItem items[] = {fpdesc::item(id), fpdesc::item(rest)...};
    AppendItems(true, items, static_cast<int>(sizeof...(A)) + 1);
  }
  void SetClassDesc(ClassDesc* i_cd);

  FPInterfaceDesc* GetDesc() override { return this; }
  Interface_ID GetID() override { return ID; }
  BaseInterface* GetInterface(Interface_ID id) override;

  FPFunctionDef* GetFnDef(FunctionID fid);
  // Lookups by name ignore case, as script does.
  FPFunctionDef* FindFnDef(const TCHAR* name);
  FPPropDef* FindPropDef(const TCHAR* name);
  FPEnum* GetEnum(EnumID id);
  HINSTANCE HInstance();
  const TCHAR* GetRsrcString(StringResID id);
  // Why loading the table stopped early, or "" when it was read to its end.
  const TCHAR* LoadError() const { return load_error_.data(); }

 private:
  void LoadDescriptorItems(Interface_ID id, const TCHAR* int_name, StringResID descr, ClassDesc* cd, ULONG flag,
                           const FPDescItem* items, int count);
  void AppendItems(bool property, const FPDescItem* items, int count);
  void ClearDefs();
  MSTR load_error_;
};

// Base of static and core interfaces: the interface is its own descriptor.
class HOST_API FPStaticInterface : public FPInterfaceDesc {};

// Base of interfaces an object implements itself ("mixed in"), handed out by its
// GetInterface(Interface_ID); GetDesc answers the one static descriptor of the interface.
class HOST_API FPMixinInterface : public FPInterface {
 public:
  BaseInterface* GetInterface(Interface_ID id) override;
};

// Constructors of a static or core interface class that is built from a table.
#define DECLARE_DESCRIPTOR(_interface)                                                               \
 public:                                                                                             \
  _interface() {}                                                                                    \
  template <class... FPTable>                                                                        \
  _interface(Interface_ID id, const TCHAR* name, StringResID descr, ClassDesc* cd, ULONG flag,       \
             FPTable... table) {                                                                     \
    LoadDescriptor(id, name, descr, cd, flag, table...);                                             \
  }

// ---- core interfaces -----------------------------------------------------------------------------

// The host-wide core interface with `id`, or null. FP_CORE descriptors register themselves.
HOST_API FPInterface* GetCOREInterface(Interface_ID id);
// Registers `fpi` under its id; a later interface with the same id takes its place.
HOST_API void RegisterCOREInterface(FPInterface* fpi);
HOST_API int NumCOREInterfaces();
HOST_API FPInterface* GetCOREInterfaceAt(int i);

// ---- dispatch tables -----------------------------------------------------------------------------
//
// BEGIN_FUNCTION_MAP ... END_FUNCTION_MAP write _dispatch_fn as a switch over function ids. Each
// entry reads its arguments with the TYPE_xxx_FIELD accessor of its parameter type; an entry whose
// arguments are missing or of the wrong type answers FPS_FAIL without calling the function.

// True when `v` stores a value of `type` (same member) that its accessor can read: values read
// through a pointer (points, tables, by-reference types) must have one.
HOST_API bool FPArgMatches(const FPValue& v, int type);
inline bool FPArgsPresent(const FPParams* p, int count) { return count == 0 || (p && p->params.Count() >= count); }
inline const TCHAR* FPText(const TCHAR* s) { return s ? s : _T(""); }

#define TYPE_FLOAT_FIELD(_v) ((_v).f)
#define TYPE_ANGLE_FIELD(_v) ((_v).f)
#define TYPE_PCNT_FRAC_FIELD(_v) ((_v).f)
#define TYPE_WORLD_FIELD(_v) ((_v).f)
#define TYPE_COLOR_CHANNEL_FIELD(_v) ((_v).f)
#define TYPE_INT_FIELD(_v) ((_v).i)
#define TYPE_BOOL_FIELD(_v) ((_v).i)
#define TYPE_TIMEVALUE_FIELD(_v) ((_v).i)
#define TYPE_RADIOBTN_INDEX_FIELD(_v) ((_v).i)
#define TYPE_INDEX_FIELD(_v) ((_v).i)
#define TYPE_ENUM_FIELD(_v) ((_v).i)
#define TYPE_bool_FIELD(_v) ((_v).b)
#define TYPE_DWORD_FIELD(_v) ((_v).d)
#define TYPE_INTPTR_FIELD(_v) ((_v).intptr)
#define TYPE_INT64_FIELD(_v) ((_v).i64)
#define TYPE_DOUBLE_FIELD(_v) ((_v).dbl)
#define TYPE_INT_BR_FIELD(_v) (*(_v).iptr)
#define TYPE_BOOL_BR_FIELD(_v) (*(_v).iptr)
#define TYPE_TIMEVALUE_BR_FIELD(_v) (*(_v).iptr)
#define TYPE_INDEX_BR_FIELD(_v) (*(_v).iptr)
#define TYPE_FLOAT_BR_FIELD(_v) (*(_v).fptr)
#define TYPE_ANGLE_BR_FIELD(_v) (*(_v).fptr)
#define TYPE_bool_BR_FIELD(_v) (*(_v).bptr)
#define TYPE_DWORD_BR_FIELD(_v) (*(_v).dptr)
#define TYPE_DOUBLE_BR_FIELD(_v) (*(_v).dblptr)
#define TYPE_STRING_FIELD(_v) FPText((_v).s)
#define TYPE_FILENAME_FIELD(_v) FPText((_v).s)
#define TYPE_NAME_FIELD(_v) FPText((_v).s)
#define TYPE_TSTR_FIELD(_v) (*(_v).tstr)
#define TYPE_TSTR_BR_FIELD(_v) (*(_v).tstr)
#define TYPE_POINT2_FIELD(_v) (*(_v).p2)
#define TYPE_POINT2_BR_FIELD(_v) (*(_v).p2)
#define TYPE_POINT3_FIELD(_v) (*(_v).p)
#define TYPE_POINT3_BR_FIELD(_v) (*(_v).p)
#define TYPE_HSV_FIELD(_v) (*(_v).p)
#define TYPE_POINT4_FIELD(_v) (*(_v).p4)
#define TYPE_RGBA_FIELD(_v) (*(_v).clr)
#define TYPE_COLOR_FIELD(_v) (*(_v).clr)
#define TYPE_COLOR_BR_FIELD(_v) (*(_v).clr)
#define TYPE_FRGBA_FIELD(_v) (*(_v).aclr)
#define TYPE_MATRIX3_FIELD(_v) (*(_v).m)
#define TYPE_MATRIX3_BR_FIELD(_v) (*(_v).m)
#define TYPE_QUAT_FIELD(_v) (*(_v).q)
#define TYPE_INTERVAL_FIELD(_v) (*(_v).intvl)
#define TYPE_BITARRAY_FIELD(_v) (*(_v).bits)
#define TYPE_BITARRAY_BR_FIELD(_v) (*(_v).bits)
#define TYPE_FPVALUE_FIELD(_v) ((_v).fpv)
#define TYPE_FPVALUE_BR_FIELD(_v) (*(_v).fpv)
#define TYPE_INODE_FIELD(_v) ((_v).n)
#define TYPE_INODE_BR_FIELD(_v) (*(_v).n)
#define TYPE_MTL_FIELD(_v) ((_v).mtl)
#define TYPE_TEXMAP_FIELD(_v) ((_v).tex)
#define TYPE_REFTARG_FIELD(_v) ((_v).r)
#define TYPE_CONTROL_FIELD(_v) ((_v).ctrl)
#define TYPE_OBJECT_FIELD(_v) ((_v).obj)
#define TYPE_CLASS_FIELD(_v) ((_v).cd)
#define TYPE_INTERFACE_FIELD(_v) ((_v).fpi)
#define TYPE_VALUE_FIELD(_v) ((_v).v)
#define TYPE_MESH_FIELD(_v) ((_v).msh)
#define TYPE_PBLOCK2_FIELD(_v) ((_v).pb)
#define TYPE_HWND_FIELD(_v) ((_v).hwnd)
#define TYPE_INT_TAB_FIELD(_v) (*(_v).i_tab)
#define TYPE_INT_TAB_BR_FIELD(_v) (*(_v).i_tab)
#define TYPE_BOOL_TAB_FIELD(_v) (*(_v).i_tab)
#define TYPE_TIMEVALUE_TAB_FIELD(_v) (*(_v).i_tab)
#define TYPE_INDEX_TAB_FIELD(_v) (*(_v).i_tab)
#define TYPE_FLOAT_TAB_FIELD(_v) (*(_v).f_tab)
#define TYPE_FLOAT_TAB_BR_FIELD(_v) (*(_v).f_tab)
#define TYPE_ANGLE_TAB_FIELD(_v) (*(_v).f_tab)
#define TYPE_WORLD_TAB_FIELD(_v) (*(_v).f_tab)
#define TYPE_STRING_TAB_FIELD(_v) (*(_v).s_tab)
#define TYPE_STRING_TAB_BR_FIELD(_v) (*(_v).s_tab)
#define TYPE_FILENAME_TAB_FIELD(_v) (*(_v).s_tab)
#define TYPE_NAME_TAB_FIELD(_v) (*(_v).s_tab)
#define TYPE_TSTR_TAB_FIELD(_v) (*(_v).tstr_tab)
#define TYPE_TSTR_TAB_BR_FIELD(_v) (*(_v).tstr_tab)
#define TYPE_POINT2_TAB_FIELD(_v) (*(_v).p2_tab)
#define TYPE_POINT3_TAB_FIELD(_v) (*(_v).p_tab)
#define TYPE_POINT3_TAB_BR_FIELD(_v) (*(_v).p_tab)
#define TYPE_INODE_TAB_FIELD(_v) (*(_v).n_tab)
#define TYPE_INODE_TAB_BR_FIELD(_v) (*(_v).n_tab)
#define TYPE_MTL_TAB_FIELD(_v) (*(_v).mtl_tab)
#define TYPE_MTL_TAB_BR_FIELD(_v) (*(_v).mtl_tab)
#define TYPE_TEXMAP_TAB_FIELD(_v) (*(_v).tex_tab)
#define TYPE_REFTARG_TAB_FIELD(_v) (*(_v).r_tab)
#define TYPE_REFTARG_TAB_BR_FIELD(_v) (*(_v).r_tab)
#define TYPE_VALUE_TAB_FIELD(_v) (*(_v).v_tab)

#define FP_PARAM(_type, _index) _type##_FIELD(p->params[_index])
#define FP_ARG_OK(_type, _index) FPArgMatches(p->params[_index], _type)
#define FP_ARGS_0() true
#define FP_ARGS_1(_p1) (FPArgsPresent(p, 1) && FP_ARG_OK(_p1, 0))
#define FP_ARGS_2(_p1, _p2) (FPArgsPresent(p, 2) && FP_ARG_OK(_p1, 0) && FP_ARG_OK(_p2, 1))
#define FP_ARGS_3(_p1, _p2, _p3) (FP_ARGS_2(_p1, _p2) && FPArgsPresent(p, 3) && FP_ARG_OK(_p3, 2))
#define FP_ARGS_4(_p1, _p2, _p3, _p4) (FP_ARGS_3(_p1, _p2, _p3) && FPArgsPresent(p, 4) && FP_ARG_OK(_p4, 3))
#define FP_ARGS_5(_p1, _p2, _p3, _p4, _p5) \
  (FP_ARGS_4(_p1, _p2, _p3, _p4) && FPArgsPresent(p, 5) && FP_ARG_OK(_p5, 4))
#define FP_CASE(_fid, _argsOk, _call) \
  case _fid:                          \
    if (!(_argsOk)) {                 \
      status = FPS_FAIL;              \
      break;                          \
    }                                 \
    _call;                            \
    break;

#define BEGIN_FUNCTION_MAP                                                                       \
 public:                                                                                         \
  FPStatus _dispatch_fn(FunctionID fid, TimeValue t, FPValue& result, FPParams* p) override {    \
    (void)t;                                                                                     \
    (void)result;                                                                                \
    (void)p;                                                                                     \
    FPStatus status = FPS_OK;                                                                    \
    switch (fid) {
#define END_FUNCTION_MAP             \
  default:                           \
    status = FPS_NO_SUCH_FUNCTION;   \
    }                                \
    return status;                   \
  }

#define FN_0(_fid, _rtype, _f) FP_CASE(_fid, FP_ARGS_0(), result.Load(_rtype, _f()))
#define FN_1(_fid, _rtype, _f, _p1) FP_CASE(_fid, FP_ARGS_1(_p1), result.Load(_rtype, _f(FP_PARAM(_p1, 0))))
#define FN_2(_fid, _rtype, _f, _p1, _p2) \
  FP_CASE(_fid, FP_ARGS_2(_p1, _p2), result.Load(_rtype, _f(FP_PARAM(_p1, 0), FP_PARAM(_p2, 1))))
#define FN_3(_fid, _rtype, _f, _p1, _p2, _p3)       \
  FP_CASE(_fid, FP_ARGS_3(_p1, _p2, _p3),            \
          result.Load(_rtype, _f(FP_PARAM(_p1, 0), FP_PARAM(_p2, 1), FP_PARAM(_p3, 2))))
#define FN_4(_fid, _rtype, _f, _p1, _p2, _p3, _p4)  \
  FP_CASE(_fid, FP_ARGS_4(_p1, _p2, _p3, _p4),       \
          result.Load(_rtype, _f(FP_PARAM(_p1, 0), FP_PARAM(_p2, 1), FP_PARAM(_p3, 2), FP_PARAM(_p4, 3))))
#define FN_5(_fid, _rtype, _f, _p1, _p2, _p3, _p4, _p5)                                            \
  FP_CASE(_fid, FP_ARGS_5(_p1, _p2, _p3, _p4, _p5),                                                 \
          result.Load(_rtype, _f(FP_PARAM(_p1, 0), FP_PARAM(_p2, 1), FP_PARAM(_p3, 2), FP_PARAM(_p4, 3), \
                                 FP_PARAM(_p5, 4))))
#define VFN_0(_fid, _f) FP_CASE(_fid, FP_ARGS_0(), _f())
#define VFN_1(_fid, _f, _p1) FP_CASE(_fid, FP_ARGS_1(_p1), _f(FP_PARAM(_p1, 0)))
#define VFN_2(_fid, _f, _p1, _p2) FP_CASE(_fid, FP_ARGS_2(_p1, _p2), _f(FP_PARAM(_p1, 0), FP_PARAM(_p2, 1)))
#define VFN_3(_fid, _f, _p1, _p2, _p3) \
  FP_CASE(_fid, FP_ARGS_3(_p1, _p2, _p3), _f(FP_PARAM(_p1, 0), FP_PARAM(_p2, 1), FP_PARAM(_p3, 2)))
#define VFN_4(_fid, _f, _p1, _p2, _p3, _p4) \
  FP_CASE(_fid, FP_ARGS_4(_p1, _p2, _p3, _p4), \
          _f(FP_PARAM(_p1, 0), FP_PARAM(_p2, 1), FP_PARAM(_p3, 2), FP_PARAM(_p4, 3)))
#define VFN_5(_fid, _f, _p1, _p2, _p3, _p4, _p5)         \
  FP_CASE(_fid, FP_ARGS_5(_p1, _p2, _p3, _p4, _p5),      \
          _f(FP_PARAM(_p1, 0), FP_PARAM(_p2, 1), FP_PARAM(_p3, 2), FP_PARAM(_p4, 3), FP_PARAM(_p5, 4)))
// A property's getter and setter; RO_PROP_FN for a read-only one.
#define PROP_FNS(_getID, _getFn, _setID, _setFn, _ptype) \
  FN_0(_getID, _ptype, _getFn)                           \
  VFN_1(_setID, _setFn, _ptype)
#define RO_PROP_FN(_getID, _getFn, _ptype) FN_0(_getID, _ptype, _getFn)
