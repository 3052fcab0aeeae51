// Colours, quaternions, Euler angles, matrices, 4-component points and times as script values.
#include "script/script_failure.h"
#include "core/c_format.h"
#include "maxscript/classes.h"
#include "maxscript/exceptions.h"
#include "maxscript/streams.h"
#include "script/rotation_values.h"

#include <cmath>
#include <string>

namespace {

const std::string& propName(Value* prop) { return static_cast<Name*>(prop)->lower; }

// Index of `prop` among single-letter component names, or -1.
int componentIndex(Value* prop, const char* letters) {
  const std::string& n = propName(prop);
  if (n.size() != 1) return -1;
  for (int i = 0; letters[i]; ++i)
    if (letters[i] == n[0]) return i;
  return -1;
}

}  // namespace

// ---- colour --------------------------------------------------------------------------------------

ColorValue::ColorValue(AColor c) : color(c) { tag = class_tag(Color); }
ColorValue::ColorValue(float r, float g, float b, float a) : ColorValue(AColor(r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f)) {}

void ColorValue::sprin1(CharStream* s) {
  if (color.a != 1.0f)
    s->printf("(color %g %g %g %g)", color.r * 255.0, color.g * 255.0, color.b * 255.0, color.a * 255.0);
  else
    s->printf("(color %g %g %g)", color.r * 255.0, color.g * 255.0, color.b * 255.0);
}
bool ColorValue::equals(Value* other) { return other->tag == tag && static_cast<ColorValue*>(other)->color == color; }
Value* ColorValue::copy_vf() { return new ColorValue(color); }

Value* ColorValue::get_property(Value* prop) {
  int i = componentIndex(prop, "rgba");
  if (i < 0) {
    const std::string& n = propName(prop);
    if (n == "red") i = 0;
    else if (n == "green") i = 1;
    else if (n == "blue") i = 2;
    else if (n == "alpha") i = 3;
    else return unknown_property(this, prop);
  }
  return Float::intern(color[i] * 255.0f);
}

Value* ColorValue::set_property(Value* prop, Value* v) {
  int i = componentIndex(prop, "rgba");
  if (i < 0) return unknown_property(this, prop);
  color[i] = v->to_float() / 255.0f;
  return v;
}

bool ColorValue::has_property(Value* prop) { return componentIndex(prop, "rgba") >= 0; }

// ---- point4 --------------------------------------------------------------------------------------

Point4Value::Point4Value(Point4 v) : p(v) { tag = class_tag(Point4Value); }
void Point4Value::sprin1(CharStream* s) {
  s->printf("[%g,%g,%g,%g]", double(p.x), double(p.y), double(p.z), double(p.w));
}
bool Point4Value::equals(Value* other) { return other->tag == tag && static_cast<Point4Value*>(other)->p == p; }
Value* Point4Value::copy_vf() { return new Point4Value(p); }
Value* Point4Value::get_property(Value* prop) {
  int i = componentIndex(prop, "xyzw");
  if (i < 0) return unknown_property(this, prop);
  return Float::intern(p[i]);
}
bool Point4Value::has_property(Value* prop) { return componentIndex(prop, "xyzw") >= 0; }

// ---- quat ----------------------------------------------------------------------------------------

QuatValue::QuatValue(Quat v) : q(v) { tag = class_tag(Quat); }
void QuatValue::sprin1(CharStream* s) {
  s->printf("(quat %g %g %g %g)", double(q.x), double(q.y), double(q.z), double(q.w));
}
bool QuatValue::equals(Value* other) { return other->tag == tag && static_cast<QuatValue*>(other)->q == q; }
Value* QuatValue::copy_vf() { return new QuatValue(q); }
Value* QuatValue::get_property(Value* prop) {
  int i = componentIndex(prop, "xyzw");
  if (i < 0) return unknown_property(this, prop);
  return Float::intern(q[i]);
}
bool QuatValue::has_property(Value* prop) { return componentIndex(prop, "xyzw") >= 0; }

// ---- euler angles --------------------------------------------------------------------------------

EulerAnglesValue::EulerAnglesValue(float x, float y, float z) : angles{x, y, z} { tag = class_tag(EulerAngles); }
void EulerAnglesValue::sprin1(CharStream* s) {
  s->printf("(eulerAngles %g %g %g)", double(angles[0]), double(angles[1]), double(angles[2]));
}
bool EulerAnglesValue::equals(Value* other) {
  if (other->tag != tag) return false;
  const float* o = static_cast<EulerAnglesValue*>(other)->angles;
  return o[0] == angles[0] && o[1] == angles[1] && o[2] == angles[2];
}
Value* EulerAnglesValue::copy_vf() { return new EulerAnglesValue(angles[0], angles[1], angles[2]); }
Value* EulerAnglesValue::get_property(Value* prop) {
  int i = componentIndex(prop, "xyz");
  if (i < 0) return unknown_property(this, prop);
  return Float::intern(angles[i]);
}
bool EulerAnglesValue::has_property(Value* prop) { return componentIndex(prop, "xyz") >= 0; }

// ---- matrix3 -------------------------------------------------------------------------------------

Matrix3Value::Matrix3Value(const Matrix3& v) : m(v) { tag = class_tag(Matrix3); }
void Matrix3Value::sprin1(CharStream* s) {
  s->puts("(matrix3");
  for (int r = 0; r < 4; ++r) s->printf(" [%g,%g,%g]", double(m[r].x), double(m[r].y), double(m[r].z));
  s->puts(")");
}
bool Matrix3Value::equals(Value* other) { return other->tag == tag && static_cast<Matrix3Value*>(other)->m == m; }
Value* Matrix3Value::copy_vf() { return new Matrix3Value(m); }
Value* Matrix3Value::get_property(Value* prop) {
  const std::string& n = propName(prop);
  if (n == "row1") return new Point3Value(m[0]);
  if (n == "row2") return new Point3Value(m[1]);
  if (n == "row3") return new Point3Value(m[2]);
  if (n == "row4" || n == "translation" || n == "pos" || n == "translationpart") return new Point3Value(m[3]);
  if (n == "rotationpart") return new QuatValue(sim::rt::rotationPart(m));
  if (n == "scalepart") return new Point3Value(Point3(m[0].Length(), m[1].Length(), m[2].Length()));
  return unknown_property(this, prop);
}
// The rows can be written; the parts taken apart (rotation, scale) are read-only, as in the language.
Value* Matrix3Value::set_property(Value* prop, Value* v) {
  const std::string& n = propName(prop);
  int row = n == "row1" ? 0 : n == "row2" ? 1 : n == "row3" ? 2 : n == "row4" || n == "translation" || n == "pos" ? 3 : -1;
  if (row < 0) return unknown_property(this, prop);
  m.SetRow(row, v->to_point3());
  return v;
}
bool Matrix3Value::has_property(Value* prop) {
  const std::string& n = propName(prop);
  return n == "row1" || n == "row2" || n == "row3" || n == "row4" || n == "translation" || n == "pos" ||
         n == "translationpart" || n == "rotationpart" || n == "scalepart";
}

// ---- time ----------------------------------------------------------------------------------------

MSTime::MSTime(TimeValue t) : time(t) { tag = class_tag(MSTime); }
int MSTime::to_int() { return time / GetTicksPerFrame(); }
float MSTime::to_float() { return float(time) / float(GetTicksPerFrame()); }
void MSTime::sprin1(CharStream* s) { s->printf("%gf", double(time) / GetTicksPerFrame()); }
bool MSTime::equals(Value* other) { return other->tag == tag && static_cast<MSTime*>(other)->time == time; }
