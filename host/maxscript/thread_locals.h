// The runtime's per-thread state: the output stream, the result slot, and the chains of value-locals
// and allocation frames that keep new values alive while a primitive runs.
#pragma once

#include "maxscript/value.h"

class CharStream;

struct MAXScript_TLS {
  CharStream* current_stdout = nullptr;  // where print and format write (the Listener by default)
  Value* current_result = nullptr;       // set by return_value
  Value** current_locals_frame = nullptr;
  bool try_mode = false;
  bool disable_trace_back = false;
};

HOST_API MAXScript_TLS* maxscript_tls();
HOST_API extern DWORD thread_locals_index;

// thread_local(x): field x of the runtime's per-thread state (a function-like macro, so the C++
// keyword of the same name is unaffected).
#define thread_local(x) (maxscript_tls()->x)

HOST_API void init_thread_locals();
// Values made between a push and its pop belong to that frame and live at least until the pop.
HOST_API void push_alloc_frame();
HOST_API void pop_alloc_frame();

// Value-locals frames as the runtime's plug-ins declare them: `one_value_local(result)`, then
// `vl.result = ...`, and `return_value(vl.result)` or `pop_value_locals()` on the way out.
#define one_value_local(n1)                        \
  struct {                                         \
    int count;                                     \
    Value** link;                                  \
    Value* n1;                                     \
  } vl = {1, nullptr, nullptr};                    \
  vl.link = thread_local(current_locals_frame);    \
  thread_local(current_locals_frame) = reinterpret_cast<Value**>(&vl);
#define one_typed_value_local(n1)                  \
  struct {                                         \
    int count;                                     \
    Value** link;                                  \
    n1;                                            \
  } vl = {1, nullptr, nullptr};                    \
  vl.link = thread_local(current_locals_frame);    \
  thread_local(current_locals_frame) = reinterpret_cast<Value**>(&vl);
#define two_value_locals(n1, n2)                   \
  struct {                                         \
    int count;                                     \
    Value** link;                                  \
    Value* n1;                                     \
    Value* n2;                                     \
  } vl = {2, nullptr, nullptr, nullptr};           \
  vl.link = thread_local(current_locals_frame);    \
  thread_local(current_locals_frame) = reinterpret_cast<Value**>(&vl);
#define pop_value_locals() thread_local(current_locals_frame) = vl.link
#define return_value(r)                  \
  do {                                   \
    Value* result_ = (r);                \
    thread_local(current_result) = result_; \
    pop_value_locals();                  \
    return result_;                      \
  } while (0)
