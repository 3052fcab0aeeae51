// Non-error exits from evaluation: `exit`, `continue` and `return`. They are C++ exceptions that no
// script `try` catches; a loop or function call turns them back into values.
#pragma once

#include "maxscript/value.h"

namespace sim::rt {

struct LoopExit {
  ValueRef value;
};
struct LoopContinue {};
struct FunctionReturn {
  ValueRef value;
};

}  // namespace sim::rt
