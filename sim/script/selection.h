// The scene's selection as script sees it (`$`, `selection`).
#pragma once

#include "maxscript/classes.h"

namespace sim::rt {

// The one selected node, or an array of the selected nodes (empty when nothing is selected).
Value* selectionValue();

}  // namespace sim::rt
