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
#include <exception>
#include <functional>
#include <new>
#include <vector>

namespace sim::rt {
namespace {

// The evaluation of each kind of node stays a function of its own. A script error unwinds through
// one `eval` frame per level of nesting, and the cost of unwinding a frame grows with the number of
// cleanups its function holds; kept small, `eval` has none.
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

// The error on its way out and where it was raised: the first eval it leaves records the place,
// the evals around it see the same error and leave the place alone. Held only while the error
// travels; evalTop hands the place on as the last error's place.
struct TravellingError {
  std::exception_ptr error;
  ErrorPlace place;
};
TravellingError g_travelling;
// set undo on: each top-level expression is recorded as an undo entry of its own.
bool g_undoEachTopLevel = false;
std::optional<ErrorPlace> g_lastErrorPlace;

void noteErrorAt(const Expr* e) {
  std::exception_ptr now = std::current_exception();
  if (now == g_travelling.error) return;
  g_travelling = {now, {g_tree, e->line, e->offset, {}}};
}

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

void evalArgs(const Call& c, Env& env, ArgList& args) {
  for (const Expr* a : c.args) args.push(Evaluator::eval(a, env));
  if (c.keys.empty()) return;
  args.push(&keyarg_marker_value);
  for (const KeyArg& k : c.keys) {
    args.push(nameValue(k.name, k.spelling));
    args.push(Evaluator::eval(k.value, env));
  }
}

// Whatever a primitive throws reaches the script as a script error; its value-locals chain is put
// back as it was, however it ended.
Value* callPrimitive(Primitive* p, Value** args, int count) {
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
          evalArgs(c, env, args);
          return callPrimitive(p, args.data(), args.count());
        }
      }
    }
  }
  Value* obj = Evaluator::eval(callee.object, env);
  ArgList args;
  evalArgs(c, env, args);
  Value* name = nameValue(callee.name, callee.spelling);
  Value* r = obj->call_method(name, args.data(), args.count());
  if (r) return keep(r);
  Value* fn = keep(getPropertyValue(obj, name));
  return Evaluator::call(fn, args.data(), args.count(), std::string(callee.spelling).c_str());
}

