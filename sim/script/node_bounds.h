// The world bounds of several nodes at once: the `.min`, `.max` and `.center` of a selection, and
// where a new group's head goes.
#pragma once

#include "box3.h"
#include "maxscript/classes.h"

#include <vector>

class INode;

namespace sim::rt {

// The box around every node of `nodes` for `prop` (min, max or center); null when `prop` is none
// of those, or when `nodes` is empty or holds anything but nodes.
Value* nodeSetBounds(Array* nodes, Value* prop);
// The world box around `nodes` (their objects after modifiers; a point at the pivot for a node
// without geometry).
Box3 worldBoxAround(const std::vector<INode*>& nodes);

}  // namespace sim::rt
