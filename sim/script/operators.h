// The language's operators on values: arithmetic with integer/float promotion, string joining,
// point arithmetic, comparisons, and `as` conversions.
#pragma once

#include "maxscript/classes.h"

namespace sim {

enum class BinaryOp { Add, Subtract, Multiply, Divide, Power };

// Operands the operator does not take fail as a value (kFailed, script/script_failure.h) with
// `-- No "+" function for <a>` and so on; `as` does the same with its conversion error.
HOST_API Value* applyBinary(BinaryOp op, Value* a, Value* b);
HOST_API Value* negate(Value* a);
// The language's ==: numbers by value (1 == 1.0), strings without case, points by components.
HOST_API bool valuesEqual(Value* a, Value* b);
// <, >, <=, >= on numbers, strings (without case) and time; raises for other operands.
HOST_API int compareValues(Value* a, Value* b, const char* opName);
// `v as <class>` for string, integer, float, name, array (and a value already of that class).
HOST_API Value* convertAs(Value* v, Value* cls);
// The value's truth in `if`, `while`, `and`, `or`, `not`: only booleans have one.
HOST_API bool truth(Value* v);
// A number of either kind as a double.
HOST_API double numberValue(Value* v);

}  // namespace sim
