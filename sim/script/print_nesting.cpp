#include "script/print_nesting.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

namespace sim::rt {
namespace {

// Deeper than this, values print abbreviated: printing recurses once per level.
constexpr size_t kMaxDepth = 64;
// Elements that one print may spend on values it has printed before. The first printing of every
// value is free (it is bounded by what the values hold); only repeats draw on this.
constexpr size_t kRepeatBudget = size_t(1) << 20;

// The print under way: the values on the current path, the values printed so far, the repeats'
// cost. Empty again once the outermost value is done.
struct PrintState {
  std::vector<Value*> path;
  std::unordered_set<Value*> printed;
  size_t repeated = 0;
};

PrintState& state() {
  static PrintState s;
  return s;
}

}  // namespace

PrintNesting::PrintNesting(Value* v, size_t elements) {
  PrintState& s = state();
  if (s.path.size() >= kMaxDepth) return;
  if (std::find(s.path.begin(), s.path.end(), v) != s.path.end()) return;
  if (!s.printed.insert(v).second) {
    size_t cost = elements + 1;
    if (cost > kRepeatBudget - s.repeated) {
      s.repeated = kRepeatBudget;  // from here on every repeat is abbreviated, small ones too
      return;
    }
    s.repeated += cost;
  }
  s.path.push_back(v);
  entered_ = true;
}

PrintNesting::~PrintNesting() {
  PrintState& s = state();
  if (entered_) s.path.pop_back();
  if (s.path.empty()) {
    s.printed.clear();
    s.repeated = 0;
  }
}

}  // namespace sim::rt
