// Printing values that hold values (arrays, struct instances). A value may hold itself, directly or
// through others, and one value may be held many times over: printing follows every path, so it
// must know where it stands.
//
// Each such value opens a PrintNesting around its elements and prints them only when `abbreviated()`
// says no; otherwise it writes its brackets around "..." (`#(...)`, `(S ...)`). That happens for a
// value already being printed on the current path (it holds itself), for one nested too deep to
// follow, and for a value printed once already by the same print once the repeats used up their
// budget. Everything else prints in full, so a structure without cycles or sharing always does.
#pragma once

#include "maxscript/value.h"

#include <cstddef>

namespace sim::rt {

class PrintNesting {
 public:
  // `elements`: how many values `v` prints inside it (the work a repeat of it costs).
  PrintNesting(Value* v, size_t elements);
  ~PrintNesting();
  PrintNesting(const PrintNesting&) = delete;
  PrintNesting& operator=(const PrintNesting&) = delete;

  bool abbreviated() const { return !entered_; }

 private:
  bool entered_ = false;
};

}  // namespace sim::rt
