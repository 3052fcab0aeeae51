#include "script/rotation_values.h"
#include "script/script_failure.h"

#include "maxscript/maxscript.h"
#include "scene/controllers/controllers.h"

#include <cmath>
#include <numbers>

ValueMetaClass AngleAxis_class("AngleAxis");

namespace {

constexpr float kRadians = static_cast<float>(std::numbers::pi / 180.0);

const std::string& propName(Value* prop) { return static_cast<Name*>(prop)->lower; }

bool isRotation(Value* v) {
  return v->tag == class_tag(Quat) || v->tag == class_tag(EulerAngles) || v->tag == class_tag(Matrix3) ||
         v->tag == &AngleAxis_class;
}

}  // namespace

AngleAxisValue::AngleAxisValue(float angleDegrees, const Point3& a) : angle(angleDegrees), axis(a) { tag = &AngleAxis_class; }

void AngleAxisValue::sprin1(CharStream* s) {
  s->printf("(angleAxis %g [%g,%g,%g])", double(angle), double(axis.x), double(axis.y), double(axis.z));
}
bool AngleAxisValue::equals(Value* other) {
  if (other->tag != tag) return false;
  auto* o = static_cast<AngleAxisValue*>(other);
  return o->angle == angle && o->axis == axis;
}
Value* AngleAxisValue::copy_vf() { return new AngleAxisValue(angle, axis); }

Value* AngleAxisValue::get_property(Value* prop) {
  const std::string& n = propName(prop);
  if (n == "angle") return Float::intern(angle);
  if (n == "axis") return new Point3Value(axis);
  if (n == "numrevs") return Integer::intern(static_cast<int>(std::trunc(angle / 360.0f)));
  return unknown_property(this, prop);
}
bool AngleAxisValue::has_property(Value* prop) {
  const std::string& n = propName(prop);
  return n == "angle" || n == "axis" || n == "numrevs";
}

namespace sim::rt {

Value* transformProduct(Value* a, Value* b) {
  if (b->tag == class_tag(Matrix3)) {
    const Matrix3& m = static_cast<Matrix3Value*>(b)->m;
    if (a->tag == class_tag(Matrix3)) return new Matrix3Value(static_cast<Matrix3Value*>(a)->m * m);
    if (is_point3(a)) return new Point3Value(static_cast<Point3Value*>(a)->p * m);
  }
  if (b->tag == class_tag(Quat)) {
    const Quat& q = static_cast<QuatValue*>(b)->q;
    if (a->tag == class_tag(Quat)) return new QuatValue(static_cast<QuatValue*>(a)->q * q);
    if (is_point3(a)) {
      Matrix3 m;
      q.MakeMatrix(m);
      return new Point3Value(static_cast<Point3Value*>(a)->p * m);
    }
  }
  return nullptr;
}

Quat rotationToQuat(Value* v) {
  if (v->tag == class_tag(Quat)) return static_cast<QuatValue*>(v)->q;
  if (v->tag == class_tag(Matrix3)) return rotationPart(static_cast<Matrix3Value*>(v)->m);
  if (v->tag == class_tag(EulerAngles)) {
    const float* a = static_cast<EulerAnglesValue*>(v)->angles;
    return sim::eulerToQuat(Point3(a[0], a[1], a[2]) * kRadians);
  }
  if (v->tag == &AngleAxis_class) {
    auto* aa = static_cast<AngleAxisValue*>(v);
    return QFromAngAxis(aa->angle * kRadians, aa->axis);
  }
  throw ConversionError(v, "Quat");
}

Value* makeAngleAxis(Value** args, int count) {
  int n = count_positional_args(args, count);
  if (n != 2) throw ArgCountError("angleAxis", 2, n);
  return new AngleAxisValue(args[0]->to_float(), args[1]->to_point3());
}

Quat rotationPart(const Matrix3& m) {
  Matrix3 unscaled = m;
  for (int i = 0; i < 3; ++i) unscaled[i] = m[i].Normalize();
  return Quat(unscaled);
}

Value* rotationAs(Value* v, Value* cls) {
  if (!isRotation(v)) return nullptr;
  if (cls == class_tag(Quat)) return new QuatValue(rotationToQuat(v));
  if (cls == class_tag(Matrix3)) {
    Matrix3 m;
    rotationToQuat(v).MakeMatrix(m);
    return new Matrix3Value(m);
  }
  if (cls == class_tag(EulerAngles)) {
    Point3 a = quatToEuler(rotationToQuat(v)) / kRadians;
    return new EulerAnglesValue(a.x, a.y, a.z);
  }
  if (cls == &AngleAxis_class) {
    Quat q = rotationToQuat(v);
    q.Normalize();
    if (q.w < 0) q = Quat(-q.x, -q.y, -q.z, -q.w);  // the shorter way round
    float half = std::acos(std::fmin(q.w, 1.0f));
    float s = std::sin(half);
    if (s < 1e-6f) return new AngleAxisValue(0.0f, Point3(0, 0, 1));
    return new AngleAxisValue(2.0f * half / kRadians, Point3(q.x / s, q.y / s, q.z / s));
  }
  return nullptr;
}

}  // namespace sim::rt
