// Calling a value class makes a value: (color 255 0 0), (quat 0 0 0 1), (eulerAngles 0 0 90),
// (point3 1 2 3), (matrix3 1), (bitmap 320 240 color:white).
#include "maxscript/maxscript.h"
#include "script/bitmap_values.h"
#include "script/rotation_values.h"
#include "script/value_constructors.h"

#include <cmath>
#include <numbers>

namespace sim::rt {
namespace {

float f(Value* v) { return v->to_float(); }

}  // namespace

Value* constructValue(ValueMetaClass* cls, Value** args, int count) {
  int n = count_positional_args(args, count);
  auto need = [&](int lo, int hi, const char* name) {
    if (n < lo || n > hi) throw ArgCountError(name, lo, n);
  };
  if (cls == class_tag(Color)) {
    need(3, 4, "color");
    return new ColorValue(f(args[0]), f(args[1]), f(args[2]), n == 4 ? f(args[3]) : 255.0f);
  }
  if (cls == class_tag(Quat)) {
    if (n == 2) {  // (quat angle axis), the angle in degrees
      float a = f(args[0]) * static_cast<float>(std::numbers::pi / 180.0);
      return new QuatValue(QFromAngAxis(a, args[1]->to_point3()));
    }
    need(4, 4, "quat");
    return new QuatValue(Quat(f(args[0]), f(args[1]), f(args[2]), f(args[3])));
  }
  if (cls == class_tag(EulerAngles)) {
    need(3, 3, "eulerAngles");
    return new EulerAnglesValue(f(args[0]), f(args[1]), f(args[2]));
  }
  if (cls == &AngleAxis_class) return makeAngleAxis(args, count);
  if (cls == class_tag(Point3Value)) {
    need(3, 3, "point3");
    return new Point3Value(f(args[0]), f(args[1]), f(args[2]));
  }
  if (cls == class_tag(Point2Value)) {
    need(2, 2, "point2");
    return new Point2Value(f(args[0]), f(args[1]));
  }
  if (cls == class_tag(Point4Value)) {
    need(4, 4, "point4");
    return new Point4Value(Point4(f(args[0]), f(args[1]), f(args[2]), f(args[3])));
  }
  if (cls == class_tag(Matrix3)) {
    if (n == 1) {  // (matrix3 1) is the identity, (matrix3 0) all zeros
      Matrix3 m;
      if (args[0]->to_int() == 0) m.Zero();
      return new Matrix3Value(m);
    }
    need(4, 4, "matrix3");
    return new Matrix3Value(Matrix3(args[0]->to_point3(), args[1]->to_point3(), args[2]->to_point3(), args[3]->to_point3()));
  }
  if (cls == class_tag(Array)) return new Array;
  if (cls == class_tag(MAXBitMap)) return makeBitmapValue(args, count);
  return nullptr;
}

}  // namespace sim::rt
