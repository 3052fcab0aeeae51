// The script heap as the language shows it: `gc()`, `heapSize` and `heapFree`.
//
// Values here are counted references, freed the moment nothing holds them, so a collection has
// nothing to free that a script could still reach, and `gc` only reports: it is safe anywhere, in
// the middle of a loop over nodes included. (Values that hold each other go when the host ends.)
// The heap's size is a budget that old scripts read and raise before big jobs; it grows by itself
// as values need it and never limits them.
#include "maxscript/maxscript.h"
#include "script/runtime.h"
#include "script/value_heap.h"

#include <algorithm>
#include <climits>

namespace {

// What the heap counts for each live value, and its size before any script raises it.
constexpr long long kBytesPerValue = 64;
constexpr long long kInitialHeapSize = 15LL << 20;

long long g_heapSize = kInitialHeapSize;

long long heapUsed() { return static_cast<long long>(ValueHeap::liveCount()) * kBytesPerValue; }

// The size, grown first when the values alive need more than it (by a quarter more, as heaps grow).
long long heapSize() {
  long long used = heapUsed();
  if (used > g_heapSize) g_heapSize = used + used / 4;
  return g_heapSize;
}

// Sizes as the language's integers: past their range they read as the largest.
Value* bytes(long long n) { return Integer::intern(static_cast<int>(std::clamp<long long>(n, 0, INT_MAX))); }

Value* heapFree() { return bytes(heapSize() - heapUsed()); }

// heapSize = n: the heap takes at least n bytes; asking for less than it has keeps what it has.
void setHeapSize(Value* v) {
  if (!is_number(v)) throw ConversionError(v, "Integer");
  double want = v->to_double();
  if (want > g_heapSize) g_heapSize = static_cast<long long>(std::min(want, double(INT_MAX)));
}

const bool kDefined = [] {
  sim::rt::Runtime& rt = sim::rt::Runtime::get();
  rt.defineSystemGlobal("heapSize", [] { return bytes(heapSize()); }, setHeapSize);
  rt.defineSystemGlobal("heapFree", [] { return heapFree(); });
  return true;
}();

}  // namespace

// gc [light:] [delayed:]: answers the free heap, as after a collection.
def_visible_primitive(gc, "gc");
Value* gc_cf(Value** arg_list, int count) {
  int positional = count_positional_args(arg_list, count);
  if (positional != 0) throw ArgCountError("gc", 0, positional);
  return heapFree();
}
