#include "ifnpub.h"
#include "maxscript/maxscript.h"
#include "script/listener_stream.h"
#include "script/runtime.h"
#include "script/value_heap.h"

#include <gtest/gtest.h>

namespace {

std::string listenerAfter(const char* text, BOOL quiet) {
  sim::listenerStream()->clear();
  ExecuteMAXScriptScript(text, quiet);
  return sim::listenerStream()->text();
}

TEST(ExecuteScript, AQuietFailureReportsNothingAndThrowsNothing) {
  EXPECT_EQ(listenerAfter("undefined.foo", TRUE), "");
  EXPECT_EQ(listenerAfter("(1 +", TRUE), "");
  EXPECT_EQ(listenerAfter("undefined.foo", FALSE), "-- Unknown property: \"foo\" in undefined\n");
  EXPECT_FALSE(ExecuteMAXScriptScript("throw \"x\"", TRUE));
  EXPECT_TRUE(ExecuteMAXScriptScript("1", TRUE));
}

TEST(ExecuteScript, TheResultHoldsTheLastExpressionsValueWithItsType) {
  FPValue r;
  ASSERT_TRUE(ExecuteMAXScriptScript("a = 1; a + 1.5", TRUE, &r));
  EXPECT_EQ(r.type, TYPE_FLOAT);
  EXPECT_FLOAT_EQ(r.f, 2.5f);
  ExecuteMAXScriptScript("true", TRUE, &r);
  EXPECT_EQ(r.type, TYPE_BOOL);
  EXPECT_EQ(r.i, 1);
  ExecuteMAXScriptScript("(color 255 0 0)", TRUE, &r);
  EXPECT_EQ(r.type, TYPE_COLOR);
  ExecuteMAXScriptScript("(color 255 0 0 128)", TRUE, &r);
  EXPECT_EQ(r.type, TYPE_FRGBA);
  ExecuteMAXScriptScript("\"text\"", TRUE, &r);
  ASSERT_EQ(r.type, TYPE_STRING);
  EXPECT_STREQ(r.s, "text");
  ExecuteMAXScriptScript("undefined", TRUE, &r);
  EXPECT_EQ(r.type, TYPE_VALUE);
  EXPECT_EQ(r.v, undefined);
}

TEST(ExecuteScript, TextsRunInTheGlobalScopeAndSeeEachOthersGlobals) {
  ExecuteMAXScriptScript("global QZMTestArray = #()", TRUE);
  ExecuteMAXScriptScript("append QZMTestArray \"$'Box01'.propertyObject[1][1]\"", TRUE);
  Value* a = sim::rt::Runtime::get().getGlobal("qzmtestarray");
  ASSERT_TRUE(a && is_array(a));
  EXPECT_EQ(value_to_text(a), "#(\"$'Box01'.propertyObject[1][1]\")");
}

TEST(ExecuteScript, CompilingExpressionByExpressionTellsAnUnfinishedTextFromABadOne) {
  StringStream source("1 + 2\n print \"x\"\n");
  source.make_permanent();
  Parser parser;
  sim::AllocFrame frame;
  CompiledCode* first = parser.compile(&source);
  ASSERT_NE(first, nullptr);
  ValueRef hold(first);
  EXPECT_EQ(first->eval()->to_int(), 3);
  parser.skip_space(&source);
  ValueRef second(parser.compile(&source));
  EXPECT_NE(second.get(), nullptr);
  EXPECT_EQ(parser.compile(&source), nullptr);

  StringStream unfinished("(1 + ");
  unfinished.make_permanent();
  try {
    parser.compile(&unfinished);
    ADD_FAILURE() << "no error";
  } catch (const SyntaxErrorException& e) {
    EXPECT_TRUE(e.unfinished);
  }
  StringStream bad("1 + )");
  bad.make_permanent();
  try {
    parser.compile(&bad);
    ADD_FAILURE() << "no error";
  } catch (const SyntaxErrorException& e) {
    EXPECT_FALSE(e.unfinished);
  }
}

TEST(ExecuteScript, RecursionEndsInAScriptErrorNotACrash) {
  sim::listenerStream()->clear();
  EXPECT_FALSE(ExecuteMAXScriptScript("fn deep n = deep (n + 1); deep 0", FALSE));
  EXPECT_NE(sim::listenerStream()->text().find("Stack overflow"), std::string::npos);
}

}  // namespace
