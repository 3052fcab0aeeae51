// The value `&place` makes: a reference to a variable, property or array element of the caller,
// which a by-reference parameter reads and assigns through. It keeps the scope the place was
// named in alive, so a reference that outlives its call reads and sets that scope's variable
// rather than freed memory.
#pragma once

#include "maxscript/maxscript.h"
#include "script/ast_names.h"
#include "script/scope.h"

#include <memory>

namespace sim::rt {

class ReferenceValue : public Value {
 public:
  ReferenceValue(const Expr* target, Env env, std::shared_ptr<SyntaxTree> tree);
  // The place's value now; a property or element is read again each time.
  Value* get();
  void set(Value* v);
  void sprin1(CharStream* s) override;

 private:
  const Expr* target_;
  Env env_;
  std::shared_ptr<SyntaxTree> tree_;  // keeps the target's nodes alive
};

}  // namespace sim::rt
