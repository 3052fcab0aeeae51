// Numeric primitives of the language. Angles are in degrees, as the language has them.
#include "maxscript/maxscript.h"
#include "random.h"
#include "script/operators.h"

#include <chrono>
#include <cmath>
#include <numbers>

namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;

double number(Value* v) { return sim::numberValue(v); }
Value* floatResult(double d) { return Float::intern(static_cast<float>(d)); }

// The generator behind `random` and `seed`.
Random& scriptRandom() {
  static Random r;
  return r;
}

}  // namespace

#define unary_float_primitive(fn, expr)                  \
  def_visible_primitive(fn, #fn);                        \
  Value* fn##_cf(Value** arg_list, int count) {          \
    check_arg_count(fn, 1, count);                       \
    double x = number(arg_list[0]);                      \
    return floatResult(expr);                            \
  }

unary_float_primitive(sqrt, std::sqrt(x))
unary_float_primitive(floor, std::floor(x))
unary_float_primitive(ceil, std::ceil(x))
unary_float_primitive(sin, std::sin(x / kDegrees))
unary_float_primitive(cos, std::cos(x / kDegrees))
unary_float_primitive(tan, std::tan(x / kDegrees))
unary_float_primitive(asin, std::asin(x) * kDegrees)
unary_float_primitive(acos, std::acos(x) * kDegrees)
unary_float_primitive(atan, std::atan(x) * kDegrees)
unary_float_primitive(exp, std::exp(x))
unary_float_primitive(log, std::log(x))
unary_float_primitive(log10, std::log10(x))
unary_float_primitive(degToRad, x / kDegrees)
unary_float_primitive(radToDeg, x * kDegrees)

def_visible_primitive(abs, "abs");
Value* abs_cf(Value** arg_list, int count) {
  check_arg_count(abs, 1, count);
  if (is_integer(arg_list[0])) {
    int v = static_cast<Integer*>(arg_list[0])->value;
    return Integer::intern(v < 0 ? static_cast<int>(0u - static_cast<unsigned>(v)) : v);
  }
  return floatResult(std::fabs(number(arg_list[0])));
}

def_visible_primitive(mod, "mod");
Value* mod_cf(Value** arg_list, int count) {
  check_arg_count(mod, 2, count);
  double b = number(arg_list[1]);
  if (b == 0) throw RuntimeError("Divide by zero");
  return floatResult(std::fmod(number(arg_list[0]), b));
}

def_visible_primitive(pow, "pow");
Value* pow_cf(Value** arg_list, int count) {
  check_arg_count(pow, 2, count);
  return floatResult(std::pow(number(arg_list[0]), number(arg_list[1])));
}

def_visible_primitive(atan2, "atan2");
Value* atan2_cf(Value** arg_list, int count) {
  check_arg_count(atan2, 2, count);
  return floatResult(std::atan2(number(arg_list[0]), number(arg_list[1])) * kDegrees);
}

// random a b: an integer between a and b inclusive when both are integers, else a float; points and
// colours component by component.
def_visible_primitive(random, "random");
Value* random_cf(Value** arg_list, int count) {
  check_arg_count(random, 2, count);
  Random& r = scriptRandom();
  if (is_integer(arg_list[0]) && is_integer(arg_list[1])) {
    int a = arg_list[0]->to_int(), b = arg_list[1]->to_int();
    if (a > b) std::swap(a, b);
    long long span = static_cast<long long>(b) - a + 1;
    long long draw = (static_cast<long long>(r.rand()) << 15 | r.rand()) % span;
    return Integer::intern(static_cast<int>(a + draw));
  }
  auto between = [&r](double a, double b) { return a + (b - a) * (r.rand() / double(Random::s_rand_max)); };
  // Points and colours draw each component between the two values' components.
  if (is_point3(arg_list[0]) || arg_list[0]->tag == class_tag(Color)) {
    bool colour = arg_list[0]->tag == class_tag(Color);
    if (arg_list[1]->tag != arg_list[0]->tag) throw ConversionError(arg_list[1], colour ? "Color" : "Point3");
    Point3 a = arg_list[0]->to_point3(), b = arg_list[1]->to_point3();
    Point3 p(float(between(a.x, b.x)), float(between(a.y, b.y)), float(between(a.z, b.z)));
    if (!colour) return new Point3Value(p);
    float alpha = float(between(static_cast<ColorValue*>(arg_list[0])->color.a, static_cast<ColorValue*>(arg_list[1])->color.a));
    return new ColorValue(p.x, p.y, p.z, alpha * 255.0f);
  }
  return floatResult(between(number(arg_list[0]), number(arg_list[1])));
}

