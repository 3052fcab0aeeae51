// Class identity: class ids, super class ids, interface ids, and the super class ids the host knows.
#pragma once

#include "host_api.h"

using SClass_ID = ULONG;
using BlockID = short;
using ParamID = short;
using MapID = short;
using FunctionID = short;

class Class_ID {
 public:
  constexpr Class_ID() : a_(0xffffffff), b_(0xffffffff) {}
  constexpr Class_ID(ULONG a, ULONG b) : a_(a), b_(b) {}
  constexpr ULONG PartA() const { return a_; }
  constexpr ULONG PartB() const { return b_; }
  void SetPartA(ULONG a) { a_ = a; }
  void SetPartB(ULONG b) { b_ = b; }
  constexpr bool operator==(const Class_ID& o) const { return a_ == o.a_ && b_ == o.b_; }
  constexpr bool operator!=(const Class_ID& o) const { return !(*this == o); }
  constexpr bool operator<(const Class_ID& o) const { return a_ < o.a_ || (a_ == o.a_ && b_ < o.b_); }

 private:
  ULONG a_, b_;
};

class Interface_ID {
 public:
  constexpr Interface_ID() : a_(0xffffffff), b_(0xffffffff) {}
  constexpr Interface_ID(ULONG a, ULONG b) : a_(a), b_(b) {}
  constexpr ULONG PartA() const { return a_; }
  constexpr ULONG PartB() const { return b_; }
  constexpr bool operator==(const Interface_ID& o) const { return a_ == o.a_ && b_ == o.b_; }
  constexpr bool operator!=(const Interface_ID& o) const { return !(*this == o); }
  constexpr bool operator<(const Interface_ID& o) const { return a_ < o.a_ || (a_ == o.a_ && b_ < o.b_); }

 private:
  ULONG a_, b_;
};

// Super class ids, with the host's values.
constexpr SClass_ID BASENODE_CLASS_ID = 0x00000001;
constexpr SClass_ID GEN_DERIVOB_CLASS_ID = 0x00000002;
constexpr SClass_ID DERIVOB_CLASS_ID = 0x00000003;
constexpr SClass_ID WSM_DERIVOB_CLASS_ID = 0x00000004;
constexpr SClass_ID PARAMETER_BLOCK2_CLASS_ID = 0x00000082;
constexpr SClass_ID GEOMOBJECT_CLASS_ID = 0x00000010;
constexpr SClass_ID CAMERA_CLASS_ID = 0x00000020;
constexpr SClass_ID LIGHT_CLASS_ID = 0x00000030;
constexpr SClass_ID SHAPE_CLASS_ID = 0x00000040;
constexpr SClass_ID HELPER_CLASS_ID = 0x00000050;
constexpr SClass_ID SYSTEM_CLASS_ID = 0x00000060;
constexpr SClass_ID REF_MAKER_CLASS_ID = 0x00000100;
constexpr SClass_ID REF_TARGET_CLASS_ID = 0x00000200;
constexpr SClass_ID OSM_CLASS_ID = 0x00000810;
constexpr SClass_ID WSM_CLASS_ID = 0x00000820;
constexpr SClass_ID WSM_OBJECT_CLASS_ID = 0x00000830;
constexpr SClass_ID MATERIAL_CLASS_ID = 0x00000C00;
constexpr SClass_ID TEXMAP_CLASS_ID = 0x00000C10;
constexpr SClass_ID RENDERER_CLASS_ID = 0x00000F00;
constexpr SClass_ID UTILITY_CLASS_ID = 0x00001020;
constexpr SClass_ID RENDER_ELEMENT_CLASS_ID = 0x00001180;
constexpr SClass_ID RADIOSITY_CLASS_ID = 0x00001210;
constexpr SClass_ID TONE_OPERATOR_CLASS_ID = 0x00001220;
constexpr SClass_ID CTRL_FLOAT_CLASS_ID = 0x00009003;
constexpr SClass_ID CTRL_POINT3_CLASS_ID = 0x00009005;
constexpr SClass_ID CTRL_MATRIX3_CLASS_ID = 0x00009008;
constexpr SClass_ID CTRL_POSITION_CLASS_ID = 0x0000900b;
constexpr SClass_ID CTRL_ROTATION_CLASS_ID = 0x0000900c;
constexpr SClass_ID CTRL_SCALE_CLASS_ID = 0x0000900d;
constexpr SClass_ID CTRL_POINT4_CLASS_ID = 0x00009012;
constexpr SClass_ID CTRL_FRGBA_CLASS_ID = 0x00009013;
