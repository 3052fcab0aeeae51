// Script errors inside the evaluator travel as values, not C++ exceptions.
//
// An evaluation step that ends in an error answers `kFailed` and leaves the error pending here; the
// steps around it hand kFailed on untouched until a `try`, the top level or ExecuteMAXScriptScript
// takes the error. Unwinding a C++ exception through the evaluator's frames cost far more than the
// work most texts do, and a whole-scene pass switch meets thousands of errors its texts expect and
// catch. Code outside the evaluator still sees errors as the C++ exceptions of
// maxscript/exceptions.h: Evaluator::eval raises the pending error, and an exception a primitive
// throws becomes the pending error at the innermost evaluation step it leaves.
#pragma once

#include "maxscript/exceptions.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <utility>

namespace sim::script {
class SyntaxTree;
}

namespace sim::rt {

// Where a script error was raised: the innermost expression being evaluated, in the tree it belongs
// to, and the script function whose body it is in (empty at top level).
struct ErrorPlace {
  std::shared_ptr<script::SyntaxTree> tree;
  std::uint32_t line = 0;
  std::uint32_t offset = 0;
  std::string function;
};

// A script error held as a value: one the runtime made without throwing, or one that arrived as a
// C++ exception.
class HOST_API ScriptFailure {
 public:
  ScriptFailure() = default;
  template <class E>
  static ScriptFailure made(E&& error) {
    using T = std::decay_t<E>;
    ScriptFailure f;
    auto held = std::make_shared<T>(std::forward<E>(error));
    f.error_ = held.get();
    f.made_ = std::move(held);
    f.toException_ = [](const MAXScriptException& e) { return std::make_exception_ptr(static_cast<const T&>(e)); };
    return f;
  }
  // The exception being handled, inside a catch block.
  static ScriptFailure caught(const MAXScriptException& e);

  explicit operator bool() const { return error_ != nullptr; }
  const MAXScriptException& error() const { return *error_; }
  // The error as a C++ exception, the same one each time it is asked for.
  std::exception_ptr asException();

  ErrorPlace place;
  bool placed = false;  // the innermost step has said where it happened

 private:
  std::exception_ptr thrown_;
  std::shared_ptr<const MAXScriptException> made_;
  std::exception_ptr (*toException_)(const MAXScriptException&) = nullptr;
  const MAXScriptException* error_ = nullptr;
};

// What an evaluation step answers when it failed. Never a script's value.
HOST_API extern Value* const kFailed;
inline bool failed(const Value* v) { return v == kFailed; }

// Makes `f` the pending error and answers kFailed.
HOST_API Value* fail(ScriptFailure f);
template <class E>
Value* fail(E&& error) {
  return fail(ScriptFailure::made(std::forward<E>(error)));
}
// The pending error, taken: no error is pending afterwards.
HOST_API ScriptFailure takeFailure();
HOST_API ScriptFailure& pendingFailure();

// A call of `fn` the evaluator makes, whose failure it takes as kFailed: set around the call, and
// asked (once) by a script function as it starts. A function called from anywhere else throws.
class CallTakingFailure {
 public:
  explicit CallTakingFailure(const Value* fn);
  ~CallTakingFailure();
  CallTakingFailure(const CallTakingFailure&) = delete;
  CallTakingFailure& operator=(const CallTakingFailure&) = delete;
  static bool takenBy(const Value* fn);

 private:
  const Value* saved_;
};

// `obj.prop` and `obj.prop = v` as the evaluator asks them: a property `obj` does not have fails
// as a value (kFailed), where the same call from anywhere else throws.
HOST_API Value* readProperty(Value* obj, Value* prop);
HOST_API Value* writeProperty(Value* obj, Value* prop, Value* v);
// While it lives, `target.prop` is the one access whose unknown-property error comes back as a
// value; what was in force before comes back when it goes.
class HOST_API DirectAccessScope {
 public:
  DirectAccessScope(Value* target, Value* prop);
  ~DirectAccessScope();
  DirectAccessScope(const DirectAccessScope&) = delete;
  DirectAccessScope& operator=(const DirectAccessScope&) = delete;

 private:
  Value* savedTarget_;
  Value* savedProp_;
};

// While it lives, no access is the evaluator's direct one: around the primitives a property
// access may end up calling, whose own property reads throw as they always have.
class OtherAccess : DirectAccessScope {
 public:
  OtherAccess() : DirectAccessScope(nullptr, nullptr) {}
};

}  // namespace sim::rt

// The unknown-property error of `target.prop`, for get_property and set_property: kFailed when the
// evaluator asked exactly this property of exactly this value, else thrown.
HOST_API Value* unknown_property(Value* target, Value* prop);
