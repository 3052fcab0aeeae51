// Times and intervals as script values: arithmetic where numbers stand for frames, comparison,
// conversion with `as`, and the interval value (`interval 0f 100f`, `animationRange`).
#pragma once

#include "interval.h"
#include "maxscript/classes.h"
#include "script/operators.h"

namespace sim::rt {

// Each answers null when neither operand is a time (or the class no time converts to), leaving the
// operator to the other kinds of value.
Value* timeArithmetic(BinaryOp op, Value* a, Value* b);
// True, with <0, 0 or >0 in `order`, when one operand is a time and the other a time or a number.
bool compareTimes(Value* a, Value* b, int& order);
Value* timeAs(Value* v, Value* cls);

Value* intervalValue(Interval range);
bool isInterval(Value* v);
// An interval value as the host's interval; raises the conversion error for anything else.
Interval toInterval(Value* v);

}  // namespace sim::rt
