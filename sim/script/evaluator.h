// The evaluator: walks syntax trees and produces values.
//
// Every value an evaluation step answers is kept alive by the innermost allocation frame (or by
// something that outlives it); loops, calls and top-level expressions open frames of their own, so
// temporaries go as soon as the step that made them is done.
#pragma once

#include "maxscript/classes.h"
#include "script/ast_names.h"
#include "script/scope.h"
#include "script/script_failure.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>

namespace sim::rt {

class HOST_API Evaluator {
 public:
  // Evaluates one top-level expression of `tree` in the global scope.
  // Errors are raised as C++ exceptions.
  static Value* evalTop(const Expr* e, const std::shared_ptr<SyntaxTree>& tree);
  static Value* eval(const Expr* e, Env& env);
  // The same, with an error answered as kFailed and left pending (script/script_failure.h).
  static Value* evalTopOrFail(const Expr* e, const std::shared_ptr<SyntaxTree>& tree);
  static Value* evaluate(const Expr* e, Env& env);
  // Raises the pending error of a failed evalTopOrFail as evalTop would have.
  [[noreturn]] static void raiseTopFailure();
  // Raises the pending error of a failed `evaluate` as `eval` would have, its place travelling
  // with it to the evaluation step it reaches.
  [[noreturn]] static void raisePending();
  // Assigns to a variable, property or array element as `target = v` would.
  static void store(const Expr* target, Value* v, Env& env);
  // Calls any callable value (primitive, script function, class, struct definition).
  static Value* call(Value* fn, Value** args, int count, const char* nameForErrors);
  // The same, with a script function's error answered as kFailed and left pending.
  static Value* callOrFail(Value* fn, Value** args, int count, const char* nameForErrors);
  // The tree whose nodes are being evaluated (for function definitions to keep alive).
  static const std::shared_ptr<SyntaxTree>& currentTree();
  // Asked before each loop iteration and each call: answering true ends the evaluation in a script
  // error, as the Listener's escape key does (an embedding host's time bound). Null asks nothing.
  static void setInterruptCheck(bool (*check)());

  // Where the last error that left evalTop was raised; empty once taken, or when it was raised
  // outside any expression (a syntax error).
  static std::optional<ErrorPlace> takeErrorPlace();
  // A script function that an error leaves names itself, once, as the place's function.
  static void noteErrorFunction(const std::string& name);
  // Lets go of every error place and pending error (before the runtime's values are freed).
  static void forgetErrorPlaces();
};

// Makes `tree` the current tree while it lives: a function's body runs in the tree it was parsed
// into, whoever calls it.
class HOST_API CurrentTree {
 public:
  explicit CurrentTree(const std::shared_ptr<SyntaxTree>& tree);
  ~CurrentTree();
  CurrentTree(const CurrentTree&) = delete;
  CurrentTree& operator=(const CurrentTree&) = delete;

 private:
  std::shared_ptr<SyntaxTree> saved_;
};

// The #name value of a symbol, made once and cached in the symbol.
Value* nameValue(const Symbol* s, std::string_view spelling);

// Keeps `v` alive in the innermost allocation frame and answers it.
HOST_API Value* keep(Value* v);

}  // namespace sim::rt
