// String streams as script values: `stringStream "text"`, `s as stringStream`, the reading
// functions (readLine, readChar, readDelimitedString, skipToString, seek, ...) and `free`.
#pragma once

#include "maxscript/classes.h"

namespace sim::rt {

// `v as <class>` between strings and string streams; null when neither side is one.
Value* stringStreamAs(Value* v, Value* cls);
// `free ss` empties a string stream and answers ok; null for any other value.
Value* freeStringStream(Value* v);

}  // namespace sim::rt
