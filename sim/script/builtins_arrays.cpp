// Array primitives and the generic value primitives (copy, classOf).
#include "maxscript/maxscript.h"
#include "script/operators.h"

#include <algorithm>
#include <vector>

namespace {

// Arrays, or any collection (parameter tables) as a snapshot array for reading.
Array* array(Value* v) {
  if (is_array(v)) return static_cast<Array*>(v);
  if (Array* a = v->as_collection()) return a;
  throw ConversionError(v, "Array");
}

}  // namespace

def_visible_primitive(append, "append");
Value* append_cf(Value** arg_list, int count) {
  check_arg_count(append, 2, count);
  if (is_string(arg_list[0])) {
    // Strings append in place, as in the language.
    static_cast<String*>(arg_list[0])->text += arg_list[1]->to_string();
    return arg_list[0];
  }
  if (!is_array(arg_list[0]) && arg_list[0]->append_item(arg_list[1])) return arg_list[0];
  array(arg_list[0])->append(arg_list[1]);
  return arg_list[0];
}

def_visible_primitive(deleteItem, "deleteItem");
Value* deleteItem_cf(Value** arg_list, int count) {
  check_arg_count(deleteItem, 2, count);
  int i = arg_list[1]->to_int();
  if (!is_array(arg_list[0]) && arg_list[0]->delete_item(i)) return arg_list[0];
  Array* a = array(arg_list[0]);
  if (i < 1 || i > a->size) throw RuntimeError("Array index out of bounds: ", arg_list[1]);
  a->remove(i);
  return a;
}

def_visible_primitive(insertItem, "insertItem");
Value* insertItem_cf(Value** arg_list, int count) {
  check_arg_count(insertItem, 3, count);
  Array* a = array(arg_list[1]);
  int i = arg_list[2]->to_int();
  if (i < 1) throw RuntimeError("Array index out of bounds: ", arg_list[2]);
  a->insert(i, arg_list[0]);
  return ok;
}

def_visible_primitive(findItem, "findItem");
Value* findItem_cf(Value** arg_list, int count) {
  check_arg_count(findItem, 2, count);
  Array* a = array(arg_list[0]);
  for (int i = 0; i < a->size; ++i)
    if (sim::valuesEqual(a->data[i], arg_list[1])) return Integer::intern(i + 1);
  return Integer::intern(0);
}

def_visible_primitive(join, "join");
Value* join_cf(Value** arg_list, int count) {
  check_arg_count(join, 2, count);
  Array* a = array(arg_list[0]);
  Array* b = array(arg_list[1]);
  int n = b->size;  // joining an array to itself appends its elements once
  for (int i = 0; i < n; ++i) a->append(b->data[i]);
  return a;
}

def_visible_primitive(sort, "sort");
Value* sort_cf(Value** arg_list, int count) {
  check_arg_count(sort, 1, count);
  Array* a = array(arg_list[0]);
  std::vector<Value*> items(a->data, a->data + a->size);
  std::stable_sort(items.begin(), items.end(), [](Value* x, Value* y) { return sim::compareValues(x, y, "<") < 0; });
  std::copy(items.begin(), items.end(), a->data);
  return a;
}

def_visible_primitive(makeUniqueArray, "makeUniqueArray");
Value* makeUniqueArray_cf(Value** arg_list, int count) {
  check_arg_count(makeUniqueArray, 1, count);
  Array* a = array(arg_list[0]);
  one_typed_value_local(Array* result);
  vl.result = new Array(a->size);
  for (int i = 0; i < a->size; ++i) {
    bool seen = false;
    for (int j = 0; j < vl.result->size && !seen; ++j) seen = sim::valuesEqual(vl.result->data[j], a->data[i]);
    if (!seen) vl.result->append(a->data[i]);
  }
  return_value(vl.result);
}

def_visible_primitive(copy, "copy");
Value* copy_cf(Value** arg_list, int count) {
  check_arg_count(copy, 1, count);
  return arg_list[0]->copy_vf();
}
