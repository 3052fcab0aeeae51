#include "script/evaluator.h"
#include "script/selection.h"

#include "animate.h"
#include "control.h"
#include "core/on_scope_exit.h"
#include "core/undo_stack.h"
#include "hold.h"
#include "maxscript/maxscript.h"
#include "script/command_panel_follow.h"
#include "script/control_flow.h"
#include "script/idle_step.h"
#include "script/operators.h"
#include "script/path_names.h"
#include "script/primitive_table.h"
#include "script/reference_value.h"
#include "script/runtime.h"
#include "script/scene_access.h"
#include "script/time_ticks.h"
#include "script/creation_level.h"
#include "script/transform_context.h"
#include "script/script_function.h"
#include "script/value_constructors.h"
#include "script/value_heap.h"

#include <cmath>
#include <cstdlib>
#include <string_view>
#include <exception>
#include <functional>
#include <new>
#include <vector>

namespace sim::rt {
namespace {

// The evaluation of each kind of node stays a function of its own, so that the walk's own frame
// stays small: scripts nest deeply.
#if defined(__GNUC__) || defined(__clang__)
#define EVAL_STEP __attribute__((noinline))
#else
#define EVAL_STEP
#endif

std::shared_ptr<SyntaxTree> g_tree;  // the tree being evaluated

// Deep script recursion ends in a script error long before the host's stack runs out.
const char* g_stackBase = nullptr;
constexpr std::ptrdiff_t kStackBudget = 3 * 1024 * 1024;

bool (*g_interrupted)() = nullptr;

// An error raised as a C++ exception out of Evaluator::eval (to code outside the evaluator) and
// where it was raised, so that the evaluation step it reaches next keeps the place.
struct TravellingError {
  std::exception_ptr error;
  ErrorPlace place;
};
TravellingError g_travelling;
// set undo on: each top-level expression is recorded as an undo entry of its own.
bool g_undoEachTopLevel = false;
std::optional<ErrorPlace> g_lastErrorPlace;

// The failed step `e` is the innermost one to see the pending error when none has placed it yet.
void placeFailure(const Expr* e) {
  ScriptFailure& f = pendingFailure();
  if (f.placed) return;
  f.place = {g_tree, e->line, e->offset, {}};
  f.placed = true;
}

// An exception a primitive (or code outside the evaluator) threw, caught by the step `e`, pending
// from now on: raised by Evaluator::eval it keeps the place it had, else it happened here.
Value* failFromException(const MAXScriptException& ex, const Expr* e) {
  ScriptFailure f = ScriptFailure::caught(ex);
  if (std::current_exception() == g_travelling.error) f.place = std::move(g_travelling.place);
  else f.place = {g_tree, e->line, e->offset, {}};
  f.placed = true;
  g_travelling = {};
  return fail(std::move(f));
}

// An exception that reached a catch outside any step (a `try`, the top level), pending from now
// on, with the place it was raised at.
Value* failFromThrown(const MAXScriptException& ex) {
  ScriptFailure f = ScriptFailure::caught(ex);
  if (std::current_exception() == g_travelling.error) {
    f.place = std::move(g_travelling.place);
    f.placed = true;
  }
  g_travelling = {};
  return fail(std::move(f));
}

// QZM_SCRIPT_ERROR_VALUES=0 in the environment raises every error as a C++ exception at the step
// it happens in, as the evaluator once did all the time, so that tests can show both ways give
// the same results.
bool errorValuesWanted() {
  const char* setting = std::getenv("QZM_SCRIPT_ERROR_VALUES");
  return !setting || std::string_view(setting) != "0";
}
const bool g_errorValues = errorValuesWanted();

Value* ev(const Expr* e, Env& env) { return Evaluator::evaluate(e, env); }

void checkInterrupt() {
  if (g_interrupted && g_interrupted()) throw RuntimeError("Interrupted");
}

void checkStack() {
  checkInterrupt();
  char here;
  if (!g_stackBase) return;
  std::ptrdiff_t used = g_stackBase - &here;
  if (used > kStackBudget || used < -kStackBudget) throw RuntimeError("Stack overflow: script recursion is too deep");
}


// ---- variables -------------------------------------------------------------------------------------

Value* lookup(const Symbol* s, Env& env) {
  for (Scope* sc = env.scope.get(); sc; sc = sc->parent.get()) {
    if (ValueRef* v = sc->find(s)) {
      if (!sc->byRef.empty() && sc->isByRef(s)) return keep(static_cast<ReferenceValue*>(v->get())->get());
      return keep(v->get());
    }
    if (sc->self) {
      if (ValueRef* f = sc->self->field(s)) return keep(f->get());
      if (s->lower == "this") return keep(sc->self);
    }
  }
  Runtime& rt = Runtime::get();
  if (GlobalSlot* g = rt.findGlobal(s); g && g->defined) return keep(g->value.get());
  if (Value* b = rt.builtin(s)) return keep(b);
  return undefined;
}

// The slot a variable reads from, or null when it names no variable (a built-in, a system global).
ValueRef* variableSlot(const Symbol* s, Env& env) {
  for (Scope* sc = env.scope.get(); sc; sc = sc->parent.get()) {
    if (ValueRef* v = sc->find(s)) return sc->isByRef(s) ? nullptr : v;
    if (sc->self)
      if (ValueRef* f = sc->self->field(s)) return f;
  }
  GlobalSlot* g = Runtime::get().findGlobal(s);
  return g && g->defined ? &g->value : nullptr;
}

void assignVar(const Symbol* s, Value* v, Env& env) {
  for (Scope* sc = env.scope.get(); sc; sc = sc->parent.get()) {
    if (ValueRef* slot = sc->find(s)) {
      if (!sc->byRef.empty() && sc->isByRef(s)) static_cast<ReferenceValue*>(slot->get())->set(v);
      else *slot = ValueRef(v);
      return;
    }
    if (sc->self)
      if (ValueRef* f = sc->self->field(s)) {
        *f = ValueRef(v);
        return;
      }
  }
  Runtime& rt = Runtime::get();
  if (GlobalSlot* g = rt.findGlobal(s); g && g->defined) {
    g->value = ValueRef(v);
    return;
  }
  if (rt.setSystemGlobal(s, v)) return;
  if (env.scope) {
    env.scope->declare(s) = ValueRef(v);
    return;
  }
  if (env.topBlock) {
    env.scope = std::make_shared<Scope>();
    env.scope->declare(s) = ValueRef(v);
    return;
  }
  GlobalSlot& g = rt.global(s);
  g.value = ValueRef(v);
  g.defined = true;
}

// A definition (fn, struct) names a local inside a scope and a global at top level.
void define(const Symbol* s, Value* v, Env& env) {
  if (env.scope) {
    env.scope->declare(s) = ValueRef(v);
    return;
  }
  GlobalSlot& g = Runtime::get().global(s);
  g.value = ValueRef(v);
  g.defined = true;
}

// ---- calls ---------------------------------------------------------------------------------------

// Arguments as primitives receive them: positional values, then the keyword marker and pairs.
class ArgList {
 public:
  void push(Value* v) {
    if (n_ < kInline) inline_[n_] = v;
    else {
      if (n_ == kInline) more_.assign(inline_, inline_ + kInline);
      more_.push_back(v);
    }
    ++n_;
  }
  Value** data() { return n_ <= kInline ? inline_ : more_.data(); }
  int count() const { return n_; }

