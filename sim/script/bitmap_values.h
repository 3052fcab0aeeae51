// The BitMap value's constructor, for calls of the class `bitmap`.
#pragma once

#include "maxscript/classes.h"

namespace sim::rt {

Value* makeBitmapValue(Value** arg_list, int count);

}  // namespace sim::rt
