// Primitives: script functions written in C++. A plug-in builds each as a static object; the runtime
// finds it by construction while the module loads and forgets it when the module unloads.
#pragma once

#include "maxscript/classes.h"
#include "maxscript/exceptions.h"

using PrimitiveFn = Value* (*)(Value** arg_list, int count);

class HOST_API Function : public Value {
 public:
  explicit Function(const TCHAR* name, const TCHAR* structName = nullptr);
  ~Function() override;
  const TCHAR* name;
  const TCHAR* struct_name;  // set for members of a struct global such as theHold
  virtual Value* apply(Value** arg_list, int count) = 0;
  void sprin1(CharStream* s) override;
};

class HOST_API Primitive : public Function {
 public:
  Primitive(const TCHAR* name, PrimitiveFn fn, short initFlags = 0);
  // A member function of the struct global `structName` (script: structName.name).
  Primitive(const TCHAR* name, const TCHAR* structName, PrimitiveFn fn, short initFlags = 0);
  ~Primitive() override;
  Value* apply(Value** arg_list, int count) override;
  PrimitiveFn fn_ptr;
  short flags;
};

#define def_visible_primitive(fn, name) \
  Value* fn##_cf(Value** arg_list, int count); \
  Primitive fn##_pf(_T(name), fn##_cf);
#define def_struct_primitive(fn, structName, name) \
  Value* fn##_cf(Value** arg_list, int count);      \
  Primitive fn##_pf(_T(name), _T(#structName), fn##_cf);

// Raises the argument-count error when `count` is not `expected`.
#define check_arg_count(fn, expected, count) \
  if ((count) != (expected)) throw ArgCountError(_T(#fn), (expected), (count));

// Keyword arguments: after the positional ones, the keyword marker, then name/value pairs.
HOST_API Value* _get_key_arg(Value** arg_list, int count, Value* key_name);
HOST_API Value* _get_key_arg_or_default(Value** arg_list, int count, Value* key_name, Value* def);
#define key_arg(key) _get_key_arg(arg_list, count, Name::intern(_T(#key)))
#define key_arg_or_default(key, def) _get_key_arg_or_default(arg_list, count, Name::intern(_T(#key)), (def))
// Number of positional arguments: the entries before the first keyword marker.
HOST_API int count_positional_args(Value** arg_list, int count);

// Struct globals with properties: QZMsysinfo.processAffinity reads through `getter`, assignment
// calls `setter` with the new value.
using StructGetter = Value* (*)();
using StructSetter = Value* (*)(Value* v);
HOST_API void define_struct_global(const TCHAR* name, const TCHAR* structName, StructGetter getter,
                                   StructSetter setter);