EVAL_STEP Value* evalCall(const Call& c, Env& env) {
  checkStack();
  if (const Property* p = c.callee->tryAs<Property>()) return callMethod(c, *p, env);
  Value* fn = Evaluator::eval(c.callee, env);
  ArgList args;
  evalArgs(c, env, args);
  const char* name = "";
  std::string spelled;
  if (const Var* v = c.callee->tryAs<Var>()) {
    spelled = std::string(v->spelling);
    name = spelled.c_str();
  }
  return Evaluator::call(fn, args.data(), args.count(), name);
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
  if (b.op == Op::And) {
    if (!truth(l)) return false_value;
    return bool_result(truth(Evaluator::eval(b.rhs, env)));
  }
  if (b.op == Op::Or) {
    if (truth(l)) return true_value;
    return bool_result(truth(Evaluator::eval(b.rhs, env)));
  }
  Value* r = Evaluator::eval(b.rhs, env);
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
  if (b.lhs->kind != NodeKind::Binary) return applyOperator(b, Evaluator::eval(b.lhs, env), env);
  std::vector<const Binary*> spine{&b};
  while (spine.back()->lhs->kind == NodeKind::Binary) spine.push_back(&spine.back()->lhs->as<Binary>());
  Value* v = Evaluator::eval(spine.back()->lhs, env);
  for (auto it = spine.rbegin(); it != spine.rend(); ++it) v = applyOperator(**it, v, env);
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

void storeInto(const Expr* target, Value* v, Env& env);

// Assigning to a part of a value held somewhere (`$b.pos.x = 5`, `a[2].x = 1`): change a copy of
// the value, then store the copy back where it came from.
void storeThrough(const Expr* holderExpr, Value* holder, const std::function<void(Value*)>& change, Env& env) {
  bool valueType = is_point3(holder) || is_point2(holder) || holder->tag == class_tag(Color) ||
                   holder->tag == class_tag(Quat) || holder->tag == class_tag(EulerAngles) ||
                   holder->tag == class_tag(Matrix3) || holder->tag == class_tag(Point4Value);
  if (!valueType) {
    change(holder);
    return;
  }
  Value* copy = keep(holder->copy_vf());
  change(copy);
  storeInto(holderExpr, copy, env);
}

void storeInto(const Expr* target, Value* v, Env& env) {
  if (const Var* var = target->tryAs<Var>()) {
    assignVar(var->name, v, env);
    return;
  }
  if (const Property* p = target->tryAs<Property>()) {
    Value* name = nameValue(p->name, p->spelling);
    if (p->name->lower == "controller") {
      if (const Property* inner = p->object->tryAs<Property>()) {
        Value* owner = Evaluator::eval(inner->object, env);
        setPropertyController(owner, nameValue(inner->name, inner->spelling), v);
        return;
      }
    }
    Value* obj = nullptr;
    if (const Property* inner = controllablePropertyOf(*p); inner && p->name->lower != "keys") {
      Value* owner = Evaluator::eval(inner->object, env);
      Value* innerName = nameValue(inner->name, inner->spelling);
      obj = keep(getPropertyValue(owner, innerName));
      if (!obj->has_property(name))
        if (ControllerSubAnim sub = controllerSubAnim(owner, innerName, name); sub.sub) {
          writeSubAnim(sub, v);
          return;
        }
    } else {
      obj = Evaluator::eval(p->object, env);
    }
    if (p->object->tryAs<Property>() || p->object->tryAs<Index>())
      storeThrough(p->object, obj, [&](Value* h) { setPropertyValue(h, name, v); }, env);
    else
      setPropertyValue(obj, name, v);
    return;
  }
  if (const Index* ix = target->tryAs<Index>()) {
    Value* obj = Evaluator::eval(ix->object, env);
    Value* index = Evaluator::eval(ix->index, env);
    if (ix->object->tryAs<Property>() || ix->object->tryAs<Index>())
      storeThrough(ix->object, obj, [&](Value* h) { h->set_index(index, v); }, env);
    else
      obj->set_index(index, v);
    return;
  }
  throw RuntimeError("Cannot assign to this expression");
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
  Value* v = Evaluator::eval(a.value, env);
  if (a.op != AssignOp::Set) {
    Value* old = Evaluator::eval(a.target, env);
    if (a.op == AssignOp::Add && appendInPlace(a, old, v, env)) return old;
    v = combine(a.op, old, v);
  }
  storeInto(a.target, v, env);
  return v;
}

// ---- blocks and control --------------------------------------------------------------------------

EVAL_STEP Value* evalBlock(const Block& b, Env& env) {
  if (b.exprs.empty()) return undefined;
  auto run = [&](Env& inner) {
    Value* last = undefined;
    for (const Expr* e : b.exprs) last = Evaluator::eval(e, inner);
    return last;
  };
  if (b.scoped || (!env.scope && !env.topBlock)) {
    Env inner{env.scope || b.scoped ? std::make_shared<Scope>(env.scope) : nullptr, !env.scope};
    return run(inner);
  }
  return run(env);
}

// One loop iteration's temporaries go when the iteration ends; `keepResult` survives it.
template <class Body>
bool iterate(Body&& body) {
  checkInterrupt();
  try {
    AllocFrame frame;
    body();
  } catch (LoopContinue&) {
  }
  return true;
}

EVAL_STEP Value* evalWhile(const While& w, Env& env) {
  try {
    for (;;) {
      bool go = false;
      iterate([&] {
        go = truth(Evaluator::eval(w.cond, env));
        if (go) Evaluator::eval(w.body, env);
      });
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
      iterate([&] {
        Evaluator::eval(w.body, env);
        go = truth(Evaluator::eval(w.cond, env));
      });
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
  auto step = [&](Value* item) {
    iterate([&] {
      assignVar(f.var, item, loopEnv);
      ++index;
      if (f.index) assignVar(f.index, Integer::intern(index), loopEnv);
      if (f.whileCond && !truth(Evaluator::eval(f.whileCond, loopEnv))) throw LoopExit{};
      if (f.where && !truth(Evaluator::eval(f.where, loopEnv))) return;
      ++filtered;
      if (f.filtered) assignVar(f.filtered, Integer::intern(filtered), loopEnv);
      Value* v = Evaluator::eval(f.body, loopEnv);
      if (f.collect) static_cast<Array*>(collected.get())->append(v);
    });
  };
  try {
    if (f.collection) {
      Value* coll = Evaluator::eval(f.collection, env);
      ValueRef hold(coll);
      Array* items = coll->as_collection();
      if (!items) throw NoMethodError("map", coll);
      ValueRef itemsHold(items);
      // Iterate over a snapshot: the body may change the collection.
      std::vector<ValueRef> snapshot(items->data, items->data + items->size);
      for (ValueRef& item : snapshot) step(item.get());
    } else {
      Value* from = Evaluator::eval(f.from, env);
      Value* to = Evaluator::eval(f.to, env);
      Value* by = f.by ? Evaluator::eval(f.by, env) : Integer::intern(1);
      if (is_integer(from) && is_integer(to) && is_integer(by)) {
        long long a = from->to_int(), b = to->to_int(), s = by->to_int();
        if (s == 0) throw RuntimeError("for loop step is zero");
        for (long long i = a; s > 0 ? i <= b : i >= b; i += s) step(Integer::intern(static_cast<int>(i)));
      } else if (is_kind(from, MSTime) || is_kind(to, MSTime)) {
        // Over times the loop steps in ticks and gives times; numbers count frames.
        long long a = from->to_timevalue(), b = to->to_timevalue(), s = by->to_timevalue();
        if (s == 0) throw RuntimeError("for loop step is zero");
        for (long long i = a; s > 0 ? i <= b : i >= b; i += s) step(MSTime::intern(static_cast<TimeValue>(i)));
      } else {
        double a = numberValue(from), b = numberValue(to), s = numberValue(by);
        if (s == 0 || !std::isfinite(s)) throw RuntimeError("for loop step is zero");
        for (double x = a; s > 0 ? x <= b : x >= b; x += s) step(Float::intern(static_cast<float>(x)));
      }
    }
  } catch (LoopExit& e) {
    if (!f.collect) return keep(e.value ? e.value.get() : ok);
  }
  return f.collect ? keep(collected.get()) : ok;
}

EVAL_STEP Value* evalCase(const Case& c, Env& env) {
  Value* subject = c.subject ? Evaluator::eval(c.subject, env) : nullptr;
  for (const CaseClause& clause : c.clauses) {
    Value* label = Evaluator::eval(clause.label, env);
    bool match = subject ? valuesEqual(subject, label) : truth(label);
    if (match) return Evaluator::eval(clause.body, env);
  }
  return c.defaultBody ? Evaluator::eval(c.defaultBody, env) : undefined;
}

std::exception_ptr g_handling;  // the error a catch is handling, for a bare throw

EVAL_STEP Value* evalTry(const Try& t, Env& env) {
  std::string saved = Runtime::get().currentException;
  try {
    return Evaluator::eval(t.body, env);
  } catch (const MAXScriptException& e) {
    g_travelling = {};
    Runtime::get().currentException = e.text();
    std::exception_ptr outer = g_handling;
    g_handling = std::current_exception();
    OnScopeExit restore([&] {
      g_handling = outer;
      Runtime::get().currentException = saved;
    });
    return Evaluator::eval(t.handler, env);
  }
}

EVAL_STEP Value* evalThrow(const Throw& t, Env& env) {
  if (!t.value) {
    if (g_handling) std::rethrow_exception(g_handling);
    throw RuntimeError("throw without an error to rethrow");
  }
  Value* v = Evaluator::eval(t.value, env);
  throw RuntimeError(value_to_text(v, false).c_str());
}

EVAL_STEP Value* evalDecl(const Decl& d, Env& env) {
  Value* last = undefined;
  for (const Declarator& n : d.names) {
    Value* v = n.init ? Evaluator::eval(n.init, env) : nullptr;
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
  Value* v = Evaluator::eval(c.value, env);
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
  switch (c.context) {
    case ContextKind::AtTime: {
      Runtime& rt = Runtime::get();
      TimeValue t = Evaluator::eval(c.value, env)->to_timevalue();
      auto saved = rt.timeState();
      rt.setTime(t);
      OnScopeExit restore([&] { rt.restoreTime(saved); });
      return Evaluator::eval(c.body, env);
    }
    case ContextKind::Animate: {
      bool on = truth(Evaluator::eval(c.value, env));
      bool was = Animating();
      on ? AnimateOn() : AnimateOff();
      OnScopeExit restore([was] { was ? AnimateOn() : AnimateOff(); });
      return Evaluator::eval(c.body, env);
    }
    case ContextKind::Undo: {
      bool on = truth(Evaluator::eval(c.value, env));
      std::string label = c.label ? value_to_text(Evaluator::eval(c.label, env), false) : "MAXScript";
      if (on) {
        theHold.Begin();
        // What was done stays done, and can be undone, even when the body fails.
        OnScopeExit accept([&] { theHold.Accept(label.c_str()); });
        return Evaluator::eval(c.body, env);
      }
      theHold.Suspend();
      OnScopeExit resume([] { theHold.Resume(); });
      return Evaluator::eval(c.body, env);
    }
    case ContextKind::CoordSys:
    case ContextKind::About: {
      Value* v = Evaluator::eval(c.value, env);
      ValueRef hold(v);
      bool coordsys = c.context == ContextKind::CoordSys;
      sim::TransformContextScope scope(coordsys ? v : nullptr, coordsys ? nullptr : v);
      return Evaluator::eval(c.body, env);
    }
    case ContextKind::Level: {
      Value* v = Evaluator::eval(c.value, env);
      ValueRef hold(v);
      sim::LevelScope scope(v);
      return Evaluator::eval(c.body, env);
    }
    case ContextKind::Other:
      // Contexts the host has no state for (redraw, quiet, ...) change nothing here.
      Evaluator::eval(c.value, env);
      return Evaluator::eval(c.body, env);
  }
  return undefined;
}

EVAL_STEP Value* evalMaxCommand(const MaxCommand& m) {
  if (m.command == "undo") return bool_result(sim::undo());
  if (m.command == "redo") return bool_result(sim::redo());
  if (sim::rt::runSelectionCommand(m.command)) return ok;
  if (sim::rt::runCommandPanelCommand(m.command)) return ok;
  throw RuntimeError("Unknown max command: ", keep(new ::String(std::string(m.command))));
}

EVAL_STEP Value* evalPoint(const PointLiteral& p, Env& env) {
  float c[4] = {0, 0, 0, 0};
  size_t n = p.components.size();
  for (size_t i = 0; i < n && i < 4; ++i) c[i] = Evaluator::eval(p.components[i], env)->to_float();
  if (n == 2) return keep(new Point2Value(c[0], c[1]));
  if (n == 3) return keep(new Point3Value(c[0], c[1], c[2]));
  return keep(new Point4Value(Point4(c[0], c[1], c[2], c[3])));
}

// What `inner` is a property of, for the rules that ask about inner's controller. When inner is
// itself a sub-animation path (`$b.rotation.z_rotation` in `$b.rotation.z_rotation.controller`),
// that sub-animation comes back in `sub` instead.
Value* ownerOfProperty(const Property& inner, Env& env, ControllerSubAnim& sub) {
  const Property* mid = controllablePropertyOf(inner);
  if (!mid || inner.name->lower == "controller" || inner.name->lower == "keys") return Evaluator::eval(inner.object, env);
  Value* owner = Evaluator::eval(mid->object, env);
  Value* midName = nameValue(mid->name, mid->spelling);
  Value* innerName = nameValue(inner.name, inner.spelling);
  Value* held = keep(getPropertyValue(owner, midName));
  if (!held->has_property(innerName)) sub = controllerSubAnim(owner, midName, innerName);
  return held;
}

EVAL_STEP Value* evalProperty(const Property& p, Env& env) {
  Value* name = nameValue(p.name, p.spelling);
  if (const Property* inner = controllablePropertyOf(p); inner && p.name->lower != "controller" && p.name->lower != "keys") {
    Value* owner = Evaluator::eval(inner->object, env);
    Value* innerName = nameValue(inner->name, inner->spelling);
    Value* v = keep(getPropertyValue(owner, innerName));
    if (!v->has_property(name))
      if (ControllerSubAnim sub = controllerSubAnim(owner, innerName, name); sub.sub) return readSubAnim(sub);
    return keep(getPropertyValue(v, name));
  }
  // obj.prop.controller: the controller of obj's property, not a property of its value.
  if (p.name->lower == "controller")
    if (const Property* inner = p.object->tryAs<Property>()) {
      ControllerSubAnim sub;
      Value* owner = ownerOfProperty(*inner, env, sub);
      if (sub.sub) return keep(getPropertyValue(sub.sub, name));
      return keep(getPropertyController(owner, nameValue(inner->name, inner->spelling)));
    }
  // obj.prop.keys: the keys of the controller of obj's property, when it has one
  // (obj.prop.controller.keys names the controller itself).
  if (p.name->lower == "keys")
    if (const Property* inner = p.object->tryAs<Property>(); inner && inner->name->lower != "controller") {
      ControllerSubAnim sub;
      Value* owner = ownerOfProperty(*inner, env, sub);
      if (sub.sub) return keep(getPropertyValue(sub.sub, name));
      Value* innerName = nameValue(inner->name, inner->spelling);
      Value* c = keep(getPropertyController(owner, innerName));
      if (c != undefined) return keep(getPropertyValue(c, name));
      return keep(getPropertyValue(keep(getPropertyValue(owner, innerName)), name));
    }
  // struct globals: theHold, QZMsysinfo.processAffinity
  Value* obj = Evaluator::eval(p.object, env);
  return keep(getPropertyValue(obj, name));
}

EVAL_STEP Value* evalString(const script::String& str) { return keep(new ::String(std::string(str.value))); }

EVAL_STEP Value* evalArrayLiteral(const ArrayLiteral& lit, Env& env) {
  auto* a = static_cast<Array*>(keep(new Array(static_cast<int>(lit.elements.size()))));
  for (const Expr* x : lit.elements) a->append(Evaluator::eval(x, env));
  return a;
}

[[noreturn]] EVAL_STEP void evalExit(const Exit& x, Env& env) {
  throw LoopExit{ValueRef(x.value ? Evaluator::eval(x.value, env) : nullptr)};
}

[[noreturn]] EVAL_STEP void evalReturn(const Return& r, Env& env) {
  throw FunctionReturn{ValueRef(r.value ? Evaluator::eval(r.value, env) : undefined)};
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

[[noreturn]] EVAL_STEP void throwMisplacedRange() { throw RuntimeError("A range is only allowed inside #{ }"); }

[[noreturn]] EVAL_STEP void throwContinue() { throw LoopContinue{}; }

EVAL_STEP Value* evalIndex(const Index& ix, Env& env) {
  Value* obj = Evaluator::eval(ix.object, env);
  Value* index = Evaluator::eval(ix.index, env);
  return keep(obj->get_index(index));
}

}  // namespace

// ---- the walk --------------------------------------------------------------------------------------

Value* Evaluator::eval(const Expr* e, Env& env) try {
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
    case NodeKind::Range: throwMisplacedRange();
    case NodeKind::PointLiteral: return evalPoint(e->as<PointLiteral>(), env);
    case NodeKind::Var: return lookup(e->as<Var>().name, env);
    case NodeKind::Property: return evalProperty(e->as<Property>(), env);
    case NodeKind::Index: return evalIndex(e->as<Index>(), env);
    case NodeKind::Call: return evalCall(e->as<Call>(), env);
    case NodeKind::Unary: {
      const Unary& u = e->as<Unary>();
      Value* v = eval(u.operand, env);
      if (u.op == UnaryOp::Not) return bool_result(!truth(v));
      return keep(negate(v));
    }
    case NodeKind::Binary: return evalBinary(e->as<Binary>(), env);
    case NodeKind::Assign: return evalAssign(e->as<Assign>(), env);
    case NodeKind::Reference: return keep(new ReferenceValue(e->as<script::Reference>().target, env, g_tree));
    case NodeKind::Block: return evalBlock(e->as<Block>(), env);
    case NodeKind::If: {
      const If& i = e->as<If>();
      if (truth(eval(i.cond, env))) return eval(i.thenBranch, env);
      return i.elseBranch ? eval(i.elseBranch, env) : undefined;
    }
    case NodeKind::While: return evalWhile(e->as<While>(), env);
    case NodeKind::DoWhile: return evalDoWhile(e->as<DoWhile>(), env);
    case NodeKind::For: return evalFor(e->as<For>(), env);
    case NodeKind::Exit: evalExit(e->as<Exit>(), env);
    case NodeKind::Continue: throwContinue();
    case NodeKind::Return: evalReturn(e->as<Return>(), env);
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
} catch (const MAXScriptException&) {
  noteErrorAt(e);
  throw;
}

Value* Evaluator::evalTop(const Expr* e, const std::shared_ptr<SyntaxTree>& tree) {
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
  // is not outermost and never pumps again itself.
  OnScopeExit idle([&] {
    if (outermost) runIdleStep();
  });
  Env env;
  try {
    if (g_undoEachTopLevel && !theHold.Holding() && e->kind != NodeKind::MaxCommand) {
      // set undo on: each top-level expression is one undo entry, as the Listener records them.
      // `max undo` and `max redo` are not recorded: they cannot run while a hold is open.
      theHold.Begin();
      OnScopeExit accept([] { theHold.Accept("MAXScript"); });
      return eval(e, env);
    }
    return eval(e, env);
  } catch (const MAXScriptException&) {
    if (std::current_exception() == g_travelling.error) g_lastErrorPlace = std::move(g_travelling.place);
    else g_lastErrorPlace.reset();
    g_travelling = {};
    throw;
  } catch (LoopExit&) {
    throw RuntimeError("exit used outside a loop");
  } catch (LoopContinue&) {
    throw RuntimeError("continue used outside a loop");
  } catch (FunctionReturn& r) {
    // `return` at top level ends the text with its value, as in the Listener.
    return keep(r.value ? r.value.get() : undefined);
  }
}

const std::shared_ptr<SyntaxTree>& Evaluator::currentTree() { return g_tree; }

void Evaluator::store(const Expr* target, Value* v, Env& env) { storeInto(target, v, env); }

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
}

CurrentTree::CurrentTree(const std::shared_ptr<SyntaxTree>& tree) : saved_(std::move(g_tree)) { g_tree = tree; }
CurrentTree::~CurrentTree() { g_tree = std::move(saved_); }

void Evaluator::setInterruptCheck(bool (*check)()) { g_interrupted = check; }

Value* nameValue(const Symbol* s, std::string_view spelling) {
  if (!s->nameValue) s->nameValue = Name::intern(std::string(spelling).c_str());
  return s->nameValue;
}

Value* Evaluator::call(Value* fn, Value** args, int count, const char* nameForErrors) {
  checkStack();
  if (fn && fn->tag == class_tag(Primitive)) return callPrimitive(static_cast<Primitive*>(fn), args, count);
  if (auto* f = dynamic_cast<::Function*>(fn)) return keep(f->apply(args, count));
  if (auto* s = dynamic_cast<StructDef*>(fn)) return keep(s->construct(args, count));
  if (Value* made = constructFromClass(fn, args, count)) return keep(made);
  if (fn && fn->tag == class_tag(ValueMetaClass))
    if (Value* made = constructValue(static_cast<ValueMetaClass*>(fn), args, count)) return keep(made);
  throw TypeError("Call needs function or class", fn);
}

}  // namespace sim::rt
