#include "core/core_interface.h"
#include "maxscript/maxscript.h"
#include "script/listener_stream.h"
#include "script/runtime.h"
#include "script/value_heap.h"

#include <gtest/gtest.h>

namespace {

std::string run(const char* text) {
  sim::listenerStream()->clear();
  ExecuteMAXScriptScript(text, FALSE);
  return sim::listenerStream()->text();
}

class ScriptLifetime : public ::testing::Test {
 protected:
  void SetUp() override { sim::coreInterface()->resetScene(); }
  void TearDown() override {
    ExecuteMAXScriptScript("lifetimeNode = undefined; lifetimeArr = undefined", TRUE);
    sim::coreInterface()->resetScene();
  }
};

TEST_F(ScriptLifetime, AValueOfADeletedNodeRaisesAnErrorInsteadOfReachingFreedMemory) {
  EXPECT_EQ(run("global lifetimeNode = box name:\"Gone\"; delete lifetimeNode; lifetimeNode.name"),
            "-- Runtime error: Attempt to access deleted scene object\n");
  EXPECT_EQ(run("print lifetimeNode"), "<Deleted scene node>\n");
  EXPECT_EQ(run("print (isProperty lifetimeNode #name)"), "false\n");
}

TEST_F(ScriptLifetime, ALoopsTemporariesGoAsEachIterationEnds) {
  size_t before = ValueHeap::liveCount();
  ExecuteMAXScriptScript("for i = 1 to 20000 do (x = [i, i, i] * 2.0; s = \"text\" + (i as string))", TRUE);
  // What is left: the last x and s (and interned names), not twenty thousand of each.
  EXPECT_LT(ValueHeap::liveCount(), before + 50);
}

TEST_F(ScriptLifetime, ValuesStoredInGlobalsOutliveTheTextThatMadeThem) {
  ExecuteMAXScriptScript("global lifetimeArr = for i = 1 to 3 collect (box name:(\"B\" + i as string))", TRUE);
  EXPECT_EQ(run("print (for b in lifetimeArr collect b.name)"), "#(\"B1\", \"B2\", \"B3\")\n");
  sim::coreInterface()->resetScene();  // the nodes go; the array still holds their (now dead) values
  EXPECT_EQ(run("print lifetimeArr[1]"), "<Deleted scene node>\n");
}

TEST_F(ScriptLifetime, AnErrorInsideAPrimitiveLeavesTheValueLocalsChainAsItWas) {
  Value** before = thread_local(current_locals_frame);
  ExecuteMAXScriptScript("try (filterString 1 2) catch ()", TRUE);
  ExecuteMAXScriptScript("sqrt \"no\"", TRUE);
  EXPECT_EQ(thread_local(current_locals_frame), before);
}

}  // namespace
