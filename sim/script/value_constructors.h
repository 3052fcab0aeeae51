// Values made by calling their class.
#pragma once

#include "maxscript/classes.h"

namespace sim::rt {

// The new value, or null when the class makes no values this way.
Value* constructValue(ValueMetaClass* cls, Value** args, int count);

}  // namespace sim::rt
