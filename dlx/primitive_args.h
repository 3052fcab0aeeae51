// The conventions every script function of this library follows: the count test, the keyword count
// rule, the type tests with their fixed messages, and the frame that keeps new values alive.
#pragma once

#include "maxscript/maxscript.h"
#include "ref.h"

namespace qzmdlx {

// A wrong count raises the argument-count error naming the function, with the count it expects and
// the count it got.
inline void checkCount(const TCHAR* name, int expected, int count) {
  if (count != expected) throw ArgCountError(name, expected, count);
}

// For functions that take keywords: exactly `positional` arguments, or more with the keyword marker
// right after them. The count reported is the entries before the first marker.
inline void checkCountWithKeywords(const TCHAR* name, int positional, Value** arg_list, int count) {
  if (count == positional || (count > positional && arg_list[positional] == &keyarg_marker_value)) return;
  throw ArgCountError(name, positional, count_positional_args(arg_list, count));
}

inline Array* requireArray(Value* v, const TCHAR* message) {
  if (!is_array(v)) throw TypeError(message, v, class_tag(Array));
  return static_cast<Array*>(v);
}

inline int requireInteger(Value* v, const TCHAR* message) {
  if (!is_integer(v)) throw TypeError(message, v, class_tag(Integer));
  return v->to_int();
}

inline bool requireBoolean(Value* v, const TCHAR* message) {
  if (!is_bool(v)) throw TypeError(message, v, class_tag(Boolean));
  return v->to_bool() != FALSE;
}

// An allocation frame and a one-value locals frame for a function that builds script values. Both
// close on every way out, errors included; `result` sets the runtime's result slot.
class ResultFrame {
 public:
  ResultFrame() {
    push_alloc_frame();
    link_ = thread_local(current_locals_frame);
    thread_local(current_locals_frame) = reinterpret_cast<Value**>(&locals_);
  }
  ~ResultFrame() {
    thread_local(current_locals_frame) = link_;
    pop_alloc_frame();
  }
  ResultFrame(const ResultFrame&) = delete;
  ResultFrame& operator=(const ResultFrame&) = delete;

  void keep(Value* v) { locals_.value = v; }
  Value* result(Value* v) {
    locals_.value = v;
    thread_local(current_result) = v;
    return v;
  }

 private:
  struct {
    int count = 1;
    Value** link = nullptr;
    Value* value = nullptr;
  } locals_;
  Value** link_ = nullptr;
};

// A scene object this function made (a material, a holder) until something in the scene takes it.
// Whatever way the function leaves, errors included, an object nothing took is freed, not lost.
class NewTarget {
 public:
  explicit NewTarget(ReferenceTarget* target) : target_(target) {}
  ~NewTarget() {
    if (target_) target_->MaybeAutoDelete();
  }
  NewTarget(const NewTarget&) = delete;
  NewTarget& operator=(const NewTarget&) = delete;

 private:
  ReferenceTarget* target_;
};

}  // namespace qzmdlx
