// The value classes of the language and their singletons.
#pragma once

#include "color.h"
#include "matrix3.h"
#include "maxscript/value.h"
#include "quat.h"

#include <string>
#include <vector>

class HOST_API ValueMetaClass : public Value {
 public:
  const TCHAR* name;
  explicit ValueMetaClass(const TCHAR* className);
  void sprin1(CharStream* s) override;
};

#define declare_class_tag(c) HOST_API extern ValueMetaClass c##_class;
declare_class_tag(Boolean)
declare_class_tag(Undefined)
declare_class_tag(Ok)
declare_class_tag(Unsupplied)
declare_class_tag(KeyArgMarker)
declare_class_tag(Integer)
declare_class_tag(Float)
declare_class_tag(String)
declare_class_tag(Name)
declare_class_tag(Array)
declare_class_tag(Point2Value)
declare_class_tag(Point3Value)
declare_class_tag(MAXNode)
declare_class_tag(MAXBitMap)
declare_class_tag(Primitive)
declare_class_tag(Color)
declare_class_tag(Quat)
declare_class_tag(EulerAngles)
declare_class_tag(Matrix3)
declare_class_tag(Point4Value)
declare_class_tag(MSTime)
declare_class_tag(ValueMetaClass)

class HOST_API Boolean : public Value {
 public:
  explicit Boolean(bool v);
  bool value;
  BOOL to_bool() override { return value; }
  void sprin1(CharStream* s) override;
};

// `undefined`, `ok`, `unsupplied` and the keyword marker: values that are only themselves.
class HOST_API Undefined : public Value {
 public:
  Undefined();
  void sprin1(CharStream* s) override;
  Mtl* to_mtl() override { return nullptr; }  // an empty material slot reads as undefined
  INode* to_node() override;
};
class HOST_API Ok : public Value {
 public:
  Ok();
  void sprin1(CharStream* s) override;
};
class HOST_API Unsupplied : public Value {
 public:
  Unsupplied();
  void sprin1(CharStream* s) override;
};
class HOST_API KeyArgMarker : public Value {
 public:
  KeyArgMarker();
  void sprin1(CharStream* s) override;
};

HOST_API extern Boolean true_value_instance;
HOST_API extern Boolean false_value_instance;
HOST_API extern Undefined undefined_value;
HOST_API extern Ok ok_value;
HOST_API extern Unsupplied unsupplied;
HOST_API extern KeyArgMarker keyarg_marker_value;

// The singletons as plain Value pointers (variables, not macros, so local names may shadow them).
inline Value* const true_value = &true_value_instance;
inline Value* const false_value = &false_value_instance;
inline Value* const undefined = &undefined_value;
inline Value* const ok = &ok_value;
inline Value* bool_result(bool b) { return b ? true_value : false_value; }

class HOST_API Integer : public Value {
 public:
  explicit Integer(int v);
  int value;
  // Small integers are shared permanent values; others are new.
  static Value* intern(int v);
  static Value* heap_intern(int v) { return intern(v); }
  int to_int() override { return value; }
  float to_float() override { return float(value); }
  double to_double() override { return value; }
  TimeValue to_timevalue() override;
  BOOL to_bool() override;
  void sprin1(CharStream* s) override;
  bool equals(Value* other) override;
};

class HOST_API Float : public Value {
 public:
  explicit Float(float v);
  float value;
  static Value* intern(float v);
  static Value* heap_intern(float v);
  int to_int() override;
  float to_float() override { return value; }
  double to_double() override { return value; }
  TimeValue to_timevalue() override;
  void sprin1(CharStream* s) override;
  bool equals(Value* other) override;
};

class HOST_API String : public Value {
 public:
  explicit String(const TCHAR* s);
  explicit String(std::string s);
  const TCHAR* to_string() override { return text.c_str(); }
  void sprin1(CharStream* s) override;   // quoted, with escapes
  void sprint(CharStream* s) override;   // as is
  bool equals(Value* other) override;    // case-sensitive, as the language compares strings (names are not)
  Value* copy_vf() override;
  Value* get_property(Value* prop) override;  // count
  bool has_property(Value* prop) override;
  Value* get_index(Value* index) override;    // one character
  std::string text;
};

// Names (#name): interned, compared by identity, looked up without case.
class HOST_API Name : public Value {
 public:
  static Value* intern(const TCHAR* s);
  static Value* find_intern(const TCHAR* s);  // null when never interned
  const TCHAR* to_string() override { return text.c_str(); }
  void sprin1(CharStream* s) override;  // #name
  void sprint(CharStream* s) override;  // name
  std::string text;   // as first written
  std::string lower;  // the identity: names differing only in case are one name

 private:
  explicit Name(std::string s);
  friend struct NameTable;
};

