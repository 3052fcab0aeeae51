#include "script/script_function.h"
#include "script/script_failure.h"

#include "maxscript/maxscript.h"
#include "script/control_flow.h"
#include "script/evaluator.h"
#include "script/print_nesting.h"
#include "script/reference_value.h"
#include "script/value_heap.h"

namespace sim::rt {
namespace {

ValueMetaClass MAXScriptFunction_class("MAXScriptFunction");
ValueMetaClass StructDef_class("StructDef");

// The struct whose own code runs (a member function, an initial value, a handler, or a function
// defined inside one of those): private members are reachable from there and only from there.
const StructDef* g_inside = nullptr;

class Inside {
 public:
  explicit Inside(const StructDef* d) : saved_(g_inside) { g_inside = d; }
  ~Inside() { g_inside = saved_; }
  Inside(const Inside&) = delete;
  Inside& operator=(const Inside&) = delete;

 private:
  const StructDef* saved_;
};

const StructDef* enclosingStruct(const Scope* scope) {
  for (; scope; scope = scope->parent.get())
    if (scope->self) return scope->self->def();
  return nullptr;
}

}  // namespace

// ---- functions -----------------------------------------------------------------------------------

ScriptFunction::ScriptFunction(const script::Function* d, std::shared_ptr<SyntaxTree> tree, std::shared_ptr<Scope> closure)
    : ::Function(nullptr), def(d), tree_(std::move(tree)), closure_(std::move(closure)), name_(d->spelling) {
  name = name_.c_str();
  tag = &MAXScriptFunction_class;
}

void ScriptFunction::sprin1(CharStream* s) { s->printf("%s()", name_.c_str()); }

Value* ScriptFunction::apply(Value** arg_list, int count) { return applyWith(nullptr, arg_list, count); }

Value* ScriptFunction::applyWith(StructInstance* self, Value** arg_list, int count) {
  bool mayFail = CallTakingFailure::takenBy(this);
  if (def->mapped && count > 0 && arg_list[0] != &keyarg_marker_value)
    if (Array* items = arg_list[0]->as_collection()) return applyMapped(self, items, arg_list, count, mayFail);
  return applyWithOne(self, arg_list, count, mayFail);
}

Value* ScriptFunction::applyWithOne(StructInstance* self, Value** arg_list, int count, bool mayFail) {
  int positional = count_positional_args(arg_list, count);
  int declared = 0;
  for (const Param& p : def->params) declared += p.keyword ? 0 : 1;
  if (positional != declared) throw ArgCountError(name_.c_str(), declared, positional);

  ValueRef holdSelf(this);  // a function may redefine its own name while it runs
  CurrentTree inItsTree(tree_);
  Env env{std::make_shared<Scope>(closure_), false};
  env.scope->self = self;
  Inside inside(enclosingStruct(env.scope.get()));
  int next = 0;
  for (const Param& p : def->params) {
    Value* given;
    if (!p.keyword) {
      given = arg_list[next++];
    } else {
      given = _get_key_arg(arg_list, count, nameValue(p.name, p.spelling));
      if (given == &unsupplied && p.defaultValue) given = Evaluator::eval(p.defaultValue, env);
    }
    // A by-reference parameter given a plain value is a plain local, as any parameter.
    if (p.byRef && dynamic_cast<ReferenceValue*>(given)) env.scope->byRef.push_back(p.name);
    env.scope->declare(p.name) = ValueRef(given);
  }
  ValueRef result;
  bool bodyFailed = false;
  try {
    AllocFrame frame;
    Value* v = Evaluator::evaluate(def->body, env);
    if (failed(v)) bodyFailed = true;
    else result = ValueRef(v);
  } catch (FunctionReturn& r) {
    result = r.value ? r.value : ValueRef(undefined);
  } catch (const MAXScriptException&) {
    Evaluator::noteErrorFunction(name_ + "()");
    throw;
  }
  if (bodyFailed) {
    // The innermost function an error leaves is the one its place names.
    ScriptFailure& f = pendingFailure();
    if (f.place.function.empty()) f.place.function = name_ + "()";
    if (mayFail) return kFailed;
    Evaluator::raisePending();
  }
  return keep(result.get());  // the call's own frame is closed: the result now belongs to the caller's
}

// A mapped function given a collection first runs once per element, the other arguments the same
// each time, over the elements as they were when the call began.
Value* ScriptFunction::applyMapped(StructInstance* self, Array* items, Value** arg_list, int count, bool mayFail) {
  ValueRef holdItems(items);
  std::vector<ValueRef> snapshot(items->data, items->data + items->size);
  std::vector<Value*> args(arg_list, arg_list + count);
  for (ValueRef& item : snapshot) {
    AllocFrame frame;
    args[0] = item.get();
    if (failed(applyWithOne(self, args.data(), count, mayFail))) return kFailed;
  }
  return ok;
}

// ---- structs -------------------------------------------------------------------------------------

StructDef::StructDef(const script::Struct* d, std::shared_ptr<SyntaxTree> tree, std::shared_ptr<Scope> closure)
    : def(d), tree_(std::move(tree)), closure_(std::move(closure)) {
  tag = &StructDef_class;
  for (const StructMember& m : d->members) fields.push_back(m.name);
}

int StructDef::fieldIndex(const Symbol* name) const {
  for (size_t i = 0; i < fields.size(); ++i)
    if (fields[i] == name) return static_cast<int>(i);
  return -1;
}

// The definition lists its members, one a line, as the Listener shows it.
void StructDef::sprin1(CharStream* s) {
  s->printf("#Struct:%s(", std::string(def->spelling).c_str());
  for (size_t i = 0; i < def->members.size(); ++i) {
    const StructMember& m = def->members[i];
    s->printf("%s\n  %s:<%s>; %s", i ? "," : "", std::string(m.spelling).c_str(), m.method ? "fn" : "data",
              m.isPrivate ? "Private" : "Public");
  }
  s->puts(")");
}

void StructDef::checkAccess(size_t field) const {
  if (!isPrivate(field) || g_inside == this) return;
  std::string text = "Attempting to access private member: \"" + std::string(def->members[field].spelling) + "\" in: ";
  throw RuntimeError(text.c_str(), const_cast<StructDef*>(this));
}

void StructDef::runHandler(const Expr* handler, StructInstance* self) {
  if (!handler) return;
  CurrentTree inItsTree(tree_);
  Inside inside(this);
  Env env{std::make_shared<Scope>(closure_), false};
  env.scope->self = self;
  try {
    AllocFrame frame;
    Evaluator::eval(handler, env);
  } catch (FunctionReturn&) {
  }
}

Value* StructDef::construct(Value** arg_list, int count) {
  auto* inst = static_cast<StructInstance*>(keep(new StructInstance(this)));
  CurrentTree inItsTree(tree_);
  Env env{std::make_shared<Scope>(closure_), false};
  env.scope->self = inst;
  {
    Inside inside(this);
    // Initial values first (they may use earlier members), then the constructor's arguments.
    for (size_t i = 0; i < def->members.size(); ++i) {
      const StructMember& m = def->members[i];
      if (m.method) inst->values[i] = ValueRef(keep(new ScriptFunction(m.method, tree_, closure_)));
      else if (m.init) inst->values[i] = ValueRef(Evaluator::eval(m.init, env));
    }
  }
  int positional = count_positional_args(arg_list, count);
  int dataIndex = 0;
  for (int a = 0; a < positional; ++a) {
    while (dataIndex < static_cast<int>(def->members.size()) && def->members[static_cast<size_t>(dataIndex)].method) ++dataIndex;
    if (dataIndex >= static_cast<int>(def->members.size())) throw ArgCountError(std::string(def->spelling).c_str(), dataIndex, positional);
    checkAccess(static_cast<size_t>(dataIndex));
    inst->values[static_cast<size_t>(dataIndex++)] = ValueRef(arg_list[a]);
  }
  for (int k = positional + 1; k + 1 < count; k += 2) {
    auto* key = static_cast<Name*>(arg_list[k]);
    bool found = false;
    for (size_t i = 0; i < fields.size(); ++i) {
      if (fields[i]->lower != key->lower) continue;
      checkAccess(i);
      inst->values[i] = ValueRef(arg_list[k + 1]);
      found = true;
    }
    if (!found) throw AccessorError(inst, key);
  }
  runHandler(def->onCreate, inst);
  return inst;
}

StructInstance* StructDef::functionsOnly() {
  auto* inst = static_cast<StructInstance*>(keep(new StructInstance(this)));
  for (size_t i = 0; i < def->members.size(); ++i)
    if (const script::Function* m = def->members[i].method)
      inst->values[i] = ValueRef(keep(new ScriptFunction(m, tree_, closure_)));
  return inst;
}

namespace {
const Symbol* symbolOf(Value* prop) { return intern(static_cast<Name*>(prop)->lower); }
}  // namespace

Value* StructDef::get_property(Value* prop) {
  int i = fieldIndex(symbolOf(prop));
  if (i < 0 || !def->members[static_cast<size_t>(i)].method) return unknown_property(this, prop);
  checkAccess(static_cast<size_t>(i));
  return functionsOnly()->values[static_cast<size_t>(i)].get();
}

Value* StructDef::call_method(Value* name, Value** arg_list, int count) {
  int i = fieldIndex(symbolOf(name));
  if (i < 0 || !def->members[static_cast<size_t>(i)].method) throw AccessorError(this, name);
  checkAccess(static_cast<size_t>(i));
  StructInstance* self = functionsOnly();
  return static_cast<ScriptFunction*>(self->values[static_cast<size_t>(i)].get())->applyWith(self, arg_list, count);
}

bool StructDef::has_property(Value* prop) {
  int i = fieldIndex(symbolOf(prop));
  return i >= 0 && def->members[static_cast<size_t>(i)].method;
}

StructInstance::StructInstance(StructDef* def) : values(def->fields.size(), ValueRef(undefined)), def_(def) {}

StructInstance::~StructInstance() = default;

void StructInstance::clear_contents() {
  values.clear();
  def_ = ValueRef();
}

ValueRef* StructInstance::field(const Symbol* name) {
  if (!def_) return nullptr;
  int i = def()->fieldIndex(name);
  return i < 0 ? nullptr : &values[static_cast<size_t>(i)];
}

Value* StructInstance::get_property(Value* prop) {
  ValueRef* f = field(symbolOf(prop));
  if (!f) return unknown_property(this, prop);
  def()->checkAccess(static_cast<size_t>(f - values.data()));
  return f->get();
}

Value* StructInstance::set_property(Value* prop, Value* v) {
  ValueRef* f = field(symbolOf(prop));
  if (!f) return unknown_property(this, prop);
  def()->checkAccess(static_cast<size_t>(f - values.data()));
  *f = ValueRef(v);
  return v;
}

bool StructInstance::has_property(Value* prop) { return field(symbolOf(prop)) != nullptr; }

void StructInstance::get_property_names(Array* names) {
  if (!def_) return;
  for (const StructMember& m : def()->def->members)
    if (!m.isPrivate) names->append(Name::intern(std::string(m.spelling).c_str()));
}

Value* StructInstance::call_method(Value* name, Value** arg_list, int count) {
  ValueRef* f = field(symbolOf(name));
  if (!f) return nullptr;
  def()->checkAccess(static_cast<size_t>(f - values.data()));
  if (auto* fn = dynamic_cast<ScriptFunction*>(f->get())) return fn->applyWith(this, arg_list, count);
  return Evaluator::call(f->get(), arg_list, count, static_cast<Name*>(name)->text.c_str());
}

void StructInstance::sprin1(CharStream* s) {
  if (!def_) {
    s->puts("(struct)");
    return;
  }
  s->printf("(%s", std::string(def()->def->spelling).c_str());
  PrintNesting nesting(this, values.size());
  if (nesting.abbreviated()) {
    s->puts(" ...)");
    return;
  }
  for (size_t i = 0; i < values.size(); ++i) {
    const StructMember& m = def()->def->members[i];
    if (m.method || m.isPrivate) continue;
    s->printf(" %s:", std::string(m.spelling).c_str());
    values[i]->sprin1(s);
  }
  s->puts(")");
}

Value* StructInstance::copy_vf() {
  auto* c = static_cast<StructInstance*>(keep(new StructInstance(def())));
  c->values = values;
  def()->runHandler(def()->def->onClone, c);
  return c;
}

}  // namespace sim::rt
