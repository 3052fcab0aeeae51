#include "script/selection.h"

#include "maxscript/maxscript.h"

namespace sim::rt {

// Selection state belongs to the scene's nodes; until nodes carry it, nothing is selected.
Value* selectionValue() { return new Array; }

}  // namespace sim::rt
