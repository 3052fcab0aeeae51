// The scene's selection as script sees it (`$`, `selection`).
#pragma once

#include "maxscript/classes.h"

namespace sim::rt {

// The one selected node, or a collection of the selected nodes.
Value* selectionValue();

}  // namespace sim::rt
