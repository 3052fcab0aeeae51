// Properties and indexing of the language's own values: arrays, strings and points.
#include "script/script_failure.h"
#include "maxscript/classes.h"
#include "maxscript/exceptions.h"
#include "script/node_bounds.h"

namespace {

Value* nameCount() {
  static Value* n = Name::intern("count");
  return n;
}

int indexOf(Value* index) { return index->to_int(); }

[[noreturn]] void outOfBounds(Value* index) { throw RuntimeError("Array index out of bounds: ", index); }

// Components of points by name: x, y, z.
int componentOf(Value* prop, int dimensions) {
  const std::string& n = static_cast<Name*>(prop)->lower;
  if (n == "x") return 0;
  if (n == "y") return 1;
  if (n == "z" && dimensions > 2) return 2;
  return -1;
}

}  // namespace

// ---- arrays --------------------------------------------------------------------------------------

Value* Array::get_property(Value* prop) {
  if (prop == nameCount()) return Integer::intern(size);
  // An array of nodes (a selection) has the bounds of all of them.
  if (Value* bounds = sim::rt::nodeSetBounds(this, prop)) return bounds;
  return unknown_property(this, prop);
}

// Setting .count truncates or extends with undefined, as in the language.
Value* Array::set_property(Value* prop, Value* v) {
  if (prop != nameCount()) return unknown_property(this, prop);
  int n = v->to_int();
  if (n < 0) throw RuntimeError("Array count must not be negative: ", v);
  resize(n);
  return v;
}

bool Array::has_property(Value* prop) { return prop == nameCount(); }

Value* Array::get_index(Value* index) {
  int i = indexOf(index);
  if (i < 1) outOfBounds(index);
  return get(i);
}

Value* Array::set_index(Value* index, Value* v) {
  int i = indexOf(index);
  if (i < 1) outOfBounds(index);
  put(i, v);
  return v;
}

// ---- strings -------------------------------------------------------------------------------------

Value* String::get_property(Value* prop) {
  if (prop == nameCount()) return Integer::intern(static_cast<int>(text.size()));
  return unknown_property(this, prop);
}

bool String::has_property(Value* prop) { return prop == nameCount(); }

Value* String::get_index(Value* index) {
  int i = indexOf(index);
  if (i < 1 || static_cast<size_t>(i) > text.size()) outOfBounds(index);
  return new String(std::string(1, text[static_cast<size_t>(i - 1)]));
}

// ---- points --------------------------------------------------------------------------------------

Value* Point2Value::get_property(Value* prop) {
  int c = componentOf(prop, 2);
  if (c < 0) return unknown_property(this, prop);
  return Float::intern(p[c]);
}

Value* Point2Value::set_property(Value* prop, Value* v) {
  int c = componentOf(prop, 2);
  if (c < 0) return unknown_property(this, prop);
  p[c] = v->to_float();
  return v;
}

bool Point2Value::has_property(Value* prop) { return componentOf(prop, 2) >= 0; }

Value* Point2Value::get_index(Value* index) {
  int i = indexOf(index);
  if (i < 1 || i > 2) outOfBounds(index);
  return Float::intern(p[i - 1]);
}

Value* Point2Value::set_index(Value* index, Value* v) {
  int i = indexOf(index);
  if (i < 1 || i > 2) outOfBounds(index);
  p[i - 1] = v->to_float();
  return v;
}

Value* Point3Value::get_property(Value* prop) {
  int c = componentOf(prop, 3);
  if (c < 0) return unknown_property(this, prop);
  return Float::intern(p[c]);
}

Value* Point3Value::set_property(Value* prop, Value* v) {
  int c = componentOf(prop, 3);
  if (c < 0) return unknown_property(this, prop);
  p[c] = v->to_float();
  return v;
}

bool Point3Value::has_property(Value* prop) { return componentOf(prop, 3) >= 0; }

Value* Point3Value::get_index(Value* index) {
  int i = indexOf(index);
  if (i < 1 || i > 3) outOfBounds(index);
  return Float::intern(p[i - 1]);
}

Value* Point3Value::set_index(Value* index, Value* v) {
  int i = indexOf(index);
  if (i < 1 || i > 3) outOfBounds(index);
  p[i - 1] = v->to_float();
  return v;
}
