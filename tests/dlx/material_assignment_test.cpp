// Bulk material assignment: copies shared by instancing id, editor slots following the copies, the
// scene material library emptied, and refusals that change nothing.
#include "script_library_fixture.h"

namespace {

using test::ScriptLibrary;

// Four boxes b1..b4 and four standard materials m1..m4, the materials carrying instancing ids under
// app data sub-id 10 ("" for none).
std::string sceneWithIds(const char* ids[4]) {
  std::string s = "b = for i in 1 to 4 collect (box name:(\"b\" + i as string))\n"
                  "m = for i in 1 to 4 collect (standardMaterial name:(\"m\" + i as string))\n";
  for (int i = 0; i < 4; ++i)
    if (*ids[i]) s += "setAppData m[" + std::to_string(i + 1) + "] 10 \"" + ids[i] + "\"\n";
  return s;
}

TEST_F(ScriptLibrary, NodesWhoseMaterialsShareAnIdShareOneCopy) {
  const char* ids[4] = {"7", "", "7", "3"};
  EXPECT_EQ(run(sceneWithIds(ids) +
                "print (QZMAssignMtlInstancedClear b m 10)\n"
                "print (b[1].material == b[3].material)\n"           // one copy for id 7
                "print (b[1].material == m[1] or b[3].material == m[3])\n"  // a copy, not the source
                "print (b[2].material == m[2] or b[2].material == b[1].material)\n"
                "print (b[4].material == m[4] or b[4].material == b[1].material)\n"
                "print sceneMaterials.count"),
            "true\ntrue\nfalse\nfalse\nfalse\n0\n");
}

TEST_F(ScriptLibrary, AnIdSeenFirstTimeGetsItsOwnCopyEvenWhenZero) {
  const char* ids[4] = {"5", "5", "0", ""};
  EXPECT_EQ(run(sceneWithIds(ids) +
                "QZMAssignMtlInstancedClear b m 10\n"
                "print (b[1].material == b[2].material)\n"
                "print (b[3].material == b[2].material)\n"
                "print (b[3].material.name)"),
            "true\nfalse\n\"m3\"\n");
}

TEST_F(ScriptLibrary, AnEditorSlotThatShowedTheSourceShowsItsCopy) {
  const char* ids[4] = {"", "", "", ""};
  EXPECT_EQ(run(sceneWithIds(ids) +
                "setAppData m[1] -1 \"3\"; meditMaterials[3] = m[1]\n"
                "setAppData m[2] -1 \"40\"\n"  // outside the editor: no slot to update
                "QZMAssignMtlInstancedClear b m 10\n"
                "print (meditMaterials[3] == b[1].material)"),
            "true\n");
}

TEST_F(ScriptLibrary, LengthMismatchRefusesBeforeAnyChange) {
  EXPECT_EQ(run("b = for i in 1 to 3 collect (box())\n"
                "m1 = standardMaterial(); m2 = standardMaterial()\n"
                "for f in #(QZMAssignMtl, QZMAssignMtlCopy, QZMAssignMtlClear) do print (f b #(m1, m2))\n"
                "print (QZMAssignMtlInstancedClear b #(m1, m2) 1)\n"
                "print (for x in b where x.material != undefined collect x).count"),
            "false\nfalse\nfalse\nfalse\n0\n");
}

TEST_F(ScriptLibrary, AssignmentFamilyAndTheSceneMaterialLibrary) {
  EXPECT_EQ(run("b = for i in 1 to 3 collect (box())\n"
                "m = for i in 1 to 3 collect (standardMaterial())\n"
                "QZMAssignMtl b m; print sceneMaterials.count\n"
                "QZMAssignMtlClear b m; print sceneMaterials.count\n"
                "QZMrebuildscenemats m; print sceneMaterials.count\n"
                "QZMAssignOneMtlClear b m[2]\n"
                "print (b[1].material == m[2] and b[3].material == m[2]); print sceneMaterials.count\n"
                "QZMAssignMtlCopy b m; print (b[2].material != m[2] and classOf b[2].material == standardMaterial)\n"
                "QZMAssignMtl #(b[1]) #(undefined); print b[1].material\n"
                "QZMrebuildscenemats m; QZMclearscenematerials(); print sceneMaterials.count"),
            "3\n0\n3\ntrue\n0\ntrue\nundefined\n0\n");
}

TEST_F(ScriptLibrary, MakeMaterialSharesOneOrGivesEachNodeItsOwn) {
  EXPECT_EQ(run("b = for i in 1 to 3 collect (box())\n"
                "print (QZMMakeMaterial b 1)\n"
                "print (classOf b[1].material); print (b[1].material == b[2].material and b[2].material == b[3].material)\n"
                "print (QZMMakeMaterial b 0)\n"
                "print (b[1].material == b[2].material or b[2].material == b[3].material or b[1].material == b[3].material)\n"
                "print (QZMMakeMaterial #() 0)"),
            "true\nQZMMaterial\ntrue\ntrue\nfalse\ntrue\n");
}

// What a function made and no node took is freed: the leak checker of the sanitizer build sees it.
TEST_F(ScriptLibrary, MaterialsNoNodeTookAreFreedOnErrorsAndForEmptyPlaces) {
  EXPECT_EQ(errorOf("QZMMakeMaterial #(1) 0"), "-- Unable to convert: 1 to type: MAXNode");
  EXPECT_EQ(errorOf("QZMMakeMaterial #(1) 1"), "-- Unable to convert: 1 to type: MAXNode");
  EXPECT_EQ(errorOf("QZMMakeMaterial #(box(), \"x\") 1"), "-- Unable to convert: \"x\" to type: MAXNode");
  EXPECT_EQ(run("print (QZMMakeMaterial #(undefined, undefined) 0)\n"
                "print (QZMMakeMaterial #(undefined) 1)\n"
                "m = standardMaterial()\n"
                "print (QZMAssignMtlCopy #(undefined) #(m))\n"
                "print (QZMAssignMtlInstancedClear #(undefined) #(m) 10)"),
            "true\ntrue\ntrue\ntrue\n");
}

}  // namespace
