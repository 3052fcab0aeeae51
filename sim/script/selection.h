// The scene's selection as script sees it (`$`, `selection`).
#pragma once

#include "maxscript/classes.h"

#include <string_view>

namespace sim::rt {

// The one selected node, or an array of the selected nodes (empty when nothing is selected).
Value* selectionValue();

// The selection commands of `max ...`: "select all" (every node that can be picked: not hidden,
// not frozen), "select none" and "select invert". False for any other command.
bool runSelectionCommand(std::string_view command);

}  // namespace sim::rt
