#include "scene/scene_values.h"

#include "maxscript/exceptions.h"
#include "scene/controllers/controllers.h"

namespace sim {

namespace {
constexpr float kDegToRad = 3.14159265358979f / 180.0f;
}

Value* colorValue(const Color& c) { return new ColorValue(AColor(c)); }

Color toColor(Value* v) {
  if (is_kind(v, Color)) return Color(static_cast<ColorValue*>(v)->color);
  Point3 p = v->to_point3();
  return Color(p.x / 255.0f, p.y / 255.0f, p.z / 255.0f);
}

Value* quatValue(const Quat& q) { return new QuatValue(q); }

Quat toQuat(Value* v) {
  if (is_kind(v, Quat)) return static_cast<QuatValue*>(v)->q;
  if (is_kind(v, EulerAngles)) {
    auto* e = static_cast<EulerAnglesValue*>(v);
    return eulerToQuat(Point3(e->angles[0] * kDegToRad, e->angles[1] * kDegToRad, e->angles[2] * kDegToRad));
  }
  throw ConversionError(v, "Quat");
}

Value* matrixValue(const Matrix3& m) { return new Matrix3Value(m); }

Matrix3 toMatrix(Value* v) {
  if (is_kind(v, Matrix3)) return static_cast<Matrix3Value*>(v)->m;
  throw ConversionError(v, "Matrix3");
}

bool toFlag(Value* v) {
  if (is_number(v)) return v->to_int() != 0;
  return v->to_bool() != 0;
}

}  // namespace sim
