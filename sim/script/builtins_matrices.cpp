// Transform primitives: matrices made from a normal or one elementary change, and the incremental
// changes that alter a matrix in place (`rotateX m 90` turns m itself and answers it). Angles are
// in degrees; rotations turn as the host's matrices do (rotateZMatrix 90 takes x towards y).
#include "maxscript/maxscript.h"

#include <numbers>

namespace {

constexpr float kRadians = static_cast<float>(std::numbers::pi / 180.0);

Matrix3Value* matrixArg(Value* v) {
  if (v->tag != class_tag(Matrix3)) throw ConversionError(v, "Matrix3");
  return static_cast<Matrix3Value*>(v);
}

float radians(Value* v) { return v->to_float() * kRadians; }

}  // namespace

// inverse m: the inverse of a matrix3 (a singular one gives the identity) or of a quat.
def_visible_primitive(inverse, "inverse");
Value* inverse_cf(Value** arg_list, int count) {
  check_arg_count(inverse, 1, count);
  Value* v = arg_list[0];
  if (v->tag == class_tag(Quat)) {
    Quat q = static_cast<QuatValue*>(v)->q.Inverse();
    for (float* c : {&q.x, &q.y, &q.z, &q.w}) *c += 0.0f;  // no "-0" parts
    return new QuatValue(q);
  }
  return new Matrix3Value(matrixArg(v)->m.Inverse());
}

// matrixFromNormal n: a matrix whose z axis is n (normalized), with x level in the xy plane.
def_visible_primitive(matrixFromNormal, "matrixFromNormal");
Value* matrixFromNormal_cf(Value** arg_list, int count) {
  check_arg_count(matrixFromNormal, 1, count);
  Point3 n = arg_list[0]->to_point3().Normalize();
  if (n.LengthSquared() == 0.0f) throw RuntimeError("matrixFromNormal needs a normal that is not zero: ", arg_list[0]);
  Point3 x(-n.y, n.x, 0.0f);
  if (x.x == 0.0f && x.y == 0.0f) x = Point3(1.0f, 0.0f, 0.0f);
  x = x.Normalize();
  return new Matrix3Value(Matrix3(x, CrossProd(n, x).Normalize(), n, Point3()));
}

#define matrix_maker(fn, expr)                      \
  def_visible_primitive(fn, #fn);                   \
  Value* fn##_cf(Value** arg_list, int count) {     \
    check_arg_count(fn, 1, count);                  \
    return new Matrix3Value(expr);                  \
  }

matrix_maker(rotateXMatrix, RotateXMatrix(radians(arg_list[0])))
matrix_maker(rotateYMatrix, RotateYMatrix(radians(arg_list[0])))
matrix_maker(rotateZMatrix, RotateZMatrix(radians(arg_list[0])))
matrix_maker(transMatrix, TransMatrix(arg_list[0]->to_point3()))
matrix_maker(scaleMatrix, ScaleMatrix(arg_list[0]->to_point3()))

// The incremental changes: `fn m amount` changes m and answers it.
#define matrix_change(fn, call)                     \
  def_visible_primitive(fn, #fn);                   \
  Value* fn##_cf(Value** arg_list, int count) {     \
    check_arg_count(fn, 2, count);                  \
    Matrix3Value* mv = matrixArg(arg_list[0]);      \
    Value* amount = arg_list[1];                    \
    mv->m.call;                                     \
    return mv;                                      \
  }

matrix_change(translate, Translate(amount->to_point3()))
matrix_change(rotateX, RotateX(radians(amount)))
matrix_change(rotateY, RotateY(radians(amount)))
matrix_change(rotateZ, RotateZ(radians(amount)))
matrix_change(preTranslate, PreTranslate(amount->to_point3()))
matrix_change(preRotateX, PreRotateX(radians(amount)))
matrix_change(preRotateY, PreRotateY(radians(amount)))
matrix_change(preRotateZ, PreRotateZ(radians(amount)))
