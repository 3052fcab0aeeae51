// Time values follow the language's rule that numbers are frame counts: `10f + 5` is 15f, `t * 2`
// doubles a time, `t < 20` compares with frame 20, and `t as integer` is the whole frames. Results
// are ticks, rounded, and held at the ends of time rather than wrapping.
#include "script/script_failure.h"
#include "script/time_values.h"

#include "core/core_interface.h"
#include "maxapi.h"
#include "maxscript/maxscript.h"
#include "script/time_ticks.h"

#include <string>

namespace sim::rt {
namespace {

bool isTime(Value* v) { return is_kind(v, MSTime); }
double ticksOf(Value* v) { return isTime(v) ? double(static_cast<MSTime*>(v)->time) : numberValue(v) * GetTicksPerFrame(); }
Value* timeFromTicks(double ticks) { return MSTime::intern(ticksClamped(ticks)); }

const std::string& lowerName(Value* v) { return static_cast<Name*>(v)->lower; }

[[noreturn]] void noOperator(const char* op, Value* a) { throw NoMethodError(op, a); }

ValueMetaClass Interval_class("Interval");

class IntervalValue : public Value {
 public:
  explicit IntervalValue(Interval r) : range(r) { tag = &Interval_class; }
  Interval range;

  Value* get_property(Value* prop) override {
    const std::string& n = lowerName(prop);
    if (n == "start") return MSTime::intern(range.Start());
    if (n == "end") return MSTime::intern(range.End());
    return unknown_property(this, prop);
  }
  Value* set_property(Value* prop, Value* v) override {
    const std::string& n = lowerName(prop);
    if (n == "start") range.SetStart(v->to_timevalue());
    else if (n == "end") range.SetEnd(v->to_timevalue());
    else return unknown_property(this, prop);
    return v;
  }
  bool has_property(Value* prop) override { return lowerName(prop) == "start" || lowerName(prop) == "end"; }
  void get_property_names(Array* names) override {
    names->append(Name::intern("start"));
    names->append(Name::intern("end"));
  }
  bool equals(Value* other) override {
    auto* o = dynamic_cast<IntervalValue*>(other);
    return o && o->range.Start() == range.Start() && o->range.End() == range.End();
  }
  Value* copy_vf() override { return new IntervalValue(range); }
  void sprin1(CharStream* s) override {
    s->printf("(interval %gf %gf)", double(range.Start()) / GetTicksPerFrame(), double(range.End()) / GetTicksPerFrame());
  }
};

}  // namespace

Value* timeArithmetic(BinaryOp op, Value* a, Value* b) {
  bool ta = isTime(a), tb = isTime(b);
  if (!ta && !tb) return nullptr;
  const char* name = op == BinaryOp::Add ? "+" : op == BinaryOp::Subtract ? "-" : op == BinaryOp::Multiply ? "*" : op == BinaryOp::Divide ? "/" : "^";
  if (!(ta || is_number(a)) || !(tb || is_number(b))) noOperator(name, a);
  double x = ticksOf(a), y = ticksOf(b);
  switch (op) {
    case BinaryOp::Add: return timeFromTicks(x + y);
    case BinaryOp::Subtract: return timeFromTicks(x - y);
    case BinaryOp::Multiply:
      // A time scaled by a number; two times do not multiply.
      if (ta && tb) noOperator(name, a);
      return timeFromTicks(ta ? x * numberValue(b) : y * numberValue(a));
    case BinaryOp::Divide:
      if (!ta) noOperator(name, a);
      if (tb) {
        if (y == 0) throw RuntimeError("Divide by zero");
        return Float::intern(static_cast<float>(x / y));
      }
      if (numberValue(b) == 0) throw RuntimeError("Divide by zero");
      return timeFromTicks(x / numberValue(b));
    case BinaryOp::Power: noOperator(name, a);
  }
  noOperator(name, a);
}

bool compareTimes(Value* a, Value* b, int& order) {
  bool ta = isTime(a), tb = isTime(b);
  if (!(ta || tb) || !(ta || is_number(a)) || !(tb || is_number(b))) return false;
  double x = ticksOf(a), y = ticksOf(b);
  order = x < y ? -1 : (x > y ? 1 : 0);
  return true;
}

Value* timeAs(Value* v, Value* cls) {
  if (isTime(v)) {
    TimeValue t = static_cast<MSTime*>(v)->time;
    if (cls == class_tag(Integer)) return Integer::intern(t / GetTicksPerFrame());
    if (cls == class_tag(Float)) return Float::intern(float(double(t) / GetTicksPerFrame()));
    return nullptr;
  }
  if (cls == class_tag(MSTime) && is_number(v)) return MSTime::intern(v->to_timevalue());
  return nullptr;
}

Value* intervalValue(Interval range) { return new IntervalValue(range); }

bool isInterval(Value* v) { return dynamic_cast<IntervalValue*>(v) != nullptr; }

Interval toInterval(Value* v) {
  auto* i = dynamic_cast<IntervalValue*>(v);
  if (!i) throw ConversionError(v, "Interval");
  return i->range;
}

}  // namespace sim::rt

// <time>.frame (frames, with fractions), .ticks, .normalized (the fraction of the animation range).
Value* MSTime::get_property(Value* prop) {
  const std::string& n = sim::rt::lowerName(prop);
  if (n == "frame") return Float::intern(float(double(time) / GetTicksPerFrame()));
  if (n == "ticks") return Integer::intern(time);
  if (n == "normalized") {
    Interval r = GetCOREInterface()->GetAnimRange();
    double span = double(r.End()) - double(r.Start());
    return Float::intern(span == 0 ? 0.0f : float((double(time) - r.Start()) / span));
  }
  return unknown_property(this, prop);
}

bool MSTime::has_property(Value* prop) {
  const std::string& n = sim::rt::lowerName(prop);
  return n == "frame" || n == "ticks" || n == "normalized";
}

def_visible_primitive(interval, "interval");
Value* interval_cf(Value** arg_list, int count) {
  check_arg_count(interval, 2, count);
  return sim::rt::intervalValue(Interval(arg_list[0]->to_timevalue(), arg_list[1]->to_timevalue()));
}

// normTime f: the time at fraction f of the animation range.
def_visible_primitive(normTime, "normTime");
Value* normTime_cf(Value** arg_list, int count) {
  check_arg_count(normTime, 1, count);
  Interval r = GetCOREInterface()->GetAnimRange();
  double f = arg_list[0]->to_float();
  return MSTime::intern(sim::rt::ticksClamped(r.Start() + f * (double(r.End()) - double(r.Start()))));
}
