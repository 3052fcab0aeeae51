// The runtime's bookkeeping of values: the list of live heap values, allocation frames, and the
// freeing of everything left at shutdown (cycles included).
#pragma once

#include "maxscript/value.h"

#include <vector>

struct HOST_API ValueHeap {
  static void link(Value* v);
  static void unlink(Value* v);
  static size_t liveCount();
  // True while an allocation frame is open: every value the evaluator hands on is then counted.
  static bool inFrame();
  // Frees every value still alive, cyclic structures included. Only at shutdown.
  static void freeAll();
};

namespace sim {

// An allocation frame for the lifetime of a C++ scope (exceptions included).
class HOST_API AllocFrame {
 public:
  AllocFrame();
  ~AllocFrame();
  AllocFrame(const AllocFrame&) = delete;
  AllocFrame& operator=(const AllocFrame&) = delete;
};

}  // namespace sim
