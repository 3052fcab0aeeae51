// Script values. Every value the script runtime handles is a Value: numbers, strings, names, arrays,
// points, scene objects, functions. A value's class is its tag (`class_tag(Integer)`), compared by
// the is_xxx tests.
//
// Lifetime: values are counted references. A new value belongs to the innermost allocation frame
// (push_alloc_frame / pop_alloc_frame, which the runtime opens around every primitive call) until
// something keeps it: a variable, an array, the result slot. Plug-in code holds plain Value*
// within a primitive and never counts references itself.
#pragma once

#include "host_api.h"
#include "interval.h"
#include "point3.h"

class CharStream;
class Value;
class INode;
class Mtl;
class Texmap;
class Mesh;
class ReferenceTarget;
class Control;
class Bitmap;

// The class of a script value; it is itself a value (what `classOf` answers).
class HOST_API ValueMetaClass;

#define class_tag(c) (&c##_class)
#define is_kind(v, c) ((v) != nullptr && (v)->tag == class_tag(c))
#define is_integer(v) is_kind(v, Integer)
#define is_float(v) is_kind(v, Float)
#define is_number(v) (is_integer(v) || is_float(v))
#define is_string(v) is_kind(v, String)
#define is_name(v) is_kind(v, Name)
#define is_array(v) is_kind(v, Array)
#define is_bool(v) is_kind(v, Boolean)
#define is_point2(v) is_kind(v, Point2Value)
#define is_point3(v) is_kind(v, Point3Value)
#define is_node(v) is_kind(v, MAXNode)
#define is_bitmap(v) is_kind(v, MAXBitMap)

class HOST_API Value {
 public:
  ValueMetaClass* tag = nullptr;

  Value();
  virtual ~Value();
  Value(const Value&) = delete;
  Value& operator=(const Value&) = delete;

  // Conversions used by primitives. A value that cannot convert raises the language's conversion
  // error ("Unable to convert: <value> to type: <type>").
  virtual int to_int();
  virtual float to_float();
  virtual double to_double();
  virtual BOOL to_bool();
  virtual const TCHAR* to_string();
  virtual TimeValue to_timevalue();
  virtual INode* to_node();
  virtual Mtl* to_mtl();
  virtual Texmap* to_texmap();
  virtual ReferenceTarget* to_reftarg();
  virtual Control* to_controller();
  virtual Point2 to_point2();
  virtual Point3 to_point3();
  virtual Mesh* to_mesh();
  virtual Bitmap* to_bitmap();

  // Printing: sprin1 as `print` shows the value (strings quoted), sprint as `format` does.
  virtual void sprin1(CharStream* s);
  virtual void sprint(CharStream* s) { sprin1(s); }

  // Properties (`v.name`), indexing (`v[i]`, 1-based) and methods (`v.fn a b`). The defaults raise
  // the language's unknown-property / no-function errors. `prop` is always an interned Name.
  virtual Value* get_property(Value* prop);
  virtual Value* set_property(Value* prop, Value* v);
  virtual bool has_property(Value* prop) { return false; }
  // Appends the names of the value's properties (for getPropNames).
  virtual void get_property_names(class Array* names) {}
  virtual Value* get_index(Value* index);
  virtual Value* set_index(Value* index, Value* v);
  // `v.fn args`: answers null when the value has no method of that name (the runtime then looks for
  // a property holding a function).
  virtual Value* call_method(Value* name, Value** arg_list, int count) { return nullptr; }
  // Appending and deleting elements for collections other than arrays (parameter-block tables);
  // false when the value is no such collection.
  virtual bool append_item(Value* v) { return false; }
  virtual bool delete_item(int index1) { return false; }
  // Elements for `for x in v`; null when the value is not a collection.
  virtual class Array* as_collection() { return nullptr; }

  // Equality as the language's == (numbers by value, strings without case, others by identity).
  virtual bool equals(Value* other) { return other == this; }
  // The value's own copy (`copy v`); immutable values answer themselves.
  virtual Value* copy_vf() { return this; }

  // ---- reference counting, for the runtime ------------------------------------------------------
  void addRef() {
    if (refs_ >= 0) ++refs_;
  }
  void release() {
    if (refs_ > 0 && --refs_ == 0) destroy();
  }
  // Permanent values (singletons, interned small numbers and names, static primitives) are never
  // counted or freed, and leave the allocation frame and the list of live values.
  Value* make_permanent();
  bool is_permanent() const { return refs_ < 0; }
  int refs() const { return refs_; }

 protected:
  // Frees the value. Values freed while another is being freed wait their turn, so letting go of
  // a deeply nested structure never recurses.
  virtual void destroy();
  // Lets go of every value this one holds (containers); used to free cycles at shutdown.
  virtual void clear_contents() {}

 private:
  int refs_ = 0;
  Value* prevLive_ = nullptr;  // every live heap value is on one list, so shutdown can free cycles
  Value* nextLive_ = nullptr;
  friend struct ValueHeap;
};

// A counted reference to a value, for host code that keeps values beyond a primitive call.
class ValueRef {
 public:
  ValueRef() = default;
  ValueRef(Value* v) : v_(v) {
    if (v_) v_->addRef();
  }
  ValueRef(const ValueRef& o) : ValueRef(o.v_) {}
  ValueRef(ValueRef&& o) noexcept : v_(o.v_) { o.v_ = nullptr; }
  ValueRef& operator=(ValueRef o) noexcept {
    Value* t = v_;
    v_ = o.v_;
    o.v_ = t;
    return *this;
  }
  ~ValueRef() {
    if (v_) v_->release();
  }
  Value* get() const { return v_; }
  Value* operator->() const { return v_; }
  explicit operator bool() const { return v_ != nullptr; }

 private:
  Value* v_ = nullptr;
};
