#include "script/script_failure.h"

#include "maxscript/classes.h"
#include "maxscript/streams.h"

namespace sim::rt {
namespace {

// The value kFailed points at: a value of no class a script can name, never counted or freed.
class FailedMarker : public Value {
 public:
  FailedMarker() { make_permanent(); }
  void sprin1(CharStream* s) override { s->puts("<script error>"); }
};

ScriptFailure g_pending;

// The one property read or write the evaluator is making right now, whose unknown-property error
// may come back as a value. Only that exact call qualifies: a get_property that asks other values
// for their properties on its way expects those to throw as they always have.
struct DirectAccess {
  Value* target = nullptr;
  Value* prop = nullptr;
};
DirectAccess g_direct;

}  // namespace

Value* const kFailed = new FailedMarker;

ScriptFailure ScriptFailure::caught(const MAXScriptException& e) {
  ScriptFailure f;
  f.thrown_ = std::current_exception();
  f.error_ = &e;  // lives as long as thrown_ holds the exception
  return f;
}

std::exception_ptr ScriptFailure::asException() {
  if (!thrown_ && made_) thrown_ = toException_(*made_);
  return thrown_;
}

Value* fail(ScriptFailure f) {
  g_pending = std::move(f);
  return kFailed;
}

ScriptFailure takeFailure() { return std::exchange(g_pending, ScriptFailure()); }

ScriptFailure& pendingFailure() { return g_pending; }

namespace {
const Value* g_callTakingFailure = nullptr;
}

CallTakingFailure::CallTakingFailure(const Value* fn) : saved_(g_callTakingFailure) { g_callTakingFailure = fn; }
CallTakingFailure::~CallTakingFailure() { g_callTakingFailure = saved_; }

bool CallTakingFailure::takenBy(const Value* fn) {
  if (!fn || g_callTakingFailure != fn) return false;
  g_callTakingFailure = nullptr;  // the calls it makes are its own
  return true;
}

DirectAccessScope::DirectAccessScope(Value* target, Value* prop)
    : savedTarget_(g_direct.target), savedProp_(g_direct.prop) {
  g_direct = {target, prop};
}
DirectAccessScope::~DirectAccessScope() { g_direct = {savedTarget_, savedProp_}; }

Value* readProperty(Value* obj, Value* prop) {
  DirectAccessScope direct(obj, prop);
  return obj->get_property(prop);
}

Value* writeProperty(Value* obj, Value* prop, Value* v) {
  DirectAccessScope direct(obj, prop);
  return obj->set_property(prop, v);
}

}  // namespace sim::rt

Value* unknown_property(Value* target, Value* prop) {
  using namespace sim::rt;
  if (g_direct.target == target && g_direct.prop == prop && target) {
    g_direct = {};  // once: a second ask of the same pair below this call throws as usual
    return fail(AccessorError(target, prop));
  }
  throw AccessorError(target, prop);
}
