// The evaluator: walks syntax trees and produces values.
//
// Every value an evaluation step answers is kept alive by the innermost allocation frame (or by
// something that outlives it); loops, calls and top-level expressions open frames of their own, so
// temporaries go as soon as the step that made them is done.
#pragma once

#include "maxscript/classes.h"
#include "script/ast_names.h"
#include "script/scope.h"

#include <memory>
#include <string>

namespace sim::rt {

class HOST_API Evaluator {
 public:
  // Evaluates one top-level expression of `tree` in the global scope.
  static Value* evalTop(const Expr* e, const std::shared_ptr<SyntaxTree>& tree);
  static Value* eval(const Expr* e, Env& env);
  // Calls any callable value (primitive, script function, class, struct definition).
  static Value* call(Value* fn, Value** args, int count, const char* nameForErrors);
  // The tree whose nodes are being evaluated (for function definitions to keep alive).
  static const std::shared_ptr<SyntaxTree>& currentTree();
  // Asked before each loop iteration and each call: answering true ends the evaluation in a script
  // error, as the Listener's escape key does (an embedding host's time bound). Null asks nothing.
  static void setInterruptCheck(bool (*check)());
};

// The #name value of a symbol, made once and cached in the symbol.
Value* nameValue(const Symbol* s, std::string_view spelling);

// Keeps `v` alive in the innermost allocation frame and answers it.
HOST_API Value* keep(Value* v);

}  // namespace sim::rt
