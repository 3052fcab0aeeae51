// What a holder's node holds now, in the holder's own record form: a scratch holder that is never
// part of the scene captures the same properties of the same node, so a recorded value and the
// value found are texts of one format, read the same way.
#pragma once

#include "host_api.h"
#include "passes/scene_passes.h"

namespace sim::passes {

// Captures `recorded`'s properties of its target node as pass `pass` (or the initial state) into a
// scratch holder and reads them back into `found` (whose values carry controllers and objects as
// the node holds them now). False, with `error`, when the holder's class cannot be made or called.
HOST_API bool readBack(const HolderPasses& recorded, int pass, HolderPasses& found, std::string& error);

}  // namespace sim::passes
