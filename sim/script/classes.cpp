#include "maxscript/classes.h"

#include "core/c_format.h"
#include "core/text.h"
#include "maxscript/exceptions.h"
#include "maxscript/streams.h"
#include "script/print_nesting.h"
#include "script/time_ticks.h"
#include "script/value_limits.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <memory>
#include <unordered_map>

// ---- classes and singletons ----------------------------------------------------------------------

ValueMetaClass::ValueMetaClass(const TCHAR* className) : name(className) {
  tag = &ValueMetaClass_class;
  make_permanent();
}

void ValueMetaClass::sprin1(CharStream* s) { s->puts(name); }

ValueMetaClass ValueMetaClass_class("ValueMetaClass");
#define define_class_tag(c, printed) ValueMetaClass c##_class(printed);
define_class_tag(Boolean, "BooleanClass")
define_class_tag(Undefined, "UndefinedClass")
define_class_tag(Ok, "OkClass")
define_class_tag(Unsupplied, "UnsuppliedClass")
define_class_tag(KeyArgMarker, "KeyArgMarker")
define_class_tag(Integer, "Integer")
define_class_tag(Float, "Float")
define_class_tag(String, "String")
define_class_tag(Name, "Name")
define_class_tag(Array, "Array")
define_class_tag(Point2Value, "Point2")
define_class_tag(Point3Value, "Point3")
define_class_tag(MAXNode, "MAXNode")
define_class_tag(MAXBitMap, "BitMap")
define_class_tag(Primitive, "Primitive")
define_class_tag(Color, "Color")
define_class_tag(Quat, "Quat")
define_class_tag(EulerAngles, "EulerAngles")
define_class_tag(Matrix3, "Matrix3")
define_class_tag(Point4Value, "Point4")
define_class_tag(MSTime, "Time")

Boolean::Boolean(bool v) : value(v) {
  tag = class_tag(Boolean);
  make_permanent();
}
void Boolean::sprin1(CharStream* s) { s->puts(value ? "true" : "false"); }

Undefined::Undefined() {
  tag = class_tag(Undefined);
  make_permanent();
}
void Undefined::sprin1(CharStream* s) { s->puts("undefined"); }
INode* Undefined::to_node() { return nullptr; }

Ok::Ok() {
  tag = class_tag(Ok);
  make_permanent();
}
void Ok::sprin1(CharStream* s) { s->puts("OK"); }

Unsupplied::Unsupplied() {
  tag = class_tag(Unsupplied);
  make_permanent();
}
void Unsupplied::sprin1(CharStream* s) { s->puts("unsupplied"); }

KeyArgMarker::KeyArgMarker() {
  tag = class_tag(KeyArgMarker);
  make_permanent();
}
void KeyArgMarker::sprin1(CharStream* s) { s->puts("<keyarg_marker>"); }

Boolean true_value_instance(true);
Boolean false_value_instance(false);
Undefined undefined_value;
Ok ok_value;
Unsupplied unsupplied;
KeyArgMarker keyarg_marker_value;

// ---- numbers -------------------------------------------------------------------------------------

namespace {
constexpr int kSmallIntMin = -128, kSmallIntMax = 1024;

Integer* smallInteger(int v) {
  static Integer* table[kSmallIntMax - kSmallIntMin + 1] = {};
  Integer*& slot = table[v - kSmallIntMin];
  if (!slot) {
    slot = new Integer(v);
    slot->make_permanent();
  }
  return slot;
}

// Floats print with up to six significant digits and always show they are floats: 1.0, 0.5, 1e+10.
std::string floatText(double f) {
  std::string t = sim::c_format("%g", f);
  if (t.find_first_of(".eEni") == std::string::npos) t += ".0";
  return t;
}
}  // namespace

Integer::Integer(int v) : value(v) { tag = class_tag(Integer); }

Value* Integer::intern(int v) {
  if (v >= kSmallIntMin && v <= kSmallIntMax) return smallInteger(v);
  return new Integer(v);
}

