#include "script/reference_value.h"

#include "maxscript/maxscript.h"
#include "script/evaluator.h"
#include "script/print_nesting.h"

namespace sim::rt {
namespace {
ValueMetaClass ValueRef_class("ValueRef");
}  // namespace

ReferenceValue::ReferenceValue(const Expr* target, Env env, std::shared_ptr<SyntaxTree> tree)
    : target_(target), env_(std::move(env)), tree_(std::move(tree)) {
  tag = &ValueRef_class;
}

Value* ReferenceValue::get() {
  CurrentTree inItsTree(tree_);
  return Evaluator::eval(target_, env_);
}

void ReferenceValue::set(Value* v) {
  CurrentTree inItsTree(tree_);
  Evaluator::store(target_, v, env_);
}

// A variable may hold a reference to itself (`x = keepRef &x`): printing stops where it comes back.
void ReferenceValue::sprin1(CharStream* s) {
  PrintNesting nesting(this, 1);
  if (nesting.abbreviated()) {
    s->puts("...");
    return;
  }
  s->puts("&");
  get()->sprin1(s);
}

}  // namespace sim::rt