def_visible_primitive(seed, "seed");
Value* seed_cf(Value** arg_list, int count) {
  check_arg_count(seed, 1, count);
  scriptRandom().srand(static_cast<unsigned>(arg_list[0]->to_int()));
  return ok;
}

def_visible_primitive(timeStamp, "timeStamp");
Value* timeStamp_cf(Value**, int count) {
  check_arg_count(timeStamp, 0, count);
  using namespace std::chrono;
  auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  return Integer::intern(static_cast<int>(ms & 0x7fffffff));
}

// ---- points --------------------------------------------------------------------------------------

def_visible_primitive(length, "length");
Value* length_cf(Value** arg_list, int count) {
  check_arg_count(length, 1, count);
  if (is_point2(arg_list[0])) return floatResult(arg_list[0]->to_point2().Length());
  return floatResult(arg_list[0]->to_point3().Length());
}

def_visible_primitive(distance, "distance");
Value* distance_cf(Value** arg_list, int count) {
  check_arg_count(distance, 2, count);
  return floatResult((arg_list[0]->to_point3() - arg_list[1]->to_point3()).Length());
}

def_visible_primitive(normalize, "normalize");
Value* normalize_cf(Value** arg_list, int count) {
  check_arg_count(normalize, 1, count);
  return new Point3Value(arg_list[0]->to_point3().Normalize());
}

def_visible_primitive(dot, "dot");
Value* dot_cf(Value** arg_list, int count) {
  check_arg_count(dot, 2, count);
  return floatResult(DotProd(arg_list[0]->to_point3(), arg_list[1]->to_point3()));
}

def_visible_primitive(cross, "cross");
Value* cross_cf(Value** arg_list, int count) {
  check_arg_count(cross, 2, count);
  return new Point3Value(CrossProd(arg_list[0]->to_point3(), arg_list[1]->to_point3()));
}

// ---- bit.xxx -------------------------------------------------------------------------------------

#define bit_primitive(fn, name, expr)                    \
  def_struct_primitive(bit_##fn, bit, name);             \
  Value* bit_##fn##_cf(Value** arg_list, int count) {    \
    check_arg_count(fn, 2, count);                       \
    unsigned a = static_cast<unsigned>(arg_list[0]->to_int()); \
    int b = arg_list[1]->to_int();                       \
    return Integer::intern(static_cast<int>(expr));      \
  }

bit_primitive(and, "and", a & static_cast<unsigned>(b))
bit_primitive(or, "or", a | static_cast<unsigned>(b))
bit_primitive(xor, "xor", a ^ static_cast<unsigned>(b))
// shift a n: left for positive n, right (logical) for negative n.
bit_primitive(shift, "shift", b >= 32 || b <= -32 ? 0u : (b >= 0 ? a << b : a >> -b))

def_struct_primitive(bit_not, bit, "not");
Value* bit_not_cf(Value** arg_list, int count) {
  check_arg_count(not, 1, count);
  return Integer::intern(~arg_list[0]->to_int());
}

def_struct_primitive(bit_intAsChar, bit, "intAsChar");
Value* bit_intAsChar_cf(Value** arg_list, int count) {
  check_arg_count(intAsChar, 1, count);
  return new String(std::string(1, static_cast<char>(arg_list[0]->to_int())));
}

def_struct_primitive(bit_charAsInt, bit, "charAsInt");
Value* bit_charAsInt_cf(Value** arg_list, int count) {
  check_arg_count(charAsInt, 1, count);
  const char* s = arg_list[0]->to_string();
  return Integer::intern(static_cast<unsigned char>(s[0]));
}

def_struct_primitive(bit_intAsHex, bit, "intAsHex");
Value* bit_intAsHex_cf(Value** arg_list, int count) {
  check_arg_count(intAsHex, 1, count);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%x", static_cast<unsigned>(arg_list[0]->to_int()));
  return new String(buf);
}
