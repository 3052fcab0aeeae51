// The world bounds of several nodes at once, for the `.min`, `.max` and `.center` of a selection.
#pragma once

#include "maxscript/classes.h"

namespace sim::rt {

// The box around every node of `nodes` for `prop` (min, max or center); null when `prop` is none
// of those, or when `nodes` is empty or holds anything but nodes.
Value* nodeSetBounds(Array* nodes, Value* prop);

}  // namespace sim::rt