class HOST_API Array : public Value {
 public:
  explicit Array(int init_size = 0);
  ~Array() override;
  int size = 0;          // number of elements
  Value** data = nullptr;  // the elements, each held by the array
  // Appends a value (the array keeps it); returns the value.
  Value* append(Value* v);
  Value* get(int index1) const;  // 1-based; undefined beyond the end
  void put(int index1, Value* v);  // 1-based; grows with undefined as needed
  void insert(int index1, Value* v);
  void remove(int index1);
  void resize(int n);
  void sprin1(CharStream* s) override;
  Value* copy_vf() override;
  Value* get_property(Value* prop) override;  // count
  Value* set_property(Value* prop, Value* v) override;
  bool has_property(Value* prop) override;
  Value* get_index(Value* index) override;
  Value* set_index(Value* index, Value* v) override;
  Array* as_collection() override { return this; }

 protected:
  void clear_contents() override;

 private:
  int capacity_ = 0;
  void reserve(int n);
};

class HOST_API Point2Value : public Value {
 public:
  explicit Point2Value(Point2 p);
  Point2Value(float x, float y);
  Point2 p;
  Point2 to_point2() override { return p; }
  void sprin1(CharStream* s) override;
  bool equals(Value* other) override;
  Value* copy_vf() override;
  Value* get_property(Value* prop) override;  // x, y (, z)
  Value* set_property(Value* prop, Value* v) override;
  bool has_property(Value* prop) override;
  Value* get_index(Value* index) override;
  Value* set_index(Value* index, Value* v) override;
};

class HOST_API Point3Value : public Value {
 public:
  explicit Point3Value(Point3 p);
  Point3Value(float x, float y, float z);
  Point3 p;
  Point3 to_point3() override { return p; }
  Point2 to_point2() override { return Point2(p.x, p.y); }
  void sprin1(CharStream* s) override;
  bool equals(Value* other) override;
  Value* copy_vf() override;
  Value* get_property(Value* prop) override;  // x, y (, z)
  Value* set_property(Value* prop, Value* v) override;
  bool has_property(Value* prop) override;
  Value* get_index(Value* index) override;
  Value* set_index(Value* index, Value* v) override;
};

// A colour with components from 0 to 255 (and alpha), as the language writes (color r g b [a]).
class HOST_API ColorValue : public Value {
 public:
  explicit ColorValue(AColor c);  // components 0..1, as the host stores colours
  ColorValue(float r255, float g255, float b255, float a255 = 255.0f);
  AColor color;  // 0..1
  Point3 to_point3() override { return Point3(color.r * 255.0f, color.g * 255.0f, color.b * 255.0f); }
  void sprin1(CharStream* s) override;
  bool equals(Value* other) override;
  Value* copy_vf() override;
  Value* get_property(Value* prop) override;  // r g b a (0..255)
  Value* set_property(Value* prop, Value* v) override;
  bool has_property(Value* prop) override;
};

class HOST_API Point4Value : public Value {
 public:
  explicit Point4Value(Point4 p);
  Point4 p;
  void sprin1(CharStream* s) override;
  bool equals(Value* other) override;
  Value* copy_vf() override;
  Value* get_property(Value* prop) override;
  bool has_property(Value* prop) override;
};

class HOST_API QuatValue : public Value {
 public:
  explicit QuatValue(Quat q);
  Quat q;
  void sprin1(CharStream* s) override;
  bool equals(Value* other) override;
  Value* copy_vf() override;
  Value* get_property(Value* prop) override;  // x y z w
  bool has_property(Value* prop) override;
};

// Rotation angles in degrees about x, y and z.
class HOST_API EulerAnglesValue : public Value {
 public:
  EulerAnglesValue(float x, float y, float z);
  float angles[3];
  void sprin1(CharStream* s) override;
  bool equals(Value* other) override;  // by value, as the language compares rotations
  Value* copy_vf() override;
  Value* get_property(Value* prop) override;  // x y z
  bool has_property(Value* prop) override;
};

class HOST_API Matrix3Value : public Value {
 public:
  explicit Matrix3Value(const Matrix3& m);
  Matrix3 m;
  void sprin1(CharStream* s) override;
  bool equals(Value* other) override;  // by value: a node's .transform read twice is equal
  Value* copy_vf() override;
  Value* get_property(Value* prop) override;  // row1..row4, translation, pos
  Value* set_property(Value* prop, Value* v) override;  // row1..row4, translation, pos
  bool has_property(Value* prop) override;
};

// A time (ticks), printed in frames: 10f.
class HOST_API MSTime : public Value {
 public:
  explicit MSTime(TimeValue t);
  static Value* intern(TimeValue t) { return new MSTime(t); }
  TimeValue time;
  TimeValue to_timevalue() override { return time; }
  int to_int() override;      // whole frames
  float to_float() override;  // frames
  void sprin1(CharStream* s) override;
  bool equals(Value* other) override;
  Value* get_property(Value* prop) override;
  bool has_property(Value* prop) override;
};

// The text a value prints as with `print` (sprin1) or `format` (sprint).
HOST_API std::string value_to_text(Value* v, bool asPrint = true);
