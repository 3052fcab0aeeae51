// Script access to function-published interfaces, shared by wrapped scene objects (maxobjects.cpp)
// and the host's core interfaces reached by name (core_interface_value.cpp).
#pragma once

#include "maxscript/value.h"

#include <string>
#include <vector>

class FPInterface;
class MAXWrapper;
class ReferenceTarget;

namespace sim::rt {

// The interned lower-case text of a property or function name.
const std::string& lowerName(Value* prop);
// Calls published function `name` of `fpi` with script arguments converted by its description;
// null when the interface has no function of that name.
Value* callPublished(FPInterface* fpi, Value* name, Value** arg_list, int count);

// The core interface published under `lower` (its name without case), as a script value; null when
// there is none.
Value* coreInterfaceNamed(const std::string& lower);

// The interfaces `t` publishes, and for a node then those of its base object.
std::vector<FPInterface*> interfacesOfObject(ReferenceTarget* t);
// The interface that the object of `owner` publishes under `lower` (its name without case), as a
// script value that keeps `owner`; null when there is none.
Value* objectInterfaceNamed(MAXWrapper* owner, const std::string& lower);

}  // namespace sim::rt