TimeValue Integer::to_timevalue() { return sim::rt::ticksFromFrames(value); }
BOOL Integer::to_bool() { throw ConversionError(this, "Boolean"); }
void Integer::sprin1(CharStream* s) { s->printf("%d", value); }
bool Integer::equals(Value* other) {
  if (is_integer(other)) return static_cast<Integer*>(other)->value == value;
  if (is_float(other)) return static_cast<Float*>(other)->value == float(value);
  return false;
}

Float::Float(float v) : value(v) { tag = class_tag(Float); }
Value* Float::intern(float v) { return new Float(v); }
Value* Float::heap_intern(float v) { return new Float(v); }
int Float::to_int() {
  // Beyond the integers' range the conversion has no answer (and the cast no defined result).
  if (!(value >= -2147483648.0f && value < 2147483648.0f)) throw ConversionError(this, "Integer");
  return static_cast<int>(value);
}
TimeValue Float::to_timevalue() {
  if (std::isnan(value)) throw ConversionError(this, "Time");
  return sim::rt::ticksFromFrames(value);
}
void Float::sprin1(CharStream* s) { s->puts(floatText(value).c_str()); }
bool Float::equals(Value* other) {
  if (is_float(other)) return static_cast<Float*>(other)->value == value;
  if (is_integer(other)) return float(static_cast<Integer*>(other)->value) == value;
  return false;
}

// ---- strings and names ---------------------------------------------------------------------------

String::String(const TCHAR* s) : text(s ? s : "") { tag = class_tag(String); }
String::String(std::string s) : text(std::move(s)) { tag = class_tag(String); }

void String::sprin1(CharStream* s) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  out += '"';
  s->puts(out.c_str());
}
void String::sprint(CharStream* s) { s->puts(text.c_str()); }
bool String::equals(Value* other) { return is_string(other) && text == static_cast<String*>(other)->text; }
Value* String::copy_vf() { return new String(text); }

struct NameTable {
  std::unordered_map<std::string, Name*> byLower;
  static NameTable& get() {
    static NameTable* t = new NameTable;  // names are permanent: the table is never torn down
    return *t;
  }
  static Name* make(std::string s) { return new Name(std::move(s)); }
};

Name::Name(std::string s) : text(std::move(s)), lower(sim::toLowerAscii(text)) {
  tag = class_tag(Name);
  make_permanent();
}

Value* Name::intern(const TCHAR* s) {
  std::string text = s ? s : "";
  std::string lower = sim::toLowerAscii(text);
  auto& table = NameTable::get().byLower;
  auto it = table.find(lower);
  if (it != table.end()) return it->second;
  Name* n = NameTable::make(text);
  table.emplace(std::move(lower), n);
  return n;
}

Value* Name::find_intern(const TCHAR* s) {
  auto& table = NameTable::get().byLower;
  auto it = table.find(sim::toLowerAscii(s ? s : ""));
  return it == table.end() ? nullptr : it->second;
}

namespace {
bool isPlainIdentifier(const std::string& s) {
  if (s.empty() || (s[0] >= '0' && s[0] <= '9')) return false;
  for (char c : s)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
  return true;
}
}  // namespace

void Name::sprin1(CharStream* s) {
  if (isPlainIdentifier(text)) s->printf("#%s", text.c_str());
  else s->printf("#'%s'", text.c_str());
}
void Name::sprint(CharStream* s) { s->puts(text.c_str()); }

// ---- arrays --------------------------------------------------------------------------------------

Array::Array(int init_size) {
  tag = class_tag(Array);
  if (init_size > 0) reserve(std::min(init_size, 1 << 20));
}

Array::~Array() { clear_contents(); }

void Array::clear_contents() {
  Value** d = data;
  int n = size;
  data = nullptr;
  size = capacity_ = 0;
  for (int i = 0; i < n; ++i) d[i]->release();
  delete[] d;
}

