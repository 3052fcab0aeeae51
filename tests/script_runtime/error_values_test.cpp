#include "maxscript/maxscript.h"
#include "script/listener_stream.h"
#include "script/runtime.h"
#include "script/script_failure.h"
#include "script/value_heap.h"

#include <gtest/gtest.h>

namespace {

using namespace sim::rt;

std::string errorText(const ScriptFailure& f) { return f ? f.error().text() : std::string("(none)"); }

TEST(ErrorValues, AnErrorOnItsWayOutOutlivesScriptThatRunsMeanwhile) {
  // Plug-in code run while an error travels (a destructor, a notification) may run script that
  // fails and is handled on its own; the travelling error must come out as it went in.
  sim::AllocFrame frame;
  fail(RuntimeError("the outer error"));
  sim::listenerStream()->clear();
  EXPECT_FALSE(ExecuteMAXScriptScript("undefined.inner", FALSE));
  EXPECT_TRUE(ExecuteMAXScriptScript("1 + 1", TRUE));
  EXPECT_EQ(sim::listenerStream()->text(), "-- Unknown property: \"inner\" in undefined\n");
  EXPECT_EQ(errorText(takeFailure()), "-- Runtime error: the outer error");
  EXPECT_FALSE(takeFailure());
}

// A value whose property is answered by asking another value, which has no such property: the
// inner miss must reach it as the exception it catches, even while the evaluator asks it directly.
class AsksAnother : public Value {
 public:
  Value* get_property(Value* prop) override {
    try {
      return undefined->get_property(prop);
    } catch (const AccessorError&) {
      return Name::intern("fallback");
    }
  }
};

TEST(ErrorValues, OnlyTheAccessTheEvaluatorMakesFailsAsAValue) {
  sim::AllocFrame frame;
  Value* prop = Name::intern("missing");
  AsksAnother asks;
  asks.make_permanent();
  EXPECT_EQ(readProperty(&asks, prop), Name::intern("fallback"));

  Value* plain = Integer::intern(3);
  Value* v = readProperty(plain, prop);
  ASSERT_TRUE(failed(v));
  EXPECT_EQ(errorText(takeFailure()), "-- Unknown property: \"missing\" in 3");
  EXPECT_TRUE(failed(writeProperty(plain, prop, plain)));
  takeFailure();
  // Asked from anywhere else, the same property throws.
  EXPECT_THROW(plain->get_property(prop), AccessorError);
  EXPECT_FALSE(takeFailure());
}

TEST(ErrorValues, CallersOutsideTheEvaluatorStillSeeExceptions) {
  sim::AllocFrame frame;
  try {
    Runtime::get().evalText("try (undefined.a) catch (); #(1, undefined.b)");
    ADD_FAILURE() << "no exception";
  } catch (const MAXScriptException& e) {
    EXPECT_EQ(e.text(), "-- Unknown property: \"b\" in undefined");
  }
  EXPECT_FALSE(takeFailure());
  // A caught error leaves nothing pending behind it.
  EXPECT_TRUE(ExecuteMAXScriptScript("try (undefined.a) catch (getCurrentException())", TRUE));
  EXPECT_FALSE(takeFailure());
}

}  // namespace