 private:
  static constexpr int kInline = 16;
  Value* inline_[kInline];
  std::vector<Value*> more_;
  int n_ = 0;
};

// False when an argument failed.
bool evalArgs(const Call& c, Env& env, ArgList& args) {
  for (const Expr* a : c.args) {
    Value* v = ev(a, env);
    if (failed(v)) return false;
    args.push(v);
  }
  if (c.keys.empty()) return true;
  args.push(&keyarg_marker_value);
  for (const KeyArg& k : c.keys) {
    args.push(nameValue(k.name, k.spelling));
    Value* v = ev(k.value, env);
    if (failed(v)) return false;
    args.push(v);
  }
  return true;
}

// Whatever a primitive throws reaches the script as a script error; its value-locals chain is put
// back as it was, however it ended.
Value* callPrimitive(Primitive* p, Value** args, int count) {
  OtherAccess its;
  Value** savedLocals = thread_local(current_locals_frame);
  OnScopeExit restoreLocals([savedLocals] { thread_local(current_locals_frame) = savedLocals; });
  ValueRef result;
  try {
    AllocFrame frame;
    result = ValueRef(p->apply(args, count));
  } catch (const std::bad_alloc&) {
    throw RuntimeError("Out of memory in ", keep(new ::String(p->name)));
  } catch (const std::exception& e) {
    throw RuntimeError(e.what());
  }
  return keep(result ? result.get() : undefined);
}

Value* callMethod(const Call& c, const Property& callee, Env& env) {
  // A member of a struct global (theHold.Begin(), bit.and a b) when the name is no variable.
  if (const Var* v = callee.object->tryAs<Var>()) {
    bool isVariable = false;
    for (Scope* sc = env.scope.get(); sc && !isVariable; sc = sc->parent.get()) isVariable = sc->find(v->name);
    if (!isVariable) {
      GlobalSlot* g = Runtime::get().findGlobal(v->name);
      if (!g || !g->defined) {
        if (Primitive* p = sim::PrimitiveTable::instance().findMember(v->name->lower, callee.name->lower)) {
          ArgList args;
          if (!evalArgs(c, env, args)) return kFailed;
          return callPrimitive(p, args.data(), args.count());
        }
      }
    }
  }
  Value* obj = ev(callee.object, env);
  if (failed(obj)) return obj;
  ArgList args;
  if (!evalArgs(c, env, args)) return kFailed;
  Value* name = nameValue(callee.name, callee.spelling);
  Value* r = obj->call_method(name, args.data(), args.count());
  if (r) return keep(r);
  Value* fn = keep(readProperty(obj, name));
  if (failed(fn)) return fn;
  return Evaluator::callOrFail(fn, args.data(), args.count(), std::string(callee.spelling).c_str());
}

EVAL_STEP Value* evalCall(const Call& c, Env& env) {
  checkStack();
  if (const Property* p = c.callee->tryAs<Property>()) return callMethod(c, *p, env);
  Value* fn = ev(c.callee, env);
  if (failed(fn)) return fn;
  ArgList args;
  if (!evalArgs(c, env, args)) return kFailed;
  const char* name = "";
  std::string spelled;
  if (const Var* v = c.callee->tryAs<Var>()) {
    spelled = std::string(v->spelling);
    name = spelled.c_str();
  }
  return Evaluator::callOrFail(fn, args.data(), args.count(), name);
}

// ---- operators -----------------------------------------------------------------------------------

sim::BinaryOp arith(script::BinaryOp op) {
  switch (op) {
    case script::BinaryOp::Add: return sim::BinaryOp::Add;
    case script::BinaryOp::Sub: return sim::BinaryOp::Subtract;
    case script::BinaryOp::Mul: return sim::BinaryOp::Multiply;
    case script::BinaryOp::Div: return sim::BinaryOp::Divide;
    default: return sim::BinaryOp::Power;
  }
}

// One operator whose left operand is already evaluated.
Value* applyOperator(const Binary& b, Value* l, Env& env) {
  using Op = script::BinaryOp;
  if (b.op == Op::And || b.op == Op::Or) {
    if (truth(l) != (b.op == Op::And)) return b.op == Op::And ? false_value : true_value;
    Value* r = ev(b.rhs, env);
    return failed(r) ? r : bool_result(truth(r));
  }
  Value* r = ev(b.rhs, env);
  if (failed(r)) return r;
  switch (b.op) {
    case Op::Add:
    case Op::Sub:
    case Op::Mul:
    case Op::Div:
    case Op::Pow: return keep(applyBinary(arith(b.op), l, r));
    case Op::As: return keep(convertAs(l, r));
    case Op::Eq: return bool_result(valuesEqual(l, r));
    case Op::Ne: return bool_result(!valuesEqual(l, r));
    case Op::Lt: return bool_result(compareValues(l, r, "<") < 0);
    case Op::Le: return bool_result(compareValues(l, r, "<=") <= 0);
    case Op::Gt: return bool_result(compareValues(l, r, ">") > 0);
    case Op::Ge: return bool_result(compareValues(l, r, ">=") >= 0);
    default: return undefined;
  }
}

// `a + b + c ...` leans left: its left spine is walked in a loop, not by recursion, as the parser
// counts it (a flat expression of any length is one level).
EVAL_STEP Value* evalBinary(const Binary& b, Env& env) {
  if (b.lhs->kind != NodeKind::Binary) {
    Value* l = ev(b.lhs, env);
    return failed(l) ? l : applyOperator(b, l, env);
  }
  std::vector<const Binary*> spine{&b};
  while (spine.back()->lhs->kind == NodeKind::Binary) spine.push_back(&spine.back()->lhs->as<Binary>());
  Value* v = ev(spine.back()->lhs, env);
  for (auto it = spine.rbegin(); it != spine.rend() && !failed(v); ++it) v = applyOperator(**it, v, env);
  return v;
}

// `obj.prop.sub` where `sub` is no part of prop's value (`$b.rotation.z_rotation`,
// `$b.pos.x_position`) names a sub-animation of the controller of obj's property. The inner
// property is one a controller can be asked about: not `.controller` or `.keys` themselves.
const Property* controllablePropertyOf(const Property& p) {
  const Property* inner = p.object->tryAs<Property>();
  if (!inner || inner->name->lower == "controller" || inner->name->lower == "keys") return nullptr;
  return inner;
}

// The sub-animation `name` of the controller of `owner`'s property `prop`, as a SubAnim value;
// null when that property has no controller or the controller no such sub-animation. The axes of
// a rotation controller hold radians; scripts read and write them in degrees.
struct ControllerSubAnim {
  Value* sub = nullptr;
  bool angle = false;
};
ControllerSubAnim controllerSubAnim(Value* owner, Value* prop, Value* name) {
  Value* c = keep(getPropertyController(owner, prop));
  if (c == undefined || !c->has_property(name)) return {};
  Value* sub = keep(getPropertyValue(c, name));
  if (!isSubAnim(sub)) return {};
  return {sub, c->to_reftarg()->SuperClassID() == CTRL_ROTATION_CLASS_ID};
}

constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;

Value* readSubAnim(const ControllerSubAnim& s) {
  Value* v = keep(getPropertyValue(s.sub, Name::intern("value")));
  return s.angle && is_number(v) ? keep(Float::intern(static_cast<float>(v->to_float() * kDegreesPerRadian))) : v;
}

void writeSubAnim(const ControllerSubAnim& s, Value* v) {
  if (s.angle && is_number(v)) v = keep(Float::intern(static_cast<float>(v->to_float() / kDegreesPerRadian)));
  setPropertyValue(s.sub, Name::intern("value"), v);
}

// ---- assignment ----------------------------------------------------------------------------------

Value* combine(AssignOp op, Value* old, Value* v) {
  switch (op) {
    case AssignOp::Set: return v;
    case AssignOp::Add: return keep(applyBinary(sim::BinaryOp::Add, old, v));
    case AssignOp::Sub: return keep(applyBinary(sim::BinaryOp::Subtract, old, v));
    case AssignOp::Mul: return keep(applyBinary(sim::BinaryOp::Multiply, old, v));
    case AssignOp::Div: return keep(applyBinary(sim::BinaryOp::Divide, old, v));
  }
  return v;
}

// Stores answer `ok`, or kFailed when the store failed.
Value* storeInto(const Expr* target, Value* v, Env& env);

// Assigning to a part of a value held somewhere (`$b.pos.x = 5`, `a[2].x = 1`): change a copy of
// the value, then store the copy back where it came from.
Value* storeThrough(const Expr* holderExpr, Value* holder, const std::function<Value*(Value*)>& change, Env& env) {
  bool valueType = is_point3(holder) || is_point2(holder) || holder->tag == class_tag(Color) ||
                   holder->tag == class_tag(Quat) || holder->tag == class_tag(EulerAngles) ||
                   holder->tag == class_tag(Matrix3) || holder->tag == class_tag(Point4Value);
  if (!valueType) return change(holder);
  Value* copy = keep(holder->copy_vf());
  if (failed(change(copy))) return kFailed;
  return storeInto(holderExpr, copy, env);
}

Value* storeProperty(const Property& p, Value* v, Env& env) {
  Value* name = nameValue(p.name, p.spelling);
  if (p.name->lower == "controller") {
    if (const Property* inner = p.object->tryAs<Property>()) {
      Value* owner = ev(inner->object, env);
      if (failed(owner)) return owner;
      setPropertyController(owner, nameValue(inner->name, inner->spelling), v);
      return ok;
    }
  }
  Value* obj = nullptr;
  if (const Property* inner = controllablePropertyOf(p); inner && p.name->lower != "keys") {
    Value* owner = ev(inner->object, env);
    if (failed(owner)) return owner;
    Value* innerName = nameValue(inner->name, inner->spelling);
    obj = keep(readProperty(owner, innerName));
    if (failed(obj)) return obj;
    if (!obj->has_property(name))
      if (ControllerSubAnim sub = controllerSubAnim(owner, innerName, name); sub.sub) {
        writeSubAnim(sub, v);
        return ok;
      }
  } else {
    obj = ev(p.object, env);
    if (failed(obj)) return obj;
  }
  auto write = [&](Value* h) { return failed(writeProperty(h, name, v)) ? kFailed : ok; };
  if (p.object->tryAs<Property>() || p.object->tryAs<Index>()) return storeThrough(p.object, obj, write, env);
  return write(obj);
}

Value* storeInto(const Expr* target, Value* v, Env& env) {
  if (const Var* var = target->tryAs<Var>()) {
    assignVar(var->name, v, env);
    return ok;
  }
  if (const Property* p = target->tryAs<Property>()) return storeProperty(*p, v, env);
  if (const Index* ix = target->tryAs<Index>()) {
    Value* obj = ev(ix->object, env);
    if (failed(obj)) return obj;
    Value* index = ev(ix->index, env);
    if (failed(index)) return index;
    auto write = [&](Value* h) {
      h->set_index(index, v);
      return ok;
    };
    if (ix->object->tryAs<Property>() || ix->object->tryAs<Index>()) return storeThrough(ix->object, obj, write, env);
    return write(obj);
  }
  return fail(RuntimeError("Cannot assign to this expression"));
}

// `s += text` where the variable is all that holds its string appends in place, so that building a
// string in a loop costs its length, not its length squared. Inside a frame every value in use is
// counted, so the variable's reference and the one reading it made are then the only ones.
bool appendInPlace(const Assign& a, Value* old, Value* v, Env& env) {
  const Var* var = a.target->tryAs<Var>();
  if (!var || !is_string(old) || !is_string(v) || old == v || !ValueHeap::inFrame() || old->refs() != 2) return false;
  ValueRef* slot = variableSlot(var->name, env);
  if (!slot || slot->get() != old) return false;
  static_cast<::String*>(old)->text += static_cast<::String*>(v)->text;
  return true;
}

EVAL_STEP Value* evalAssign(const Assign& a, Env& env) {
  Value* v = ev(a.value, env);
  if (failed(v)) return v;
  if (a.op != AssignOp::Set) {
    Value* old = ev(a.target, env);
    if (failed(old)) return old;
    if (a.op == AssignOp::Add && appendInPlace(a, old, v, env)) return old;
    v = combine(a.op, old, v);
    if (failed(v)) return v;
  }
  return failed(storeInto(a.target, v, env)) ? kFailed : v;
}

// ---- blocks and control --------------------------------------------------------------------------

EVAL_STEP Value* evalBlock(const Block& b, Env& env) {
  if (b.exprs.empty()) return undefined;
  auto run = [&](Env& inner) {
    Value* last = undefined;
    for (const Expr* e : b.exprs)
      if (failed(last = ev(e, inner))) break;
    return last;
  };
  if (b.scoped || (!env.scope && !env.topBlock)) {
    Env inner{env.scope || b.scoped ? std::make_shared<Scope>(env.scope) : nullptr, !env.scope};
    return run(inner);
  }
  return run(env);
}

// One loop iteration's temporaries go when the iteration ends. The body answers false when it
// failed, which ends the loop.
template <class Body>
bool iterate(Body&& body) {
  checkInterrupt();
  try {
    AllocFrame frame;
    return body();
  } catch (LoopContinue&) {
  }
  return true;
}

EVAL_STEP Value* evalWhile(const While& w, Env& env) {
  try {
    for (;;) {
      bool go = false;
      bool fine = iterate([&] {
        Value* c = ev(w.cond, env);
        if (failed(c)) return false;
        go = truth(c);
        return !go || !failed(ev(w.body, env));
      });
      if (!fine) return kFailed;
      if (!go) break;
    }
  } catch (LoopExit& e) {
    return keep(e.value ? e.value.get() : ok);
  }
  return undefined;
}

EVAL_STEP Value* evalDoWhile(const DoWhile& w, Env& env) {
  try {
    for (;;) {
      bool go = false;
      bool fine = iterate([&] {
        if (failed(ev(w.body, env))) return false;
        Value* c = ev(w.cond, env);
        if (failed(c)) return false;
        go = truth(c);
        return true;
      });
      if (!fine) return kFailed;
      if (!go) break;
    }
  } catch (LoopExit& e) {
    return keep(e.value ? e.value.get() : ok);
  }
  return undefined;
}

EVAL_STEP Value* evalFor(const For& f, Env& env) {
  // The loop variable is local to the loop when the loop is inside a scope, global at top level.
  Env loopEnv = env;
  if (env.scope) {
    loopEnv.scope = std::make_shared<Scope>(env.scope);
    for (const Symbol* s : {f.var, f.index, f.filtered})
      if (s) loopEnv.scope->declare(s);
  }
  ValueRef collected;
  if (f.collect) collected = ValueRef(new Array);
  int index = 0, filtered = 0;
  // False when the body (or a test) failed: the loop ends there.
  auto step = [&](Value* item) {
    return iterate([&] {
      assignVar(f.var, item, loopEnv);
      ++index;
      if (f.index) assignVar(f.index, Integer::intern(index), loopEnv);
      if (f.whileCond) {
        Value* go = ev(f.whileCond, loopEnv);
        if (failed(go)) return false;
        if (!truth(go)) throw LoopExit{};
      }
      if (f.where) {
        Value* take = ev(f.where, loopEnv);
        if (failed(take)) return false;
        if (!truth(take)) return true;
      }
      ++filtered;
      if (f.filtered) assignVar(f.filtered, Integer::intern(filtered), loopEnv);
      Value* v = ev(f.body, loopEnv);
      if (failed(v)) return false;
      if (f.collect) static_cast<Array*>(collected.get())->append(v);
      return true;
    });
  };
  try {
    if (f.collection) {
      Value* coll = ev(f.collection, env);
      if (failed(coll)) return coll;
      ValueRef hold(coll);
      Array* items = coll->as_collection();
      if (!items) return fail(NoMethodError("map", coll));
      ValueRef itemsHold(items);
      // Iterate over a snapshot: the body may change the collection.
      std::vector<ValueRef> snapshot(items->data, items->data + items->size);
      for (ValueRef& item : snapshot)
        if (!step(item.get())) return kFailed;
    } else {
      Value* from = ev(f.from, env);
      if (failed(from)) return from;
      Value* to = ev(f.to, env);
      if (failed(to)) return to;
      Value* by = f.by ? ev(f.by, env) : Integer::intern(1);
      if (failed(by)) return by;
      if (is_integer(from) && is_integer(to) && is_integer(by)) {
        long long a = from->to_int(), b = to->to_int(), s = by->to_int();
        if (s == 0) return fail(RuntimeError("for loop step is zero"));
        for (long long i = a; s > 0 ? i <= b : i >= b; i += s)
          if (!step(Integer::intern(static_cast<int>(i)))) return kFailed;
      } else if (is_kind(from, MSTime) || is_kind(to, MSTime)) {
        // Over times the loop steps in ticks and gives times; numbers count frames.
        long long a = from->to_timevalue(), b = to->to_timevalue(), s = by->to_timevalue();
        if (s == 0) return fail(RuntimeError("for loop step is zero"));
        for (long long i = a; s > 0 ? i <= b : i >= b; i += s)
          if (!step(MSTime::intern(static_cast<TimeValue>(i)))) return kFailed;
      } else {
        double a = numberValue(from), b = numberValue(to), s = numberValue(by);
        if (s == 0 || !std::isfinite(s)) return fail(RuntimeError("for loop step is zero"));
        for (double x = a; s > 0 ? x <= b : x >= b; x += s)
          if (!step(Float::intern(static_cast<float>(x)))) return kFailed;
      }
    }
  } catch (LoopExit& e) {
    if (!f.collect) return keep(e.value ? e.value.get() : ok);
  }
  return f.collect ? keep(collected.get()) : ok;
}

EVAL_STEP Value* evalCase(const Case& c, Env& env) {
  Value* subject = c.subject ? ev(c.subject, env) : nullptr;
  if (failed(subject)) return subject;
  for (const CaseClause& clause : c.clauses) {
    Value* label = ev(clause.label, env);
    if (failed(label)) return label;
    bool match = subject ? valuesEqual(subject, label) : truth(label);
    if (match) return ev(clause.body, env);
  }
  return c.defaultBody ? ev(c.defaultBody, env) : undefined;
}

ScriptFailure g_handling;  // the error a catch is handling, for a bare throw

EVAL_STEP Value* evalTry(const Try& t, Env& env) {
  Value* v;
  try {
    v = ev(t.body, env);
  } catch (const MAXScriptException& ex) {
    v = failFromThrown(ex);
  }
  if (!failed(v)) return v;
  ScriptFailure caught = takeFailure();
  caught.placed = false;  // rethrown, it happened where the rethrow is
  Runtime& rt = Runtime::get();
  std::string saved = std::exchange(rt.currentException, caught.error().text());
  ScriptFailure outer = std::exchange(g_handling, std::move(caught));
  OnScopeExit restore([&] {
    g_handling = std::move(outer);
    Runtime::get().currentException = std::move(saved);
  });
  return ev(t.handler, env);
}

EVAL_STEP Value* evalThrow(const Throw& t, Env& env) {
  if (!t.value) {
    if (g_handling) return fail(ScriptFailure(g_handling));
    return fail(RuntimeError("throw without an error to rethrow"));
  }
  Value* v = ev(t.value, env);
  if (failed(v)) return v;
  return fail(RuntimeError(value_to_text(v, false).c_str()));
}

EVAL_STEP Value* evalDecl(const Decl& d, Env& env) {
  Value* last = undefined;
  for (const Declarator& n : d.names) {
    Value* v = n.init ? ev(n.init, env) : nullptr;
    if (failed(v)) return v;
    if (d.global || (!env.scope && !env.topBlock)) {
      GlobalSlot& g = Runtime::get().global(n.name);
      if (v || !g.defined) g.value = ValueRef(v ? v : undefined);
      g.defined = true;
    } else {
      if (!env.scope) env.scope = std::make_shared<Scope>();
      env.scope->declare(n.name) = ValueRef(v ? v : undefined);
    }
    last = v ? v : undefined;
  }
  return last;
}

bool isDefaultWord(Value* v) { return is_name(v) && static_cast<Name*>(v)->lower == "default"; }

// set animate | time | undo | coordsys | about: the setting lasts until set again (the rest of the
// session: text run by `execute` or a script file does not take back what it set, as in the
// Listener). The
// value is the setting it replaces, so that `old = set coordsys local ... set coordsys old`
// nests as the prefix forms do.
Value* setContext(const Context& c, Env& env) {
  Value* v = ev(c.value, env);
  if (failed(v)) return v;
  ValueRef hold(v);
  switch (c.context) {
    case ContextKind::AtTime: {
      Runtime& rt = Runtime::get();
      auto was = rt.timeState();
      Value* old = was.set ? MSTime::intern(was.t) : false_value;
      // `set time off` goes back to the scene's current time.
      if (v == false_value || isDefaultWord(v)) rt.clearTime();
      else rt.setTime(v->to_timevalue());
      return old;
    }
    case ContextKind::Animate: {
      Value* old = bool_result(Animating());
      !isDefaultWord(v) && truth(v) ? AnimateOn() : AnimateOff();
      return old;
    }
    case ContextKind::Undo: {
      Value* old = bool_result(g_undoEachTopLevel);
      g_undoEachTopLevel = truth(v);
      return old;
    }
    case ContextKind::CoordSys: {
      Value* old = keep(sim::currentCoordSys());  // the setting may have been its last holder
      sim::setCoordSys(v);
      return old;
    }
    case ContextKind::About: {
      Value* old = keep(sim::currentAbout());  // the setting may have been its last holder
      sim::setAbout(v);
      return old;
    }
    case ContextKind::Level: {
      Value* old = keep(sim::currentLevel());
      sim::setLevel(v);
      return old;
    }
    case ContextKind::Other: break;
  }
  return undefined;
}

EVAL_STEP Value* evalContext(const Context& c, Env& env) {
  if (c.sticky) return setContext(c, env);
  Value* v = ev(c.value, env);
  if (failed(v)) return v;
  switch (c.context) {
    case ContextKind::AtTime: {
      Runtime& rt = Runtime::get();
      TimeValue t = v->to_timevalue();
      auto saved = rt.timeState();
      rt.setTime(t);
      OnScopeExit restore([&] { rt.restoreTime(saved); });
      return ev(c.body, env);
    }
    case ContextKind::Animate: {
      bool on = truth(v);
      bool was = Animating();
      on ? AnimateOn() : AnimateOff();
      OnScopeExit restore([was] { was ? AnimateOn() : AnimateOff(); });
      return ev(c.body, env);
    }
    case ContextKind::Undo: {
      bool on = truth(v);
      std::string label = "MAXScript";
      if (c.label) {
        Value* l = ev(c.label, env);
        if (failed(l)) return l;
        label = value_to_text(l, false);
      }
      if (on) {
        theHold.Begin();
        // What was done stays done, and can be undone, even when the body fails.
        OnScopeExit accept([&] { theHold.Accept(label.c_str()); });
        return ev(c.body, env);
      }
      theHold.Suspend();
      OnScopeExit resume([] { theHold.Resume(); });
      return ev(c.body, env);
    }
    case ContextKind::CoordSys:
    case ContextKind::About: {
      ValueRef hold(v);
      bool coordsys = c.context == ContextKind::CoordSys;
      sim::TransformContextScope scope(coordsys ? v : nullptr, coordsys ? nullptr : v);
      return ev(c.body, env);
    }
    case ContextKind::Level: {
      ValueRef hold(v);
      sim::LevelScope scope(v);
      return ev(c.body, env);
    }
    case ContextKind::Other:
      // Contexts the host has no state for (redraw, quiet, ...) change nothing here.
      return ev(c.body, env);
  }
  return undefined;
}

EVAL_STEP Value* evalMaxCommand(const MaxCommand& m) {
  if (m.command == "undo") return bool_result(sim::undo());
  if (m.command == "redo") return bool_result(sim::redo());
  if (sim::rt::runSelectionCommand(m.command)) return ok;
  if (sim::rt::runCommandPanelCommand(m.command)) return ok;
  return fail(RuntimeError("Unknown max command: ", keep(new ::String(std::string(m.command)))));
}

EVAL_STEP Value* evalPoint(const PointLiteral& p, Env& env) {
  float c[4] = {0, 0, 0, 0};
  size_t n = p.components.size();
  for (size_t i = 0; i < n && i < 4; ++i) {
    Value* v = ev(p.components[i], env);
    if (failed(v)) return v;
    c[i] = v->to_float();
  }
  if (n == 2) return keep(new Point2Value(c[0], c[1]));
  if (n == 3) return keep(new Point3Value(c[0], c[1], c[2]));
  return keep(new Point4Value(Point4(c[0], c[1], c[2], c[3])));
}

// What `inner` is a property of, for the rules that ask about inner's controller. When inner is
// itself a sub-animation path (`$b.rotation.z_rotation` in `$b.rotation.z_rotation.controller`),
// that sub-animation comes back in `sub` instead.
Value* ownerOfProperty(const Property& inner, Env& env, ControllerSubAnim& sub) {
  const Property* mid = controllablePropertyOf(inner);
  if (!mid || inner.name->lower == "controller" || inner.name->lower == "keys") return ev(inner.object, env);
  Value* owner = ev(mid->object, env);
  if (failed(owner)) return owner;
  Value* midName = nameValue(mid->name, mid->spelling);
  Value* innerName = nameValue(inner.name, inner.spelling);
  Value* held = keep(readProperty(owner, midName));
  if (failed(held)) return held;
  if (!held->has_property(innerName)) sub = controllerSubAnim(owner, midName, innerName);
  return held;
}

EVAL_STEP Value* evalProperty(const Property& p, Env& env) {
  Value* name = nameValue(p.name, p.spelling);
  if (const Property* inner = controllablePropertyOf(p); inner && p.name->lower != "controller" && p.name->lower != "keys") {
    Value* owner = ev(inner->object, env);
    if (failed(owner)) return owner;
    Value* innerName = nameValue(inner->name, inner->spelling);
    Value* v = keep(readProperty(owner, innerName));
    if (failed(v)) return v;
    if (!v->has_property(name))
      if (ControllerSubAnim sub = controllerSubAnim(owner, innerName, name); sub.sub) return readSubAnim(sub);
    return keep(readProperty(v, name));
  }
  // obj.prop.controller: the controller of obj's property, not a property of its value.
  if (p.name->lower == "controller")
    if (const Property* inner = p.object->tryAs<Property>()) {
      ControllerSubAnim sub;
      Value* owner = ownerOfProperty(*inner, env, sub);
      if (failed(owner)) return owner;
      if (sub.sub) return keep(readProperty(sub.sub, name));
      return keep(getPropertyController(owner, nameValue(inner->name, inner->spelling)));
    }
  // obj.prop.keys: the keys of the controller of obj's property, when it has one
  // (obj.prop.controller.keys names the controller itself).
  if (p.name->lower == "keys")
    if (const Property* inner = p.object->tryAs<Property>(); inner && inner->name->lower != "controller") {
      ControllerSubAnim sub;
      Value* owner = ownerOfProperty(*inner, env, sub);
      if (failed(owner)) return owner;
      if (sub.sub) return keep(readProperty(sub.sub, name));
      Value* innerName = nameValue(inner->name, inner->spelling);
      Value* c = keep(getPropertyController(owner, innerName));
      if (c != undefined) return keep(readProperty(c, name));
      Value* held = keep(readProperty(owner, innerName));
      return failed(held) ? held : keep(readProperty(held, name));
    }
  // struct globals: theHold, QZMsysinfo.processAffinity
  Value* obj = ev(p.object, env);
  return failed(obj) ? obj : keep(readProperty(obj, name));
}

EVAL_STEP Value* evalString(const script::String& str) { return keep(new ::String(std::string(str.value))); }

EVAL_STEP Value* evalArrayLiteral(const ArrayLiteral& lit, Env& env) {
  auto* a = static_cast<Array*>(keep(new Array(static_cast<int>(lit.elements.size()))));
  for (const Expr* x : lit.elements) {
    Value* v = ev(x, env);
    if (failed(v)) return v;
    a->append(v);
  }
  return a;
}

EVAL_STEP Value* evalExit(const Exit& x, Env& env) {
  Value* v = x.value ? ev(x.value, env) : nullptr;
  if (failed(v)) return v;
  throw LoopExit{ValueRef(v)};
}

EVAL_STEP Value* evalReturn(const Return& r, Env& env) {
  Value* v = r.value ? ev(r.value, env) : undefined;
  if (failed(v)) return v;
  throw FunctionReturn{ValueRef(v)};
}

EVAL_STEP Value* evalFunctionDef(const script::Function& f, Env& env) {
  Value* fn = keep(new ScriptFunction(&f, g_tree, env.scope));
  define(f.name, fn, env);
  return fn;
}

EVAL_STEP Value* evalStructDef(const script::Struct& d, Env& env) {
  Value* def = keep(new StructDef(&d, g_tree, env.scope));
  define(d.name, def, env);
  return def;
}

[[noreturn]] EVAL_STEP void throwContinue() { throw LoopContinue{}; }

EVAL_STEP Value* evalIndex(const Index& ix, Env& env) {
  Value* obj = ev(ix.object, env);
  if (failed(obj)) return obj;
  Value* index = ev(ix.index, env);
  if (failed(index)) return index;
  return keep(obj->get_index(index));
}

}  // namespace

// ---- the walk --------------------------------------------------------------------------------------

namespace {

Value* step(const Expr* e, Env& env) {
  switch (e->kind) {
    case NodeKind::Integer: {
      std::int64_t v = e->as<script::Integer>().value;
      if (v >= INT32_MIN && v <= INT32_MAX) return keep(::Integer::intern(static_cast<int>(v)));
      return keep(::Float::intern(static_cast<float>(v)));
    }
    case NodeKind::Float: return keep(::Float::intern(static_cast<float>(e->as<script::Float>().value)));
    case NodeKind::Time: {
      const TimeParts& t = e->as<Time>().parts;
      double ticks = t.seconds * TIME_TICKSPERSEC + t.frames * GetTicksPerFrame() + t.ticks;
      return keep(MSTime::intern(ticksClamped(ticks)));
    }
    case NodeKind::String: return evalString(e->as<script::String>());
    case NodeKind::NameLiteral: {
      const NameLiteral& n = e->as<NameLiteral>();
      return nameValue(n.name, n.spelling);
    }
    case NodeKind::PathName: return keep(resolvePath(e->as<PathName>()));
    case NodeKind::Constant:
      switch (e->as<Constant>().value) {
        case ConstantValue::True: return true_value;
        case ConstantValue::False: return false_value;
        case ConstantValue::Undefined: return undefined;
        case ConstantValue::Unsupplied: return &unsupplied;
        case ConstantValue::Ok: return ok;
      }
      return undefined;
    case NodeKind::ArrayLiteral: return evalArrayLiteral(e->as<ArrayLiteral>(), env);
    case NodeKind::BitArrayLiteral: return keep(makeBitArray(e->as<BitArrayLiteral>(), env));
    case NodeKind::Range: return fail(RuntimeError("A range is only allowed inside #{ }"));
    case NodeKind::PointLiteral: return evalPoint(e->as<PointLiteral>(), env);
    case NodeKind::Var: return lookup(e->as<Var>().name, env);
    case NodeKind::Property: return evalProperty(e->as<Property>(), env);
    case NodeKind::Index: return evalIndex(e->as<Index>(), env);
    case NodeKind::Call: return evalCall(e->as<Call>(), env);
    case NodeKind::Unary: {
      const Unary& u = e->as<Unary>();
      Value* v = ev(u.operand, env);
      if (failed(v)) return v;
      if (u.op == UnaryOp::Not) return bool_result(!truth(v));
      return keep(negate(v));
    }
    case NodeKind::Binary: return evalBinary(e->as<Binary>(), env);
    case NodeKind::Assign: return evalAssign(e->as<Assign>(), env);
    case NodeKind::Reference: return keep(new ReferenceValue(e->as<script::Reference>().target, env, g_tree));
    case NodeKind::Block: return evalBlock(e->as<Block>(), env);
    case NodeKind::If: {
      const If& i = e->as<If>();
      Value* c = ev(i.cond, env);
      if (failed(c)) return c;
      if (truth(c)) return ev(i.thenBranch, env);
      return i.elseBranch ? ev(i.elseBranch, env) : undefined;
    }
    case NodeKind::While: return evalWhile(e->as<While>(), env);
    case NodeKind::DoWhile: return evalDoWhile(e->as<DoWhile>(), env);
    case NodeKind::For: return evalFor(e->as<For>(), env);
    case NodeKind::Exit: return evalExit(e->as<Exit>(), env);
    case NodeKind::Continue: throwContinue();
    case NodeKind::Return: return evalReturn(e->as<Return>(), env);
    case NodeKind::Throw: return evalThrow(e->as<Throw>(), env);
    case NodeKind::Case: return evalCase(e->as<Case>(), env);
    case NodeKind::Try: return evalTry(e->as<Try>(), env);
    case NodeKind::Decl: return evalDecl(e->as<Decl>(), env);
    case NodeKind::Function: return evalFunctionDef(e->as<script::Function>(), env);
    case NodeKind::Struct: return evalStructDef(e->as<script::Struct>(), env);
    case NodeKind::Context: return evalContext(e->as<Context>(), env);
    case NodeKind::MaxCommand: return evalMaxCommand(e->as<MaxCommand>());
  }
  return undefined;
}

}  // namespace

Value* Evaluator::evaluate(const Expr* e, Env& env) try {
  Value* v = step(e, env);
  if (failed(v)) {
    placeFailure(e);
    if (!g_errorValues) Evaluator::raisePending();
  }
  return v;
} catch (const MAXScriptException& ex) {
  Value* v = failFromException(ex, e);
  if (!g_errorValues) Evaluator::raisePending();
  return v;
}

Value* Evaluator::eval(const Expr* e, Env& env) {
  Value* v = evaluate(e, env);
  if (failed(v)) Evaluator::raisePending();
  return v;
}

Value* Evaluator::evalTopOrFail(const Expr* e, const std::shared_ptr<SyntaxTree>& tree) {
  std::shared_ptr<SyntaxTree> savedTree = g_tree;
  g_tree = tree;
  char base;
  bool outermost = g_stackBase == nullptr;
  if (outermost) g_stackBase = &base;
  OnScopeExit restore([&] {
    g_tree = savedTree;
    if (outermost) g_stackBase = nullptr;
  });
  // The host is idle once an outermost top-level expression is done, as the real application's
  // message loop gets its turn between the Listener's expressions: what the expression posted runs
  // and windows it changed repaint. Run before the stack base goes, so that script the windows run
  // is not outermost and never pumps again itself. That script's errors are its own: this
  // expression's error waits meanwhile.
  OnScopeExit idle([&] {
    if (!outermost) return;
    ScriptFailure waiting = takeFailure();
    runIdleStep();
    if (waiting) fail(std::move(waiting));
  });
  Env env;
  Value* v = nullptr;
  try {
    if (g_undoEachTopLevel && !theHold.Holding() && e->kind != NodeKind::MaxCommand) {
      // set undo on: each top-level expression is one undo entry, as the Listener records them.
      // `max undo` and `max redo` are not recorded: they cannot run while a hold is open.
      theHold.Begin();
      OnScopeExit accept([] { theHold.Accept("MAXScript"); });
      v = evaluate(e, env);
    } else {
      v = evaluate(e, env);
    }
  } catch (const MAXScriptException& ex) {
    v = failFromThrown(ex);
  } catch (LoopExit&) {
    v = fail(RuntimeError("exit used outside a loop"));
  } catch (LoopContinue&) {
    v = fail(RuntimeError("continue used outside a loop"));
  } catch (FunctionReturn& r) {
    // `return` at top level ends the text with its value, as in the Listener.
    return keep(r.value ? r.value.get() : undefined);
  }
  if (failed(v)) {
    const ScriptFailure& f = pendingFailure();
    if (f.placed) g_lastErrorPlace = f.place;
    else g_lastErrorPlace.reset();
  }
  return v;
}

Value* Evaluator::evalTop(const Expr* e, const std::shared_ptr<SyntaxTree>& tree) {
  Value* v = evalTopOrFail(e, tree);
  if (failed(v)) raiseTopFailure();
  return v;
}

void Evaluator::raisePending() {
  ScriptFailure f = takeFailure();
  if (!f) throw RuntimeError("evaluation failed without an error");  // never left so; never a crash
  std::exception_ptr error = f.asException();
  g_travelling = {error, std::move(f.place)};
  std::rethrow_exception(error);
}

void Evaluator::raiseTopFailure() {
  ScriptFailure f = takeFailure();
  if (!f) throw RuntimeError("evaluation failed without an error");  // never left so; never a crash
  std::rethrow_exception(f.asException());
}

const std::shared_ptr<SyntaxTree>& Evaluator::currentTree() { return g_tree; }

void Evaluator::store(const Expr* target, Value* v, Env& env) {
  if (failed(storeInto(target, v, env))) Evaluator::raisePending();
}

std::optional<ErrorPlace> Evaluator::takeErrorPlace() {
  std::optional<ErrorPlace> place = std::move(g_lastErrorPlace);
  g_lastErrorPlace.reset();
  return place;
}

void Evaluator::noteErrorFunction(const std::string& name) {
  if (g_travelling.error && g_travelling.error == std::current_exception() && g_travelling.place.function.empty())
    g_travelling.place.function = name;
}

void Evaluator::forgetErrorPlaces() {
  g_travelling = {};
  g_lastErrorPlace.reset();
  g_handling = {};
  takeFailure();
}

CurrentTree::CurrentTree(const std::shared_ptr<SyntaxTree>& tree) : saved_(std::move(g_tree)) { g_tree = tree; }
CurrentTree::~CurrentTree() { g_tree = std::move(saved_); }

void Evaluator::setInterruptCheck(bool (*check)()) { g_interrupted = check; }

Value* nameValue(const Symbol* s, std::string_view spelling) {
  if (!s->nameValue) s->nameValue = Name::intern(std::string(spelling).c_str());
  return s->nameValue;
}

Value* Evaluator::call(Value* fn, Value** args, int count, const char* nameForErrors) {
  Value* v = callOrFail(fn, args, count, nameForErrors);
  if (failed(v)) raisePending();
  return v;
}

Value* Evaluator::callOrFail(Value* fn, Value** args, int count, const char* nameForErrors) {
  checkStack();
  if (fn && fn->tag == class_tag(Primitive)) return callPrimitive(static_cast<Primitive*>(fn), args, count);
  if (auto* f = dynamic_cast<::Function*>(fn)) {
    CallTakingFailure takes(f);
    return keep(f->apply(args, count));
  }
  if (auto* s = dynamic_cast<StructDef*>(fn)) return keep(s->construct(args, count));
  if (Value* made = constructFromClass(fn, args, count)) return keep(made);
  if (fn && fn->tag == class_tag(ValueMetaClass))
    if (Value* made = constructValue(static_cast<ValueMetaClass*>(fn), args, count)) return keep(made);
  throw TypeError("Call needs function or class", fn);
}

}  // namespace sim::rt
