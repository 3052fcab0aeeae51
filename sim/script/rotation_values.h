// Rotations as script values beside quat and eulerAngles: angleAxis, and the conversions between
// every two of quat, angleAxis, eulerAngles and matrix3 (`r as quat`, `m as eulerAngles`, ...).
#pragma once

#include "maxscript/classes.h"
#include "quat.h"

extern ValueMetaClass AngleAxis_class;

// An angle in degrees about an axis; more than a turn keeps its whole turns (numRevs).
class AngleAxisValue : public Value {
 public:
  AngleAxisValue(float angleDegrees, const Point3& axis);
  float angle;
  Point3 axis;
  void sprin1(CharStream* s) override;
  bool equals(Value* other) override;
  Value* copy_vf() override;
  Value* get_property(Value* prop) override;  // angle, axis, numRevs
  bool has_property(Value* prop) override;
};

namespace sim::rt {

// Any rotation value (quat, eulerAngles, angleAxis, the rotation of a matrix3) as a quaternion, as
// the host composes them; a conversion error for anything else.
Quat rotationToQuat(Value* v);
// Products of transforms: matrix3 * matrix3, quat * quat, and a point3 times either (the point
// transformed); null for any other operands.
Value* transformProduct(Value* a, Value* b);
// (angleAxis degrees axis)
Value* makeAngleAxis(Value** args, int count);
// `v as <class>` between the rotation values; null when either side is not one of them.
Value* rotationAs(Value* v, Value* cls);
// The rotation of a matrix with its scale taken out.
Quat rotationPart(const Matrix3& m);

}  // namespace sim::rt
