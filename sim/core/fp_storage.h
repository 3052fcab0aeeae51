// Which member of an FPValue a publishing type is stored in. One table for the whole host: copying,
// freeing, loading and argument checks all read it, so a type is never stored one way and freed
// another.
#pragma once

#include "ifnpub.h"

namespace sim {

enum class FPStorage {
  None,  // a type the host does not carry (nothing is stored)
  Void,
  // numbers, held in the value itself
  Int,
  Float,
  Bool,
  Dword,
  IntPtr,
  Int64,
  Double,
  // numbers passed by reference: the value owns the number
  IntRef,
  FloatRef,
  BoolRef,
  DwordRef,
  DoubleRef,
  // copies the value owns
  String,
  TStr,
  Point2,
  Point3,
  Point4,
  Color,
  AColor,
  Matrix3,
  Quat,
  Interval,
  BitArray,
  FPValue,
  // things the value only points at
  Node,
  Mtl,
  Texmap,
  RefTarg,
  Control,
  Object,
  ClassDesc,
  Interface,
  Value,
  Mesh,
  ParamBlock,
  Pointer,
  // tables the value owns, with their strings, points and nested values
  IntTab,
  FloatTab,
  StringTab,
  TStrTab,
  Point2Tab,
  Point3Tab,
  NodeTab,
  MtlTab,
  TexmapTab,
  RefTargTab,
  ControlTab,
  ValueTab,
  FPValueTab,
};

FPStorage fpStorageOf(int type);
// The type a value of this storage has when the requested type does not store there.
ParamType2 fpNaturalType(FPStorage s);
// True for storages that hold a pointer the accessors dereference.
bool fpStorageIsDereferenced(FPStorage s);
// A type number the host accepts in a table: in the enumeration's range.
inline bool fpTypeInRange(long long type) { return type >= 0 && type <= 0x7FFF; }

}  // namespace sim
