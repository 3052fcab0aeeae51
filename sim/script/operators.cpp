#include "script/operators.h"

#include "core/text.h"
#include "maxscript/exceptions.h"
#include "script/script_failure.h"
#include "script/rotation_values.h"
#include "script/scene_access.h"
#include "script/string_streams.h"
#include "script/time_ticks.h"
#include "script/time_values.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace sim {
namespace {

const char* opName(BinaryOp op) {
  switch (op) {
    case BinaryOp::Add: return "+";
    case BinaryOp::Subtract: return "-";
    case BinaryOp::Multiply: return "*";
    case BinaryOp::Divide: return "/";
    case BinaryOp::Power: return "^";
  }
  return "?";
}

Value* noOperator(BinaryOp op, Value* a) { return rt::fail(NoMethodError(opName(op), a)); }

Value* integerOp(BinaryOp op, long long a, long long b) {
  long long r = 0;
  switch (op) {
    case BinaryOp::Add: r = a + b; break;
    case BinaryOp::Subtract: r = a - b; break;
    case BinaryOp::Multiply: r = a * b; break;
    case BinaryOp::Divide:
      if (b == 0) throw RuntimeError("Divide by zero");
      r = a / b;
      break;
    case BinaryOp::Power: {
      if (b < 0) return Float::intern(static_cast<float>(std::pow(double(a), double(b))));
      r = 1;
      for (long long i = 0; i < b && i < 64; ++i) r *= a;
      break;
    }
  }
  // Integers are 32-bit in the language: results wrap as they do there.
  return Integer::intern(static_cast<int>(static_cast<unsigned int>(r)));
}

double floatOp(BinaryOp op, double a, double b) {
  switch (op) {
    case BinaryOp::Add: return a + b;
    case BinaryOp::Subtract: return a - b;
    case BinaryOp::Multiply: return a * b;
    case BinaryOp::Divide:
      if (b == 0) throw RuntimeError("Divide by zero");
      return a / b;
    case BinaryOp::Power: return std::pow(a, b);
  }
  return 0;
}

}  // namespace

double numberValue(Value* v) {
  if (is_integer(v)) return static_cast<Integer*>(v)->value;
  if (is_float(v)) return static_cast<Float*>(v)->value;
  return v->to_float();
}

Value* applyBinary(BinaryOp op, Value* a, Value* b) {
  if (is_integer(a) && is_integer(b))
    return integerOp(op, static_cast<Integer*>(a)->value, static_cast<Integer*>(b)->value);
  if (is_number(a) && is_number(b))
    return Float::intern(static_cast<float>(floatOp(op, numberValue(a), numberValue(b))));
  if (Value* t = rt::timeArithmetic(op, a, b)) return t;
  if (is_string(a) && op == BinaryOp::Add) {
    if (!is_string(b)) return rt::fail(ConversionError(b, "String"));
    return new String(static_cast<String*>(a)->text + static_cast<String*>(b)->text);
  }
  if (op == BinaryOp::Multiply)
    if (Value* t = rt::transformProduct(a, b)) return t;
  if (is_point3(a) || is_point3(b)) {
    if (op == BinaryOp::Power) return noOperator(op, a);
    auto comp = [&](Value* v) { return is_point3(v) ? static_cast<Point3Value*>(v)->p : Point3(1, 1, 1) * float(numberValue(v)); };
    if (!(is_point3(a) || is_number(a)) || !(is_point3(b) || is_number(b))) return noOperator(op, a);
    Point3 x = comp(a), y = comp(b);
    if ((op == BinaryOp::Add || op == BinaryOp::Subtract) && !(is_point3(a) && is_point3(b))) return noOperator(op, a);
    Point3 r;
    for (int i = 0; i < 3; ++i) r[i] = static_cast<float>(floatOp(op, x[i], y[i]));
    return new Point3Value(r);
  }
  if (is_point2(a) && is_point2(b) && (op == BinaryOp::Add || op == BinaryOp::Subtract)) {
    Point2 x = static_cast<Point2Value*>(a)->p, y = static_cast<Point2Value*>(b)->p;
    return new Point2Value(op == BinaryOp::Add ? x + y : x - y);
  }
  return noOperator(op, a);
}

