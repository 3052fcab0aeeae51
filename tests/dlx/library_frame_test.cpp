// The script extension library as scripts meet it: its functions' count and type rules, holder
// creation, and the struct global it defines when it loads.
#include "inodeexposure.h"
#include "script_library_fixture.h"

namespace {

using test::ScriptLibrary;

std::string args(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += " 1";
  return s;
}

TEST_F(ScriptLibrary, EveryEnforcedCountNamesTheFunctionWithExpectedAndReceivedCounts) {
  const std::pair<const char*, int> enforced[] = {
      {"QZMMakeMaterial", 2},         {"QZMgetMaterialStamp", 2},     {"QZMgetVertPositions", 1},
      {"QZMgetVertSelPositions", 1},  {"QZMgetVertSelection", 1},     {"QZMgetVertSoftSelection", 1},
      {"QZMgetVertsInSphere", 5},     {"QZMgetClosestVert", 2},       {"QZMCropBitmap", 19},
      {"QZMStereoBitmap", 3},         {"QZMCreatePreview", 17},       {"QZMIsSceneRadActive", 0},
      {"QZMSetSceneRadActive", 1},    {"QZMRemoveSceneRad", 0},       {"QZMRemoveSceneExp", 0},
      {"QZMGetGamma", 0},             {"QZMSetUseAdvLighting", 1},    {"QZMSetREoutput", 1},
      {"QZMInterpolateBez", 13},      {"QZMGetKeyState", 1},          {"QZMGetSystemTime", 1},
      {"QZMgetRnd", 1},               {"QZMMakeObjectPropHolder", 1}, {"QZMMakeObjectPropHolders", 2},
      {"QZMaddExposureFP", 2},        {"QZMgetSelectionExposureFP", 1}, {"QZMSetRefTarg", 4},
  };
  for (auto [name, n] : enforced) {
    std::string expected = std::string("-- Argument count error: ") + name + " wanted " + std::to_string(n) + ", got " +
                           std::to_string(n + 1);
    EXPECT_EQ(errorOf(std::string(name) + args(n + 1)), expected);
  }
  // A function without arguments is called with ().
  EXPECT_EQ(errorOf("QZMSetRefTarg 1 2 3"), "-- Argument count error: QZMSetRefTarg wanted 4, got 3");
}

TEST_F(ScriptLibrary, KeywordsDoNotCountAndTheirTypeIsChecked) {
  EXPECT_EQ(errorOf("FileIn_ \"a.ms\" \"b.ms\""), "-- Argument count error: fileIn_ wanted 1, got 2");
  EXPECT_EQ(errorOf("FileIn_ \"a.ms\" \"b.ms\" quiet:false"), "-- Argument count error: fileIn_ wanted 1, got 2");
  EXPECT_EQ(errorOf("FileIn_ \"a.ms\" quiet:1"), "-- Type error: fileIn_ quiet:, got: 1");
}

TEST_F(ScriptLibrary, UnenforcedCountsIgnoreExtraArgumentsButRefuseMissingOnes) {
  EXPECT_EQ(run("print (getQZMVersion 1 2 3)"), "1.21\n");
  EXPECT_EQ(run("print (theHold.QZMRelease())"), "OK\n");
  EXPECT_EQ(run("print (QZMdisableRefs 1); print (QZMenableRefs())"), "true\ntrue\n");
  EXPECT_EQ(run("print (QZMAssignMtl #() #() 7)"), "true\n");
  // Reading an argument that was never passed would read past the list.
  EXPECT_EQ(errorOf("QZMAssignMtlInstancedClear #() #()"),
            "-- Argument count error: QZMAssignMtlInstancedClear wanted 3, got 2");
}

TEST_F(ScriptLibrary, TypeTestsComeInOrderWithTheirMessages) {
  EXPECT_EQ(errorOf("QZMAssignMtl 1 2"), "-- Type error: Array of nodes not supplied, got: 1");
  EXPECT_EQ(errorOf("QZMAssignMtlCopy #() 2"), "-- Type error: Array of materials not supplied, got: 2");
  EXPECT_EQ(errorOf("QZMrebuildscenemats 3"), "-- Type error: Array of materials not supplied, got: 3");
  EXPECT_EQ(errorOf("QZMMakeMaterial #() 1.0"),
            "-- Type error: Integer value for instancing behavior not supplied, got: 1.0");
  EXPECT_EQ(errorOf("QZMGetSystemTime 5"), "-- Type error: Return array not supplied, got: 5");
}

TEST_F(ScriptLibrary, HolderNodesNeedTheAccessCodeAndShareOneObjectPerCall) {
  EXPECT_EQ(run("print (QZMMakeObjectPropHolder 5830718); print (QZMMakeObjectPropHolders #(1) 5830720);"
                "print objects.count"),
            "false\nfalse\n0\n");
  EXPECT_EQ(run("print (QZMMakeObjectPropHolders #() 5830719)"), "#()\n");
  EXPECT_EQ(run("hs = QZMMakeObjectPropHolders #(1, 2, 3) 5830719\n"
                "print hs.count\n"
                "print (hs[1].baseObject == hs[3].baseObject)\n"
                "print ((QZMMakeObjectPropHolder 5830719).baseObject == hs[1].baseObject)"),
            "3\ntrue\nfalse\n");
}

TEST_F(ScriptLibrary, HiddenHoldersStayReachableFromScriptOnly) {
  run("h = QZMMakeObjectPropHolder 5830719");
  INode* node = GetCOREInterface()->GetINodeByName("QZMPropHolder01");
  ASSERT_NE(node, nullptr);
  INodeExposure* exposure = INodeExposure::GetINodeExposure(*node);
  for (int area = 0; area < INodeExposure::kUI_num; ++area)
    EXPECT_EQ(exposure->IsExposed(area), area == INodeExposure::kMaxscript) << "area " << area;
  EXPECT_EQ(run("print (QZMgetSelectionExposureFP $'QZMPropHolder01')"), "false\n");
  EXPECT_EQ(run("QZMaddExposureFP $'QZMPropHolder01' true; print (QZMgetSelectionExposureFP h)"), "true\n");
  for (int area = 0; area < INodeExposure::kUI_num; ++area) EXPECT_TRUE(exposure->IsExposed(area));
}

TEST_F(ScriptLibrary, SysInfoReadsRightAfterLoadingAndRefusesSystemAffinityWrites) {
  EXPECT_EQ(run("print (classOf QZMsysinfo.processAffinity); print (classOf QZMsysinfo.systemAffinity)"),
            "Integer\nInteger\n");
  EXPECT_EQ(run("a = QZMsysinfo.processAffinity; print ((QZMsysinfo.processAffinity = a) == a)"), "true\n");
  EXPECT_EQ(errorOf("QZMsysinfo.systemAffinity = 1"), "-- Runtime error: Cannot set system affinity");
  // A lower priority is always allowed; a higher one may need the system's permission.
  EXPECT_EQ(run("QZMsysinfo.processPriority = -1; print QZMsysinfo.processPriority"), "16384\n");
}

}  // namespace