void Array::reserve(int n) {
  if (n <= capacity_) return;
  int cap = std::max(n, capacity_ * 2);
  auto* d = new Value*[static_cast<size_t>(cap)];
  if (size) std::memcpy(d, data, sizeof(Value*) * static_cast<size_t>(size));
  delete[] data;
  data = d;
  capacity_ = cap;
}

Value* Array::append(Value* v) {
  if (!v) v = undefined;
  reserve(size + 1);
  v->addRef();
  data[size++] = v;
  return v;
}

Value* Array::get(int index1) const { return index1 >= 1 && index1 <= size ? data[index1 - 1] : undefined; }

void Array::put(int index1, Value* v) {
  if (index1 < 1) return;
  if (!v) v = undefined;
  if (index1 > size) resize(index1);
  v->addRef();
  Value* old = data[index1 - 1];
  data[index1 - 1] = v;
  old->release();
}

void Array::insert(int index1, Value* v) {
  if (index1 < 1) index1 = 1;
  if (index1 > size) {
    put(index1, v);
    return;
  }
  if (!v) v = undefined;
  reserve(size + 1);
  std::memmove(data + index1, data + index1 - 1, sizeof(Value*) * static_cast<size_t>(size - index1 + 1));
  v->addRef();
  data[index1 - 1] = v;
  ++size;
}

void Array::remove(int index1) {
  if (index1 < 1 || index1 > size) return;
  Value* old = data[index1 - 1];
  std::memmove(data + index1 - 1, data + index1, sizeof(Value*) * static_cast<size_t>(size - index1));
  --size;
  old->release();
}

void Array::resize(int n) {
  if (n < 0) n = 0;
  if (n > sim::rt::kMaxElementIndex) throw RuntimeError("Array index out of bounds: ", Integer::intern(n));
  while (size > n) remove(size);
  reserve(n);
  while (size < n) data[size++] = undefined;
}

void Array::sprin1(CharStream* s) {
  sim::rt::PrintNesting nesting(this, static_cast<size_t>(size));
  if (nesting.abbreviated()) {
    s->puts("#(...)");
    return;
  }
  s->puts("#(");
  for (int i = 0; i < size; ++i) {
    if (i) s->puts(", ");
    data[i]->sprin1(s);
  }
  s->puts(")");
}

Value* Array::copy_vf() {
  auto* c = new Array(size);
  for (int i = 0; i < size; ++i) c->append(data[i]);
  return c;
}

// ---- points --------------------------------------------------------------------------------------

namespace {
// Point components print like the language's floats but without a forced ".0": [1,2.5,3].
std::string componentText(float f) { return sim::c_format("%g", static_cast<double>(f)); }
}  // namespace

Point2Value::Point2Value(Point2 v) : p(v) { tag = class_tag(Point2Value); }
Point2Value::Point2Value(float x, float y) : Point2Value(Point2(x, y)) {}
void Point2Value::sprin1(CharStream* s) {
  s->printf("[%s,%s]", componentText(p.x).c_str(), componentText(p.y).c_str());
}
bool Point2Value::equals(Value* other) { return is_point2(other) && static_cast<Point2Value*>(other)->p == p; }
Value* Point2Value::copy_vf() { return new Point2Value(p); }

Point3Value::Point3Value(Point3 v) : p(v) { tag = class_tag(Point3Value); }
Point3Value::Point3Value(float x, float y, float z) : Point3Value(Point3(x, y, z)) {}
void Point3Value::sprin1(CharStream* s) {
  s->printf("[%s,%s,%s]", componentText(p.x).c_str(), componentText(p.y).c_str(), componentText(p.z).c_str());
}
bool Point3Value::equals(Value* other) { return is_point3(other) && static_cast<Point3Value*>(other)->p == p; }
Value* Point3Value::copy_vf() { return new Point3Value(p); }

std::string value_to_text(Value* v, bool asPrint) {
  StringStream s;
  s.make_permanent();  // a stack stream must not be counted or listed
  if (!v) v = undefined;
  if (asPrint) v->sprin1(&s);
  else v->sprint(&s);
  return s.text();
}
