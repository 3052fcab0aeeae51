// Screen points as viewport functions take them from script.
#pragma once

#include "gfx.h"
#include "maxscript/classes.h"

namespace sim::rt {

// A window pixel from a Point2 (or Point3) value; coordinates beyond a million pixels are held
// there, and a coordinate that is not finite raises a runtime error.
IPoint2 screenPointArg(Value* v);

}  // namespace sim::rt
