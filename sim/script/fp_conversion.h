// Between script values and the values of published functions (FPValue), by the function's declared
// parameter and result types.
#pragma once

#include "ifnpub.h"
#include "maxscript/classes.h"

namespace sim::rt {

// The script value of a function result or a script result handed to C++ (undefined for void).
Value* fromFPValue(const FPValue& v);
// Loads `out` with `v` converted to `type`; raises the language's conversion error when it cannot.
void toFPValue(Value* v, int type, FPValue& out);
// The type and value a script result has when C++ asks for it (ExecuteMAXScriptScript's result).
void resultToFPValue(Value* v, FPValue& out);

}  // namespace sim::rt
