// Path names: $Box01, $'Box 01', $Box* (wildcards), $ (the selection), $parent/child.
#pragma once

#include "maxscript/classes.h"
#include "script/ast_names.h"

namespace sim::rt {

// A node, undefined when nothing matches, or for wildcards a collection of every match (which
// reads properties from its first node and sets them on all).
Value* resolvePath(const PathName& path);

}  // namespace sim::rt
