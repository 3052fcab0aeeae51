// eulerToQuat and quatToEuler with an axis order: `order:` 1 to 6 names XYZ, XZY, YZX, YXZ, ZXY and
// ZYX, the order in which the three rotations apply (1, the default, is the order of eulerAngles
// values and Euler XYZ controllers). Angles stay attached to their axes whatever the order: .x is
// always the turn about x.
#include "maxscript/maxscript.h"
#include "matrix3.h"
#include "scene/controllers/controllers.h"

#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr float kRadians = static_cast<float>(std::numbers::pi / 180.0);

using AxisOrder = std::array<int, 3>;
constexpr AxisOrder kOrders[] = {{0, 1, 2}, {0, 2, 1}, {1, 2, 0}, {1, 0, 2}, {2, 0, 1}, {2, 1, 0}};

AxisOrder orderArg(Value** arg_list, int count) {
  Value* v = key_arg_or_default(order, Integer::intern(1));
  if (!is_number(v)) throw ConversionError(v, "Integer");
  int order = v->to_int();
  if (order < 1 || order > 6) throw RuntimeError("Euler order out of range (1 to 6): ", v);
  return kOrders[order - 1];
}

Matrix3 axisRotation(int axis, float radians) {
  return axis == 0 ? RotateXMatrix(radians) : axis == 1 ? RotateYMatrix(radians) : RotateZMatrix(radians);
}

// An order that is not a cyclic turn of XYZ relabels the axes through a mirror, which reverses
// every angle.
bool mirrored(const AxisOrder& o) { return (o[0] + 1) % 3 != o[1]; }

}  // namespace

def_visible_primitive(eulerToQuat, "eulerToQuat");
Value* eulerToQuat_cf(Value** arg_list, int count) {
  int n = count_positional_args(arg_list, count);
  if (n != 1) throw ArgCountError("eulerToQuat", 1, n);
  if (arg_list[0]->tag != class_tag(EulerAngles)) throw ConversionError(arg_list[0], "EulerAngles");
  const float* a = static_cast<EulerAnglesValue*>(arg_list[0])->angles;
  AxisOrder o = orderArg(arg_list, count);
  Matrix3 m = axisRotation(o[0], a[o[0]] * kRadians) * axisRotation(o[1], a[o[1]] * kRadians) *
              axisRotation(o[2], a[o[2]] * kRadians);
  return new QuatValue(Quat(m));
}

def_visible_primitive(quatToEuler, "quatToEuler");
Value* quatToEuler_cf(Value** arg_list, int count) {
  int n = count_positional_args(arg_list, count);
  if (n != 1) throw ArgCountError("quatToEuler", 1, n);
  if (arg_list[0]->tag != class_tag(Quat)) throw ConversionError(arg_list[0], "Quat");
  const Quat& q = static_cast<QuatValue*>(arg_list[0])->q;
  AxisOrder o = orderArg(arg_list, count);
  // Relabel the axes so that the order becomes XYZ, take the XYZ angles, and put them back.
  float sign = mirrored(o) ? -1.0f : 1.0f;
  Quat relabelled(sign * q[o[0]], sign * q[o[1]], sign * q[o[2]], q.w);
  Point3 xyz = sim::quatToEuler(relabelled) / kRadians;
  float angles[3];
  for (int i = 0; i < 3; ++i) angles[o[i]] = sign * xyz[i];
  return new EulerAnglesValue(angles[0], angles[1], angles[2]);
}