Value* negate(Value* a) {
  if (is_integer(a)) return Integer::intern(static_cast<int>(0u - static_cast<unsigned>(static_cast<Integer*>(a)->value)));
  if (is_float(a)) return Float::intern(-static_cast<Float*>(a)->value);
  if (is_point3(a)) return new Point3Value(-static_cast<Point3Value*>(a)->p);
  if (is_point2(a)) return new Point2Value(static_cast<Point2Value*>(a)->p * -1.0f);
  if (is_kind(a, MSTime)) return MSTime::intern(rt::ticksClamped(-double(static_cast<MSTime*>(a)->time)));
  throw NoMethodError("-", a);
}

bool valuesEqual(Value* a, Value* b) {
  if (a == b) return true;
  if (!a || !b) return false;
  int order = 0;
  if (rt::compareTimes(a, b, order)) return order == 0;
  return a->equals(b);
}

int compareValues(Value* a, Value* b, const char* op) {
  if (is_number(a) && is_number(b)) {
    double x = numberValue(a), y = numberValue(b);
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  int order = 0;
  if (rt::compareTimes(a, b, order)) return order;
  if (is_string(a) && is_string(b)) {
    // Lexical and case-sensitive, as the language compares strings; stricmp is the way round it.
    const int c = static_cast<String*>(a)->text.compare(static_cast<String*>(b)->text);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  throw NoMethodError(op, a);
}

bool truth(Value* v) {
  if (v == true_value) return true;
  if (v == false_value) return false;
  return v->to_bool() != 0;
}

Value* convertAs(Value* v, Value* cls) {
  if (v->tag == cls) return v;
  if (Value* s = rt::stringStreamAs(v, cls)) return s;
  if (cls == class_tag(String)) return new String(value_to_text(v, false));
  if (Value* t = rt::timeAs(v, cls)) return t;
  if (Value* r = rt::rotationAs(v, cls)) return r;
  if (cls == class_tag(Integer)) {
    if (is_float(v)) return Integer::intern(v->to_int());
    if (is_string(v)) {
      const std::string& t = static_cast<String*>(v)->text;
      char* end = nullptr;
      double d = std::strtod(t.c_str(), &end);
      if (end == t.c_str() || !std::isfinite(d)) return undefined;
      return Integer::intern(static_cast<int>(d));
    }
  }
  if (cls == class_tag(Float)) {
    if (is_integer(v)) return Float::intern(static_cast<float>(static_cast<Integer*>(v)->value));
    if (is_string(v)) {
      const std::string& t = static_cast<String*>(v)->text;
      char* end = nullptr;
      double d = std::strtod(t.c_str(), &end);
      if (end == t.c_str()) return undefined;
      return Float::intern(static_cast<float>(d));
    }
  }
  if (cls == class_tag(Name) && (is_string(v) || is_name(v))) return Name::intern(v->to_string());
  if (cls == rt::bitArrayClass()) return rt::bitArrayValue(rt::toBitArray(v));
  if (cls == class_tag(Array))
    if (Array* items = v->as_collection()) {
      // A fresh array: the collection (a path set, the selection) may change under it later.
      auto* a = new Array(items->size);
      for (int i = 0; i < items->size; ++i) a->append(items->data[i]);
      return a;
    }
  if (cls == class_tag(Array) && is_string(v)) {
    auto* a = new Array;
    for (char c : static_cast<String*>(v)->text) a->append(new String(std::string(1, c)));
    return a;
  }
  // The target type as script prints it: a class by its name, anything else (undefined, a number)
  // as its value.
  std::string type = value_to_text(cls, false);
  return rt::fail(ConversionError(v, type.c_str()));
}

}  // namespace sim
