// The scene and the texts the holder benchmarks time: a bench that timed texts failing into their
// error branches, or a scene without its holders, would report figures for the wrong work. Each
// kind of text is run here on a small holder scene and its result or effect read back.
#include "holder_bench_scene.h"
#include "ifnpub.h"
#include "maxscript/maxscript.h"
#include "script/runtime.h"
#include "support/holder_module_suite.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class HolderBenchScene : public test::HolderModuleSuite {
 protected:
  void SetUp() override { ASSERT_TRUE(bench::BuildHolderScene(4)); }

  static const bench::TextKind& kind(const std::string& name) {
    for (const bench::TextKind& k : bench::TextKinds())
      if (name == k.name) return k;
    ADD_FAILURE() << "no kind " << name;
    return bench::TextKinds().front();
  }
  // Runs the kind's text for box i; its result.
  static FPValue run(const std::string& name, int i) {
    FPValue r;
    EXPECT_TRUE(ExecuteMAXScriptScript(kind(name).host(i).c_str(), TRUE, &r)) << name;
    return r;
  }
  static std::string text(const std::string& script) {
    FPValue r;
    EXPECT_TRUE(ExecuteMAXScriptScript((script + " as string").c_str(), TRUE, &r)) << script;
    return r.type == TYPE_STRING ? r.s : "(not a string)";
  }
};

TEST_F(HolderBenchScene, HasABoxAMaterialAndAHolderOfTwentyPropertiesPerBox) {
  EXPECT_EQ(text("$Box*.count"), "4");
  EXPECT_EQ(text("$QZMPropHolder*.count"), "4");
  EXPECT_EQ(text("$QZMPropHolder03.node.name"), "Box3");
  EXPECT_EQ(text("$QZMPropHolder03.propertyName.count"), "20");
  EXPECT_EQ(text("$QZMPropHolder03.propertyName[18]"), "material.diffuse");
  EXPECT_EQ(text("$Box3.material.name"), "Mat3");
  EXPECT_EQ(text("getUserPropBuffer $Box2"), "pass = beauty");
  EXPECT_EQ(text("$Box2.pos"), "[2,0,0]");
  EXPECT_EQ(text("getPropertyController $Box3 #height"), "undefined");
  EXPECT_EQ(text("at time 10 $Box4.height"), "50.0");
}

TEST_F(HolderBenchScene, TheReadingKindsGiveTheBoxsValues) {
  ASSERT_TRUE(ExecuteMAXScriptScript("$Box1.height = 7", TRUE));
  FPValue height = run("read value", 1);
  ASSERT_EQ(height.type, TYPE_FLOAT);
  EXPECT_FLOAT_EQ(height.f, 7.0f);
  FPValue diffuse = run("read dotted value", 2);
  ASSERT_EQ(diffuse.type, TYPE_COLOR);
  ASSERT_TRUE(ExecuteMAXScriptScript("$Box2.material.diffuse = (color 1 2 3)", TRUE));
  diffuse = run("read dotted value", 2);
  ASSERT_EQ(diffuse.type, TYPE_COLOR);
  EXPECT_NEAR(diffuse.clr->r * 255, 1, 1e-3);

  EXPECT_EQ(run("read controller", 3).type, TYPE_VALUE);  // undefined: not animated
  EXPECT_EQ(run("read controller", 3).v, undefined);
  EXPECT_NE(run("read controller", 4).type, TYPE_VALUE);
  EXPECT_NE(run("read transform controller", 1).type, TYPE_VALUE);
}

TEST_F(HolderBenchScene, TheAssigningKindsChangeTheBox) {
  run("assign value", 3);
  EXPECT_EQ(text("$Box3.height"), "3.5");
  run("assign dotted value", 3);
  EXPECT_EQ(text("$Box3.material.diffuse"), "(color 3 20 30)");
  run("assign transform", 3);
  EXPECT_EQ(text("$Box3.pos"), "[3,-1.5,0]");
  EXPECT_EQ(text("$Box2.pos"), "[2,0,0]");
  run("record address", 3);
  run("record address", 4);
  EXPECT_EQ(text("QZMIDA"), "#(#(\"$'QZMPropHolder3'.propertyFloatController[3][4]\"), "
                            "#(\"$'QZMPropHolder4'.propertyFloatController[3][5]\"))");
}

TEST_F(HolderBenchScene, ACaptureFromOneHolderRecordsEveryHolderAndARestoreBringsItBack) {
  ASSERT_TRUE(ExecuteMAXScriptScript(bench::CaptureAllText(5000).c_str(), TRUE));
  for (const char* holder : {"$QZMPropHolder01", "$QZMPropHolder04"}) {
    EXPECT_EQ(text(std::string(holder) + ".passlist"), "#(5000)") << holder;
    EXPECT_EQ(text(std::string(holder) + ".propertyState.count"), "1") << holder;
  }
  ASSERT_TRUE(ExecuteMAXScriptScript("$Box3.width = 9; $Box3.material.diffuse = (color 1 2 3); $Box3.pos = [0,7,0]", TRUE));
  ASSERT_TRUE(ExecuteMAXScriptScript(bench::RestoreAllText(5000).c_str(), TRUE));
  EXPECT_EQ(text("$Box3.width"), "25.0");
  EXPECT_EQ(text("$Box3.material.diffuse"), "(color 149.94 149.94 149.94)");
  EXPECT_EQ(text("$Box3.pos"), "[3,0,0]");
}

TEST(HolderBenchTexts, EveryKindsLuaFormNamesTheSameNode) {
  for (const bench::TextKind& k : bench::TextKinds()) {
    const std::string ours = k.host(17), lua = k.lua(17);
    for (const char* node : {"Box17", "QZMPropHolder17"})
      EXPECT_EQ(ours.find(node) == std::string::npos, lua.find(node) == std::string::npos) << k.name << ": " << node;
    EXPECT_EQ(lua.find("Box1\""), std::string::npos) << k.name;
  }
}

}  // namespace
