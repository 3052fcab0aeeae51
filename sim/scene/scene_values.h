// Conversions between the scene's values and script values, shared by the property tables of the
// scene classes. Wrong values raise the language's conversion error.
#pragma once

#include "color.h"
#include "matrix3.h"
#include "maxscript/classes.h"
#include "quat.h"

namespace sim {

// Colours: components 0..1 in the scene, 0..255 in script. A point3 is taken as a 0..255 colour.
HOST_API Value* colorValue(const Color& c);
HOST_API Color toColor(Value* v);
HOST_API Value* quatValue(const Quat& q);
// A quat, or euler angles in degrees.
HOST_API Quat toQuat(Value* v);
HOST_API Value* matrixValue(const Matrix3& m);
HOST_API Matrix3 toMatrix(Value* v);
// true/false, or a number (non-zero is true), as node flags accept them.
HOST_API bool toFlag(Value* v);

}  // namespace sim
