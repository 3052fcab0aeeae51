// Array tools beside the basic ones: adding only what is new, sorting by a script's own comparison,
// and the least and greatest of several values.
#include "maxscript/maxscript.h"
#include "script/evaluator.h"
#include "script/operators.h"
#include "script/value_heap.h"

#include <vector>

namespace {

Array* arrayArg(Value* v) {
  if (is_array(v)) return static_cast<Array*>(v);
  throw ConversionError(v, "Array");
}

// Orders `items` by `less`, stably. A merge sort of our own: a script's comparison may be
// inconsistent, and the standard sorts may then read out of range.
template <class Less>
void mergeSort(std::vector<ValueRef>& items, Less less) {
  std::vector<ValueRef> merged(items.size());
  for (size_t width = 1; width < items.size(); width *= 2) {
    for (size_t lo = 0; lo < items.size(); lo += 2 * width) {
      size_t mid = std::min(lo + width, items.size()), hi = std::min(lo + 2 * width, items.size());
      size_t i = lo, j = mid, k = lo;
      while (i < mid && j < hi) merged[k++] = less(items[j].get(), items[i].get()) ? items[j++] : items[i++];
      while (i < mid) merged[k++] = items[i++];
      while (j < hi) merged[k++] = items[j++];
    }
    items.swap(merged);
  }
}

// The least (sign -1) or greatest (sign 1) of the array argument or of the arguments themselves.
Value* extreme(Value** arg_list, int count, int sign, const char* fn) {
  Value** items = arg_list;
  int n = count_positional_args(arg_list, count);
  if (n == 0) throw ArgCountError(fn, 1, 0);
  if (n == 1 && is_array(arg_list[0])) {
    items = static_cast<Array*>(arg_list[0])->data;
    n = static_cast<Array*>(arg_list[0])->size;
  }
  if (n == 0) return undefined;
  Value* best = items[0];
  for (int i = 1; i < n; ++i)
    if (sim::compareValues(items[i], best, sign < 0 ? "<" : ">") * sign > 0) best = items[i];
  return best;
}

}  // namespace

// appendIfUnique a v: appends v unless an equal value is there already; answers whether it did.
def_visible_primitive(appendIfUnique, "appendIfUnique");
Value* appendIfUnique_cf(Value** arg_list, int count) {
  check_arg_count(appendIfUnique, 2, count);
  Array* a = arrayArg(arg_list[0]);
  for (int i = 0; i < a->size; ++i)
    if (sim::valuesEqual(a->data[i], arg_list[1])) return false_value;
  a->append(arg_list[1]);
  return true_value;
}

// qsort a fn start: end: [key:value ...]: sorts a (or its elements start to end) in place by
// fn x y, which answers a number below, at or above 0. The other keyword arguments go on to fn.
def_visible_primitive(qsort, "qsort");
Value* qsort_cf(Value** arg_list, int count) {
  int positional = count_positional_args(arg_list, count);
  if (positional != 2) throw ArgCountError("qsort", 2, positional);
  Array* a = arrayArg(arg_list[0]);
  Value* fn = arg_list[1];
  if (!dynamic_cast<Function*>(fn)) throw TypeError("qsort needs a function to compare with", fn);
  Value* startArg = key_arg_or_default(start, Integer::intern(1));
  Value* endArg = key_arg_or_default(end, Integer::intern(a->size));
  int first = startArg->to_int(), last = endArg->to_int();
  if (first < 1 || first > a->size + 1) throw RuntimeError("qsort start: out of range: ", startArg);
  if (last > a->size || last < 0) throw RuntimeError("qsort end: out of range: ", endArg);
  if (last <= first) return ok;

  // The call's arguments: the two values, then every keyword but start: and end:.
  std::vector<Value*> call{nullptr, nullptr};
  Value* startName = Name::intern("start");
  Value* endName = Name::intern("end");
  for (int i = positional + 1; i + 1 < count; i += 2) {
    if (arg_list[i] == startName || arg_list[i] == endName) continue;
    if (call.size() == 2) call.push_back(&keyarg_marker_value);
    call.push_back(arg_list[i]);
    call.push_back(arg_list[i + 1]);
  }
  auto less = [&](Value* x, Value* y) {
    sim::AllocFrame frame;  // each answer goes once it is read
    call[0] = x;
    call[1] = y;
    Value* order = sim::rt::Evaluator::call(fn, call.data(), static_cast<int>(call.size()), "qsort");
    return sim::numberValue(order) < 0;
  };
  std::vector<ValueRef> items(a->data + first - 1, a->data + last);
  mergeSort(items, less);
  // The comparison may have changed the array; what it holds now is what gets sorted into.
  if (a->size < last) throw RuntimeError("qsort: the array changed size while sorting: ", a);
  for (size_t i = 0; i < items.size(); ++i) a->put(first + static_cast<int>(i), items[i].get());
  return ok;
}

def_visible_primitive(amin, "amin");
Value* amin_cf(Value** arg_list, int count) { return extreme(arg_list, count, -1, "amin"); }

def_visible_primitive(amax, "amax");
Value* amax_cf(Value** arg_list, int count) { return extreme(arg_list, count, 1, "amax"); }
